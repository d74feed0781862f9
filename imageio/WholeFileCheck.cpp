#include "imageio/WholeFileCheck.h"

#include "imageio/ByteWalk.h"
#include "imageio/TiffDirectory.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace {

constexpr uint64_t Unbounded = std::numeric_limits<uint64_t>::max();

uint64_t Times(uint64_t a, uint64_t b)
{
    uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? Unbounded : product;
}

uint64_t Plus(uint64_t a, uint64_t b)
{
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? Unbounded : sum;
}

// GIF data sub-blocks: a length byte, that many bytes, until a zero length. Gives where
// the blocks end and adds up their bytes.
std::optional<uint64_t> SkipSubBlocks(const ByteWalk& gif, uint64_t at, uint64_t& dataBytes)
{
    while (const auto length = gif.Number(at, 1)) {
        at += 1 + *length;
        dataBytes += *length;
        if (*length == 0) {
            return at;
        }
    }
    return std::nullopt;
}

uint64_t ColourTableBytes(uint64_t flags) { return flags & 0x80 ? 3 * (uint64_t(2) << (flags & 7)) : 0; }

// The most pixels n LZW codes give: after a clear the k-th code stands for at most k
// pixels, and no code for more than the table's 4096 entries.
uint64_t MostLzwPixels(uint64_t codes)
{
    constexpr uint64_t Table = 4096;
    if (codes <= Table) {
        return codes * (codes + 1) / 2;
    }
    return Plus(Table * (Table + 1) / 2, Times(codes - Table, Table));
}

// Decoded bytes one coded byte can give at most, by TIFF compression: none; LZW (a code
// of 9 bits or more for at most 4096 bytes); JPEG (two bits for the smallest block, an
// 8 x 8 block of up to four subsampled samples); deflate; PackBits (two bytes for 128).
// Other schemes (LZMA, Zstandard ...) get a bound that only stops the absurd.
uint64_t TiffRatio(uint64_t compression)
{
    switch (compression) {
    case 1: return 1;
    case 5: return 4096 * 8 / 9;
    case 6:
    case 7: return 1024;
    case 8:
    case 32946: return 1032;
    case 32773: return 64;
    default: return 65536;
    }
}

// The picture's size from a VP8 (lossy) or VP8L (lossless) chunk's header.
std::optional<std::pair<uint64_t, uint64_t>> FrameSize(const ByteWalk& webp, uint64_t data, bool lossless)
{
    if (lossless) {
        const auto bits = webp.Number(data + 1, 4);
        if (webp.Number(data, 1) != 0x2F || !bits) {
            return std::nullopt;
        }
        return std::pair{(*bits & 0x3FFF) + 1, (*bits >> 14 & 0x3FFF) + 1};
    }
    const auto width = webp.Number(data + 6, 2), height = webp.Number(data + 8, 2);
    if (!webp.Matches(data + 3, "\x9D\x01\x2A") || !width || !height) {
        return std::nullopt;
    }
    return std::pair{*width & 0x3FFF, *height & 0x3FFF};
}

// A lossy frame spends at least a bit on each 16 x 16 macroblock (its prediction mode is
// coded with fixed odds); a lossless one may code a flat picture in no bits at all.
struct WebpWalk {
    const ByteWalk& webp;
    WholeFileCheck::Claim claim;
    bool frame = false;

    // The chunks from at to end, padded to even sizes, filling it.
    bool Walk(uint64_t at, uint64_t end)
    {
        while (at < end) {
            const auto bytes = webp.Number(at + 4, 4);
            if (!bytes || end - at < 8 || end - at - 8 < *bytes) {
                return false;
            }
            const uint64_t data = at + 8;
            if (webp.Matches(at, "VP8X") && claim.width == 0) {
                const auto width = webp.Number(data + 4, 3), height = webp.Number(data + 7, 3);
                if (!width || !height) {
                    return false;
                }
                claim.width = *width + 1;
                claim.height = *height + 1;
            } else if (webp.Matches(at, "VP8 ") || webp.Matches(at, "VP8L")) {
                const bool lossless = webp.Matches(at, "VP8L");
                const auto frameSize = FrameSize(webp, data, lossless);
                if (!frameSize) {
                    return false;
                }
                if (claim.width == 0) {
                    std::tie(claim.width, claim.height) = *frameSize;
                }
                claim.mostPixels = lossless ? Unbounded : Plus(claim.mostPixels, Times(*bytes, 8 * 256));
                frame = true;
            } else if (webp.Matches(at, "ANMF") && (*bytes < 16 || !Walk(data + 16, data + *bytes))) {
                return false;
            }
            at = data + *bytes + (*bytes & 1);
        }
        return at <= end + 1;
    }
};

} // namespace

