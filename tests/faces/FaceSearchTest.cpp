#include "faces/FaceMessages.h"
#include "faces/FaceSearch.h"
#include "support/SamplePortrait.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace {

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / ("miravo_faces_" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::vector<char> FirstBytesOf(const std::string& path, size_t count)
{
    std::vector<char> bytes(count);
    std::ifstream(path, std::ios::binary).read(bytes.data(), std::streamsize(count));
    return bytes;
}

} // namespace

TEST(FaceSearchTest, FindsInTheBackgroundTheNewestPictureOnly)
{
    FaceSearch search;
    EXPECT_TRUE(search.IsReady()); // nothing asked yet
    const std::shared_ptr<const Surface> portrait = sampleportrait::Load();
    const std::shared_ptr<const Surface> noise = testpictures::Noise(800, 600, 3);

    // A picture started and at once replaced: only the newest one's faces come back.
    search.Start(noise);
    search.Start(portrait);
    const FaceSearchResult found = search.Wait();
    EXPECT_TRUE(search.IsReady());
    EXPECT_TRUE(search.IsModelRead());
    EXPECT_EQ(search.ModelProblem(), "");
    ASSERT_EQ(found.faces.size(), 1u);
    EXPECT_EQ(found.problem, "");
    ASSERT_TRUE(search.ResultIfReady().has_value());
    EXPECT_EQ(search.ResultIfReady()->faces.size(), 1u);

    // The same picture again (a reset) keeps its result: ready at once.
    search.Start(portrait);
    EXPECT_TRUE(search.IsReady());
    EXPECT_EQ(search.Wait().faces.size(), 1u);

    search.Start(noise);
    EXPECT_TRUE(search.Wait().faces.empty());

    // Cancelled: ready, with nothing, until the next picture.
    search.Start(portrait);
    search.Cancel();
    EXPECT_TRUE(search.IsReady());
    EXPECT_TRUE(search.Wait().faces.empty());
    search.Start(portrait);
    EXPECT_EQ(search.Wait().faces.size(), 1u);
}

TEST(FaceSearchTest, MissingOrDamagedModelSaysWhyAndFindsNothing)
{
    TempFolder folder;
    WriteFile(folder.File("text.dat"), {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'e', 'l'});
    WriteFile(folder.File("empty.dat"), {});
    WriteFile(folder.File("cut.dat"), FirstBytesOf(FaceModel::kDefaultPath, 1 << 20));
    struct Case {
        std::string path;
        const char* message;
    };
    const Case cases[] = {
        {folder.File("missing.dat"), facemessages::ModelMissing},
        {folder.File("text.dat"), facemessages::ModelDamaged},
        {folder.File("empty.dat"), facemessages::ModelDamaged},
        {folder.File("cut.dat"), facemessages::ModelDamaged},
    };
    const std::shared_ptr<const Surface> portrait = sampleportrait::Load();
    for (const Case& c : cases) {
        const std::string why = facemessages::WithArgument(c.message, c.path);
        const FaceModel::Loaded loaded = FaceModel::Load(c.path);
        EXPECT_EQ(loaded.model, nullptr) << c.path;
        EXPECT_EQ(loaded.problem, why);

        FaceSearch search(c.path);
        search.Start(portrait);
        const FaceSearchResult result = search.Wait();
        EXPECT_TRUE(result.faces.empty());
        EXPECT_EQ(result.problem, why);
        EXPECT_TRUE(search.IsModelRead());
        EXPECT_EQ(search.ModelProblem(), why);
    }
    EXPECT_EQ(facemessages::WithArgument(facemessages::ModelMissing, "/m.dat"),
              "找不到人脸模型文件 /m.dat (由 libdlib-data 安装), 一键磨皮不可用.");
}

TEST(FaceSearchTest, EndsWhileTheModelIsStillRead)
{
    // Closing the window right after start must not wait for the whole model.
    FaceSearch search;
    search.Start(sampleportrait::Load());
}
