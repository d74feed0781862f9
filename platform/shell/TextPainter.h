#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace shell {

// Draws help texts into bitmaps: wrapped inside a rectangle, top-left aligned, in a
// Song-style Chinese font. "宋体" and "SimSun" come first; where neither is installed
// the text falls back to the Song-style font our install scripts provide.
class TextPainter {
public:
    static constexpr int kDefaultPointSize = 12;

    explicit TextPainter(int pointSize = kDefaultPointSize);

    // Draws the text over what the rectangle holds, clipped to it; "\r\n" breaks a line.
    // Points are counted at 96 dots per inch, so 12 points are 16 pixels on any screen.
    // With a scale, the target holds scale pixels per pixel of the rectangle each way and
    // the text is drawn at that resolution, laid out as at scale 1.
    void Draw(gfx::Bitmap& target, const gfx::Rect& rect, const QString& text, gfx::Argb colour,
              int scale = 1) const;

    const QFont& Font() const { return font_; }
    static QStringList FontFamilies();

    // The largest whole point size from largest down to smallest at which the wrapped
    // text fits inside the rectangle; smallest when even that does not fit.
    static int FittingPointSize(const QString& text, const gfx::Rect& rect, int largest = kDefaultPointSize,
                                int smallest = 9);

private:
    QFont font_;
};

} // namespace shell
