#pragma once

#include "behaviors/StateTags.h"

#include "engine/OperationScope.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace Qimro::Behaviors {

// Told the knob centre x whenever the shown value moves; the owner paints the knob.
using PositionCallback = std::function<void(int)>;

// A slider over one OperationScope. The owner presses with MouseDown then Grab, moves with
// Drag and lets go with Release; the slider reports knob moves through its PositionCallback
// and draws nothing itself.
template <class Base>
class HSlidability : public Base {
public:
    HSlidability() = default;
    // The model keeps a callback bound to this slider, so the slider must not move or be copied.
    HSlidability(const HSlidability&) = delete;
    HSlidability& operator=(const HSlidability&) = delete;
    ~HSlidability() override { Detach(); }

    void SetPositionCallback(PositionCallback callback) { position_ = std::move(callback); }

    // Shows another scope (or none). When the new scope holds the same value as the old one
    // the knob is not reported again, even if the ranges differ: it stays where it was drawn.
    void SetModel(std::shared_ptr<OperationScope> model)
    {
        if (!handler_) {
            handler_ = std::make_shared<std::function<void()>>([this] { OnModelChanged(); });
        }
        bool unchanged = false;
        if (this->model_) {
            this->model_->RemoveListener(handler_);
            unchanged = model && model->Value() == this->model_->Value();
        }
        this->model_ = std::move(model);
        if (this->model_) {
            this->model_->AddListener(handler_);
            if (!unchanged) {
                OnModelChanged();
            }
        }
    }

    void OnModelChanged()
    {
        if (position_) {
            position_(this->KnobX());
        }
    }

    // The slider's own press rule, right after MouseDown for the same press: a press on the
    // knob starts a drag; a press elsewhere inside the track jumps there without a drag;
    // any other press ends a drag flag left over.
    void Grab(int32_t x, int32_t y)
    {
        if (this->Flag(Disabled{}) == 1) {
            return;
        }
        if (this->OnKnob(x, y)) {
            this->SetState(HorizonalSlide{}, 1);
        } else if (this->Flag(Down{}) == 1 && this->Contains(x, y)) {
            this->SetValueFromX(x);
        } else {
            this->SetState(HorizonalSlide{}, 0);
        }
    }

    // A pointer move: while dragging, the value follows x held to the track's ends.
    void Drag(int32_t x)
    {
        if (this->Flag(HorizonalSlide{}) == 0) {
            return;
        }
        const auto& track = this->Region();
        const int64_t right = int64_t(track.x) + std::max(track.width, 0);
        this->SetValueFromX(static_cast<int32_t>(std::clamp<int64_t>(x, track.x, right)));
    }

    // A left release: the drag ends first, then the ordinary release of a pressed widget.
    void Release(int32_t x, int32_t y)
    {
        this->SetState(HorizonalSlide{}, 0);
        this->MouseUp(x, y);
    }

private:
    void Detach()
    {
        if (this->model_ && handler_) {
            this->model_->RemoveListener(handler_);
        }
    }

    OperationScope::Listener handler_;
    PositionCallback position_;
};

} // namespace Qimro::Behaviors
