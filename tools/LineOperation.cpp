#include "tools/LineOperation.h"

#include <algorithm>
#include <utility>

LineOperation::LineOperation(Environment* environment, std::shared_ptr<BezierItem> left,
                             std::shared_ptr<BezierItem> right)
    : Operation(environment), left_(std::move(left)), right_(std::move(right))
{
}

std::shared_ptr<BezierItem> LineOperation::Current() const
{
    switch (current_) {
    case Eyelid::Left:
        return left_;
    case Eyelid::Right:
        return right_;
    case Eyelid::Hidden:
        break;
    }
    return nullptr;
}

bool LineOperation::CursorPoint(Environment* env, gfx::Point& point) const
{
    const gfx::Rect bounds = env ? env->PictureBounds() : gfx::Rect{-1, -1, 0, 0};
    if (bounds.IsEmpty()) {
        return false;
    }
    const gfx::Point cursor = env->CursorInPicture();
    point = {std::clamp(cursor.x, 0, bounds.width), std::clamp(cursor.y, 0, bounds.height)};
    return true;
}

void LineOperation::OnLeftDown(Environment* env)
{
    const std::shared_ptr<BezierItem> eyelid = Current();
    gfx::Point p;
    if (!eyelid || !CursorPoint(env, p)) {
        return;
    }
    press_ = p;
    eyelid->SetSelected(eyelid->HitTest(p.x, p.y));
    if (eyelid->Selected() >= 0) {
        gesture_ = Gesture::MovingPoint; // a plain click only picks the point
        pendingStep_ = nullptr;
        return;
    }
    if (eyelid->CanAddPoint()) {
        eyelid->AppendPoint(float(p.x), float(p.y));
    }
    gesture_ = Gesture::PlacingPoint;
    pendingStep_ = Reversible(env, eyelid, [eyelid, p] { UndoAddPoint(eyelid, p.x, p.y); });
}

void LineOperation::OnDrag(Environment* env)
{
    const std::shared_ptr<BezierItem> eyelid = Current();
    gfx::Point p;
    if (!eyelid || gesture_ == Gesture::None || eyelid->Selected() < 0 || !CursorPoint(env, p)) {
        return;
    }
    eyelid->MovePoint(eyelid->Selected(), {float(p.x), float(p.y)});
    if (gesture_ == Gesture::PlacingPoint) {
        pendingStep_ = Reversible(env, eyelid, [eyelid, p] { UndoAddPoint(eyelid, p.x, p.y); });
    } else {
        const gfx::Point press = press_;
        pendingStep_ =
            Reversible(env, eyelid, [eyelid, p, press] { UndoMovePoint(eyelid, p.x, p.y, press.x, press.y); });
    }
}

void LineOperation::OnButtonUp(Environment* env)
{
    gesture_ = Gesture::None;
    if (pendingStep_ && env) {
        env->PushHistory(std::move(pendingStep_));
    }
    pendingStep_ = nullptr;
}

void LineOperation::OnRightDown(Environment*)
{
    switch (current_) {
    case Eyelid::Left:
        MakeCurrent(Eyelid::Right);
        break;
    case Eyelid::Right:
        MakeCurrent(Eyelid::Hidden);
        break;
    case Eyelid::Hidden:
        MakeCurrent(Eyelid::Left);
        break;
    }
}

void LineOperation::MakeCurrent(Eyelid eyelid)
{
    current_ = eyelid;
    left_->SetActive(eyelid == Eyelid::Left);
    right_->SetActive(eyelid == Eyelid::Right);
}

int LineOperation::OnKeyDown(Environment* env, int virtualKey)
{
    const std::shared_ptr<BezierItem> eyelid = Current();
    if (!eyelid) {
        return 0;
    }
    switch (virtualKey) {
    case DeleteKey: {
        const int32_t selected = eyelid->Selected();
        if (selected < 0) {
            return 1;
        }
        const gfx::PointF point = eyelid->Points()[size_t(selected)];
        const int32_t index = eyelid->RemoveSelected();
        if (index >= 0 && env) {
            env->PushHistory(
                Reversible(env, eyelid, [eyelid, index, point] { UndoRemovePoint(eyelid, index, point.x, point.y); }));
        }
        return 1;
    }
    case MoreOpaqueKey:
        eyelid->Opacity().StepUp();
        return 1;
    case LessOpaqueKey:
        eyelid->Opacity().StepDown();
        return 1;
    default:
        return 0;
    }
}

void LineOperation::OnWheelUp(Environment*)
{
    if (const std::shared_ptr<BezierItem> eyelid = Current()) {
        eyelid->Height().StepUp();
    }
}

void LineOperation::OnWheelDown(Environment*)
{
    if (const std::shared_ptr<BezierItem> eyelid = Current()) {
        eyelid->Height().StepDown();
    }
}

void LineOperation::Activate()
{
    if (const std::shared_ptr<BezierItem> eyelid = Current()) {
        eyelid->SetActive(true);
    }
}

void LineOperation::Deactivate()
{
    if (const std::shared_ptr<BezierItem> eyelid = Current()) {
        eyelid->SetActive(false);
    }
}

void LineOperation::DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment*)
{
    left_->DrawControlPoints(graphics, view);
    right_->DrawControlPoints(graphics, view);
}

void LineOperation::UndoAddPoint(const std::shared_ptr<BezierItem>& eyelid, int32_t x, int32_t y)
{
    eyelid->SetSelected(eyelid->HitTest(x, y));
    if (eyelid->Selected() >= 0) {
        eyelid->RemoveSelected();
    }
}

void LineOperation::UndoMovePoint(const std::shared_ptr<BezierItem>& eyelid, int32_t x, int32_t y, int32_t x0,
                                  int32_t y0)
{
    const int32_t index = eyelid->HitTest(x, y);
    eyelid->SetSelected(index);
    if (index >= 0) {
        eyelid->MovePoint(index, {float(x0), float(y0)});
    }
}

void LineOperation::UndoRemovePoint(const std::shared_ptr<BezierItem>& eyelid, int32_t index, float x, float y)
{
    eyelid->InsertPoint(index, x, y);
}

std::function<void()> LineOperation::Reversible(Environment* env, std::shared_ptr<BezierItem> eyelid,
                                                std::function<void()> undo)
{
    return [env, eyelid, undo] {
        const std::vector<gfx::PointF> points = eyelid->Points();
        const int32_t selected = eyelid->Selected();
        undo();
        env->PushHistory([env, eyelid, undo, points, selected] {
            eyelid->SetPoints(points, selected);
            env->PushHistory(Reversible(env, eyelid, undo));
        });
    };
}
