#include "gfx/BmpFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace gfx;

namespace {

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("miravo_bmp_" + name)).string();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A 2 x 2, 24-bit, bottom-up file as older tools write it (rows padded to 4 bytes).
std::vector<uint8_t> Classic24BitFile()
{
    return {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
            1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            // Bottom row first: blue, green; then the top row: red, white.
            255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 0};
}

} // namespace

TEST(BmpFile, WritesAndReadsBackWithAlpha)
{
    Bitmap b(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            b.SetPixel(x, y, MakeArgb(uint32_t(40 * x + 10), uint32_t(x * 50), uint32_t(y * 80), 7));
        }
    }
    const std::string path = TempPath("roundtrip.bmp");
    ASSERT_TRUE(WriteBmpFile(path, b));
    const auto read = ReadBmpFile(path);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Width(), 5);
    ASSERT_EQ(read->Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(read->GetPixel(x, y), b.GetPixel(x, y));
        }
    }
    std::remove(path.c_str());
}

TEST(BmpFile, ReadsClassicBottomUpFiles)
{
    const std::string path = TempPath("classic.bmp");
    WriteBytes(path, Classic24BitFile());
    const auto read = ReadBmpFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(read->GetPixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(read->GetPixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(read->GetPixel(1, 1), 0xFF00FF00u);
    std::remove(path.c_str());
}

TEST(BmpFile, RefusesBrokenFiles)
{
    const std::string path = TempPath("broken.bmp");
    auto refused = [&](std::vector<uint8_t> bytes) {
        WriteBytes(path, bytes);
        return !ReadBmpFile(path).has_value();
    };
    std::vector<uint8_t> truncated = Classic24BitFile();
    truncated.resize(truncated.size() - 3);
    EXPECT_TRUE(refused(truncated));

    std::vector<uint8_t> huge = Classic24BitFile();
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F; // width 2^31 - 1
    EXPECT_TRUE(refused(huge));

    std::vector<uint8_t> negativeHeight = Classic24BitFile();
    negativeHeight[22] = 0, negativeHeight[23] = 0, negativeHeight[24] = 0, negativeHeight[25] = 0x80;
    EXPECT_TRUE(refused(negativeHeight));

    std::vector<uint8_t> notBmp = {'P', 'N', 'G'};
    EXPECT_TRUE(refused(notBmp));
    EXPECT_FALSE(ReadBmpFile(TempPath("does-not-exist.bmp")).has_value());
    std::remove(path.c_str());
}
