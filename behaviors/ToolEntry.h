#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <vector>

class Operation;
class OperationScope;

namespace Qimro::Behaviors {

// The owner's cursor object for a tool, opaque to the widgets; null when the tool has none.
using CursorHandle = std::shared_ptr<const void>;

// What a tool button carries for its owner: the tool's operation, its help text, its cursor
// and its adjustable ranges in slider order.
using ToolEntry = std::tuple<std::shared_ptr<Operation>, std::wstring, CursorHandle,
                             std::vector<std::shared_ptr<OperationScope>>>;

// The tool entry's parts, named.
inline std::shared_ptr<Operation>& EntryOperation(ToolEntry& entry) { return std::get<0>(entry); }
inline const std::shared_ptr<Operation>& EntryOperation(const ToolEntry& entry) { return std::get<0>(entry); }
inline const std::wstring& EntryHelp(const ToolEntry& entry) { return std::get<1>(entry); }
inline const CursorHandle& EntryCursor(const ToolEntry& entry) { return std::get<2>(entry); }
inline std::vector<std::shared_ptr<OperationScope>>& EntryScopes(ToolEntry& entry) { return std::get<3>(entry); }
inline const std::vector<std::shared_ptr<OperationScope>>& EntryScopes(const ToolEntry& entry)
{
    return std::get<3>(entry);
}

} // namespace Qimro::Behaviors
