#include "imageio/JpegReader.h"

#include "imageio/JpegErrorTrap.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int ExifMarker = JPEG_APP0 + 1;
constexpr char ExifSignature[] = "Exif\0"; // with the terminator: six bytes
constexpr size_t ExifSignatureSize = 6;

} // namespace

struct JpegReader::State {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap;
    bool created = false;
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

std::vector<uint8_t> JpegReader::Exif() const
{
    for (jpeg_saved_marker_ptr marker = state_->info.marker_list; marker; marker = marker->next) {
        if (marker->marker == ExifMarker && marker->data_length >= ExifSignatureSize
            && std::memcmp(marker->data, ExifSignature, ExifSignatureSize) == 0) {
            return {marker->data, marker->data + marker->data_length};
        }
    }
    return {};
}

bool JpegReader::Decode(gfx::Bitmap& target)
{
    jpeg_decompress_struct& info = state_->info;
    if (setjmp(state_->trap.jump)) {
        return false;
    }
    info.out_color_space = JCS_EXT_BGRA; // libjpeg sets the alpha byte to 255
    jpeg_start_decompress(&info);
    if (int32_t(info.output_width) != target.Width() || int32_t(info.output_height) != target.Height()) {
        return false;
    }
    constexpr JDIMENSION RowsPerCall = 16;
    JSAMPROW rows[RowsPerCall];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min(RowsPerCall, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) {
            rows[i] = reinterpret_cast<JSAMPROW>(target.Scanline(int32_t(first + i)));
        }
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    return true;
}
