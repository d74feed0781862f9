#include "support/ScriptedUserDialogs.h"

namespace shell {

namespace {

template <typename T>
T TakeNext(std::deque<T>& answers, T whenEmpty)
{
    if (answers.empty()) {
        return whenEmpty;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

std::optional<QString> PathOrCancel(const QString& path)
{
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace

void ScriptedUserDialogs::ShowMessage(QWidget*, const QString& text) { messages_.append(text); }

bool ScriptedUserDialogs::AskYesNo(QWidget*, const QString& text)
{
    questions_.append(text);
    return TakeNext(yesNoAnswers_, false);
}

std::optional<QString> ScriptedUserDialogs::ChooseFileToOpen(QWidget*, const QString& filter)
{
    ++openShown_;
    openFilter_ = filter;
    return PathOrCancel(TakeNext(openAnswers_, QString()));
}

std::optional<QString> ScriptedUserDialogs::ChooseFileToSave(QWidget*)
{
    ++saveShown_;
    return PathOrCancel(TakeNext(saveAnswers_, QString()));
}

} // namespace shell
