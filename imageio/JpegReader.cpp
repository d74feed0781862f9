#include "imageio/JpegReader.h"

#include "imageio/JpegErrorTrap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int ExifMarker = JPEG_APP0 + 1;
constexpr int ProfileMarker = JPEG_APP0 + 2;
constexpr char ExifSignature[] = "Exif\0"; // with the terminator: six bytes
constexpr size_t ExifSignatureSize = 6;
// Rows decoded before a turned picture's strip is put in place.
constexpr JDIMENSION StripRows = 64;

} // namespace

struct JpegReader::State {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap;
    bool created = false;
    std::vector<gfx::Argb> strip; // decoded rows on their way to their turned places
};

JpegReader::JpegReader() : state_(std::make_unique<State>()) {}

JpegReader::~JpegReader()
{
    if (state_->created) {
        jpeg_destroy_decompress(&state_->info);
    }
}

bool JpegReader::ReadHeader(std::FILE* file)
{
    jpeg_decompress_struct& info = state_->info;
    info.err = state_->trap.Install();
    if (setjmp(state_->trap.jump)) {
        return false;
    }
    jpeg_create_decompress(&info);
    state_->created = true;
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, ExifMarker, 0xFFFF);
    jpeg_save_markers(&info, ProfileMarker, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    return true;
}

int32_t JpegReader::Width() const { return int32_t(state_->info.image_width); }
int32_t JpegReader::Height() const { return int32_t(state_->info.image_height); }

bool JpegReader::CanDecodeColours() const
{
    const J_COLOR_SPACE colours = state_->info.jpeg_color_space;
    return colours == JCS_GRAYSCALE || colours == JCS_YCbCr || colours == JCS_RGB;
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
    info.out_color_space = JCS_EXT_BGRA; // libjpeg sets the alpha byte to 255
    jpeg_start_decompress(&info);
    if (int32_t(info.output_width) != Width() || int32_t(info.output_height) != Height()) {
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
        done += jpeg_read_scanlines(&info, rows, wanted);
    }
}
