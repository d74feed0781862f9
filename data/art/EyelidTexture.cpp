#include "art/EyelidTexture.h"

#include <algorithm>
#include <cmath>

namespace {

// The darkest the stroke gets: a soft brown-black rather than pure black.
constexpr int InkRed = 46;
constexpr int InkGreen = 36;
constexpr int InkBlue = 40;

double SmoothStep(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace

double EyelidTexture::Coverage(int x, int y)
{
    // Along the stroke: zero at both ends, full over the middle third.
    const double along = (x + 0.5) / Width;
    const double taper = SmoothStep(along / 0.33) * SmoothStep((1 - along) / 0.33);
    // Across the stroke: a soft bell whose width follows the taper, so the ends get thin
    // as well as light. Rows are measured from the centre, in units of half the height.
    const double across = std::abs((y + 0.5) - Height / 2.0) / (Height / 2.0);
    const double halfWidth = 0.25 + 0.45 * taper;
    const double bell = std::exp(-std::pow(across / halfWidth, 2.0) * 2.2);
    // The outermost rows always stay white so the line has no hard edge at any height.
    const double edgeFade = SmoothStep((1 - across) / 0.2);
    return taper * bell * edgeFade;
}

QImage EyelidTexture::Loaded()
{
    QImage image(Width, Height, QImage::Format_ARGB32);
    for (int y = 0; y < Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const double c = Coverage(x, y);
            auto mix = [c](int ink) { return int(std::lround(255 - (255 - ink) * c)); };
            row[x] = qRgba(mix(InkRed), mix(InkGreen), mix(InkBlue), 255);
        }
    }
    return image;
}

QImage EyelidTexture::Stored()
{
    QImage image = Loaded();
    for (int y = 0; y < Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(StoredByte(uint8_t(qRed(p))), StoredByte(uint8_t(qGreen(p))), StoredByte(uint8_t(qBlue(p))),
                           qAlpha(p));
        }
    }
    return image;
}
