#include "engine/UserMessages.h"

#include <iostream>
#include <utility>

namespace {

UserMessageHandler& InstalledHandler()
{
    static UserMessageHandler handler;
    return handler;
}

} // namespace

void ShowUserMessage(const std::string& utf8Text)
{
    const UserMessageHandler& handler = InstalledHandler();
    if (handler) {
        handler(utf8Text);
    } else {
        std::cerr << utf8Text << '\n';
    }
}

UserMessageHandler SetUserMessageHandler(UserMessageHandler handler)
{
    return std::exchange(InstalledHandler(), std::move(handler));
}
