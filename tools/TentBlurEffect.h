#pragma once

#include "engine/Effect.h"

#include <cstdint>
#include <vector>

// Removes small spots: each pixel becomes the alpha-weighted mean of its
// (2k + 1) x (2k + 1) neighbourhood under a tent kernel, 16, 32, ... 16(k + 1), ... 32, 16
// per axis. Neighbours outside the picture are left out, so the mean renormalises at
// the picture's edges.
class TentBlurEffect : public Effect {
public:
    explicit TentBlurEffect(int32_t kernelRadius);

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

    int32_t KernelRadius() const { return kernelRadius; }

    // The 2k + 1 weights of one axis.
    static std::vector<int64_t> KernelWeights(int32_t kernelRadius);

private:
    int32_t kernelRadius;
};
