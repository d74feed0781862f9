#include "imageio/WholeFileCheck.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <optional>

namespace {

// Reads little or big-endian numbers; past the end every read gives nothing.
class ByteWalk {
public:
    ByteWalk(std::span<const uint8_t> bytes, bool bigEndian = false) : bytes_(bytes), bigEndian_(bigEndian) {}

    size_t Size() const { return bytes_.size(); }
    bool Has(size_t at, size_t count) const { return at <= bytes_.size() && bytes_.size() - at >= count; }
    std::optional<uint32_t> Number(size_t at, int count) const
    {
        if (!Has(at, size_t(count))) {
            return std::nullopt;
        }
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            const uint32_t byte = bytes_[at + size_t(bigEndian_ ? i : count - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }
    bool Matches(size_t at, const char* text) const
    {
        const size_t length = std::strlen(text);
        return Has(at, length) && std::memcmp(bytes_.data() + at, text, length) == 0;
    }

private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

// GIF data sub-blocks: a length byte, that many bytes, until a zero length.
std::optional<size_t> SkipSubBlocks(const ByteWalk& gif, size_t at)
{
    while (const auto length = gif.Number(at, 1)) {
        at += 1 + *length;
        if (*length == 0) {
            return at;
        }
    }
    return std::nullopt;
}

size_t ColourTableBytes(uint32_t flags) { return flags & 0x80 ? 3 * (size_t(2) << (flags & 7)) : 0; }

// A TIFF tag's values: count numbers of 2 or 4 bytes, inside the entry when they fit.
struct TagValues {
    uint32_t count = 0;
    int size = 0;
    size_t at = 0;
};

std::optional<TagValues> FindTag(const ByteWalk& tiff, size_t directory, uint32_t entries, uint16_t tag)
{
    constexpr uint16_t Short = 3, Long = 4;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + size_t(i) * 12;
        if (tiff.Number(entry, 2) != tag) {
            continue;
        }
        const auto type = tiff.Number(entry + 2, 2);
        const auto count = tiff.Number(entry + 4, 4);
        if (!type || !count || (*type != Short && *type != Long)) {
            return std::nullopt;
        }
        TagValues values{*count, *type == Short ? 2 : 4, entry + 8};
        if (uint64_t(values.count) * uint64_t(values.size) > 4) {
            values.at = *tiff.Number(entry + 8, 4);
        }
        return values;
    }
    return std::nullopt;
}

size_t TiffTypeBytes(uint32_t type)
{
    constexpr size_t Bytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(Bytes) ? Bytes[type] : 0;
}

// Every value stored outside its entry lies inside the file.
bool ValuesInside(const ByteWalk& tiff, size_t directory, uint32_t entries)
{
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + size_t(i) * 12;
        const uint64_t bytes = uint64_t(*tiff.Number(entry + 4, 4)) * TiffTypeBytes(*tiff.Number(entry + 2, 2));
        if (bytes > 4 && !tiff.Has(*tiff.Number(entry + 8, 4), size_t(bytes))) {
            return false;
        }
    }
    return true;
}

// Every piece (offset, byte count) of the image lies inside the file.
bool PiecesInside(const ByteWalk& tiff, const TagValues& offsets, const TagValues& counts)
{
    if (offsets.count == 0 || offsets.count != counts.count
        || !tiff.Has(offsets.at, size_t(offsets.count) * size_t(offsets.size))
        || !tiff.Has(counts.at, size_t(counts.count) * size_t(counts.size))) {
        return false;
    }
    for (uint32_t i = 0; i < offsets.count; ++i) {
        const uint32_t offset = *tiff.Number(offsets.at + size_t(i) * size_t(offsets.size), offsets.size);
        const uint32_t bytes = *tiff.Number(counts.at + size_t(i) * size_t(counts.size), counts.size);
        if (!tiff.Has(offset, bytes)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool WholeFileCheck::IsWhole(std::string_view kind, std::span<const uint8_t> file)
{
    if (kind == "GIF") {
        return IsWholeGif(file);
    }
    if (kind == "TIFF") {
        return IsWholeTiff(file);
    }
    return kind == "WebP" && IsWholeWebp(file);
}

// The header and screen descriptor, then extensions and images up to the trailer.
bool WholeFileCheck::IsWholeGif(std::span<const uint8_t> file)
{
    const ByteWalk gif(file);
    const auto screenFlags = gif.Number(10, 1);
    if (!screenFlags || !(gif.Matches(0, "GIF87a") || gif.Matches(0, "GIF89a"))) {
        return false;
    }
    size_t at = 13 + ColourTableBytes(*screenFlags);
    bool image = false;
    std::optional<size_t> next = at;
    while (next) {
        at = *next;
        const auto introducer = gif.Number(at, 1);
        if (introducer == 0x3B) {
            return image;
        }
        if (introducer == 0x21) {
            next = SkipSubBlocks(gif, at + 2);
        } else if (introducer == 0x2C && gif.Has(at, 10)) {
            image = true;
            // Descriptor, local colour table, the code size byte, then the data.
            next = SkipSubBlocks(gif, at + 10 + ColourTableBytes(*gif.Number(at + 9, 1)) + 1);
        } else {
            return false;
        }
    }
    return false;
}

// The first directory's strips or tiles all lie inside the file.
bool WholeFileCheck::IsWholeTiff(std::span<const uint8_t> file)
{
    const bool bigEndian = ByteWalk(file).Matches(0, "MM");
    const ByteWalk tiff(file, bigEndian);
    if (!(tiff.Matches(0, "II") || bigEndian) || tiff.Number(2, 2) != 42) {
        return false;
    }
    const auto directory = tiff.Number(4, 4);
    const auto entries = directory ? tiff.Number(*directory, 2) : std::nullopt;
    if (!entries || !tiff.Has(*directory + 2, size_t(*entries) * 12) || !ValuesInside(tiff, *directory, *entries)) {
        return false;
    }
    constexpr std::array<std::array<uint16_t, 2>, 2> Pieces{{{273, 279}, {324, 325}}}; // strips, tiles
    return std::any_of(Pieces.begin(), Pieces.end(), [&](const std::array<uint16_t, 2>& tags) {
        const auto offsets = FindTag(tiff, *directory, *entries, tags[0]);
        const auto counts = FindTag(tiff, *directory, *entries, tags[1]);
        return offsets && counts && PiecesInside(tiff, *offsets, *counts);
    });
}

// The container's size fits the file and its chunks (padded to even sizes) fill it.
bool WholeFileCheck::IsWholeWebp(std::span<const uint8_t> file)
{
    const ByteWalk webp(file);
    const auto riffSize = webp.Number(4, 4);
    if (!riffSize || !webp.Matches(0, "RIFF") || !webp.Matches(8, "WEBP") || !webp.Has(8, *riffSize)) {
        return false;
    }
    const size_t end = 8 + size_t(*riffSize);
    bool picture = false;
    size_t at = 12;
    while (at < end) {
        const auto size = webp.Number(at + 4, 4);
        if (!size || end - at < 8 || end - at - 8 < *size) {
            return false;
        }
        picture = picture || webp.Matches(at, "VP8 ") || webp.Matches(at, "VP8L") || webp.Matches(at, "ANMF");
        at += 8 + size_t(*size) + (*size & 1);
    }
    return picture && at <= end + 1;
}
