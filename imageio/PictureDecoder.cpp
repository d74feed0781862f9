#include "imageio/PictureDecoder.h"

#include "imageio/DecoderHelper.h"
#include "imageio/FileContents.h"
#include "imageio/InProcessDecoder.h"
#include "imageio/Messages.h"
#include "imageio/PictureKinds.h"

#include "files/AppFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Enough of a file's start for every kind's signature.
constexpr size_t SignatureBytes = 64;

bool DecodedHere(std::span<const uint8_t> start)
{
    const PictureKind* kind = KindOfFile(start);
    return kind && (kind->reader == PictureReader::Jpeg || kind->reader == PictureReader::Png
                    || kind->reader == PictureReader::Bmp);
}

// An open file, closed when it ends.
class OpenFile {
public:
    explicit OpenFile(const std::filesystem::path& path) : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int Descriptor() const { return descriptor_; }

private:
    int descriptor_;
};

} // namespace

PictureDecoder::PictureDecoder(MemoryBudget budget)
    : budget_(budget), helperTimeLimit_(DecoderHelper::DefaultTimeLimit)
{
}

DecodeResult PictureDecoder::Decode(const std::filesystem::path& path) const
{
    const OpenFile file(path);
    struct stat status {};
    if (file.Descriptor() < 0 || ::fstat(file.Descriptor(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return DecodeFailure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    // No picture we could edit comes in a file larger than the memory its pixels would
    // need, so such a file is not even read.
    if (uint64_t(status.st_size) > budget_.AvailableBytes() / MemoryBudget::CopiesToEdit) {
        return DecodeFailure(DecodeProblem::TooLarge, messages::FileTooLarge);
    }
    uint8_t start[SignatureBytes] = {};
    const ssize_t startBytes = ::pread(file.Descriptor(), start, sizeof start, 0);
    const bool here = DecodedHere({start, size_t(std::max<ssize_t>(startBytes, 0))});
    const FileContents contents(file.Descriptor(), uint64_t(status.st_size),
                                here ? FileContents::Storage::Private : FileContents::Storage::Shared);
    if (!contents.IsOpen()) {
        return contents.Error() == ENOMEM ? DecodeFailure(DecodeProblem::TooLarge, messages::FileTooLarge)
                                          : DecodeFailure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    if (contents.Bytes().empty()) {
        return DecodeFailure(DecodeProblem::Empty, messages::FileEmpty);
    }
    // A file rewritten between the two reads is no longer what its start said.
    if (DecodedHere(contents.Bytes()) != here) {
        return DecodeFailure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    if (here) {
        InProcessDecoder decoder(budget_);
        decoder.OnSizeKnown(sizeKnown_);
        return decoder.Decode(contents.Bytes());
    }
    DecoderHelper helper(budget_, DecoderHelperPath());
    helper.OnSizeKnown(sizeKnown_);
    helper.OnWaiting(waiting_);
    helper.SetTimeLimit(helperTimeLimit_);
    return helper.Decode(*contents.Shared());
}
