#pragma once

namespace Qimro::Behaviors {

// What the owner needs to run a group of widgets as radio buttons.
class ISelectable {
public:
    virtual void Select() = 0;
    virtual void Unselect() = 0;
    virtual ~ISelectable() = default;
};

} // namespace Qimro::Behaviors
