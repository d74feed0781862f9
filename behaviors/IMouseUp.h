#pragma once

#include <cstdint>

namespace Qimro::Behaviors {

class IMouseUp {
public:
    // A left release at a client point.
    virtual void MouseUp(int32_t x, int32_t y) = 0;
    virtual ~IMouseUp() = default;
};

} // namespace Qimro::Behaviors
