#pragma once

#include "behaviors/RulerHost.h"
#include "behaviors/StateTags.h"

namespace Qimro::Behaviors {

// While Disabled is on the widget takes no press and ignores hover.
template <class Next, class Interface = Empty>
struct DisableRuler {
    template <class Host>
    class On : public RulerChain<Next, Host>, public Implements<Interface, DisableRuler> {
        using Base = RulerChain<Next, Host>;

    public:
        bool InputBlocked() const
        {
            return this->Flag(Disabled{}) == 1 || InputBlockedBy(static_cast<const Base&>(*this));
        }
    };
};

} // namespace Qimro::Behaviors
