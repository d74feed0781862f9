#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureMetadata.h"
#include "imageio/PictureRows.h"
#include "shell/UserDialogs.h"

#include <QString>

#include <optional>

class QWidget;

// A picture the user opened: its pixels, upright, and what a saved JPEG keeps of the file.
struct OpenedPicture {
    gfx::Bitmap bitmap;
    PictureMetadata metadata;
};

// The open and save flows the windows share: the shell's dialogs joined with decoding
// and writing pictures, and the messages that tell the user how it went. The window
// given as owner owns the dialogs and the message boxes.
class PictureFileDialogs {
public:
    static constexpr qint64 kWaitCursorAfterMs = 300;

    explicit PictureFileDialogs(shell::UserDialogs& dialogs) : dialogs_(dialogs) {}

    // The open dialog, then the picture. Nothing when the user cancels, or when the file
    // cannot be opened; then the user has been told why.
    std::optional<OpenedPicture> AskAndLoadPicture(QWidget* owner) const;
    // Opens a picture named elsewhere (the command line), with the same messages. The
    // memory the picture may take is judged anew at each opening. While a decode in the
    // decoder helper runs, the windows go on repainting (input waits), and after
    // kWaitCursorAfterMs the wait cursor shows; a file to open meanwhile is ignored.
    std::optional<OpenedPicture> LoadPicture(QWidget* owner, const QString& path) const;

    // The save dialog, then the JPEG file and a message: the confirmation only when the
    // file was written, otherwise why not. Cancelling writes and shows nothing. True
    // when the file was written.
    bool AskAndSave(QWidget* owner, const PictureRows& picture, const PictureMetadata& metadata) const;
    bool AskAndSave(QWidget* owner, const gfx::Bitmap& picture, const PictureMetadata& metadata) const;

    // The JPEG file to write: the save dialog's choice with the ".jpg" rule applied.
    // When that file exists the user is asked before it is replaced; No shows the save
    // dialog again, so an existing picture is never overwritten unasked.
    std::optional<QString> AskJpegFileToSave(QWidget* owner) const;

private:
    shell::UserDialogs& dialogs_;
};
