#include "imageio/JpegReader.h"

#include "imageio/JpegErrorTrap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int ExifMarker = JPEG_APP0 + 1;
constexpr int ProfileMarker = JPEG_APP0 + 2;
constexpr char ExifSignature[] = "Exif\0"; // with the terminator: six bytes
constexpr size_t ExifSignatureSize = 6;
// Rows decoded before a turned picture's strip is put in place.
constexpr JDIMENSION StripRows = 64;

// Turns C, M, Y, K bytes into B, G, R, A in place. Adobe's files, nearly all CMYK JPEG
// files, store the inks inverted (255 means no ink); each colour is then ink times key.
void InksToColours(gfx::Argb* pixels, size_t count, bool adobe)
{
    const uint32_t flip = adobe ? 0 : 255;
    auto* bytes = reinterpret_cast<uint8_t*>(pixels);
    for (size_t i = 0; i < count; ++i, bytes += 4) {
        const uint32_t c = bytes[0] ^ flip, m = bytes[1] ^ flip, y = bytes[2] ^ flip, k = bytes[3] ^ flip;
        pixels[i] = gfx::MakeArgb(255, (c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

} // namespace

struct JpegReader::State {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap;
    bool created = false;
    std::vector<gfx::Argb> strip; // decoded rows on their way to their turned places
    bool inks = false;            // CMYK or YCCK, decoded as C, M, Y, K bytes
};

JpegReader::JpegReader() : state_(std::make_unique<State>()) {}

JpegReader::~JpegReader()
{
    if (state_->created) {
        jpeg_destroy_decompress(&state_->info);
    }
}

bool JpegReader::ReadHeader(std::span<const uint8_t> file, uint64_t memoryLimit)
{
    jpeg_decompress_struct& info = state_->info;
    info.err = state_->trap.Install();
    if (setjmp(state_->trap.jump)) {
        return false;
    }
    jpeg_create_decompress(&info);
    state_->created = true;
    info.mem->max_memory_to_use = long(std::min<uint64_t>(memoryLimit, LONG_MAX));
    state_->trap.WatchScans(info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&info, ExifMarker, 0xFFFF);
    jpeg_save_markers(&info, ProfileMarker, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    return true;
}

int32_t JpegReader::Width() const { return int32_t(state_->info.image_width); }
int32_t JpegReader::Height() const { return int32_t(state_->info.image_height); }

bool JpegReader::CanDecodeColours() const
{
    switch (state_->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
    case JCS_CMYK:
    case JCS_YCCK: return true;
    default: return false;
    }
}

// Each block of each component costs at least two bits in a sequential Huffman file (the
// shortest DC and end-of-block codes) and one in a progressive file (its first DC scan).
// Arithmetic coding has no such floor.
uint64_t JpegReader::LeastCodedBytes() const
{
    const jpeg_decompress_struct& info = state_->info;
    if (info.arith_code) {
        return 0;
    }
    uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c) {
        blocks += uint64_t(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    }
    const uint64_t bitsPerBlock = info.progressive_mode ? 1 : 2;
    return blocks * bitsPerBlock / 8;
}

PictureMetadata JpegReader::Metadata() const
{
    PictureMetadata metadata;
    for (jpeg_saved_marker_ptr marker = state_->info.marker_list; marker; marker = marker->next) {
        if (marker->marker == ExifMarker && marker->data_length >= ExifSignatureSize
            && std::memcmp(marker->data, ExifSignature, ExifSignatureSize) == 0) {
            metadata.exif.assign(marker->data, marker->data + marker->data_length);
            break;
        }
    }
    JOCTET* profile = nullptr;
    unsigned profileSize = 0;
    if (ReadProfile(&profile, &profileSize)) {
        metadata.iccProfile.assign(profile, profile + profileSize);
    }
    std::free(profile);
    return metadata;
}

bool JpegReader::ReadProfile(unsigned char** profile, unsigned* size) const
{
    if (setjmp(state_->trap.jump)) {
        return false;
    }
    return jpeg_read_icc_profile(&state_->info, profile, size);
}

bool JpegReader::Decode(gfx::Bitmap& target, const OrientedCopy& placement)
{
    if (!placement.KeepsRows()) {
        state_->strip.resize(size_t(Width()) * StripRows);
    }
    if (setjmp(state_->trap.jump)) {
        return false;
    }
    jpeg_decompress_struct& info = state_->info;
    state_->inks = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // libjpeg sets the alpha byte to 255; inks take as many bytes and are turned into
    // colours in place.
    info.out_color_space = state_->inks ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (int32_t(info.output_width) != Width() || int32_t(info.output_height) != Height() || !EveryComponentCoded()) {
        state_->trap.stop = JpegErrorTrap::Stop::Damaged;
        return false;
    }
    if (placement.KeepsRows()) {
        ReadRowsInto(target.Pixels(), info.output_height);
    } else {
        while (info.output_scanline < info.output_height) {
            const JDIMENSION first = info.output_scanline;
            const JDIMENSION count = std::min(StripRows, info.output_height - first);
            ReadRowsInto(state_->strip.data(), count);
            placement.CopyRows(state_->strip.data(), int32_t(first), int32_t(count), target);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

JpegReader::Failure JpegReader::LastFailure() const
{
    switch (state_->trap.stop) {
    case JpegErrorTrap::Stop::None: return Failure::None;
    case JpegErrorTrap::Stop::Damaged: return Failure::Damaged;
    case JpegErrorTrap::Stop::TooManyScans: return Failure::TooManyScans;
    case JpegErrorTrap::Stop::OutOfMemory: return Failure::OutOfMemory;
    }
    return Failure::Damaged;
}

// A progressive file whose scans left out a component would show it flat grey. Read
// while the whole file has been taken in and before finishing frees the record.
bool JpegReader::EveryComponentCoded() const
{
    const jpeg_decompress_struct& info = state_->info;
    if (!info.progressive_mode) {
        return true;
    }
    for (int c = 0; c < info.num_components; ++c) {
        if (info.coef_bits[c][0] < 0) {
            return false;
        }
    }
    return true;
}

void JpegReader::ReadRowsInto(gfx::Argb* pixels, unsigned count)
{
    jpeg_decompress_struct& info = state_->info;
    constexpr JDIMENSION RowsPerCall = 16;
    JSAMPROW rows[RowsPerCall];
    const size_t width = size_t(Width());
    for (JDIMENSION done = 0; done < count;) {
        const JDIMENSION wanted = std::min(RowsPerCall, count - done);
        for (JDIMENSION i = 0; i < wanted; ++i) {
            rows[i] = reinterpret_cast<JSAMPROW>(pixels + (done + i) * width);
        }
        const JDIMENSION read = jpeg_read_scanlines(&info, rows, wanted);
        if (state_->inks) {
            InksToColours(pixels + done * width, read * width, info.saw_Adobe_marker);
        }
        done += read;
    }
}
