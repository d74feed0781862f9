#include "picturefiles/PictureFileDialogs.h"

#include "imageio/JpegFileName.h"
#include "imageio/PictureSaver.h"
#include "picturefiles/PictureFileNames.h"
#include "shell/BusyCursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <utility>

std::optional<OpenedPicture> PictureFileDialogs::AskAndLoadPicture(QWidget* owner) const
{
    const std::optional<QString> path = dialogs_.ChooseFileToOpen(owner, OpenDialogFilter());
    if (!path) {
        return std::nullopt;
    }
    return LoadPicture(owner, *path);
}

std::optional<OpenedPicture> PictureFileDialogs::LoadPicture(QWidget* owner, const QString& path) const
{
    // The windows keep repainting while the decoder helper works, and may be asked to
    // open another file meanwhile (a drop): that waits for this one.
    static bool loading = false;
    if (loading) {
        return std::nullopt;
    }
    DecodeResult decoded;
    {
        const QScopedValueRollback<bool> busyLoading(loading, true);
        std::optional<shell::BusyCursor> large;
        std::optional<shell::BusyCursor> slow;
        QElapsedTimer waited;
        waited.start();
        PictureDecoder decoder;
        decoder.OnSizeKnown([&large](int32_t width, int32_t height) { large.emplace(width, height); });
        decoder.OnWaiting([&slow, &waited] {
            if (!slow && waited.elapsed() >= kWaitCursorAfterMs) {
                slow.emplace();
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        decoded = decoder.Decode(FileSystemPath(path));
    }
    if (!decoded.Ok()) {
        dialogs_.ShowMessage(owner, QString::fromStdString(decoded.message));
        return std::nullopt;
    }
    return OpenedPicture{std::move(*decoded.bitmap), std::move(decoded.metadata)};
}

bool PictureFileDialogs::AskAndSave(QWidget* owner, const gfx::Bitmap& picture, const PictureMetadata& metadata) const
{
    return AskAndSave(owner, BitmapRows(picture), metadata);
}

bool PictureFileDialogs::AskAndSave(QWidget* owner, const PictureRows& picture, const PictureMetadata& metadata) const
{
    const std::optional<QString> path = AskJpegFileToSave(owner);
    if (!path) {
        return false;
    }
    SaveResult result;
    {
        const shell::BusyCursor busy(picture.Width(), picture.Height());
        result = SavePictureAsJpeg(picture, FileSystemPath(*path), metadata);
    }
    dialogs_.ShowMessage(owner, QString::fromStdString(result.message));
    return result.saved;
}

std::optional<QString> PictureFileDialogs::AskJpegFileToSave(QWidget* owner) const
{
    for (;;) {
        const std::optional<QString> chosen = dialogs_.ChooseFileToSave(owner);
        if (!chosen || chosen->isEmpty()) {
            return std::nullopt;
        }
        const QString path = DisplayPath(WithJpegExtension(FileSystemPath(*chosen)));
        const QFileInfo target(path);
        if (!target.exists()) {
            return path;
        }
        const QString question = QString::fromUtf8("“%1”已存在。\n要替换它吗?").arg(target.fileName());
        if (dialogs_.AskYesNo(owner, question)) {
            return path;
        }
    }
}
