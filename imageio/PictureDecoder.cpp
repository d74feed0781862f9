#include "imageio/PictureDecoder.h"

#include "imageio/ExifOrientation.h"
#include "imageio/HeifReader.h"
#include "imageio/JpegReader.h"
#include "imageio/FileContents.h"
#include "imageio/Messages.h"
#include "imageio/OrientedCopy.h"
#include "imageio/PngReader.h"
#include "imageio/QtPictureReader.h"
#include "imageio/WholeFileCheck.h"

#include "gfx/BmpReader.h"

#include <QColorSpace>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <array>
#include <new>

namespace {

DecodeResult Failure(DecodeProblem problem, const QString& reason)
{
    DecodeResult result;
    result.problem = problem;
    result.message = QString::fromUtf8(messages::OpenFailed) + reason;
    return result;
}

DecodeResult Failure(DecodeProblem problem, const char* reason)
{
    return Failure(problem, QString::fromUtf8(reason));
}

DecodeResult Decoded(gfx::Bitmap bitmap, PictureMetadata metadata)
{
    DecodeResult result;
    result.bitmap = std::move(bitmap);
    result.metadata = std::move(metadata);
    return result;
}

enum class Signature { Jpeg, Png, Bmp, Heif, Other };

Signature SignatureOf(std::span<const uint8_t> file)
{
    constexpr uint8_t Png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto startsWith = [file](std::span<const uint8_t> start) {
        return file.size() >= start.size() && std::equal(start.begin(), start.end(), file.begin());
    };
    if (startsWith(std::array<uint8_t, 3>{0xFF, 0xD8, 0xFF})) {
        return Signature::Jpeg;
    }
    if (startsWith(Png)) {
        return Signature::Png;
    }
    if (HeifReader::IsHeif(file)) {
        return Signature::Heif;
    }
    return startsWith(std::array<uint8_t, 2>{'B', 'M'}) ? Signature::Bmp : Signature::Other;
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

DecodeResult PictureDecoder::Decode(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        return Failure(DecodeProblem::Unreadable, messages::FileUnreadable);
    }
    // No picture we could edit comes in a file larger than the memory its pixels would
    // need, so such a file is not even read.
    if (uint64_t(info.size()) > budget_.AvailableBytes() / MemoryBudget::CopiesToEdit) {
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
    QSize claimed; // known from the header before any pixel memory is taken
    try {
        switch (SignatureOf(file.Bytes())) {
        case Signature::Jpeg: return DecodeJpeg(file.Bytes(), claimed);
        case Signature::Png: return DecodePng(file.Bytes(), claimed);
        case Signature::Bmp: return DecodeBmp(file.Bytes(), claimed);
        case Signature::Heif: return DecodeHeif(file.Bytes(), claimed);
        case Signature::Other: break;
        }
        return DecodeWithQt(path, file.Bytes(), claimed);
    } catch (const std::bad_alloc&) {
        // The memory check passed but the allocation still failed: memory ran out meanwhile.
        return TooLarge(claimed);
    }
}

DecodeResult PictureDecoder::DecodeJpeg(std::span<const uint8_t> file, QSize& claimed) const
{
    JpegReader reader;
    if (!reader.ReadHeader(file, budget_.AvailableBytes() / MemoryBudget::CopiesToEdit)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    if (!reader.CanDecodeColours()) {
        return Failure(DecodeProblem::NotAPicture, messages::JpegColoursNotOpened);
    }
    claimed = QSize(reader.Width(), reader.Height());
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

DecodeResult PictureDecoder::DecodePng(std::span<const uint8_t> file, QSize& claimed) const
{
    PngReader reader;
    if (!reader.ReadHeader(file)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    return DecodeUpright(reader, file.size(), reader.LeastCodedBytes(), claimed);
}

DecodeResult PictureDecoder::DecodeBmp(std::span<const uint8_t> file, QSize& claimed) const
{
    const gfx::BmpReader reader(file);
    switch (reader.HeaderStatus()) {
    case gfx::BmpReader::Status::Ok: break;
    case gfx::BmpReader::Status::Unsupported: return Failure(DecodeProblem::NotAPicture, messages::BmpVariantNotOpened);
    default: return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    claimed = QSize(reader.Width(), reader.Height());
    if (auto refusal = Refusal(claimed, file.size(), 0)) {
        return std::move(*refusal);
    }
    gfx::Bitmap bitmap = gfx::Bitmap::ForOverwrite(reader.Width(), reader.Height());
    if (reader.Decode(bitmap) != gfx::BmpReader::Status::Ok) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    return Decoded(std::move(bitmap), {});
}

DecodeResult PictureDecoder::DecodeHeif(std::span<const uint8_t> file, QSize& claimed) const
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
DecodeResult PictureDecoder::DecodeUpright(Reader& reader, uint64_t fileBytes, uint64_t leastBytes, QSize& claimed) const
{
    claimed = QSize(reader.Width(), reader.Height());
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

DecodeResult PictureDecoder::DecodeWithQt(const QString& path, std::span<const uint8_t> file, QSize& claimed) const
{
    QtPictureReader reader(path, budget_.AvailableBytes());
    if (!reader.CanRead()) {
        return Failure(DecodeProblem::NotAPicture, messages::NotAPicture);
    }
    if (!reader.IsOpenedFormat()) {
        return Failure(DecodeProblem::NotAPicture, QString::fromUtf8(messages::FormatNotOpened).arg(reader.FormatName()));
    }
    if (!WholeFileCheck::IsWhole(reader.Format(), file)) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    claimed = reader.Size();
    if (auto refusal = claimed.isValid() ? Refusal(claimed, file.size(), 0) : std::nullopt) {
        return std::move(*refusal);
    }
    std::optional<QImage> image = reader.Read();
    if (!image) {
        return QtPictureReader::MemoryHolds(claimed) ? Failure(DecodeProblem::Damaged, messages::PictureDamaged)
                                                     : TooLarge(claimed);
    }
    claimed = image->size();
    PictureMetadata metadata;
    metadata.iccProfile = RgbProfileOnly(ProfileBytes(image->colorSpace()));
    return Decoded(QtPictureReader::ToBitmap(*image), std::move(metadata));
}

std::optional<DecodeResult> PictureDecoder::Refusal(QSize size, uint64_t fileBytes, uint64_t leastBytes) const
{
    if (!budget_.CanHold(size.width(), size.height())) {
        return TooLarge(size);
    }
    if (fileBytes < leastBytes) {
        return Failure(DecodeProblem::Damaged, messages::PictureDamaged);
    }
    if (sizeKnown_) {
        sizeKnown_(size);
    }
    return std::nullopt;
}

DecodeResult PictureDecoder::TooLarge(QSize size) const
{
    return Failure(DecodeProblem::TooLarge,
                   QString::fromUtf8(messages::PictureTooLarge).arg(size.width()).arg(size.height()));
}
