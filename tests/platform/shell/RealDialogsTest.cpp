// The real Qt dialogs on an X display, shown by DialogProbe.cpp and answered with xdotool.

#include "XDisplayTest.h"

#include <QString>

namespace {

using namespace xdisplay;

// The save dialog's caption; its regex form, for xdotool search.
const std::string kSaveDialogName = "^另存为$";

class RealDialogsTest : public XDisplayTest {
protected:
    void StartProbe(const std::string& arguments)
    {
        Start(std::string(DIALOG_PROBE) + " '" + ReportPath() + "' " + arguments);
    }

    void WriteFile(const char* name, const char* content) const
    {
        std::ofstream(dir_ / name) << content;
    }

    // Types a name into the save dialog that is showing and confirms it.
    void EnterFileName(const std::string& name)
    {
        const std::string dialog = WaitForWindow(kSaveDialogName);
        ASSERT_FALSE(dialog.empty()) << "no save dialog: " << Log();
        ASSERT_TRUE(FocusWindow(dialog));
        ASSERT_EQ(Xdo("key --clearmodifiers ctrl+a"), 0);
        ASSERT_EQ(Xdo("type --delay 20 '" + name + "'"), 0);
        ASSERT_EQ(Xdo("key Return"), 0);
    }

    // Answers the replace question with a key; its caption is the program's name.
    void AnswerQuestion(const std::string& key)
    {
        const std::string question = WaitForWindow("^Miravo$");
        ASSERT_FALSE(question.empty()) << "no question before replacing the file: " << Log();
        questionsSeen_++;
        ASSERT_TRUE(FocusWindow(question));
        ASSERT_EQ(Xdo("key --clearmodifiers " + key), 0);
    }

    int questionsSeen_ = 0;
};

} // namespace

TEST_F(RealDialogsTest, MessageBoxHasTheProgramNameAsCaptionAndClosesWithItsButton)
{
    StartProbe("message '您没有正在处理的美女.'");
    const std::string box = WaitForWindow("^Miravo$");
    ASSERT_FALSE(box.empty()) << Log();
    EXPECT_EQ(RunShell("timeout 10 xdotool getwindowname " + box).output, "Miravo\n");
    EXPECT_TRUE(Lines().empty()) << "the message box waits for the user";
    ASSERT_TRUE(FocusWindow(box));
    ASSERT_EQ(Xdo("key Return"), 0);
    EXPECT_TRUE(WaitForExact("closed")) << Log();
}

TEST_F(RealDialogsTest, SaveAsksBeforeReplacingTheJpgFileItWouldWrite)
{
    WriteFile("portrait.jpg", "the original photo");
    StartProbe("save");

    // "portrait" would be written as portrait.jpg, which exists: No keeps it and shows
    // the dialog again.
    EnterFileName("portrait");
    AnswerQuestion("Escape");
    EnterFileName("retouched");
    EXPECT_TRUE(WaitForExact("chosen " + (dir_ / "retouched.jpg").string())) << ReadFile(ReportPath()) << Log();
    EXPECT_EQ(questionsSeen_, 1);
    EXPECT_EQ(ReadFile(dir_ / "portrait.jpg"), "the original photo");
}

TEST_F(RealDialogsTest, SaveReplacesAnExistingFileOnlyWhenTheUserSaysYes)
{
    WriteFile("portrait.JPG", "the original photo");
    StartProbe("save");
    EnterFileName("portrait.JPG");
    AnswerQuestion("alt+y");
    EXPECT_TRUE(WaitForExact("chosen " + (dir_ / "portrait.JPG").string())) << ReadFile(ReportPath()) << Log();
    EXPECT_EQ(questionsSeen_, 1);
}

TEST_F(RealDialogsTest, CancellingTheSaveDialogChoosesNothing)
{
    StartProbe("save");
    const std::string dialog = WaitForWindow(kSaveDialogName);
    ASSERT_FALSE(dialog.empty()) << Log();
    ASSERT_TRUE(FocusWindow(dialog));
    ASSERT_EQ(Xdo("key Escape"), 0);
    EXPECT_TRUE(WaitForExact("cancelled")) << Log();
}
