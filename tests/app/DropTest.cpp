// Dropping files onto the real main window on the X display: Qt's drag and drop events
// sent to the window, since xdotool cannot drag between programs.
#include "app/MainWindowDriver.h"
#include "imageio/Messages.h"

#include <QDialog>
#include <QDropEvent>
#include <QFile>

#include <cstdlib>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<QMimeData> FilesData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    data->setUrls(urls);
    return data;
}

// Drags the data over the middle of the canvas and drops it; true when the window took it.
bool Drop(MainWindowDriver& d, const QMimeData& data)
{
    const QPoint at(300, 400);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(d.window.get(), &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(d.window.get(), &drop);
    return drop.isAccepted();
}

} // namespace

TEST(DropOnMainWindow, OnePictureFileOpensAsTheOpenCommandDoesAndAnythingElseDoesNothing)
{
    MainWindowDriver dropped;
    const QString picture = dropped.WritePicture("wide.png", 300, 170);
    QMimeData text;
    text.setText(picture);
    EXPECT_FALSE(Drop(dropped, text));
    EXPECT_FALSE(Drop(dropped, *FilesData({picture, picture})));
    QFile(dropped.folder.filePath("notes.txt")).open(QIODevice::WriteOnly);
    EXPECT_FALSE(Drop(dropped, *FilesData({dropped.folder.filePath("notes.txt")})));
    EXPECT_EQ(dropped.window->Session(), nullptr);

    ASSERT_TRUE(Drop(dropped, *FilesData({picture})));
    MainWindowDriver opened;
    opened.dialogs.AnswerOpen(picture);
    opened.window->Open();
    ASSERT_NE(dropped.window->Session(), nullptr);
    EXPECT_TRUE(dropped.dialogs.Messages().isEmpty());
    for (const char* name : {"save", "comp", "undo", "rotate", "reset", "bc", "line", "move"}) {
        EXPECT_EQ(dropped.Disabled(name), opened.Disabled(name)) << name;
    }
    const gfx::Bitmap& a = dropped.Screen();
    const gfx::Bitmap& b = opened.Screen();
    ASSERT_EQ(a.Width(), b.Width());
    for (int32_t y = 0; y < a.Height(); ++y) {
        ASSERT_TRUE(std::equal(a.Scanline(y), a.Scanline(y) + a.Width(), b.Scanline(y))) << "row " << y;
    }

    // A damaged picture gives the open command's message and keeps the picture.
    QFile damaged(dropped.folder.filePath("cut.jpg"));
    damaged.open(QIODevice::WriteOnly);
    damaged.write("\xFF\xD8\xFF\xE0 not much of a photo");
    damaged.close();
    const EditingSession* before = dropped.window->Session();
    ASSERT_TRUE(Drop(dropped, *FilesData({damaged.fileName()})));
    ASSERT_EQ(dropped.dialogs.Messages().size(), 1);
    EXPECT_TRUE(dropped.dialogs.Messages()[0].startsWith(QString::fromUtf8(messages::OpenFailed)));
    EXPECT_EQ(dropped.window->Session(), before);

    // Nothing is taken while a dialog is open over the window.
    QDialog modal(dropped.window.get());
    modal.setModal(true);
    modal.show();
    EXPECT_FALSE(Drop(dropped, *FilesData({picture})));
    modal.hide();
}

// Cameras and phones name their files in capitals: those are pictures like any other.
TEST(DropOnMainWindow, PictureNamesInCapitalsOpenAndOtherNamesAreDeclined)
{
    MainWindowDriver d;
    const QString png = d.WritePicture("source.png", 64, 48);
    const struct {
        QString name;
        int32_t width; // 0: declined
    } cases[] = {
        {d.WritePicture("IMG_0001.JPG", 64, 40), 64},
        {d.WritePicture("Scan.Png", 30, 20), 30},
        {d.folder.filePath("PORTRAIT.HEIC"), 64},
        {d.folder.filePath("IMG_0001.JPG.txt"), 0},
        {d.folder.filePath("JPG"), 0},
    };
    ASSERT_EQ(std::system(("heif-enc -q 90 -o '" + cases[2].name + "' '" + png + "' > /dev/null").toUtf8().constData()), 0);
    QFile::copy(cases[0].name, cases[3].name);
    QFile::copy(cases[0].name, cases[4].name);
    for (const auto& c : cases) {
        EXPECT_EQ(Drop(d, *FilesData({c.name})), c.width > 0) << c.name.toStdString();
        if (c.width > 0) {
            ASSERT_NE(d.window->Session(), nullptr) << c.name.toStdString();
            EXPECT_EQ(d.Session().Picture()->Width(), c.width) << c.name.toStdString();
        }
    }
    EXPECT_TRUE(d.dialogs.Messages().isEmpty()) << d.dialogs.Messages().join('\n').toStdString();
}
