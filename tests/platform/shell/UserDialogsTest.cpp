#include "QtTestApp.h"

#include "support/ScriptedUserDialogs.h"

#include <gtest/gtest.h>


using shell::ScriptedUserDialogs;
using shell::UserDialogs;

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
    EXPECT_EQ(dialogs.ChooseFileToOpen(nullptr, {}), QString("a.jpg"));
    EXPECT_FALSE(dialogs.ChooseFileToOpen(nullptr, {}).has_value());
    EXPECT_EQ(dialogs.ChooseFileToOpen(nullptr, {}), QString("b.png"));
    EXPECT_FALSE(dialogs.ChooseFileToOpen(nullptr, {}).has_value()) << "an empty script cancels";
    EXPECT_EQ(dialogs.OpenDialogsShown(), 4);
    EXPECT_FALSE(dialogs.AskYesNo(nullptr, "?")) << "an empty script answers No";
}

TEST(UserDialogs, SaveFilterOffersJpegOnly)
{
    EXPECT_EQ(QString::fromLatin1(shell::kSaveFilter), "JPG File (*.jpg)");
    EXPECT_STREQ(shell::kProgramName, "Miravo");
}
