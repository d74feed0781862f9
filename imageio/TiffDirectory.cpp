#include "imageio/TiffDirectory.h"

#include "imageio/ByteWalk.h"

#include <iterator>

namespace {

enum TagNumber : uint16_t {
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    StripByteCounts = 279,
    TileOffsets = 324,
    TileByteCounts = 325,
};

// Classic TIFF: 2-byte entry count, 12-byte entries with 4-byte counts and values.
// BigTIFF: 8-byte entry count, 20-byte entries with 8-byte counts and values.
struct Layout {
    int countBytes;
    uint64_t entryBytes;
    int valueBytes;
};

uint64_t TypeBytes(uint64_t type)
{
    // BYTE ASCII SHORT LONG RATIONAL SBYTE UNDEFINED SSHORT SLONG SRATIONAL FLOAT DOUBLE IFD;
    // 16 to 18: LONG8 SLONG8 IFD8.
    constexpr uint64_t Bytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    return type < std::size(Bytes) ? Bytes[type] : 0;
}

// One directory entry: its values lie inside the entry when they fit, elsewhere otherwise.
struct Entry {
    uint16_t tag = 0;
    uint64_t type = 0;
    uint64_t count = 0;
    uint64_t at = 0; // where the values are

    uint64_t Bytes() const { return count * TypeBytes(type); }
};

class DirectoryWalk {
public:
    DirectoryWalk(const ByteWalk& file, Layout layout) : file_(file), layout_(layout) {}

    std::optional<Entry> EntryAt(uint64_t at) const
    {
        const auto tag = file_.Number(at, 2), type = file_.Number(at + 2, 2);
        const auto count = file_.Number(at + 4, layout_.valueBytes);
        if (!tag || !type || !count || *count > file_.Size()) {
            return std::nullopt;
        }
        Entry entry{uint16_t(*tag), *type, *count, at + 4 + uint64_t(layout_.valueBytes)};
        if (entry.Bytes() > uint64_t(layout_.valueBytes)) {
            const auto offset = file_.Number(entry.at, layout_.valueBytes);
            if (!offset || !file_.Has(*offset, entry.Bytes())) {
                return std::nullopt;
            }
            entry.at = *offset;
        }
        return entry;
    }
    // The i-th value of a SHORT, LONG or LONG8 entry.
    std::optional<uint64_t> Value(const Entry& entry, uint64_t i) const
    {
        const uint64_t size = TypeBytes(entry.type);
        const bool integer = entry.type == 3 || entry.type == 4 || entry.type == 16;
        return integer && i < entry.count ? file_.Number(entry.at + i * size, int(size)) : std::nullopt;
    }

private:
    const ByteWalk& file_;
    Layout layout_;
};

std::vector<TiffDirectory::Piece> PiecesOf(const DirectoryWalk& walk, const std::optional<Entry>& offsets,
                                           const std::optional<Entry>& counts)
{
    if (!offsets || !counts || offsets->count == 0 || offsets->count != counts->count) {
        return {};
    }
    std::vector<TiffDirectory::Piece> pieces;
    for (uint64_t i = 0; i < offsets->count; ++i) {
        const auto offset = walk.Value(*offsets, i), bytes = walk.Value(*counts, i);
        if (!offset || !bytes) {
            return {};
        }
        pieces.push_back({*offset, *bytes});
    }
    return pieces;
}

} // namespace

std::optional<TiffDirectory> TiffDirectory::Read(std::span<const uint8_t> bytes)
{
    const bool bigEndian = ByteWalk(bytes).Matches(0, "MM");
    const ByteWalk file(bytes, bigEndian);
    if (!file.Matches(0, bigEndian ? "MM" : "II")) {
        return std::nullopt;
    }
    const auto version = file.Number(2, 2);
    const bool big = version == 43;
    if (!(version == 42 || (big && file.Number(4, 2) == 8 && file.Number(6, 2) == 0))) {
        return std::nullopt;
    }
    const Layout layout = big ? Layout{8, 20, 8} : Layout{2, 12, 4};
    const auto directory = file.Number(big ? 8 : 4, layout.valueBytes);
    const auto entries = directory ? file.Number(*directory, layout.countBytes) : std::nullopt;
    if (!entries || *entries > file.Size() / layout.entryBytes) {
        return std::nullopt;
    }
    const DirectoryWalk walk(file, layout);
    TiffDirectory result;
    std::optional<Entry> stripOffsets, stripCounts, tileOffsets, tileCounts;
    for (uint64_t i = 0; i < *entries; ++i) {
        const uint64_t at = *directory + uint64_t(layout.countBytes) + i * layout.entryBytes;
        const std::optional<Entry> entry = walk.EntryAt(at);
        if (!entry) {
            return std::nullopt;
        }
        const uint64_t first = walk.Value(*entry, 0).value_or(0);
        switch (entry->tag) {
        case TagNumber::ImageWidth: result.width_ = first; break;
        case TagNumber::ImageLength: result.height_ = first; break;
        case TagNumber::BitsPerSample: result.bitsPerSample_ = first; break;
        case TagNumber::Compression: result.compression_ = first; break;
        case TagNumber::SamplesPerPixel: result.samplesPerPixel_ = first; break;
        case TagNumber::StripOffsets: stripOffsets = entry; break;
        case TagNumber::StripByteCounts: stripCounts = entry; break;
        case TagNumber::TileOffsets: tileOffsets = entry; break;
        case TagNumber::TileByteCounts: tileCounts = entry; break;
        default: break;
        }
    }
    result.pieces_ = tileOffsets ? PiecesOf(walk, tileOffsets, tileCounts) : PiecesOf(walk, stripOffsets, stripCounts);
    return result;
}
