#pragma once

#include <cstdint>

namespace Qimro::Behaviors {

class IMouseDown {
public:
    // A left press at a client point; true when the widget took it.
    virtual bool MouseDown(int32_t x, int32_t y) = 0;
    virtual ~IMouseDown() = default;
};

} // namespace Qimro::Behaviors
