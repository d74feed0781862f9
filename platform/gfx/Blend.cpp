#include "gfx/Blend.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gfx {

namespace {

// The general case: both alphas anywhere in 1..254 or a translucent destination.
Argb BlendPartial(Argb dst, Argb src)
{
    const uint32_t sa = AlphaOf(src);
    const uint32_t da = AlphaOf(dst);
    // Work in 1/65025 units (255 * 255) so that no division happens before the end.
    const uint32_t srcWeight = sa * 255;
    const uint32_t dstWeight = da * (255 - sa);
    const uint32_t outWeight = srcWeight + dstWeight;
    if (outWeight == 0) {
        return 0;
    }
    const uint32_t half = outWeight / 2;
    auto channel = [&](uint32_t s, uint32_t d) {
        return (s * srcWeight + d * dstWeight + half) / outWeight;
    };
    const uint32_t a = (outWeight + 127) / 255;
    return MakeArgb(a, channel(RedOf(src), RedOf(dst)), channel(GreenOf(src), GreenOf(dst)),
                    channel(BlueOf(src), BlueOf(dst)));
}

// An opaque destination stays opaque: outC = (srcC * srcA + dstC * (255 - srcA)) / 255.
Argb BlendOverOpaque(Argb dst, Argb src)
{
    const uint32_t sa = AlphaOf(src);
    const uint32_t da = 255 - sa;
    auto channel = [&](uint32_t s, uint32_t d) { return (s * sa + d * da + 127) / 255; };
    return MakeArgb(255, channel(RedOf(src), RedOf(dst)), channel(GreenOf(src), GreenOf(dst)),
                    channel(BlueOf(src), BlueOf(dst)));
}

// Copies the run of opaque pixels starting at i and returns where it ends. Most
// pictures are opaque, so groups of eight are checked and copied in one pass.
size_t CopyOpaqueRun(Argb* dst, const Argb* src, size_t i, size_t count)
{
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(int32_t(0xFF000000u));
    for (; i + 8 <= count; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4));
        const __m128i both = _mm_and_si128(_mm_and_si128(a, b), alpha);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(both, alpha)) != 0xFFFF) {
            break;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 4), b);
    }
#endif
    for (; i < count && AlphaOf(src[i]) == 255; ++i) {
        dst[i] = src[i];
    }
    return i;
}

} // namespace

Argb BlendSourceOver(Argb dst, Argb src)
{
    const uint32_t sa = AlphaOf(src);
    if (sa == 255) {
        return src;
    }
    if (sa == 0) {
        return dst;
    }
    if (AlphaOf(dst) == 255) {
        return BlendOverOpaque(dst, src);
    }
    return BlendPartial(dst, src);
}

void BlendRowSourceOver(Argb* dst, const Argb* src, size_t count)
{
    size_t i = 0;
    while (i < count) {
        // Runs of opaque source pixels are copied in one go, runs of transparent ones skipped.
        size_t run = CopyOpaqueRun(dst, src, i, count);
        if (run > i) {
            i = run;
            continue;
        }
        while (run < count && AlphaOf(src[run]) == 0) {
            ++run;
        }
        if (run > i) {
            i = run;
            continue;
        }
        dst[i] = AlphaOf(dst[i]) == 255 ? BlendOverOpaque(dst[i], src[i]) : BlendPartial(dst[i], src[i]);
        ++i;
    }
}

void FillRowSourceOver(Argb* dst, Argb colour, size_t count)
{
    const uint32_t a = AlphaOf(colour);
    if (a == 255) {
        std::fill(dst, dst + count, colour);
        return;
    }
    if (a == 0) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        dst[i] = BlendSourceOver(dst[i], colour);
    }
}

} // namespace gfx
