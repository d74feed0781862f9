#pragma once

#include "engine/Operation.h"
#include "keys/KeyCodes.h"
#include "tools/BezierItem.h"

#include <functional>
#include <memory>

// The eyelid line tool. The left button adds a control point to the current eyelid
// or picks one to drag; the right button cycles left eyelid -> right eyelid -> none
// (markers hidden); the wheel sets the line height, the keys A and Z its opacity and
// Delete removes the picked point. It never changes picture pixels: the lines are
// layers of the view, and its undo steps edit control points.
class LineOperation : public Operation {
public:
    enum class Eyelid { Left, Right, Hidden };

    LineOperation(Environment* environment, std::shared_ptr<BezierItem> left, std::shared_ptr<BezierItem> right);

    int OnKeyDown(Environment* env, int virtualKey) override;
    void Activate() override;
    void Deactivate() override;
    void DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env) override;
    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;
    void OnWheelDown(Environment* env) override;
    void OnWheelUp(Environment* env) override;
    void OnLeftDown(Environment* env) override;
    void OnRightDown(Environment* env) override;

    Eyelid CurrentEyelid() const { return current_; }
    // The eyelid being edited; empty while hidden.
    std::shared_ptr<BezierItem> Current() const;

    // The undo steps. Each finds its point by position or index, so it needs only the
    // eyelid and the values it restores.
    static void UndoAddPoint(const std::shared_ptr<BezierItem>& eyelid, int32_t x, int32_t y);
    static void UndoMovePoint(const std::shared_ptr<BezierItem>& eyelid, int32_t x, int32_t y, int32_t x0,
                              int32_t y0);
    static void UndoRemovePoint(const std::shared_ptr<BezierItem>& eyelid, int32_t index, float x, float y);
    // The history step of one of the undo steps above: it runs the undo and records the
    // way back, which puts back the eyelid's points as the undo found them and whose own
    // way back is the undo again.
    static std::function<void()> Reversible(Environment* env, std::shared_ptr<BezierItem> eyelid,
                                            std::function<void()> undo);

    static constexpr int DeleteKey = vk::Delete;
    static constexpr int MoreOpaqueKey = vk::A;
    static constexpr int LessOpaqueKey = vk::Z;

private:
    enum class Gesture { None, MovingPoint, PlacingPoint };

    // The cursor in picture coordinates, clamped into the picture; false without one.
    bool CursorPoint(Environment* env, gfx::Point& point) const;
    void MakeCurrent(Eyelid eyelid);

    std::shared_ptr<BezierItem> left_;
    std::shared_ptr<BezierItem> right_;
    Eyelid current_ = Eyelid::Left;
    Gesture gesture_ = Gesture::None;
    gfx::Point press_{0, 0};
    std::function<void()> pendingStep_;
};
