#pragma once

#include "behaviors/IMouseDown.h"
#include "behaviors/IMouseUp.h"
#include "behaviors/RulerHost.h"
#include "behaviors/StateTags.h"

#include <cstdint>
#include <functional>
#include <utility>

namespace Qimro::Behaviors {

using ClickCallback = std::function<void()>;

// Press, release and click. A click needs a press and a release both inside the widget; it
// fires after the pressed look has been taken away. The rulers below may refuse presses
// (Disabled, Selected); a release is never refused, so a widget disabled while pressed still
// lets go and can still click.
template <class Base>
class Clickability : public Base, public IMouseDown, public IMouseUp {
public:
    void SetClickCallback(ClickCallback callback) { click_ = std::move(callback); }

    bool MouseDown(int32_t x, int32_t y) override
    {
        if (InputBlockedBy(static_cast<const Base&>(*this)) || this->Flag(Down{}) == 1) {
            return false;
        }
        if (!this->Contains(x, y)) {
            return false;
        }
        this->SetState(Down{}, 1);
        return true;
    }

    void MouseUp(int32_t x, int32_t y) override
    {
        if (this->Flag(Down{}) == 0) {
            return;
        }
        this->SetState(Down{}, 0);
        if (this->Contains(x, y)) {
            Click();
        }
    }

    // A pointer move: Over follows whether the pointer is inside, unless input is blocked.
    void Hover(int32_t x, int32_t y)
        requires(Base::template HasState<Over>)
    {
        if (InputBlockedBy(static_cast<const Base&>(*this))) {
            return;
        }
        this->SetState(Over{}, this->Contains(x, y) ? 1 : 0);
    }

    virtual void Click()
    {
        if (click_) {
            click_();
        }
    }

private:
    ClickCallback click_;
};

} // namespace Qimro::Behaviors
