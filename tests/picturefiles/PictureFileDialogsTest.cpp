#include "platform/shell/QtTestApp.h"

#include "imageio/Messages.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"
#include "picturefiles/PictureFileDialogs.h"
#include "support/ScriptedUserDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>


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
