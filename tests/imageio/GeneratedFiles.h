#pragma once

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

// Picture files made byte by byte with libjpeg, libpng and by hand, for the tests of
// damaged and unusual files and for the fuzz seeds. No test framework inside.
namespace generatedfiles {

// A sample (0..255, or 0..65535 for 16-bit PNG) of channel c at (x, y).
using Samples = std::function<uint32_t(int32_t x, int32_t y, int c)>;

struct JpegLayout {
    JpegLayout(int32_t w, int32_t h, J_COLOR_SPACE g = JCS_RGB) : width(w), height(h), given(g) {}

    int32_t width = 24;
    int32_t height = 16;
    J_COLOR_SPACE given = JCS_RGB; // what Samples gives: JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    J_COLOR_SPACE stored = JCS_UNKNOWN; // JCS_UNKNOWN: libjpeg's default for the given space
    bool progressive = false;
    int quality = 75; // 100: every quantiser 1, so a flat 8 x 8 block comes back exactly
    std::vector<jpeg_scan_info> scans; // a scan script of one's own
};

inline std::vector<uint8_t> JpegFile(const JpegLayout& layout, const Samples& samples)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(layout.width);
    info.image_height = JDIMENSION(layout.height);
    info.input_components = layout.given == JCS_GRAYSCALE ? 1 : layout.given == JCS_CMYK ? 4 : 3;
    info.in_color_space = layout.given;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, layout.quality, TRUE);
    if (layout.stored != JCS_UNKNOWN) {
        jpeg_set_colorspace(&info, layout.stored);
    }
    if (layout.progressive) {
        jpeg_simple_progression(&info);
    }
    if (!layout.scans.empty()) {
        info.scan_info = layout.scans.data();
        info.num_scans = int(layout.scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(layout.width) * size_t(info.input_components));
    while (info.next_scanline < info.image_height) {
        for (int32_t x = 0; x < layout.width; ++x) {
            for (int c = 0; c < info.input_components; ++c) {
                row[size_t(x * info.input_components + c)] = uint8_t(samples(x, int32_t(info.next_scanline), c));
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

inline JpegLayout Progressive(JpegLayout layout)
{
    layout.progressive = true;
    return layout;
}

// A scan script of more than 100 valid scans: the DC scan, then each AC coefficient of
// each of the three components in a scan of its own.
inline std::vector<jpeg_scan_info> ScanFlood()
{
    std::vector<jpeg_scan_info> scans{{3, {0, 1, 2, 0}, 0, 0, 0, 0}};
    for (int component = 0; component < 3; ++component) {
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {component, 0, 0, 0}, k, k, 0, 0});
        }
    }
    return scans;
}

// The file with the size in its first frame header (SOF0 or SOF2) replaced.
inline std::vector<uint8_t> WithJpegSize(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = uint8_t(height >> 8), jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8), jpeg[i + 8] = uint8_t(width);
            break;
        }
    }
    return jpeg;
}

struct PngLayout {
    PngLayout() = default;
    PngLayout(int32_t w, int32_t h, int type, int depth) : width(w), height(h), colourType(type), bitDepth(depth) {}

    int32_t width = 7;
    int32_t height = 3;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color_16> transparent; // one tRNS colour
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;
};

inline PngLayout Interlaced(PngLayout layout)
{
    layout.interlaced = true;
    return layout;
}

