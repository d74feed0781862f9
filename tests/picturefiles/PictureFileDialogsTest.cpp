#include "platform/shell/QtTestApp.h"

#include "files/AppFiles.h"
#include "imageio/GeneratedFiles.h"
#include "imageio/Messages.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"
#include "picturefiles/PictureFileDialogs.h"
#include "support/ScriptedUserDialogs.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>


using shell::ScriptedUserDialogs;

class JpegSaveDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        ASSERT_TRUE(dir_.isValid());
    }
    QString PathOf(const char* name) const { return QDir(dir_.path()).filePath(QString::fromUtf8(name)); }
    void CreateFile(const char* name) const
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier picture");
    }

    QTemporaryDir dir_;
    ScriptedUserDialogs dialogs_;
    PictureFileDialogs files_{dialogs_};
};

TEST_F(JpegSaveDialog, CancelWritesNothingAndAsksNothing)
{
    EXPECT_FALSE(files_.AskJpegFileToSave(nullptr).has_value());
    EXPECT_EQ(dialogs_.SaveDialogsShown(), 1);
    EXPECT_TRUE(dialogs_.Questions().isEmpty());
    EXPECT_TRUE(dialogs_.Messages().isEmpty());
}

TEST_F(JpegSaveDialog, NewNameGetsTheJpgRuleWithoutAQuestion)
{
    dialogs_.AnswerSave(PathOf("portrait"));
    EXPECT_EQ(files_.AskJpegFileToSave(nullptr), PathOf("portrait.jpg"));
    EXPECT_TRUE(dialogs_.Questions().isEmpty());
}

TEST_F(JpegSaveDialog, AsksBeforeReplacingTheFileActuallyWritten)
{
    // "portrait" names no existing file, but "portrait.jpg" (what would be written) does.
    CreateFile("portrait.jpg");
    dialogs_.AnswerSave(PathOf("portrait"));
    dialogs_.AnswerYesNo(true);
    EXPECT_EQ(files_.AskJpegFileToSave(nullptr), PathOf("portrait.jpg"));
    ASSERT_EQ(dialogs_.Questions().size(), 1);
    EXPECT_TRUE(dialogs_.Questions()[0].contains("portrait.jpg"));
}

TEST_F(JpegSaveDialog, NoShowsTheDialogAgain)
{
    CreateFile("原图.JPG");
    dialogs_.AnswerSave(PathOf("原图.JPG"));
    dialogs_.AnswerYesNo(false);
    dialogs_.AnswerSave(PathOf("新图"));
    EXPECT_EQ(files_.AskJpegFileToSave(nullptr), PathOf("新图.jpg"));
    EXPECT_EQ(dialogs_.SaveDialogsShown(), 2);
    EXPECT_EQ(dialogs_.Questions().size(), 1);

    // No, then Cancel: nothing is chosen.
    dialogs_.AnswerSave(PathOf("原图.JPG"));
    dialogs_.AnswerYesNo(false);
    EXPECT_FALSE(files_.AskJpegFileToSave(nullptr).has_value());
    QFile original(PathOf("原图.JPG"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), QByteArray("earlier picture"));
}

TEST_F(JpegSaveDialog, OpenTellsWhyAFileCannotBeOpenedAndCancelSaysNothing)
{
    EXPECT_FALSE(files_.AskAndLoadPicture(nullptr).has_value()) << "an empty script cancels";
    EXPECT_TRUE(dialogs_.Messages().isEmpty());

    CreateFile("broken.png"); // not a picture despite its name
    dialogs_.AnswerOpen(PathOf("broken.png"));
    EXPECT_FALSE(files_.AskAndLoadPicture(nullptr).has_value());
    ASSERT_EQ(dialogs_.Messages().size(), 1);
    EXPECT_EQ(dialogs_.Messages()[0], QString::fromStdString(PictureDecoder().Decode(PathOf("broken.png").toStdString()).message));
    EXPECT_TRUE(dialogs_.Messages()[0].startsWith(QString::fromUtf8(messages::OpenFailed)));

    ASSERT_TRUE(QImage(7, 3, QImage::Format_RGB32).save(PathOf("wide.png")));
    dialogs_.AnswerOpen(PathOf("wide.png"));
    const std::optional<OpenedPicture> opened = files_.AskAndLoadPicture(nullptr);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->bitmap.Width(), 7);
    EXPECT_EQ(opened->bitmap.Height(), 3);
    EXPECT_EQ(dialogs_.Messages().size(), 1) << "a picture that opens shows no message";
}

