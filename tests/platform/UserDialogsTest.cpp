#include "QtTestApp.h"

#include "shell/ScriptedUserDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using shell::ScriptedUserDialogs;
using shell::UserDialogs;

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
};

TEST_F(JpegSaveDialog, CancelWritesNothingAndAsksNothing)
{
    EXPECT_FALSE(dialogs_.AskJpegFileToSave(nullptr).has_value());
    EXPECT_EQ(dialogs_.SaveDialogsShown(), 1);
    EXPECT_TRUE(dialogs_.Questions().isEmpty());
    EXPECT_TRUE(dialogs_.Messages().isEmpty());
}

TEST_F(JpegSaveDialog, NewNameGetsTheJpgRuleWithoutAQuestion)
{
    dialogs_.AnswerSave(PathOf("portrait"));
    EXPECT_EQ(dialogs_.AskJpegFileToSave(nullptr), PathOf("portrait.jpg"));
    EXPECT_TRUE(dialogs_.Questions().isEmpty());
}

TEST_F(JpegSaveDialog, AsksBeforeReplacingTheFileActuallyWritten)
{
    // "portrait" names no existing file, but "portrait.jpg" (what would be written) does.
    CreateFile("portrait.jpg");
    dialogs_.AnswerSave(PathOf("portrait"));
    dialogs_.AnswerYesNo(true);
    EXPECT_EQ(dialogs_.AskJpegFileToSave(nullptr), PathOf("portrait.jpg"));
    ASSERT_EQ(dialogs_.Questions().size(), 1);
    EXPECT_TRUE(dialogs_.Questions()[0].contains("portrait.jpg"));
}

TEST_F(JpegSaveDialog, NoShowsTheDialogAgain)
{
    CreateFile("原图.JPG");
    dialogs_.AnswerSave(PathOf("原图.JPG"));
    dialogs_.AnswerYesNo(false);
    dialogs_.AnswerSave(PathOf("新图"));
    EXPECT_EQ(dialogs_.AskJpegFileToSave(nullptr), PathOf("新图.jpg"));
    EXPECT_EQ(dialogs_.SaveDialogsShown(), 2);
    EXPECT_EQ(dialogs_.Questions().size(), 1);

    // No, then Cancel: nothing is chosen.
    dialogs_.AnswerSave(PathOf("原图.JPG"));
    dialogs_.AnswerYesNo(false);
    EXPECT_FALSE(dialogs_.AskJpegFileToSave(nullptr).has_value());
    QFile original(PathOf("原图.JPG"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), QByteArray("earlier picture"));
}

TEST(ScriptedUserDialogs, RecordsTextsAndHandsOutAnswersInOrder)
{
    ScriptedUserDialogs dialogs;
    dialogs.ShowMessage(nullptr, QString::fromUtf8("您没有正在处理的美女."));
    dialogs.ShowMessage(nullptr, QString::fromUtf8("恭喜您, 该美女的玉照已经保存."));
    EXPECT_EQ(dialogs.Messages(),
              QStringList({QString::fromUtf8("您没有正在处理的美女."), QString::fromUtf8("恭喜您, 该美女的玉照已经保存.")}));

    dialogs.AnswerOpen(QString("a.jpg"));
    dialogs.AnswerOpen(std::nullopt);
    dialogs.AnswerOpen(QString("b.png"));
    EXPECT_EQ(dialogs.ChooseFileToOpen(nullptr), QString("a.jpg"));
    EXPECT_FALSE(dialogs.ChooseFileToOpen(nullptr).has_value());
    EXPECT_EQ(dialogs.ChooseFileToOpen(nullptr), QString("b.png"));
    EXPECT_FALSE(dialogs.ChooseFileToOpen(nullptr).has_value()) << "an empty script cancels";
    EXPECT_EQ(dialogs.OpenDialogsShown(), 4);
    EXPECT_FALSE(dialogs.AskYesNo(nullptr, "?")) << "an empty script answers No";
}

TEST(UserDialogs, FiltersOfferThePictureKinds)
{
    const QString open = QString::fromLatin1(shell::kOpenFilter);
    const QStringList filters = open.split(";;");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_TRUE(filters[0].startsWith("JPEG Files (") && filters[0].contains("*.jpg") && filters[0].contains("*.jpeg"));
    EXPECT_EQ(filters[1], "Bitmap Files (*.bmp)");
    EXPECT_EQ(filters[2], "PNG Files (*.png)");
    EXPECT_EQ(QString::fromLatin1(shell::kSaveFilter), "JPG File (*.jpg)");
    EXPECT_STREQ(shell::kProgramName, "Miravo");
}