inline void AppendToVector(png_structp png, png_bytep data, size_t size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

inline std::vector<uint8_t> PngFile(const PngLayout& layout, const Samples& samples)
{
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, AppendToVector, nullptr);
    png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty()) {
        png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
    }
    if (!layout.transparent.empty() || !layout.paletteAlpha.empty()) {
        png_set_tRNS(png, info, layout.paletteAlpha.empty() ? nullptr : layout.paletteAlpha.data(),
                     int(layout.paletteAlpha.size()), layout.transparent.empty() ? nullptr : layout.transparent.data());
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<std::vector<uint8_t>> rows(size_t(layout.height), std::vector<uint8_t>(rowBytes));
    std::vector<png_bytep> pointers;
    for (int32_t y = 0; y < layout.height; ++y) {
        for (int32_t x = 0; x < layout.width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const uint32_t v = samples(x, y, c);
                const size_t bit = (size_t(x) * size_t(channels) + size_t(c)) * size_t(layout.bitDepth);
                uint8_t* at = &rows[size_t(y)][bit / 8];
                if (layout.bitDepth == 16) {
                    at[0] = uint8_t(v >> 8), at[1] = uint8_t(v);
                } else if (layout.bitDepth == 8) {
                    at[0] = uint8_t(v);
                } else {
                    at[0] |= uint8_t(v << (8 - layout.bitDepth - bit % 8));
                }
            }
        }
        pointers.push_back(rows[size_t(y)].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

// A GIF of palette indices, its data coded with a literal code per pixel (an LZW stream
// any decoder reads: the table is cleared before the code width would grow past 8 bits).
inline std::vector<uint8_t> GifFile(int32_t width, int32_t height, const std::vector<uint32_t>& palette,
                                    const std::function<uint8_t(int32_t, int32_t)>& index)
{
    std::vector<uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                             uint8_t(height >> 8), 0xF7, 0, 0};
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = size_t(i) < palette.size() ? palette[size_t(i)] : 0;
        gif.insert(gif.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8), 0, 8});
    std::vector<uint8_t> codes;
    uint32_t bits = 0, count = 0;
    auto put = [&](uint32_t code) {
        bits |= code << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8) {
            codes.push_back(uint8_t(bits));
        }
    };
    constexpr uint32_t Clear = 256, End = 257;
    for (int32_t i = 0; i < width * height; ++i) {
        if (i % 200 == 0) {
            put(Clear);
        }
        put(index(i % width, i / width));
    }
    put(End);
    if (count > 0) {
        codes.push_back(uint8_t(bits));
    }
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t block = std::min<size_t>(255, codes.size() - at);
        gif.push_back(uint8_t(block));
        gif.insert(gif.end(), codes.begin() + long(at), codes.begin() + long(at + block));
    }
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

// A TIFF file (little-endian, classic or BigTIFF) of strips coded elsewhere: the header,
// the strips, then the first directory with its values.
struct TiffLayout {
    TiffLayout(int32_t w, int32_t h) : width(w), height(h) {}

    int32_t width = 8;
    int32_t height = 8;
    bool big = false;
    uint16_t compression = 1; // 1: none, 7: JPEG, 8: deflate
    uint16_t photometric = 2; // RGB
    uint16_t samplesPerPixel = 3;
    uint16_t bitsPerSample = 8;
    int32_t rowsPerStrip = 8;
    std::vector<std::vector<uint8_t>> strips;
};

inline std::vector<uint8_t> TiffFile(const TiffLayout& layout)
{
    std::vector<uint8_t> file;
    auto put = [&file](uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(uint8_t(value >> (8 * i)));
        }
    };
    const int offsetBytes = layout.big ? 8 : 4;
    file = {'I', 'I', uint8_t(layout.big ? 43 : 42), 0};
    if (layout.big) {
        put(8, 2), put(0, 2);
    }
    const size_t directoryLink = file.size();
    put(0, offsetBytes);
    std::vector<uint64_t> offsets, counts;
    for (const std::vector<uint8_t>& strip : layout.strips) {
        offsets.push_back(file.size());
        counts.push_back(strip.size());
        file.insert(file.end(), strip.begin(), strip.end());
    }
    struct Entry {
        uint16_t tag, type;
        std::vector<uint64_t> values;
    };
    constexpr uint16_t Short = 3, Long = 4, Long8 = 16;
    const uint16_t pieceType = layout.big ? Long8 : Long;
    const std::vector<Entry> entries = {
        {256, Long, {uint64_t(layout.width)}},
        {257, Long, {uint64_t(layout.height)}},
        {258, Short, std::vector<uint64_t>(layout.samplesPerPixel, layout.bitsPerSample)},
        {259, Short, {layout.compression}},
        {262, Short, {layout.photometric}},
        {273, pieceType, offsets},
        {277, Short, {layout.samplesPerPixel}},
        {278, Long, {uint64_t(layout.rowsPerStrip)}},
        {279, pieceType, counts},
        {284, Short, {1}},
    };
    auto typeBytes = [](uint16_t type) { return type == Short ? 2 : type == Long ? 4 : 8; };
    const size_t entryBytes = layout.big ? 20 : 12;
    const size_t directory = file.size() + file.size() % 2;
    file.resize(directory);
    for (int i = 0; i < offsetBytes; ++i) {
        file[directoryLink + size_t(i)] = uint8_t(uint64_t(directory) >> (8 * i));
    }
    size_t outside = directory + (layout.big ? 8 : 2) + entries.size() * entryBytes + size_t(offsetBytes);
    put(entries.size(), layout.big ? 8 : 2);
    std::vector<uint8_t> values;
    for (const Entry& entry : entries) {
        put(entry.tag, 2), put(entry.type, 2), put(entry.values.size(), offsetBytes);
        const size_t bytes = entry.values.size() * size_t(typeBytes(entry.type));
        std::vector<uint8_t> packed;
        for (const uint64_t value : entry.values) {
            for (int i = 0; i < typeBytes(entry.type); ++i) {
                packed.push_back(uint8_t(value >> (8 * i)));
            }
        }
        if (bytes <= size_t(offsetBytes)) {
            packed.resize(size_t(offsetBytes));
            file.insert(file.end(), packed.begin(), packed.end());
        } else {
            put(outside + values.size(), offsetBytes);
            values.insert(values.end(), packed.begin(), packed.end());
        }
    }
    put(0, offsetBytes); // no next directory
    file.insert(file.end(), values.begin(), values.end());
    return file;
}

