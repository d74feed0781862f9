#pragma once

#include <functional>
#include <string>

// The one way the engine and the tools show a message to the user. The main window
// installs a handler that opens a message box; until then messages go to stderr.
// Tests install their own handler to see the texts.
using UserMessageHandler = std::function<void(const std::string& utf8Text)>;

void ShowUserMessage(const std::string& utf8Text);

// Installs the handler and returns the one it replaces; an empty handler restores
// the default (stderr).
UserMessageHandler SetUserMessageHandler(UserMessageHandler handler);
