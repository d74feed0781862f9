#pragma once

#include "shell/UserDialogs.h"

#include <QStringList>

#include <deque>

namespace shell {

// Dialogs for tests: each question takes the next scripted answer (Cancel or No once
// the script runs out) and every text shown is recorded.
class ScriptedUserDialogs : public UserDialogs {
public:
    // Nothing (std::nullopt) scripts a Cancel.
    void AnswerOpen(const std::optional<QString>& path) { openAnswers_.push_back(path.value_or(QString())); }
    void AnswerSave(const std::optional<QString>& path) { saveAnswers_.push_back(path.value_or(QString())); }
    void AnswerYesNo(bool yes) { yesNoAnswers_.push_back(yes); }

    const QStringList& Messages() const { return messages_; }
    const QStringList& Questions() const { return questions_; }
    int OpenDialogsShown() const { return openShown_; }
    // The filter the last open dialog was given.
    const QString& OpenFilter() const { return openFilter_; }
    int SaveDialogsShown() const { return saveShown_; }

    void ShowMessage(QWidget* owner, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& text) override;
    std::optional<QString> ChooseFileToOpen(QWidget* owner, const QString& filter) override;
    std::optional<QString> ChooseFileToSave(QWidget* owner) override;

private:
    // An empty path stands for Cancel.
    std::deque<QString> openAnswers_;
    std::deque<QString> saveAnswers_;
    std::deque<bool> yesNoAnswers_;
    QStringList messages_;
    QStringList questions_;
    QString openFilter_;
    int openShown_ = 0;
    int saveShown_ = 0;
};

} // namespace shell
