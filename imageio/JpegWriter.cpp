#include "imageio/JpegWriter.h"

#include "imageio/JpegErrorTrap.h"
#include "imageio/Messages.h"
#include "imageio/ReplacingFile.h"


#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

bool RowIsOpaque(const gfx::Argb* row, int32_t width)
{
    return std::all_of(row, row + width, [](gfx::Argb pixel) { return gfx::AlphaOf(pixel) == 255; });
}

// Each channel becomes (c * a + 255 * (255 - a)) / 255, rounded: source-over onto white.
void FlattenOntoWhite(const gfx::Argb* row, int32_t width, gfx::Argb* flat)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t a = gfx::AlphaOf(row[x]);
        const uint32_t white = 255 * (255 - a) + 127;
        flat[x] = gfx::MakeArgb(255, (gfx::RedOf(row[x]) * a + white) / 255, (gfx::GreenOf(row[x]) * a + white) / 255,
                                (gfx::BlueOf(row[x]) * a + white) / 255);
    }
}

// The most a marker segment can hold; an EXIF block never spans segments.
constexpr size_t MaxMarkerBytes = 65533;

SaveResult Failure(const std::filesystem::path& path, const std::string& message)
{
    return SaveResult{false, path, message};
}

} // namespace

JpegWriter::JpegWriter(int quality) : quality_(std::clamp(quality, 1, 100)) {}

SaveResult JpegWriter::Write(const gfx::Bitmap& picture, const std::filesystem::path& path,
                             const PictureMetadata& metadata) const
{
    return Write(BitmapRows(picture), path, metadata);
}

SaveResult JpegWriter::Write(const PictureRows& picture, const std::filesystem::path& path,
                             const PictureMetadata& metadata) const
{
    if (picture.Width() <= 0 || picture.Height() <= 0) {
        return Failure(path, std::string(messages::SaveFailed) + messages::NothingToSave);
    }
    if (picture.Width() > MaxSide || picture.Height() > MaxSide) {
        return Failure(path, std::string(messages::SaveFailed) + messages::TooLargeForJpeg);
    }
    ReplacingFile file(path.native());
    if (!file.Open()) {
        return Failure(path, SaveFailureMessage(file.Error()));
    }
    errno = 0;
    if (!Encode(file.Stream(), picture, metadata)) {
        return Failure(path, SaveFailureMessage(errno != 0 ? errno : EIO));
    }
    if (!file.Commit()) {
        return Failure(path, SaveFailureMessage(file.Error()));
    }
    return SaveResult{true, path, messages::Saved};
}

bool JpegWriter::Encode(std::FILE* stream, const gfx::Bitmap& picture, const PictureMetadata& metadata) const
{
    return Encode(stream, BitmapRows(picture), metadata);
}

bool JpegWriter::Encode(std::FILE* stream, const PictureRows& picture, const PictureMetadata& metadata) const
{
    std::vector<gfx::Argb> scratch(size_t(picture.Width()));
    std::vector<gfx::Argb> flatRow(size_t(picture.Width()));
    jpeg_compress_struct info{};
    JpegErrorTrap trap;
    info.err = trap.Install();
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, stream);
    info.image_width = JDIMENSION(picture.Width());
    info.image_height = JDIMENSION(picture.Height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRA; // our byte order; the alpha byte is ignored
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality_, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    // EXIF readers expect the APP1 block right after the start of the file.
    const std::vector<uint8_t>& exif = metadata.exif;
    const std::vector<uint8_t>& profile = metadata.iccProfile;
    const bool writeExif = !exif.empty() && exif.size() <= MaxMarkerBytes;
    info.write_JFIF_header = writeExif ? FALSE : TRUE;
    jpeg_start_compress(&info, TRUE);
    if (writeExif) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    if (!profile.empty()) {
        jpeg_write_icc_profile(&info, profile.data(), unsigned(profile.size()));
    }
    while (info.next_scanline < info.image_height) {
        const gfx::Argb* row = picture.Row(int32_t(info.next_scanline), scratch.data());
        if (!RowIsOpaque(row, picture.Width())) {
            FlattenOntoWhite(row, picture.Width(), flatRow.data());
            row = flatRow.data();
        }
        JSAMPROW samples = reinterpret_cast<JSAMPROW>(const_cast<gfx::Argb*>(row));
        jpeg_write_scanlines(&info, &samples, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return !std::ferror(stream);
}
