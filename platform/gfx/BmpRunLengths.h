#pragma once

#include "gfx/Bitmap.h"
#include "gfx/BmpHeader.h"

#include <cstdint>
#include <span>

namespace gfx {

// Decodes the run-length coded pixels of a 4 or 8-bit bitmap file. Pixels the runs skip
// (by a jump, an early end of a row or of the picture) become transparent black, as the
// format leaves them undefined.
class BmpRunLengths {
public:
    BmpRunLengths(const BmpHeader& header, Bitmap& target);

    // False when the data ends before the picture does.
    bool Decode();

private:
    enum class Step { More, Finished, CutOff };

    Step Next();
    Step Escape(uint8_t code);
    Step Absolute(uint32_t count);
    void Put(uint32_t count, uint8_t indices, bool alternate);
    bool Has(size_t bytes) const { return data_.size() - at_ >= bytes; }

    const BmpHeader& header_;
    Bitmap& target_;
    std::span<const uint8_t> data_;
    size_t at_ = 0;
    int64_t x_ = 0;
    int64_t row_ = 0; // counted from the bottom, as stored
};

} // namespace gfx