std::optional<WholeFileCheck::Claim> WholeFileCheck::Check(std::string_view kind, std::span<const uint8_t> file)
{
    if (kind == "GIF") {
        return CheckGif(file);
    }
    if (kind == "TIFF") {
        return CheckTiff(file);
    }
    return kind == "WebP" ? CheckWebp(file) : std::nullopt;
}

// The header and screen descriptor, then extensions and images up to the trailer. Qt
// shows the first image on the whole screen.
std::optional<WholeFileCheck::Claim> WholeFileCheck::CheckGif(std::span<const uint8_t> file)
{
    const ByteWalk gif(file);
    const auto width = gif.Number(6, 2), height = gif.Number(8, 2), screenFlags = gif.Number(10, 1);
    if (!screenFlags || !(gif.Matches(0, "GIF87a") || gif.Matches(0, "GIF89a"))) {
        return std::nullopt;
    }
    bool image = false;
    uint64_t codes = 0;
    std::optional<uint64_t> next = 13 + ColourTableBytes(*screenFlags);
    while (next) {
        const uint64_t at = *next;
        const auto introducer = gif.Number(at, 1);
        uint64_t dataBytes = 0;
        if (introducer == 0x3B) {
            return image ? std::optional(Claim{*width, *height, MostLzwPixels(codes)}) : std::nullopt;
        }
        if (introducer == 0x21) {
            next = SkipSubBlocks(gif, at + 2, dataBytes);
        } else if (introducer == 0x2C && gif.Has(at, 10)) {
            image = true;
            // Descriptor, local colour table, the code size byte, then the data, whose
            // codes start one bit wider than the code size.
            const uint64_t codeSize = at + 10 + ColourTableBytes(*gif.Number(at + 9, 1));
            next = SkipSubBlocks(gif, codeSize + 1, dataBytes);
            codes += dataBytes * 8 / (std::clamp<uint64_t>(gif.Number(codeSize, 1).value_or(8), 1, 11) + 1);
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The first directory's strips or tiles all lie inside the file. A bilevel picture coded
// by fax rules (CCITT) may code a whole row in one bit.
std::optional<WholeFileCheck::Claim> WholeFileCheck::CheckTiff(std::span<const uint8_t> file)
{
    const std::optional<TiffDirectory> directory = TiffDirectory::Read(file);
    if (!directory || directory->Pieces().empty()) {
        return std::nullopt;
    }
    const ByteWalk tiff(file);
    uint64_t codedBytes = 0;
    for (const TiffDirectory::Piece& piece : directory->Pieces()) {
        if (!tiff.Has(piece.offset, piece.bytes)) {
            return std::nullopt;
        }
        codedBytes += piece.bytes;
    }
    const uint64_t compression = directory->Compression();
    const uint64_t pixelBits = std::max<uint64_t>(1, directory->SamplesPerPixel() * directory->BitsPerSample());
    const bool fax = compression >= 2 && compression <= 4;
    const uint64_t most = fax ? Times(Times(codedBytes, 8), directory->Width())
                              : Times(Times(codedBytes, TiffRatio(compression)), 8) / pixelBits;
    return Claim{directory->Width(), directory->Height(), most};
}

// The container's size fits the file and its chunks fill it.
std::optional<WholeFileCheck::Claim> WholeFileCheck::CheckWebp(std::span<const uint8_t> file)
{
    const ByteWalk webp(file);
    const auto riffSize = webp.Number(4, 4);
    if (!riffSize || !webp.Matches(0, "RIFF") || !webp.Matches(8, "WEBP") || !webp.Has(8, *riffSize)) {
        return std::nullopt;
    }
    WebpWalk walk{webp, {}};
    if (!walk.Walk(12, 8 + *riffSize) || !walk.frame) {
        return std::nullopt;
    }
    return walk.claim;
}
