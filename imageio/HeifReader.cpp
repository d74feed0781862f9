#include "imageio/HeifReader.h"

#include "imageio/HeifItems.h"

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// The brands of HEIF files whose pictures are coded with HEVC, as phones and cameras
// write them ("mif1" is the general image brand most of them also name).
constexpr std::array<std::string_view, 8> HeifBrands = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"};

uint32_t BigEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

// EXIF in HEIF starts with the offset of the TIFF header after those four bytes; a JPEG
// carries the same TIFF data after "Exif\0\0".
std::vector<uint8_t> ExifAsInJpeg(const std::vector<uint8_t>& block)
{
    if (block.size() < 4) {
        return {};
    }
    const uint64_t start = 4 + uint64_t(BigEndian32(block.data()));
    if (start >= block.size()) {
        return {};
    }
    std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), block.begin() + std::ptrdiff_t(start), block.end());
    return exif;
}

// Where each pixel of the shown picture comes from in the decoded one: decoded (x, y) is
// (a x + b y + c, d x + e y + f) for shown (x, y), of a picture width x height.
struct PixelMap {
    int64_t a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
    int64_t width = 0, height = 0;

    // Shown (x, y) was (width - 1 - y, x): a quarter turn counter-clockwise.
    void TurnLeft() { *this = {b, -a, a * (width - 1) + c, e, -d, d * (width - 1) + f, height, width}; }
    // Shown (x, y) was (width - 1 - x, y).
    void MirrorLeftRight() { *this = {-a, b, a * (width - 1) + c, -d, e, d * (width - 1) + f, width, height}; }
    // Shown (x, y) was (x, height - 1 - y).
    void MirrorTopBottom() { *this = {a, -b, b * (height - 1) + c, d, -e, e * (height - 1) + f, width, height}; }
    void Crop(int64_t left, int64_t top, int64_t croppedWidth, int64_t croppedHeight)
    {
        c += a * left + b * top;
        f += d * left + e * top;
        width = croppedWidth;
        height = croppedHeight;
    }
};

// The clean aperture's arithmetic as libheif does it, on fractions of bounded terms.
struct Fraction {
    int64_t n = 0;
    int64_t d = 1;

    Fraction operator+(Fraction o) const
    {
        return d == o.d ? Fraction{n + o.n, d} : Fraction{n * o.d + o.n * d, d * o.d};
    }
    Fraction operator-(Fraction o) const { return *this + Fraction{-o.n, o.d}; }
    int64_t RoundDown() const { return n / d; }
    int64_t Round() const { return (n + d / 2) / d; }
};

// The crop a clean aperture makes of a picture of this size: left, top, width, height.
std::optional<std::array<int64_t, 4>> CleanAperture(const HeifItems::Transformation& crop, int64_t width,
                                                    int64_t height)
{
    for (int i = 0; i < 4; ++i) {
        if (crop.denominators[i] < 1 || crop.denominators[i] > (1 << 16) || std::abs(crop.numerators[i]) > (1 << 30)) {
            return std::nullopt;
        }
    }
    const Fraction apertureWidth{crop.numerators[0], crop.denominators[0]};
    const Fraction apertureHeight{crop.numerators[1], crop.denominators[1]};
    const Fraction halfWidth{apertureWidth.n - apertureWidth.d, 2 * apertureWidth.d};
    const Fraction halfHeight{apertureHeight.n - apertureHeight.d, 2 * apertureHeight.d};
    const int64_t left = std::max<int64_t>(
        0, (Fraction{crop.numerators[2], crop.denominators[2]} + Fraction{width - 1, 2} - halfWidth).RoundDown());
    const int64_t top = std::max<int64_t>(
        0, (Fraction{crop.numerators[3], crop.denominators[3]} + Fraction{height - 1, 2} - halfHeight).Round());
    const int64_t right = std::min(width - 1, (apertureWidth - Fraction{1, 1} + Fraction{left, 1}).Round());
    const int64_t bottom = std::min(height - 1, (apertureHeight - Fraction{1, 1} + Fraction{top, 1}).Round());
    if (left > right || top > bottom) {
        return std::nullopt;
    }
    return std::array<int64_t, 4>{left, top, right - left + 1, bottom - top + 1};
}

