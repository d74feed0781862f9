#include "imageio/Messages.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureSaver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>

using namespace picturefiles;

namespace {

// A name of exactly `bytes` bytes ending in ".jpg", of Chinese characters (three bytes
// each) padded with Latin letters.
std::string NameOf(size_t bytes, bool chinese)
{
    std::string name;
    while (chinese && name.size() + 3 + 4 <= bytes) {
        name += "美";
    }
    return name + std::string(bytes - 4 - name.size(), 'p') + ".jpg";
}

bool HasLatinLetters(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

} // namespace

TEST(SaveNames, NamesUpToTheFileSystemsLimitAreSavedAndLongerOnesRefusedInChinese)
{
    const struct {
        size_t bytes;
        bool chinese;
        bool existing;
        bool saved;
    } cases[] = {
        {255, false, false, true},
        {255, true, false, true},
        {255, true, true, true},
        {256, false, false, false},
        {300, true, false, false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string name = NameOf(c.bytes, c.chinese);
        if (c.existing) {
            WriteBytes(folder.File(name), {'o', 'l', 'd'});
        }
        const SaveResult result = SavePictureAsJpeg(PhotoLike(12, 8), folder.File(name));
        EXPECT_EQ(result.saved, c.saved) << c.bytes << ": " << result.message;
        const std::string expected = c.saved ? std::string(messages::Saved)
                                             : std::string(messages::SaveFailed) + messages::NameTooLong;
        EXPECT_EQ(result.message, expected) << c.bytes;
        const std::vector<std::string> left = c.saved ? std::vector<std::string>{name} : std::vector<std::string>{};
        EXPECT_EQ(folder.Names(), left) << c.bytes << ": no temporary file is left behind";
    }
}

TEST(SaveNames, EveryFailureIsToldWithoutTheSystemsEnglish)
{
    for (const int error : {ENOSPC, EDQUOT, EFBIG, EACCES, EPERM, EROFS, EISDIR, ENOENT, ENOTDIR, ENAMETOOLONG, EIO,
                            ELOOP, EXDEV, EMFILE, EBUSY, 0}) {
        const std::string message = SaveFailureMessage(error);
        EXPECT_FALSE(HasLatinLetters(message)) << error << ": " << message;
        EXPECT_TRUE(message.starts_with(messages::SaveFailed)) << error;
    }
}
