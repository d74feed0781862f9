#include "behaviors/CommandButton.h"
#include "behaviors/PlainButton.h"
#include "behaviors/ToolButton.h"

#include "files/AppFiles.h"
#include "gfx/BmpFile.h"

#include "WidgetRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

// A program folder whose data folder holds state images of distinct sizes: _1 is 1x1, _2 is
// 2x2 and _3 is 3x3, so a drawn image tells which file it came from.
class SkinFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("behaviors_skin_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_ / "data");
        SetAppDirForTesting(dir_);
    }

    void TearDown() override
    {
        SetAppDirForTesting({});
        std::filesystem::remove_all(dir_);
    }

    void WriteImage(const std::string& fileName, int32_t size)
    {
        ASSERT_TRUE(gfx::WriteBmpFile((dir_ / "data" / fileName).string(), gfx::Bitmap(size, size)));
    }

    void WriteSkin(const std::string& name, const std::vector<int>& numbers)
    {
        for (int n : numbers) {
            WriteImage(name + "_" + std::to_string(n) + ".bmp", n);
        }
    }

    std::filesystem::path dir_;
};

template <class Button>
std::string Loaded(const Button& button, auto tag)
{
    return WidgetRecorder::Describe(button.EntryOf(tag).onImage);
}

} // namespace

TEST_F(SkinFolder, EachKindLoadsTheFilesOfItsOwnStates)
{
    WriteSkin("open", {1, 2, 3});
    WriteSkin("undo", {1, 2, 3});
    WriteSkin("line", {1, 2, 3});

    PlainButton plain;
    plain.LoadSkin("open");
    EXPECT_EQ(Loaded(plain, Over{}), "1x1");
    EXPECT_EQ(Loaded(plain, Down{}), "2x2");
    static_assert(!PlainButton::HasState<Disabled>);

    CommandButton command;
    command.LoadSkin("undo");
    EXPECT_EQ(Loaded(command, Over{}), "1x1");
    EXPECT_EQ(Loaded(command, Down{}), "2x2");
    EXPECT_EQ(Loaded(command, Disabled{}), "3x3");

    ToolButton tool;
    tool.LoadSkin("line");
    EXPECT_EQ(Loaded(tool, Over{}), "1x1");
    EXPECT_EQ(Loaded(tool, Down{}), "2x2");
    EXPECT_EQ(Loaded(tool, Selected{}), "2x2");
    EXPECT_EQ(Loaded(tool, Disabled{}), "3x3");

    // Off images stay empty: turning a state off shows the background.
    EXPECT_EQ(command.EntryOf(Disabled{}).offImage, nullptr);
    EXPECT_EQ(tool.EntryOf(Selected{}).offImage, nullptr);
}

TEST_F(SkinFolder, SetupPlacesTheButtonAndDrawsNothing)
{
    WriteSkin("save", {1, 2, 3});
    CommandButton button;
    WidgetRecorder recorder;
    button.Setup({532, 48, 57, 20}, [&](const SkinImage& image, const auto& holder) {
        recorder.events.push_back("draw " + WidgetRecorder::Describe(image) + " at " +
                                  std::to_string(holder.Region().x));
    }, "save");
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(button.Contains(533, 49));
    button.SetState(Disabled{}, 1);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"draw 3x3 at 532"}));
}

TEST_F(SkinFolder, MissingOrUnreadableFileGivesAnImageThatPaintsNothing)
{
    WriteSkin("comp", {1, 2});
    std::ofstream(dir_ / "data" / "comp_3.bmp") << "not a bitmap";
    CommandButton button;
    WidgetRecorder recorder;
    button.Setup({0, 0, 10, 10}, [&](const SkinImage& image, const auto&) {
        ASSERT_NE(image, nullptr);
        recorder.events.push_back("draw " + WidgetRecorder::Describe(image));
    }, "comp");
    button.SetState(Over{}, 1);
    button.SetState(Disabled{}, 1);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"draw 1x1", "draw 0x0"}));
    ASSERT_TRUE(button.EntryOf(Disabled{}).onImage->IsEmpty());

    ToolButton unknown;
    unknown.LoadSkin("nothing");
    EXPECT_TRUE(unknown.EntryOf(Selected{}).onImage->IsEmpty());
}
