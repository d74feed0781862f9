#include "imageio/InProcessDecoder.h"

#include "imageio/ExifOrientation.h"
#include "imageio/HeifItems.h"
#include "imageio/HeifReader.h"
#include "imageio/JpegReader.h"
#include "imageio/Messages.h"
#include "imageio/OrientedCopy.h"
#include "imageio/PictureKinds.h"
#include "imageio/PluginReader.h"
#include "imageio/PngReader.h"
#include "imageio/WholeFileCheck.h"

#include "gfx/BmpReader.h"

#include <algorithm>
#include <new>

namespace {

DecodeResult Damaged() { return DecodeFailure(DecodeProblem::Damaged, messages::PictureDamaged); }

// Our pixels are RGB whatever the file held, so only an RGB profile still describes them
// (the data colour space field of an ICC header is at bytes 16 to 19).
std::vector<uint8_t> RgbProfileOnly(std::vector<uint8_t> profile)
{
    constexpr char Rgb[] = "RGB ";
    const bool rgb = profile.size() >= 128 && std::equal(Rgb, Rgb + 4, profile.begin() + 16);
    return rgb ? std::move(profile) : std::vector<uint8_t>();
}

} // namespace

InProcessDecoder::InProcessDecoder(MemoryBudget budget, PluginReader* plugins) : budget_(budget), plugins_(plugins) {}

DecodeResult InProcessDecoder::Decode(std::span<const uint8_t> file) const
{
    if (file.empty()) {
        return DecodeFailure(DecodeProblem::Empty, messages::FileEmpty);
    }
    Size claimed; // known from the header before any pixel memory is taken
    try {
        return DecodeKind(KindOfFile(file), file, claimed);
    } catch (const std::bad_alloc&) {
        // The memory check passed but the allocation still failed: memory ran out meanwhile.
        return TooLargeFailure(claimed.width, claimed.height);
    }
}

DecodeResult InProcessDecoder::DecodeKind(const PictureKind* kind, std::span<const uint8_t> file, Size& claimed) const
{
    if (!kind) {
        return NameUnopenedFormat(file);
    }
    switch (kind->reader) {
    case PictureReader::Jpeg: return DecodeJpeg(file, claimed);
    case PictureReader::Png: return DecodePng(file, claimed);
    case PictureReader::Bmp: return DecodeBmp(file, claimed);
    case PictureReader::Heif: return DecodeHeif(file, claimed);
    case PictureReader::QtPlugin: return DecodeWithPlugin(*kind, file, claimed);
    }
    return NameUnopenedFormat(file);
}

DecodeResult InProcessDecoder::DecodeJpeg(std::span<const uint8_t> file, Size& claimed) const
{
    JpegReader reader;
    if (!reader.ReadHeader(file, budget_.AvailableBytes() / MemoryBudget::CopiesToEdit)) {
        return Damaged();
    }
    if (!reader.CanDecodeColours()) {
        return DecodeFailure(DecodeProblem::NotAPicture, messages::JpegColoursNotOpened);
    }
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, file.size(), reader.LeastCodedBytes())) {
        return std::move(*refusal);
    }
    // Taken now: libjpeg forgets the saved markers when decoding finishes.
    PictureMetadata metadata = reader.Metadata();
    metadata.iccProfile = RgbProfileOnly(std::move(metadata.iccProfile));
    const OrientedCopy placement(ReadExifOrientation(metadata.exif), reader.Width(), reader.Height());
    gfx::Bitmap shown = PixelsOf(placement.TargetWidth(), placement.TargetHeight());
    if (reader.Decode(shown, placement)) {
        return Decoded(std::move(shown), std::move(metadata));
    }
    switch (reader.LastFailure()) {
    case JpegReader::Failure::OutOfMemory: return TooLargeFailure(claimed.width, claimed.height);
    case JpegReader::Failure::TooManyScans: return DecodeFailure(DecodeProblem::Damaged, messages::TooManyScans);
    default: return Damaged();
    }
}

DecodeResult InProcessDecoder::DecodePng(std::span<const uint8_t> file, Size& claimed) const
{
    PngReader reader;
    if (!reader.ReadHeader(file)) {
        return reader.LastFailure() == PngReader::Failure::OutOfMemory ? DecodeFailure(DecodeProblem::TooLarge,
                                                                                       messages::FileTooLarge)
                                                                       : Damaged();
    }
    return DecodeUpright(reader, file.size(), reader.LeastCodedBytes(), claimed);
}

DecodeResult InProcessDecoder::DecodeBmp(std::span<const uint8_t> file, Size& claimed) const
{
    const gfx::BmpReader reader(file);
    switch (reader.HeaderStatus()) {
    case gfx::BmpReader::Status::Ok: break;
    case gfx::BmpReader::Status::Unsupported:
        return DecodeFailure(DecodeProblem::NotAPicture, messages::BmpVariantNotOpened);
    default: return Damaged();
    }
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, file.size(), 0)) {
        return std::move(*refusal);
    }
    gfx::Bitmap bitmap = PixelsOf(reader.Width(), reader.Height());
    if (reader.Decode(bitmap) != gfx::BmpReader::Status::Ok) {
        return Damaged();
    }
    return Decoded(std::move(bitmap), {});
}

