#include "imageio/ExifOrientation.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr uint8_t ExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t OrientationTag = 0x0112;
constexpr uint16_t ShortType = 3;
constexpr size_t EntrySize = 12;

// The TIFF structure inside an EXIF block, with its byte order.
class TiffView {
public:
    static std::optional<TiffView> Open(std::span<const uint8_t> exif)
    {
        if (exif.size() < sizeof ExifSignature + 8
            || !std::equal(std::begin(ExifSignature), std::end(ExifSignature), exif.begin())) {
            return std::nullopt;
        }
        const auto tiff = exif.subspan(sizeof ExifSignature);
        bool littleEndian = false;
        if (tiff[0] == 'I' && tiff[1] == 'I') {
            littleEndian = true;
        } else if (!(tiff[0] == 'M' && tiff[1] == 'M')) {
            return std::nullopt;
        }
        TiffView view(tiff, littleEndian);
        if (view.U16(2) != 42) {
            return std::nullopt;
        }
        return view;
    }

    size_t Size() const { return tiff_.size(); }
    size_t TiffOffset() const { return sizeof ExifSignature; }

    uint16_t U16(size_t at) const
    {
        if (at + 2 > tiff_.size()) {
            return 0;
        }
        return littleEndian_ ? uint16_t(tiff_[at] | tiff_[at + 1] << 8) : uint16_t(tiff_[at] << 8 | tiff_[at + 1]);
    }
    uint32_t U32(size_t at) const
    {
        if (at + 4 > tiff_.size()) {
            return 0;
        }
        const uint32_t hi = U16(littleEndian_ ? at + 2 : at);
        const uint32_t lo = U16(littleEndian_ ? at : at + 2);
        return hi << 16 | lo;
    }
    void PutU16(std::span<uint8_t> tiff, size_t at, uint16_t value) const
    {
        tiff[at] = uint8_t(littleEndian_ ? value : value >> 8);
        tiff[at + 1] = uint8_t(littleEndian_ ? value >> 8 : value);
    }

    // Where the first directory (the main picture's tags) starts, if it lies inside.
    std::optional<size_t> FirstDirectory() const
    {
        const size_t at = U32(4);
        if (at < 8 || at + 2 > tiff_.size()) {
            return std::nullopt;
        }
        return at;
    }
    // The number of whole entries of the directory at `at`.
    size_t EntryCount(size_t at) const
    {
        const size_t declared = U16(at);
        return std::min(declared, (tiff_.size() - at - 2) / EntrySize);
    }
    std::optional<size_t> FindEntry(size_t directory, uint16_t tag) const
    {
        for (size_t i = 0; i < EntryCount(directory); ++i) {
            const size_t entry = directory + 2 + i * EntrySize;
            if (U16(entry) == tag) {
                return entry;
            }
        }
        return std::nullopt;
    }

private:
    TiffView(std::span<const uint8_t> tiff, bool littleEndian) : tiff_(tiff), littleEndian_(littleEndian) {}

    std::span<const uint8_t> tiff_;
    bool littleEndian_;
};

} // namespace

ExifOrientation ReadExifOrientation(std::span<const uint8_t> exif)
{
    const auto tiff = TiffView::Open(exif);
    if (!tiff) {
        return ExifOrientation::Upright;
    }
    const auto directory = tiff->FirstDirectory();
    if (!directory) {
        return ExifOrientation::Upright;
    }
    const auto entry = tiff->FindEntry(*directory, OrientationTag);
    if (!entry || tiff->U16(*entry + 2) != ShortType) {
        return ExifOrientation::Upright;
    }
    const uint16_t value = tiff->U16(*entry + 8);
    return value >= 1 && value <= 8 ? ExifOrientation(value) : ExifOrientation::Upright;
}

std::vector<uint8_t> ExifForRewrittenPicture(std::span<const uint8_t> exif)
{
    const auto tiff = TiffView::Open(exif);
    const auto directory = tiff ? tiff->FirstDirectory() : std::nullopt;
    if (!directory) {
        return {};
    }
    std::vector<uint8_t> copy(exif.begin(), exif.end());
    const auto tiffBytes = std::span(copy).subspan(tiff->TiffOffset());
    if (const auto entry = tiff->FindEntry(*directory, OrientationTag); entry && tiff->U16(*entry + 2) == ShortType) {
        tiff->PutU16(tiffBytes, *entry + 8, uint16_t(ExifOrientation::Upright));
    }
    const size_t nextDirectoryLink = *directory + 2 + size_t(tiff->U16(*directory)) * EntrySize;
    if (nextDirectoryLink + 4 <= tiffBytes.size()) {
        std::fill_n(tiffBytes.begin() + nextDirectoryLink, 4, uint8_t(0));
    }
    return copy;
}
