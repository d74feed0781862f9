#include "imageio/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

// Deflate never codes more than 1032 bytes in one.
constexpr uint64_t DeflateMaxRatio = 1032;
// No ancillary chunk of a photo (a colour profile, text, an EXIF block) comes near this,
// compressed or not; a chunk that claims more is refused before anything is allocated.
constexpr png_alloc_size_t MaxChunkBytes = 16 << 20;
// Text and palette-list chunks kept at most.
constexpr png_uint_32 MaxCachedChunks = 256;

} // namespace

struct PngReader::State {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::span<const uint8_t> file;
    size_t at = 0;
    bool outOfMemory = false;

    static State& Of(png_structp png) { return *static_cast<State*>(png_get_io_ptr(png)); }

    static void Read(png_structp png, png_bytep out, size_t count)
    {
        State& state = Of(png);
        if (state.file.size() - state.at < count) {
            png_error(png, "cut off");
        }
        std::memcpy(out, state.file.data() + state.at, count);
        state.at += count;
    }
    [[noreturn]] static void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
    static void Ignore(png_structp, png_const_charp) {}
    static png_voidp Allocate(png_structp png, png_alloc_size_t size)
    {
        void* block = std::malloc(size);
        if (!block) {
            static_cast<State*>(png_get_mem_ptr(png))->outOfMemory = true;
        }
        return block;
    }
    static void Free(png_structp, png_voidp block) { std::free(block); }
};

PngReader::PngReader() : state_(std::make_unique<State>()) {}

PngReader::~PngReader()
{
    if (state_->png) {
        png_destroy_read_struct(&state_->png, &state_->info, nullptr);
    }
}

bool PngReader::ReadHeader(std::span<const uint8_t> file)
{
    State& state = *state_;
    state.file = file;
    state.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, State::Fail, State::Ignore, &state,
                                         State::Allocate, State::Free);
    state.info = state.png ? png_create_info_struct(state.png) : nullptr;
    if (!state.info) {
        return false;
    }
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    png_set_read_fn(state.png, &state, State::Read);
    // Our own limits apply to the picture's size: the check against memory and the file.
    png_set_user_limits(state.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(state.png, MaxChunkBytes);
    png_set_chunk_cache_max(state.png, MaxCachedChunks);
    // What libpng calls benign (a chunk too large to keep, a bad checksum in an ancillary
    // chunk) is damage; the check of old sRGB profiles is no damage and is left out.
    png_set_benign_errors(state.png, 0);
    png_set_option(state.png, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
    png_read_info(state.png, state.info);
    return true;
}

int32_t PngReader::Width() const { return int32_t(png_get_image_width(state_->png, state_->info)); }
int32_t PngReader::Height() const { return int32_t(png_get_image_height(state_->png, state_->info)); }

uint64_t PngReader::LeastCodedBytes() const
{
    const uint64_t bitsPerPixel = uint64_t(png_get_bit_depth(state_->png, state_->info))
                                  * png_get_channels(state_->png, state_->info);
    const uint64_t rowBytes = (uint64_t(uint32_t(Width())) * bitsPerPixel + 7) / 8;
    return (rowBytes + 1) * uint64_t(uint32_t(Height())) / DeflateMaxRatio;
}

PictureMetadata PngReader::Metadata() const
{
    PictureMetadata metadata;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 size = 0;
    if (png_get_iCCP(state_->png, state_->info, &name, &compression, &profile, &size) != 0 && profile) {
        metadata.iccProfile.assign(profile, profile + size);
    }
    return metadata;
}

bool PngReader::Decode(gfx::Bitmap& target)
{
    if (setjmp(png_jmpbuf(state_->png))) {
        return false;
    }
    const int passes = ChooseTransforms();
    if (png_get_rowbytes(state_->png, state_->info) != size_t(Width()) * 4) {
        return false;
    }
    ReadPasses(target, passes);
    png_read_end(state_->png, nullptr);
    return true;
}

// Whatever is stored becomes 8-bit B, G, R, A. Gives the number of passes to read.
int PngReader::ChooseTransforms()
{
    png_structp png = state_->png;
    png_set_expand(png); // palettes, grey under 8 bits, and tRNS into an alpha channel
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, state_->info);
    return passes;
}

// An interlaced file delivers each row once per pass; each pass writes only its own
// pixels, so every pixel is written once all passes are read.
void PngReader::ReadPasses(gfx::Bitmap& target, int passes)
{
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = 0; y < target.Height(); ++y) {
            png_read_row(state_->png, reinterpret_cast<png_bytep>(target.Scanline(y)), nullptr);
        }
    }
}

PngReader::Failure PngReader::LastFailure() const
{
    return state_->outOfMemory ? Failure::OutOfMemory : Failure::Damaged;
}
