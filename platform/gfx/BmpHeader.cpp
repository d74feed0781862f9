#include "gfx/BmpHeader.h"

#include <algorithm>
#include <bit>

namespace gfx {

namespace {

constexpr size_t FileHeaderBytes = 14;
constexpr uint32_t CoreHeaderBytes = 12; // OS/2 1.x
constexpr uint32_t InfoHeaderBytes = 40; // Windows 3
constexpr uint32_t Os2HeaderBytes = 64;  // OS/2 2.x, of which the first 16 or more are stored
constexpr int32_t MaxSide = 65535;
// A two-byte run codes at most 255 pixels. Skips serve sparse icons, not photos: a
// picture of more than a megapixel must carry its runs.
constexpr uint64_t RunPixelsPerByte = 128;
constexpr uint64_t SparsePictureLimit = uint64_t(1) << 20;

enum Compression : uint32_t { Plain = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

uint32_t Read16(std::span<const uint8_t> d, size_t at) { return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8; }
uint32_t Read32(std::span<const uint8_t> d, size_t at) { return Read16(d, at) | Read16(d, at + 2) << 16; }

// A field of the info header, 0 when the header is too short to store it (OS/2 2.x
// headers may stop after any field).
uint32_t InfoField(std::span<const uint8_t> d, uint32_t infoSize, size_t offset, size_t bytes)
{
    if (offset + bytes > infoSize) {
        return 0;
    }
    return bytes == 2 ? Read16(d, FileHeaderBytes + offset) : Read32(d, FileHeaderBytes + offset);
}

bool IsOs2Header(uint32_t infoSize)
{
    return infoSize >= 16 && infoSize <= Os2HeaderBytes && infoSize != InfoHeaderBytes && infoSize != 52
           && infoSize != 56;
}

} // namespace

BmpHeader::Channel::Channel(uint32_t m) : mask(m)
{
    if (m != 0) {
        shift = std::countr_zero(m);
        max = m >> shift;
    }
}

BmpHeader::BmpHeader(std::span<const uint8_t> file) { status_ = Parse(file); }

size_t BmpHeader::RowBytes() const { return (size_t(width_) * size_t(bitsPerPixel_) + 31) / 32 * 4; }

BmpHeader::Status BmpHeader::Parse(std::span<const uint8_t> file)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') {
        return Status::NotBmp;
    }
    if (file.size() < FileHeaderBytes + 4) {
        return Status::Damaged;
    }
    const uint32_t infoSize = Read32(file, FileHeaderBytes);
    if (infoSize < CoreHeaderBytes || file.size() - FileHeaderBytes < infoSize) {
        return infoSize < CoreHeaderBytes ? Status::Unsupported : Status::Damaged;
    }
    if (const Status info = ReadInfo(file, infoSize); info != Status::Ok) {
        return info;
    }
    // The data offset is trusted as stored; a file whose offset lies outside it is damaged.
    const uint32_t dataOffset = Read32(file, 10);
    if (dataOffset < FileHeaderBytes + infoSize || dataOffset >= file.size()) {
        return Status::Damaged;
    }
    data_ = file.subspan(dataOffset);
    return DataCanHoldPicture() ? Status::Ok : Status::Damaged;
}

BmpHeader::Status BmpHeader::ReadInfo(std::span<const uint8_t> file, uint32_t infoSize)
{
    const bool core = infoSize < 16;
    const bool os2 = IsOs2Header(infoSize);
    const int64_t width = core ? int64_t(InfoField(file, infoSize, 4, 2)) : int64_t(int32_t(InfoField(file, infoSize, 4, 4)));
    int64_t height = core ? int64_t(InfoField(file, infoSize, 6, 2)) : int64_t(int32_t(InfoField(file, infoSize, 8, 4)));
    bitsPerPixel_ = int(core ? InfoField(file, infoSize, 10, 2) : InfoField(file, infoSize, 14, 2));
    const uint32_t compression = core ? Plain : InfoField(file, infoSize, 16, 4);
    topDown_ = height < 0;
    height = topDown_ ? -height : height;
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) {
        return width <= 0 || height <= 0 ? Status::Damaged : Status::Unsupported;
    }
    width_ = int32_t(width);
    height_ = int32_t(height);
    if (const Status coding = ReadCoding(compression, os2); coding != Status::Ok) {
        return coding;
    }
    if (const Status masks = ReadMasks(file, infoSize, compression); masks != Status::Ok) {
        return masks;
    }
    if (bitsPerPixel_ > 8) {
        return Status::Ok;
    }
    const uint32_t coloursUsed = core ? 0 : InfoField(file, infoSize, 32, 4);
    return ReadPalette(file, FileHeaderBytes + infoSize, coloursUsed, core ? 3 : 4);
}

