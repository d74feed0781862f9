#pragma once

#include "behaviors/RulerHost.h"
#include "behaviors/StateTags.h"

namespace Qimro::Behaviors {

// Gives a widget the Selected state: a selected widget takes no press and ignores hover,
// and the owner selects and unselects it through the interface (usually ISelectable).
// The radio-group rule itself belongs to the owner.
template <class Next, class Interface = Empty>
struct SelectableRuler {
    template <class Host>
    class On : public RulerChain<Next, Host>, public Implements<Interface, SelectableRuler> {
        using Base = RulerChain<Next, Host>;

    public:
        bool InputBlocked() const
        {
            return this->Flag(Selected{}) == 1 || InputBlockedBy(static_cast<const Base&>(*this));
        }

        void Select() { this->SetState(Selected{}, 1); }
        void Unselect() { this->SetState(Selected{}, 0); }
    };
};

} // namespace Qimro::Behaviors
