// The table of picture kinds and every list made from it.
#include "imageio/PictureKinds.h"

#include "imageio/GeneratedFiles.h"
#include "imageio/Messages.h"
#include "support/BmpFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

using namespace generatedfiles;

namespace {

std::string SourceFile(const char* path)
{
    std::ifstream file(std::string(MIRAVO_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1]);
    }
    return found;
}

std::vector<std::string> Strings(const std::vector<std::string_view>& views) { return {views.begin(), views.end()}; }

uint32_t Grey(int32_t x, int32_t y, int) { return uint32_t(x * 20 + y * 7) % 256; }

} // namespace

TEST(PictureKinds, TheDesktopEntryAndTheMetainfoNameTheTablesTypes)
{
    const std::vector<std::string> expected = Strings(DesktopMimeTypes());
    ASSERT_EQ(expected, (std::vector<std::string>{"image/jpeg", "image/png", "image/bmp", "image/tiff", "image/webp",
                                                  "image/heif", "image/heic"}));
    const std::string entry = SourceFile("packaging/org.miravo.Miravo.desktop");
    const std::vector<std::string> line = Matches(entry, std::regex("\nMimeType=([^\n]*)\n"));
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(Matches(line[0], std::regex("([^;]+);")), expected);
    const std::string metainfo = SourceFile("packaging/org.miravo.Miravo.metainfo.xml");
    EXPECT_EQ(Matches(metainfo, std::regex("<mediatype>([^<]*)</mediatype>")), expected);
}

TEST(PictureKinds, EachKindIsKnownByItsFirstBytesAndItsSuffixInAnyCase)
{
    const struct {
        const char* kind;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"JPEG", JpegFile(JpegLayout(8, 8), Grey)},
        {"PNG", PngFile(PngLayout(3, 2, PNG_COLOR_TYPE_RGB, 8), Grey)},
        {"BMP", bmpfiles::BmpFile(bmpfiles::Bits(24).Size(2, 1), {1, 2, 3, 4, 5, 6, 0, 0})},
        {"GIF", GifFile(3, 2, {0, 0xFFFFFF}, [](int32_t x, int32_t) { return uint8_t(x % 2); })},
        {"TIFF", {'I', 'I', 42, 0, 8, 0, 0, 0}},
        {"TIFF", {'M', 'M', 0, 43, 0, 8, 0, 0}}, // BigTIFF
        {"WebP", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'E', 'B', 'P'}},
        {"HEIC", {0, 0, 0, 24, 'f', 't', 'y', 'p', 'm', 'i', 'f', '1', 0, 0, 0, 0, 'm', 'i', 'f', '1', 'h', 'e', 'i', 'c'}},
    };
    for (const auto& file : files) {
        const PictureKind* kind = KindOfFile(file.bytes);
        ASSERT_NE(kind, nullptr) << file.kind;
        EXPECT_EQ(kind->name, file.kind);
    }
    for (const std::vector<uint8_t>& none : std::vector<std::vector<uint8_t>>{
             {}, {'B'}, {'G', 'I', 'F', '8', '8', 'a'}, {'I', 'I', 44, 0}, {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}}) {
        EXPECT_EQ(KindOfFile(none), nullptr) << none.size();
    }

    const struct {
        const char* name;
        bool picture;
    } names[] = {
        {"IMG_0001.JPG", true},      {"/home/ann/照片/portrait.HEIC", true}, {"scan.Tiff", true},  {"a.tif", true},
        {"b.jpeg", true},            {"c.heif", true},                     {"d.WebP", true},     {"e.GIF", true},
        {"f.bmp", true},             {"g.PNG", true},                      {"notes.txt", false}, {"IMG_0001.JPG.txt", false},
        {"jpg", false},              {".jpg", true},                       {"photo.jpg.", false}, {"photojpg", false},
        {"/home/ann/x.jpg/notes", false},
    };
    for (const auto& c : names) {
        EXPECT_EQ(HasPictureSuffix(c.name), c.picture) << c.name;
    }
}

TEST(PictureKinds, MessagesListEveryKindInTableOrder)
{
    EXPECT_EQ(PictureKindList(), "JPEG, PNG, BMP, GIF, TIFF, WebP 和 HEIC");
    EXPECT_EQ(messages::Filled(messages::NotAPicture, {PictureKindList()}),
              "这不是可以打开的图片文件 (可以打开 JPEG, PNG, BMP, GIF, TIFF, WebP 和 HEIC 文件).");
    EXPECT_EQ(messages::Filled(messages::FormatNotOpened, {"XBM", "A 和 B"}), "不能打开 XBM 格式的文件 (可以打开 A 和 B 文件).");
    EXPECT_EQ(messages::Filled("%2%1%3%", {"a", "b"}), "ba%3%");
}
