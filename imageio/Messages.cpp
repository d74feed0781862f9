#include "imageio/Messages.h"

namespace messages {

std::string Filled(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string filled;
    for (size_t at = 0; at < text.size(); ++at) {
        const size_t index = at + 1 < text.size() && text[at] == '%' ? size_t(text[at + 1] - '1') : arguments.size();
        if (index < arguments.size()) {
            filled += arguments.begin()[index];
            ++at;
        } else {
            filled += text[at];
        }
    }
    return filled;
}

} // namespace messages
