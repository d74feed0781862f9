#include "imageio/PictureDecoder.h"

#include "imageio/ExifOrientation.h"
#include "imageio/FileContents.h"
#include "imageio/HeifReader.h"
#include "imageio/JpegReader.h"
#include "imageio/Messages.h"
#include "imageio/OrientedCopy.h"
#include "imageio/PictureKinds.h"
#include "imageio/PngReader.h"
#include "imageio/QtPictureReader.h"
#include "imageio/WholeFileCheck.h"

#include "gfx/BmpReader.h"

#include <QColorSpace>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

namespace {

DecodeResult Failure(DecodeProblem problem, std::string reason)
{
    DecodeResult result;
    result.problem = problem;
    result.message = messages::OpenFailed + std::move(reason);
    return result;
}

DecodeResult Decoded(gfx::Bitmap bitmap, PictureMetadata metadata)
{
    DecodeResult result;
    result.bitmap = std::move(bitmap);
    result.metadata = std::move(metadata);
    return result;
}

// Our pixels are RGB whatever the file held, so only an RGB profile still describes them
// (the data colour space field of an ICC header is at bytes 16 to 19).
std::vector<uint8_t> RgbProfileOnly(std::vector<uint8_t> profile)
{
    constexpr char Rgb[] = "RGB ";
    const bool rgb = profile.size() >= 128 && std::equal(Rgb, Rgb + 4, profile.begin() + 16);
    return rgb ? std::move(profile) : std::vector<uint8_t>();
}

std::vector<uint8_t> ProfileBytes(const QColorSpace& space)
{
    const QByteArray profile = space.isValid() ? space.iccProfile() : QByteArray();
    return {profile.begin(), profile.end()};
}

} // namespace

PictureDecoder::PictureDecoder(MemoryBudget budget) : budget_(budget) {}

DecodeResult PictureDecoder::Decode(const std::filesystem::path& path) const
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || ::access(path.c_str(), R_OK) != 0) {
        return Failure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    // No picture we could edit comes in a file larger than the memory its pixels would
    // need, so such a file is not even read.
    if (uint64_t(status.st_size) > budget_.AvailableBytes() / MemoryBudget::CopiesToEdit) {
        return Failure(DecodeProblem::TooLarge, messages::FileTooLarge);
    }
    const FileContents file(path);
    if (!file.IsOpen()) {
        return file.Error() == ENOMEM ? Failure(DecodeProblem::TooLarge, messages::FileTooLarge)
                                      : Failure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    if (file.Bytes().empty()) {
        return Failure(DecodeProblem::Empty, messages::FileEmpty);
    }
    Size claimed; // known from the header before any pixel memory is taken
    try {
        const PictureKind* kind = KindOfFile(file.Bytes());
        if (!kind) {
            return NameUnopenedFormat(file.Bytes());
        }
        switch (kind->reader) {
        case PictureReader::Jpeg: return DecodeJpeg(file.Bytes(), claimed);
        case PictureReader::Png: return DecodePng(file.Bytes(), claimed);
        case PictureReader::Bmp: return DecodeBmp(file.Bytes(), claimed);
        case PictureReader::Heif: return DecodeHeif(file.Bytes(), claimed);
        case PictureReader::QtPlugin: return DecodeWithQt(*kind, file.Bytes(), claimed);
        }
        return NameUnopenedFormat(file.Bytes());
    } catch (const std::bad_alloc&) {
        // The memory check passed but the allocation still failed: memory ran out meanwhile.
        return TooLarge(claimed);
    }
}

DecodeResult PictureDecoder::DecodeJpeg(std::span<const uint8_t> file, Size& claimed) const
{
    JpegReader reader;
    if (!reader.ReadHeader(file, budget_.AvailableBytes() / MemoryBudget::CopiesToEdit)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    if (!reader.CanDecodeColours()) {
        return Failure(DecodeProblem::NotAPicture, messages::JpegColoursNotOpened);
    }
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, file.size(), reader.LeastCodedBytes())) {
        return std::move(*refusal);
    }
    // Taken now: libjpeg forgets the saved markers when decoding finishes.
    PictureMetadata metadata = reader.Metadata();
    metadata.iccProfile = RgbProfileOnly(std::move(metadata.iccProfile));
    const OrientedCopy placement(ReadExifOrientation(metadata.exif), reader.Width(), reader.Height());
    gfx::Bitmap shown = gfx::Bitmap::ForOverwrite(placement.TargetWidth(), placement.TargetHeight());
    if (reader.Decode(shown, placement)) {
        return Decoded(std::move(shown), std::move(metadata));
    }
    switch (reader.LastFailure()) {
    case JpegReader::Failure::OutOfMemory: return TooLarge(claimed);
    case JpegReader::Failure::TooManyScans: return Failure(DecodeProblem::Damaged, messages::TooManyScans);
    default: return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
}

DecodeResult PictureDecoder::DecodePng(std::span<const uint8_t> file, Size& claimed) const
{
    PngReader reader;
    if (!reader.ReadHeader(file)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    return DecodeUpright(reader, file.size(), reader.LeastCodedBytes(), claimed);
}

DecodeResult PictureDecoder::DecodeBmp(std::span<const uint8_t> file, Size& claimed) const
{
    const gfx::BmpReader reader(file);
    switch (reader.HeaderStatus()) {
    case gfx::BmpReader::Status::Ok: break;
    case gfx::BmpReader::Status::Unsupported: return Failure(DecodeProblem::NotAPicture, messages::BmpVariantNotOpened);
    default: return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, file.size(), 0)) {
        return std::move(*refusal);
    }
    gfx::Bitmap bitmap = gfx::Bitmap::ForOverwrite(reader.Width(), reader.Height());
    if (reader.Decode(bitmap) != gfx::BmpReader::Status::Ok) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    return Decoded(std::move(bitmap), {});
}

DecodeResult PictureDecoder::DecodeHeif(std::span<const uint8_t> file, Size& claimed) const
{
    HeifReader reader;
    if (!reader.ReadHeader(file)) {
        return reader.LastFailure() == HeifReader::Failure::OutOfMemory
                   ? Failure(DecodeProblem::TooLarge, messages::FileTooLarge)
                   : Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    // HEVC codes a plain picture in almost nothing, so the file's size bounds nothing.
    return DecodeUpright(reader, file.size(), 0, claimed);
}

// The steps after the header for a reader that decodes straight into an upright picture:
// the size check, the metadata, then the pixels.
template <typename Reader>
DecodeResult PictureDecoder::DecodeUpright(Reader& reader, uint64_t fileBytes, uint64_t leastBytes, Size& claimed) const
{
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, fileBytes, leastBytes)) {
        return std::move(*refusal);
    }
    PictureMetadata metadata = reader.Metadata();
    metadata.iccProfile = RgbProfileOnly(std::move(metadata.iccProfile));
    gfx::Bitmap bitmap = gfx::Bitmap::ForOverwrite(reader.Width(), reader.Height());
    if (reader.Decode(bitmap)) {
        return Decoded(std::move(bitmap), std::move(metadata));
    }
    return reader.LastFailure() == Reader::Failure::OutOfMemory ? TooLarge(claimed)
                                                                : Failure(DecodeProblem::Damaged, messages::PictureDamaged);
}

