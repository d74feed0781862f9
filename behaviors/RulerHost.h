#pragma once

namespace Qimro::Behaviors {

// Ends a ruler chain, and stands for "no interface" in a ruler's second argument.
struct Empty {
    template <class Host>
    using On = Host;
};

// A ruler is written Ruler<Next, Interface>: Next is the ruler stacked below it (Empty at the
// bottom) and Interface the abstract class it implements. Each ruler's On<Host> derives from
// Next::On<Host>, so the whole chain ends up stacked on the state host.
template <class Chain, class Host>
using RulerChain = typename Chain::template On<Host>;

// The interface a ruler implements; with Empty it adds nothing. The ruler is part of the type
// so that two rulers without an interface never share a base class.
template <class Interface, class Ruler>
struct Implements : Interface {};
template <class Ruler>
struct Implements<Empty, Ruler> {};

// Whether the rulers up to and including `layer` refuse presses and hover; a state host
// without rulers refuses nothing.
template <class Layer>
bool InputBlockedBy(const Layer& layer)
{
    if constexpr (requires { layer.InputBlocked(); }) {
        return layer.InputBlocked();
    } else {
        return false;
    }
}

// A state host with a chain of rulers applied to it.
template <class Chain, class Host>
class RulerHost : public RulerChain<Chain, Host> {};

} // namespace Qimro::Behaviors
