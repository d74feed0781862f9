#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace shell {

// Everything the windows ask of the user outside their own skin: message boxes and the
// open and save dialogs. The program uses the Qt dialogs; tests script the answers.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box with the warning icon and an OK button, captioned with the program's name.
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text) = 0;
    // The picture the user picked in the open dialog, which offers the files the filter
    // names (Qt's "Description (*.pattern)" form, filters separated by ";;"); nothing
    // when cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* owner, const QString& filter) = 0;
    // The name the user gave in the save dialog, as given; nothing when cancelled. The
    // dialog does not ask before replacing a file: the save flow asks, for the name it
    // will really write.
    virtual std::optional<QString> ChooseFileToSave(QWidget* owner) = 0;
};

// The caption of every message box.
inline constexpr const char* kProgramName = "Miravo";
// The save dialog's filter, in the open dialog's form: the program writes JPEG only.
inline constexpr const char* kSaveFilter = "JPG File (*.jpg)";

} // namespace shell