DecodeResult PictureDecoder::DecodeWithQt(const PictureKind& kind, std::span<const uint8_t> file, Size& claimed) const
{
    QtPictureReader reader(file, kind.name, budget_.AvailableBytes());
    if (!reader.CanRead() || !WholeFileCheck::IsWhole(kind.name, file)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    const QSize size = reader.Size();
    claimed = Size{size.width(), size.height()};
    if (auto refusal = size.isValid() ? Refusal(claimed, file.size(), 0) : std::nullopt) {
        return std::move(*refusal);
    }
    std::optional<QImage> image = reader.Read();
    if (!image) {
        return QtPictureReader::MemoryHolds(size) ? Failure(DecodeProblem::Damaged, messages::PictureDamaged)
                                                  : TooLarge(claimed);
    }
    claimed = Size{image->width(), image->height()};
    PictureMetadata metadata;
    metadata.iccProfile = RgbProfileOnly(ProfileBytes(image->colorSpace()));
    return Decoded(QtPictureReader::ToBitmap(*image), std::move(metadata));
}

// A file of no kind we open: Qt may still know it, and the message then names it.
DecodeResult PictureDecoder::NameUnopenedFormat(std::span<const uint8_t> file) const
{
    QtPictureReader reader(file, {}, budget_.AvailableBytes());
    if (!reader.CanRead()) {
        return Failure(DecodeProblem::NotAPicture, messages::Filled(messages::NotAPicture, {PictureKindList()}));
    }
    return Failure(DecodeProblem::NotAPicture,
                   messages::Filled(messages::FormatNotOpened, {reader.FormatName(), PictureKindList()}));
}

std::optional<DecodeResult> PictureDecoder::Refusal(Size size, uint64_t fileBytes, uint64_t leastBytes) const
{
    if (!budget_.CanHold(size.width, size.height)) {
        return TooLarge(size);
    }
    if (fileBytes < leastBytes) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    if (sizeKnown_) {
        sizeKnown_(size.width, size.height);
    }
    return std::nullopt;
}

DecodeResult PictureDecoder::TooLarge(Size size) const
{
    const std::string width = std::to_string(size.width), height = std::to_string(size.height);
    return Failure(DecodeProblem::TooLarge, messages::Filled(messages::PictureTooLarge, {width, height}));
}
