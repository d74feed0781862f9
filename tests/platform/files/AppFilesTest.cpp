#include "files/AppFiles.h"

#include "gfx/BmpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AppFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("miravo_appfiles_" + std::to_string(::getpid()));
        fs::remove_all(root_);
    }
    void TearDown() override
    {
        SetAppDirForTesting({});
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(root_);
    }
    void PutBitmap(const fs::path& path, int width)
    {
        fs::create_directories(path.parent_path());
        ASSERT_TRUE(gfx::WriteBmpFile(path.string(), gfx::Bitmap(width, 2)));
    }

    fs::path root_;
};

} // namespace

TEST_F(AppFilesTest, SkinBesideTheProgramWins)
{
    PutBitmap(root_ / "bin" / "data" / "x.bmp", 3);
    PutBitmap(root_ / "share" / "miravo" / "data" / "x.bmp", 5);
    SetAppDirForTesting(root_ / "bin");
    auto image = LoadAppImage("x.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 3);
}

TEST_F(AppFilesTest, InstalledSkinIsFoundBesideTheBinFolder)
{
    PutBitmap(root_ / "share" / "miravo" / "data" / "main.bmp", 5);
    SetAppDirForTesting(root_ / "bin");
    auto image = LoadAppImage("main.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 5);
    EXPECT_EQ(CursorFilePath("line"), root_ / "share" / "miravo" / "data" / "line.cur");
}

TEST_F(AppFilesTest, LongProgramPathsAreNotCut)
{
    fs::path deep = root_;
    while (deep.string().size() < 400) {
        deep /= "a-rather-long-folder-name";
    }
    PutBitmap(deep / "data" / "x.bmp", 4);
    SetAppDirForTesting(deep);
    auto image = LoadAppImage("x.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 4);
}

TEST_F(AppFilesTest, MissingFilesGiveNothingAndCursorsIgnoreTheCurrentFolder)
{
    fs::create_directories(root_ / "bin" / "data");
    fs::create_directories(root_ / "elsewhere");
    SetAppDirForTesting(root_ / "bin");
    EXPECT_EQ(LoadAppImage("absent.bmp"), nullptr);
    fs::current_path(root_ / "elsewhere");
    EXPECT_EQ(CursorFilePath("hand"), root_ / "bin" / "data" / "hand.cur");
}
