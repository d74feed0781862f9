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
    // The picture the user picked in the open dialog; nothing when cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* owner) = 0;

    // The JPEG file to write: the save dialog's choice with the ".jpg" rule applied.
    // When that file exists the user is asked before it is replaced; No shows the save
    // dialog again, so an existing picture is never overwritten unasked.
    std::optional<QString> AskJpegFileToSave(QWidget* owner);

protected:
    // The name the user gave in the save dialog, as given; nothing when cancelled.
    // Reached only through AskJpegFileToSave, which asks before replacing a file.
    virtual std::optional<QString> ChooseFileToSave(QWidget* owner) = 0;
};

// The caption of every message box.
inline constexpr const char* kProgramName = "Miravo";
// Filters in Qt's "Description (*.pattern)" form, separated by ";;".
inline constexpr const char* kOpenFilter = "JPEG Files (*.jpg *.jpeg);;Bitmap Files (*.bmp);;PNG Files (*.png)";
inline constexpr const char* kSaveFilter = "JPG File (*.jpg)";

} // namespace shell