// Copies the decoded RGB or RGBA bytes into our pixels through the map, whose every
// source pixel must lie in the decoded picture.
bool CopyPixels(const heif_image* image, bool alpha, const PixelMap& map, gfx::Bitmap& target)
{
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const int64_t width = heif_image_get_width(image, heif_channel_interleaved);
    const int64_t height = heif_image_get_height(image, heif_channel_interleaved);
    if (!plane || map.width != target.Width() || map.height != target.Height() || target.IsEmpty()) {
        return false;
    }
    for (const int64_t y : {int64_t(0), map.height - 1}) {
        for (const int64_t x : {int64_t(0), map.width - 1}) {
            const int64_t sx = map.a * x + map.b * y + map.c, sy = map.d * x + map.e * y + map.f;
            if (sx < 0 || sy < 0 || sx >= width || sy >= height) {
                return false;
            }
        }
    }
    const int64_t step = alpha ? 4 : 3;
    for (int32_t y = 0; y < target.Height(); ++y) {
        gfx::Argb* out = target.Scanline(y);
        for (int32_t x = 0; x < target.Width(); ++x) {
            const int64_t sx = map.a * x + map.b * y + map.c, sy = map.d * x + map.e * y + map.f;
            const uint8_t* in = plane + sy * stride + sx * step;
            out[x] = gfx::MakeArgb(alpha ? in[3] : 0xFF, in[0], in[1], in[2]);
        }
    }
    return true;
}

} // namespace

struct HeifReader::State {
    heif_context* context = nullptr;
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    std::vector<HeifItems::Transformation> transformations;

    ~State()
    {
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    }
};

HeifReader::HeifReader() : state_(std::make_unique<State>()) {}

HeifReader::~HeifReader() = default;

bool HeifReader::IsHeif(std::span<const uint8_t> file)
{
    // A box of size and type "ftyp", then the main brand, a version, the other brands.
    if (file.size() < 16 || std::memcmp(file.data() + 4, "ftyp", 4) != 0) {
        return false;
    }
    const size_t boxEnd = std::min<size_t>(file.size(), BigEndian32(file.data()));
    for (size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4) {
        const std::string_view brand(reinterpret_cast<const char*>(file.data() + at), 4);
        if (std::find(HeifBrands.begin(), HeifBrands.end(), brand) != HeifBrands.end()) {
            return true;
        }
    }
    return false;
}

bool HeifReader::ReadHeader(std::span<const uint8_t> file, int32_t maxSide)
{
    const std::optional<HeifItems> items = HeifItems::Read(file);
    if (!items) {
        return Fail(Failure::Damaged);
    }
    switch (items->CheckPrimary()) {
    case HeifItems::Verdict::Decodable: break;
    case HeifItems::Verdict::TooDeep: return Fail(Failure::TooDeep);
    case HeifItems::Verdict::Damaged: return Fail(Failure::Damaged);
    }
    State& state = *state_;
    state.transformations = items->PrimaryTransformations();
    state.context = heif_context_alloc();
    if (!state.context) {
        return Fail(Failure::OutOfMemory);
    }
    heif_context_set_maximum_image_size_limit(state.context, std::max(maxSide, 1));
    if (heif_context_read_from_memory_without_copy(state.context, file.data(), file.size(), nullptr).code !=
            heif_error_Ok ||
        heif_context_get_primary_image_handle(state.context, &state.handle).code != heif_error_Ok) {
        return Fail(Failure::Damaged);
    }
    return Width() > 0 && Height() > 0;
}

