#include "gfx/BmpRunLengths.h"

#include <algorithm>

namespace gfx {

namespace {

enum EscapeCode : uint8_t { EndOfRow = 0, EndOfPicture = 1, Jump = 2 };

} // namespace

BmpRunLengths::BmpRunLengths(const BmpHeader& header, Bitmap& target)
    : header_(header), target_(target), data_(header.Data())
{
}

bool BmpRunLengths::Decode()
{
    std::fill_n(target_.Pixels(), size_t(target_.Width()) * size_t(target_.Height()), colors::Transparent);
    for (;;) {
        switch (Next()) {
        case Step::More: break;
        case Step::Finished: return true;
        // Data that ends without its end code is whole only when every row was reached.
        case Step::CutOff: return row_ >= target_.Height();
        }
    }
}

BmpRunLengths::Step BmpRunLengths::Next()
{
    if (!Has(2)) {
        return Step::CutOff;
    }
    const uint8_t count = data_[at_];
    const uint8_t value = data_[at_ + 1];
    at_ += 2;
    if (count == 0) {
        return Escape(value);
    }
    Put(count, value, header_.GetCoding() == BmpHeader::Coding::RunLength4);
    return Step::More;
}

BmpRunLengths::Step BmpRunLengths::Escape(uint8_t code)
{
    switch (code) {
    case EndOfRow:
        x_ = 0;
        ++row_;
        return Step::More;
    case EndOfPicture: return Step::Finished;
    case Jump:
        if (!Has(2)) {
            return Step::CutOff;
        }
        x_ += data_[at_];
        row_ += data_[at_ + 1];
        at_ += 2;
        return Step::More;
    default: return Absolute(code);
    }
}

// count indices stored one by one, padded to a whole 16-bit word.
BmpRunLengths::Step BmpRunLengths::Absolute(uint32_t count)
{
    const bool nibbles = header_.GetCoding() == BmpHeader::Coding::RunLength4;
    const size_t bytes = nibbles ? (count + 1) / 2 : count;
    if (!Has(bytes)) {
        return Step::CutOff;
    }
    for (size_t i = 0; i < bytes; ++i) {
        const uint32_t here = nibbles ? std::min<uint32_t>(2, count - uint32_t(i) * 2) : 1;
        Put(here, data_[at_ + i], nibbles);
    }
    at_ += std::min(data_.size() - at_, (bytes + 1) / 2 * 2);
    return Step::More;
}

// count pixels from a byte: one index repeated, or two 4-bit indices taking turns.
// Pixels past the right edge or the top are dropped.
void BmpRunLengths::Put(uint32_t count, uint8_t indices, bool alternate)
{
    const std::vector<Argb>& palette = header_.Palette();
    const Argb first = palette[alternate ? indices >> 4 : indices];
    const Argb second = alternate ? palette[indices & 0x0F] : first;
    if (row_ < target_.Height()) {
        const int32_t y = int32_t(target_.Height() - 1 - row_);
        Argb* out = target_.Scanline(y);
        for (uint32_t i = 0; i < count && x_ + i < target_.Width(); ++i) {
            out[x_ + i] = i % 2 == 0 ? first : second;
        }
    }
    x_ += count;
}

} // namespace gfx
