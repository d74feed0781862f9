// The decoder helper seen from the program: what comes back through shared memory, and
// what a helper that crashes, hangs or says nothing becomes.
#include "imageio/PictureDecoder.h"

#include "files/AppFiles.h"
#include "imageio/GeneratedFiles.h"
#include "imageio/Messages.h"
#include "imageio/PictureFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>

using namespace generatedfiles;

namespace {

const std::vector<uint32_t> Colours = {0x102030, 0xF0E0D0, 0x30A050};

uint8_t Index(int32_t x, int32_t y) { return uint8_t((x * 2 + y) % 3); }

std::vector<uint8_t> Marked(std::vector<uint8_t> file, const std::string& mark)
{
    file.insert(file.end(), mark.begin(), mark.end());
    return file;
}

// The address range of the mapping named so in this process's memory map.
bool InMappingNamed(const void* address, const std::string& name)
{
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        uintptr_t from = 0, to = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx", &from, &to) == 2 && line.find(name) != std::string::npos
            && reinterpret_cast<uintptr_t>(address) >= from && reinterpret_cast<uintptr_t>(address) < to) {
            return true;
        }
    }
    return false;
}

// Uses the failing helper for as long as it lives.
struct FailingHelper {
    FailingHelper() { SetDecoderHelperForTesting(MIRAVO_FAILING_DECODER); }
    ~FailingHelper() { SetDecoderHelperForTesting({}); }
};

} // namespace

TEST(DecoderHelper, PixelsComeBackInMemorySharedWithTheHelperAfterItToldTheSize)
{
    picturefiles::TempFolder folder;
    const std::string path = folder.File("picture.gif");
    picturefiles::WriteBytes(path, GifFile(301, 7, Colours, Index));
    std::vector<std::pair<int32_t, int32_t>> sizes;
    PictureDecoder decoder;
    decoder.OnSizeKnown([&sizes](int32_t width, int32_t height) { sizes.emplace_back(width, height); });
    const DecodeResult result = decoder.Decode(path);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(sizes, (std::vector<std::pair<int32_t, int32_t>>{{301, 7}}));
    ASSERT_EQ(result.bitmap->Width(), 301);
    for (int32_t y = 0; y < 7; ++y) {
        for (int32_t x = 0; x < 301; ++x) {
            ASSERT_EQ(result.bitmap->GetPixel(x, y), 0xFF000000 | Colours[Index(x, y)]) << x << ", " << y;
        }
    }
    EXPECT_TRUE(InMappingNamed(result.bitmap->Pixels(), "memfd:miravo-pixels"));
    EXPECT_GT(result.helperPeakBytes, 0u);
}

TEST(DecoderHelper, ACrashAHangOrASilenceOfTheHelperIsACannotOpenMessage)
{
    picturefiles::TempFolder folder;
    const std::vector<uint8_t> gif = GifFile(9, 4, Colours, Index);
    const std::string crashed = std::string(messages::OpenFailed) + messages::DecoderCrashed;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string message; // empty: decoded
    } cases[] = {
        {"abort", Marked(gif, "MIRAVO-ABORT"), crashed},
        {"silence", Marked(gif, "MIRAVO-MUTE"), crashed},
        {"hang", Marked(gif, "MIRAVO-HANG"), std::string(messages::OpenFailed) + messages::DecoderTimedOut},
        {"slow but within the time", Marked(gif, "MIRAVO-SLOW"), ""},
        {"unmarked", gif, ""},
    };
    const FailingHelper failing;
    for (const auto& c : cases) {
        const std::string path = folder.File("picture.gif");
        picturefiles::WriteBytes(path, c.bytes);
        PictureDecoder decoder;
        decoder.SetHelperTimeLimit(std::chrono::milliseconds(3000));
        int waits = 0;
        decoder.OnWaiting([&waits] { ++waits; });
        const auto start = std::chrono::steady_clock::now();
        const DecodeResult result = decoder.Decode(path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(result.Ok(), c.message.empty()) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
        EXPECT_EQ(result.problem, c.message.empty() ? DecodeProblem::None : DecodeProblem::DecoderFailed) << c.name;
        // The program goes on being told to wait, about every 20 ms.
        EXPECT_GE(waits, int(seconds * 1000 / 20 / 2)) << c.name;
        EXPECT_LT(seconds, 6) << c.name;
    }
    SetDecoderHelperForTesting("/nonexistent/miravo-decoder");
    const DecodeResult missing = PictureDecoder().Decode(folder.File("picture.gif"));
    SetDecoderHelperForTesting({});
    EXPECT_EQ(missing.message, std::string(messages::OpenFailed) + messages::DecoderMissing);
}
