#include "gfx/Halve.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace gfx {

namespace {

constexpr Argb OpaqueBits = 0xFF000000u;

// Four opaque pixels: every channel is (sum + 2) / 4, which is what AverageWeighted
// gives them, as the alphas cancel out.
Argb AverageOpaque(Argb p, Argb q, Argb r, Argb s)
{
    Argb out = OpaqueBits;
    for (int shift = 0; shift < 24; shift += 8) {
        auto at = [shift](Argb pixel) { return (pixel >> shift) & 0xFF; };
        out |= ((at(p) + at(q) + at(r) + at(s) + 2) >> 2) << shift;
    }
    return out;
}

Argb AverageFour(Argb p, Argb q, Argb r, Argb s)
{
    if ((p & q & r & s) >= OpaqueBits) {
        return AverageOpaque(p, q, r, s);
    }
    const WeightedPixel block[] = {{p, 1}, {q, 1}, {r, 1}, {s, 1}};
    return AverageWeighted(block, 4);
}

#if defined(__GNUC__) && defined(__x86_64__)
// Eight results at a time where the processor has AVX2 (most x86 processors since 2013);
// returns how many it gave. Eight opaque results come from sixteen pixels at once.
__attribute__((target("avx2"))) size_t HalveRowAvx2(const Argb* top, const Argb* bottom, Argb* out, size_t count)
{
    const __m256i alpha = _mm256_set1_epi32(int32_t(OpaqueBits));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i two = _mm256_set1_epi16(2);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i t0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + 2 * i));
        const __m256i t1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + 2 * i + 8));
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + 2 * i));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom + 2 * i + 8));
        const __m256i all = _mm256_and_si256(_mm256_and_si256(t0, t1), _mm256_and_si256(b0, b1));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(all, alpha), alpha)) != -1) {
            for (size_t k = i; k < i + 8; ++k) {
                out[k] = AverageFour(top[2 * k], top[2 * k + 1], bottom[2 * k], bottom[2 * k + 1]);
            }
            continue;
        }
        // Channels widened to 16 bits: top plus bottom, then each pixel plus its right neighbour.
        const __m256i s0 = _mm256_add_epi16(_mm256_unpacklo_epi8(t0, zero), _mm256_unpacklo_epi8(b0, zero));
        const __m256i s1 = _mm256_add_epi16(_mm256_unpackhi_epi8(t0, zero), _mm256_unpackhi_epi8(b0, zero));
        const __m256i s2 = _mm256_add_epi16(_mm256_unpacklo_epi8(t1, zero), _mm256_unpacklo_epi8(b1, zero));
        const __m256i s3 = _mm256_add_epi16(_mm256_unpackhi_epi8(t1, zero), _mm256_unpackhi_epi8(b1, zero));
        const __m256i first = _mm256_add_epi16(_mm256_unpacklo_epi64(s0, s1), _mm256_unpackhi_epi64(s0, s1));
        const __m256i second = _mm256_add_epi16(_mm256_unpacklo_epi64(s2, s3), _mm256_unpackhi_epi64(s2, s3));
        const __m256i packed = _mm256_packus_epi16(_mm256_srli_epi16(_mm256_add_epi16(first, two), 2),
                                                   _mm256_srli_epi16(_mm256_add_epi16(second, two), 2));
        // Each 128-bit half holds results 0, 1, 4, 5 and 2, 3, 6, 7: put them in order.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    return i;
}

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace

Argb AverageWeighted(const WeightedPixel* pixels, size_t count)
{
    uint64_t weights = 0, alpha = 0, red = 0, green = 0, blue = 0;
    for (size_t i = 0; i < count; ++i) {
        const Argb p = pixels[i].pixel;
        const uint64_t a = uint64_t(pixels[i].weight) * AlphaOf(p);
        weights += pixels[i].weight;
        alpha += a;
        red += a * RedOf(p);
        green += a * GreenOf(p);
        blue += a * BlueOf(p);
    }
    if (weights == 0) {
        return 0;
    }
    const uint64_t a = (2 * alpha + weights) / (2 * weights);
    if (a == 0) {
        return 0;
    }
    auto channel = [&](uint64_t sum) { return uint32_t((2 * sum + alpha) / (2 * alpha)); };
    return MakeArgb(uint32_t(a), channel(red), channel(green), channel(blue));
}

void HalveRow(const Argb* top, const Argb* bottom, Argb* out, size_t count)
{
    size_t i = 0;
#if defined(__GNUC__) && defined(__x86_64__)
    if (HasAvx2()) {
        i = HalveRowAvx2(top, bottom, out, count);
    }
#endif
    for (; i < count; ++i) {
        out[i] = AverageFour(top[2 * i], top[2 * i + 1], bottom[2 * i], bottom[2 * i + 1]);
    }
}

} // namespace gfx