int32_t HeifReader::Width() const { return heif_image_handle_get_width(state_->handle); }
int32_t HeifReader::Height() const { return heif_image_handle_get_height(state_->handle); }

PictureMetadata HeifReader::Metadata() const
{
    PictureMetadata metadata;
    heif_item_id exifId = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(state_->handle, "Exif", &exifId, 1) == 1) {
        std::vector<uint8_t> block(heif_image_handle_get_metadata_size(state_->handle, exifId));
        if (heif_image_handle_get_metadata(state_->handle, exifId, block.data()).code == heif_error_Ok) {
            metadata.exif = ExifAsInJpeg(block);
        }
    }
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(state_->handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        std::vector<uint8_t> profile(heif_image_handle_get_raw_color_profile_size(state_->handle));
        if (heif_image_handle_get_raw_color_profile(state_->handle, profile.data()).code == heif_error_Ok) {
            metadata.iccProfile = std::move(profile);
        }
    }
    return metadata;
}

bool HeifReader::Decode(gfx::Bitmap& target)
{
    State& state = *state_;
    const bool alpha = heif_image_handle_has_alpha_channel(state.handle) != 0;
    heif_decoding_options* options = heif_decoding_options_alloc();
    if (!options) {
        return Fail(Failure::OutOfMemory);
    }
    options->convert_hdr_to_8bit = 1; // ten-bit phone pictures become our eight bits
    heif_error decoded = heif_decode_image(state.handle, &state.image, heif_colorspace_RGB,
                                           alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options);
    // libheif mirrors only pictures of eight bits: deeper ones are turned here instead.
    const bool transformedHere = decoded.code == heif_error_Unsupported_feature;
    if (transformedHere) {
        options->ignore_transformations = 1;
        decoded = heif_decode_image(state.handle, &state.image, heif_colorspace_RGB,
                                    alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options);
    }
    heif_decoding_options_free(options);
    if (decoded.code != heif_error_Ok) {
        return Fail(decoded.code == heif_error_Memory_allocation_error ? Failure::OutOfMemory : Failure::Damaged);
    }
    if (heif_image_get_bits_per_pixel_range(state.image, heif_channel_interleaved) != 8) {
        return Fail(Failure::Damaged);
    }
    if (transformedHere) {
        return DecodeTransformedHere(target);
    }
    PixelMap asDecoded;
    asDecoded.width = target.Width();
    asDecoded.height = target.Height();
    return CopyPixels(state.image, alpha, asDecoded, target) || Fail(Failure::Damaged);
}

// The decoded picture is the stored one: its turns, mirrors and crops are applied here,
// in the file's order.
bool HeifReader::DecodeTransformedHere(gfx::Bitmap& target)
{
    const heif_image* image = state_->image;
    PixelMap map;
    map.width = heif_image_get_width(image, heif_channel_interleaved);
    map.height = heif_image_get_height(image, heif_channel_interleaved);
    for (const HeifItems::Transformation& step : state_->transformations) {
        switch (step.kind) {
        case HeifItems::Transformation::Kind::Turn:
            for (int i = 0; i < step.quarters; ++i) {
                map.TurnLeft();
            }
            break;
        case HeifItems::Transformation::Kind::Mirror:
            step.axis == 0 ? map.MirrorTopBottom() : map.MirrorLeftRight();
            break;
        case HeifItems::Transformation::Kind::Crop: {
            const auto crop = CleanAperture(step, map.width, map.height);
            if (!crop) {
                return Fail(Failure::Damaged);
            }
            map.Crop((*crop)[0], (*crop)[1], (*crop)[2], (*crop)[3]);
            break;
        }
        }
    }
    const bool alpha = heif_image_handle_has_alpha_channel(state_->handle) != 0;
    return CopyPixels(image, alpha, map, target) || Fail(Failure::Damaged);
}

bool HeifReader::Fail(Failure failure)
{
    failure_ = failure;
    return false;
}
