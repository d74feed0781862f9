#pragma once

#include "engine/Environment.h"
#include "engine/Operation.h"
#include "engine/OperationScope.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The tools that live as long as the main window: the six pixel effects, the two brush
// ranges they share and the operations of stretch, bc, blur, copy and zoom. The line
// and move tools work on one picture's eyelids and view, so each picture brings its own
// (EditingSession).
class ToolBox {
public:
    struct Tool {
        std::shared_ptr<Operation> operation;
        std::vector<std::shared_ptr<OperationScope>> scopes; // in slider order
    };

    static constexpr std::string_view kNoToolHelp = "请选择操作";
    // The help panel's text for a tool (UTF-8, lines broken by "\r\n"); empty for a
    // name that is no tool.
    static std::string_view HelpText(std::string_view tool);

    explicit ToolBox(Environment* environment);

    // The operation and ranges of a tool built here; empty for line, move and other names.
    Tool For(const std::string& tool) const;

private:
    std::map<std::string, Tool> tools_;
};
