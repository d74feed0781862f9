#pragma once

#include "behaviors/RulerHost.h"
#include "behaviors/SlideScale.h"

#include "engine/OperationScope.h"

#include <cstdint>
#include <memory>

namespace Qimro::Behaviors {

// The knob of a horizontal slider: where the model's value puts it on the track, which
// value a pointer x asks for, and the zone round the knob centre that grabs it.
template <class Next, class Interface = Empty>
struct HSlideRuler {
    template <class Host>
    class On : public RulerChain<Next, Host>, public Implements<Interface, HSlideRuler> {
    public:
        const std::shared_ptr<OperationScope>& Model() const { return model_; }

        int32_t KnobWidth() const { return knobWidth_; }
        void SetKnobWidth(int32_t width) { knobWidth_ = width; }

        int32_t KnobX() const { return KnobCentreX(this->Region(), model_.get()); }

        // The model's listeners hear of it only when the value moves to another whole unit.
        void SetValueFromX(int32_t x)
        {
            if (model_) {
                model_->SetValue(ValueAtX(this->Region(), *model_, x));
            }
        }

        // Strictly inside the track's band vertically and within half the knob width of its
        // centre; the zone may reach past either end of the track.
        bool OnKnob(int32_t x, int32_t y) const
        {
            const auto& track = this->Region();
            const int64_t knob = KnobX(), half = knobWidth_ / 2;
            return track.y < y && int64_t(y) < int64_t(track.y) + track.height && knob - half < x &&
                   x < knob + half;
        }

    protected:
        std::shared_ptr<OperationScope> model_;

    private:
        int32_t knobWidth_ = 10;
    };
};

} // namespace Qimro::Behaviors
