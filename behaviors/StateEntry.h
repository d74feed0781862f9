#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace Qimro::Behaviors {

// One boolean state of a widget: the image shown when it turns on, the image shown when it
// turns off (empty = the skin background), its flag and who wants to hear of changes.
// The tag only makes the entries of one widget distinct types.
template <class Tag, class Image, class Holder>
struct StateEntry {
    using StateListener = std::function<void(int, const Holder&)>;

    Image onImage{};
    Image offImage{};
    int32_t flag = 0;
    std::vector<StateListener> listeners;
};

} // namespace Qimro::Behaviors