TEST_F(JpegSaveDialog, SaveConfirmsOnlyWhatWasWritten)
{
    const gfx::Bitmap picture = picturefiles::PhotoLike(30, 20);
    dialogs_.AnswerSave(PathOf("result"));
    EXPECT_TRUE(files_.AskAndSave(nullptr, picture, {}));
    EXPECT_EQ(dialogs_.Messages(), QStringList{QString::fromUtf8(messages::Saved)});
    EXPECT_EQ(QImage(PathOf("result.jpg")).size(), QSize(30, 20));

    // A folder that does not exist (tests run as root, for whom nothing is read-only): the
    // reason, never the confirmation.
    dialogs_.AnswerSave(PathOf("missing/result"));
    EXPECT_FALSE(files_.AskAndSave(nullptr, picture, {}));
    ASSERT_EQ(dialogs_.Messages().size(), 2);
    EXPECT_EQ(dialogs_.Messages()[1], QString::fromUtf8(messages::SaveFailed) + QString::fromUtf8(messages::FolderMissing));
}

TEST_F(JpegSaveDialog, OpenDialogOffersEveryKindOfTheTable)
{
    EXPECT_FALSE(files_.AskAndLoadPicture(nullptr).has_value());
    EXPECT_EQ(dialogs_.OpenFilter(),
              QString::fromUtf8("所有图片 (*.jpg *.jpeg *.png *.bmp *.gif *.tif *.tiff *.webp *.heic *.heif);;"
                                "JPEG Files (*.jpg *.jpeg);;PNG Files (*.png);;Bitmap Files (*.bmp)"));
}

namespace {

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

// The decoder helper takes 1.5 s on a marked file: meanwhile the windows repaint, the
// wait cursor shows, and another file to open is turned away.
TEST_F(JpegSaveDialog, WindowsRepaintUnderTheWaitCursorWhileALongDecodeRuns)
{
    std::vector<uint8_t> gif = generatedfiles::GifFile(9, 4, {0, 0xFFFFFF}, [](int32_t x, int32_t) { return uint8_t(x % 2); });
    const std::string mark = "MIRAVO-SLOW";
    gif.insert(gif.end(), mark.begin(), mark.end());
    picturefiles::WriteBytes(PathOf("slow.gif").toStdString(), gif);
    PaintCounter window;
    window.resize(40, 30);
    window.show();
    QCoreApplication::processEvents();
    int ticks = 0, waitCursorTicks = 0, paintsBefore = window.paints;
    std::optional<OpenedPicture> nested;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        window.update();
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitCursorTicks += cursor && cursor->shape() == Qt::WaitCursor;
        if (++ticks == 5) {
            nested = files_.LoadPicture(nullptr, PathOf("slow.gif"));
        }
    });
    ticker.start(50);
    SetDecoderHelperForTesting(MIRAVO_FAILING_DECODER);
    const std::optional<OpenedPicture> opened = files_.LoadPicture(nullptr, PathOf("slow.gif"));
    SetDecoderHelperForTesting({});
    ticker.stop();
    ASSERT_TRUE(opened.has_value()) << dialogs_.Messages().join('\n').toStdString();
    EXPECT_EQ(opened->bitmap.Width(), 9);
    EXPECT_GE(ticks, 15);
    EXPECT_GE(window.paints - paintsBefore, 10);
    // From 0.3 s on, at 50 ms a tick.
    EXPECT_GE(waitCursorTicks, ticks - 10);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(nested.has_value());
    EXPECT_TRUE(dialogs_.Messages().isEmpty());
}
