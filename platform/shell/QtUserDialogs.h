#pragma once

#include "shell/UserDialogs.h"

namespace shell {

// The real dialogs: Qt message boxes and file dialogs, modal to their owner window.
class QtUserDialogs : public UserDialogs {
public:
    void ShowMessage(QWidget* owner, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& text) override;
    std::optional<QString> ChooseFileToOpen(QWidget* owner, const QString& filter) override;
    std::optional<QString> ChooseFileToSave(QWidget* owner) override;
};

} // namespace shell
