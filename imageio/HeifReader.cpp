#include "imageio/HeifReader.h"

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

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

} // namespace

struct HeifReader::State {
    heif_context* context = nullptr;
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;

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

bool HeifReader::ReadHeader(std::span<const uint8_t> file)
{
    State& state = *state_;
    state.context = heif_context_alloc();
    if (!state.context) {
        failure_ = Failure::OutOfMemory;
        return false;
    }
    if (heif_context_read_from_memory_without_copy(state.context, file.data(), file.size(), nullptr).code !=
            heif_error_Ok ||
        heif_context_get_primary_image_handle(state.context, &state.handle).code != heif_error_Ok) {
        failure_ = Failure::Damaged;
        return false;
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
        failure_ = Failure::OutOfMemory;
        return false;
    }
    options->convert_hdr_to_8bit = 1; // ten-bit phone pictures become our eight bits
    const heif_error decoded = heif_decode_image(state.handle, &state.image, heif_colorspace_RGB,
                                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                                 options);
    heif_decoding_options_free(options);
    if (decoded.code != heif_error_Ok) {
        failure_ = decoded.code == heif_error_Memory_allocation_error ? Failure::OutOfMemory : Failure::Damaged;
        return false;
    }
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(state.image, heif_channel_interleaved, &stride);
    if (!plane || heif_image_get_width(state.image, heif_channel_interleaved) != target.Width() ||
        heif_image_get_height(state.image, heif_channel_interleaved) != target.Height() ||
        heif_image_get_bits_per_pixel_range(state.image, heif_channel_interleaved) != 8) {
        failure_ = Failure::Damaged;
        return false;
    }
    const int step = alpha ? 4 : 3;
    for (int32_t y = 0; y < target.Height(); ++y) {
        const uint8_t* in = plane + size_t(y) * size_t(stride);
        gfx::Argb* out = target.Scanline(y);
        for (int32_t x = 0; x < target.Width(); ++x, in += step) {
            out[x] = gfx::MakeArgb(alpha ? in[3] : 0xFF, in[0], in[1], in[2]);
        }
    }
    return true;
}