DecodeResult InProcessDecoder::DecodeHeif(std::span<const uint8_t> file, Size& claimed) const
{
    // libheif's own limit on a side, lowered to what memory could hold.
    constexpr int32_t LibheifLongestSide = 32768;
    const uint64_t pixels = budget_.AvailableBytes() / MemoryBudget::CopiesToEdit / sizeof(gfx::Argb);
    HeifReader reader;
    if (!reader.ReadHeader(file, int32_t(std::min<uint64_t>(pixels, LibheifLongestSide)))) {
        switch (reader.LastFailure()) {
        case HeifReader::Failure::OutOfMemory: return DecodeFailure(DecodeProblem::TooLarge, messages::FileTooLarge);
        case HeifReader::Failure::TooDeep: {
            const std::string levels = std::to_string(HeifItems::MaxDerivationDepth);
            return DecodeFailure(DecodeProblem::Damaged, messages::Filled(messages::DerivationTooDeep, {levels}));
        }
        default: return Damaged();
        }
    }
    // HEVC codes a plain picture in almost nothing, so the file's size bounds nothing.
    return DecodeUpright(reader, file.size(), 0, claimed);
}

// The steps after the header for a reader that decodes straight into an upright picture:
// the size check, the metadata, then the pixels.
template <typename Reader>
DecodeResult InProcessDecoder::DecodeUpright(Reader& reader, uint64_t fileBytes, uint64_t leastBytes,
                                             Size& claimed) const
{
    claimed = Size{reader.Width(), reader.Height()};
    if (auto refusal = Refusal(claimed, fileBytes, leastBytes)) {
        return std::move(*refusal);
    }
    PictureMetadata metadata = reader.Metadata();
    metadata.iccProfile = RgbProfileOnly(std::move(metadata.iccProfile));
    gfx::Bitmap bitmap = PixelsOf(reader.Width(), reader.Height());
    if (reader.Decode(bitmap)) {
        return Decoded(std::move(bitmap), std::move(metadata));
    }
    return reader.LastFailure() == Reader::Failure::OutOfMemory ? TooLargeFailure(claimed.width, claimed.height)
                                                                : Damaged();
}

// The file's own structure is checked first: whole, and with data enough for the
// picture it claims, whose size goes through the memory check before the plugin reads.
DecodeResult InProcessDecoder::DecodeWithPlugin(const PictureKind& kind, std::span<const uint8_t> file,
                                                Size& claimed) const
{
    const std::optional<WholeFileCheck::Claim> claim = WholeFileCheck::Check(kind.name, file);
    if (!plugins_ || !claim || claim->width == 0 || claim->height == 0) {
        return Damaged();
    }
    claimed = Size{int64_t(std::min<uint64_t>(claim->width, INT32_MAX)),
                   int64_t(std::min<uint64_t>(claim->height, INT32_MAX))};
    if (!budget_.CanHold(claimed.width, claimed.height)) {
        return TooLargeFailure(claimed.width, claimed.height);
    }
    // Within the budget's sides, the product cannot overflow.
    const bool dataFills = claim->width * claim->height <= claim->mostPixels;
    if (!dataFills || !plugins_->Open(file, kind.name, budget_.AvailableBytes())) {
        return Damaged();
    }
    if (auto refusal = Refusal(claimed, file.size(), 0)) {
        return std::move(*refusal);
    }
    switch (plugins_->Read()) {
    case PluginReader::Outcome::Read: break;
    case PluginReader::Outcome::OutOfMemory: return TooLargeFailure(claimed.width, claimed.height);
    case PluginReader::Outcome::Damaged: return Damaged();
    }
    // The plugin may turn the picture (a TIFF's orientation tag), never enlarge it.
    if (int64_t(plugins_->Width()) * plugins_->Height() > claimed.width * claimed.height) {
        return Damaged();
    }
    PictureMetadata metadata;
    metadata.iccProfile = RgbProfileOnly(plugins_->Profile());
    gfx::Bitmap bitmap = PixelsOf(plugins_->Width(), plugins_->Height());
    plugins_->CopyInto(bitmap);
    return Decoded(std::move(bitmap), std::move(metadata));
}

// A file of no kind we open: a plugin may still know it, and the message then names it.
DecodeResult InProcessDecoder::NameUnopenedFormat(std::span<const uint8_t> file) const
{
    const std::string format = plugins_ ? plugins_->FormatName(file) : std::string();
    // A file a plugin takes for a kind we open, whose signature still did not match
    // ours (a JPEG whose third byte is wrong, say), is a damaged one of that kind.
    if (!format.empty() && HasPictureSuffix("." + format)) {
        return Damaged();
    }
    if (format.empty()) {
        return DecodeFailure(DecodeProblem::NotAPicture, messages::Filled(messages::NotAPicture, {PictureKindList()}));
    }
    return DecodeFailure(DecodeProblem::NotAPicture,
                         messages::Filled(messages::FormatNotOpened, {format, PictureKindList()}));
}

std::optional<DecodeResult> InProcessDecoder::Refusal(Size size, uint64_t fileBytes, uint64_t leastBytes) const
{
    if (!budget_.CanHold(size.width, size.height)) {
        return TooLargeFailure(size.width, size.height);
    }
    if (fileBytes < leastBytes) {
        return Damaged();
    }
    if (sizeKnown_) {
        sizeKnown_(int32_t(size.width), int32_t(size.height));
    }
    return std::nullopt;
}

gfx::Bitmap InProcessDecoder::PixelsOf(int32_t width, int32_t height) const
{
    return pixelsFor_ ? pixelsFor_(width, height) : gfx::Bitmap::ForOverwrite(width, height);
}