inline std::vector<uint8_t> Deflated(const std::vector<uint8_t>& bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, bytes.data(), uLong(bytes.size()), 9);
    out.resize(size);
    return out;
}

// The PNG with a chunk put before its first data chunk: its length field says
// claimedLength, and its bytes and checksum follow when they are as long as it claims;
// otherwise the rest of the file follows, as a forged length makes of it.
inline std::vector<uint8_t> WithPngChunk(const std::vector<uint8_t>& png, const char* type, uint32_t claimedLength,
                                         const std::vector<uint8_t>& data)
{
    size_t at = 8;
    while (at + 8 <= png.size() && std::string_view(reinterpret_cast<const char*>(&png[at + 4]), 4) != "IDAT") {
        at += 12 + (size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3]);
    }
    std::vector<uint8_t> chunk{uint8_t(claimedLength >> 24), uint8_t(claimedLength >> 16), uint8_t(claimedLength >> 8),
                               uint8_t(claimedLength)};
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    if (claimedLength == data.size()) {
        const uint32_t crc = uint32_t(crc32(0, chunk.data() + 4, uInt(4 + data.size())));
        chunk.insert(chunk.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    }
    std::vector<uint8_t> out(png.begin(), png.begin() + long(at));
    out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), png.begin() + long(at), png.end());
    return out;
}

// A GIF whose logical screen claims another size than its image's.
inline std::vector<uint8_t> WithGifScreen(std::vector<uint8_t> gif, uint16_t width, uint16_t height)
{
    gif[6] = uint8_t(width), gif[7] = uint8_t(width >> 8), gif[8] = uint8_t(height), gif[9] = uint8_t(height >> 8);
    return gif;
}

// A WebP file with an extended header (VP8X) that claims a canvas of the size, over the
// original's frame.
inline std::vector<uint8_t> WithWebpCanvas(const std::vector<uint8_t>& webp, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> chunk{'V', 'P', '8', 'X', 10, 0, 0, 0, 0, 0, 0, 0};
    for (const uint32_t side : {width - 1, height - 1}) {
        chunk.insert(chunk.end(), {uint8_t(side), uint8_t(side >> 8), uint8_t(side >> 16)});
    }
    std::vector<uint8_t> out(webp.begin(), webp.begin() + 12);
    out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), webp.begin() + 12, webp.end());
    const uint32_t riff = uint32_t(out.size() - 8);
    out[4] = uint8_t(riff), out[5] = uint8_t(riff >> 8), out[6] = uint8_t(riff >> 16), out[7] = uint8_t(riff >> 24);
    return out;
}

// An uncompressed true-colour TGA file (B, G, R bytes, bottom row first), with the
// "TRUEVISION-XFILE" footer of version 2 when asked.
inline std::vector<uint8_t> TgaFile(uint16_t width, uint16_t height, bool footer)
{
    std::vector<uint8_t> tga{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                             uint8_t(height >> 8), 24, 0};
    for (int i = 0; i < width * height; ++i) {
        tga.insert(tga.end(), {uint8_t(i * 7), uint8_t(i * 3), uint8_t(200)});
    }
    if (footer) {
        tga.insert(tga.end(), 8, 0);
        const std::string signature = "TRUEVISION-XFILE.";
        tga.insert(tga.end(), signature.begin(), signature.end());
        tga.push_back(0);
    }
    return tga;
}

// A picture written by Qt's writer for the format (TIFF, WebP, XBM, PBM, XPM ...).
inline std::vector<uint8_t> QtFile(const QImage& image, const char* format, int quality = 100)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (QByteArray(format) == "webp") {
        writer.setQuality(quality); // 100: lossless
    }
    writer.write(image);
    return {bytes.begin(), bytes.end()};
}

inline std::vector<uint8_t> CutTo(std::vector<uint8_t> bytes, double share)
{
    bytes.resize(size_t(double(bytes.size()) * share));
    return bytes;
}

} // namespace generatedfiles