BmpHeader::Status BmpHeader::ReadCoding(uint32_t compression, bool os2)
{
    const int bits = bitsPerPixel_;
    const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!knownDepth) {
        return Status::Unsupported;
    }
    const bool fields = !os2 && (compression == BitFields || compression == AlphaBitFields);
    if (compression == Rle8 && bits == 8) {
        coding_ = Coding::RunLength8;
    } else if (compression == Rle4 && bits == 4) {
        coding_ = Coding::RunLength4;
    } else if (compression != Plain && !(fields && (bits == 16 || bits == 32))) {
        return Status::Unsupported; // embedded JPEG or PNG, OS/2 Huffman or 24-bit runs
    }
    if (coding_ != Coding::Rows && topDown_) {
        return Status::Damaged; // runs are stored bottom-up only
    }
    return Status::Ok;
}

// Plain 16-bit pixels are 5-5-5 and plain 32-bit ones 8-8-8 with an unused byte. Masks
// follow a Windows 3 header, or sit inside the larger headers at the same place.
BmpHeader::Status BmpHeader::ReadMasks(std::span<const uint8_t> file, uint32_t infoSize, uint32_t compression)
{
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (bitsPerPixel_ == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    }
    if (compression == BitFields || compression == AlphaBitFields) {
        const size_t at = FileHeaderBytes + InfoHeaderBytes;
        const int count = compression == AlphaBitFields || infoSize >= 56 ? 4 : 3;
        if (at + size_t(count) * 4 > file.size()) {
            return Status::Damaged;
        }
        for (int i = 0; i < count; ++i) {
            masks[i] = Read32(file, at + size_t(i) * 4);
        }
    }
    const uint64_t pixelBits = bitsPerPixel_ == 16 ? 0xFFFF : 0xFFFFFFFF;
    for (int i = 0; i < 4; ++i) {
        const Channel channel(masks[i]);
        if (masks[i] > pixelBits || (channel.max & (channel.max + 1)) != 0) {
            return Status::Unsupported; // a mask outside the pixel or with gaps
        }
        channels_[size_t(i)] = channel;
    }
    return Status::Ok;
}

// Indices past the stored entries show opaque black.
BmpHeader::Status BmpHeader::ReadPalette(std::span<const uint8_t> file, size_t at, uint32_t coloursUsed,
                                         size_t entryBytes)
{
    const uint32_t full = 1u << bitsPerPixel_;
    const uint32_t count = coloursUsed == 0 || coloursUsed > full ? full : coloursUsed;
    if (at + size_t(count) * entryBytes > file.size()) {
        return Status::Damaged;
    }
    palette_.assign(full, colors::Black);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t p = at + size_t(i) * entryBytes;
        palette_[i] = MakeArgb(255, file[p + 2], file[p + 1], file[p]);
    }
    return Status::Ok;
}

bool BmpHeader::DataCanHoldPicture() const
{
    const uint64_t pixels = uint64_t(width_) * uint64_t(height_);
    if (coding_ != Coding::Rows) {
        return pixels <= std::max(data_.size() * RunPixelsPerByte, SparsePictureLimit);
    }
    // The last row may lack its padding.
    const uint64_t lastRow = (uint64_t(width_) * uint64_t(bitsPerPixel_) + 7) / 8;
    return uint64_t(height_ - 1) * RowBytes() + lastRow <= data_.size();
}

} // namespace gfx
