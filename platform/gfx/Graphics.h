#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

namespace gfx {

// How drawn pixels meet the pixels already there.
enum class CompositingMode {
    SourceOver, // non-premultiplied source-over (see Blend.h)
    SourceCopy, // the source replaces the destination, alpha included
};

// Draws onto one bitmap. Every call is limited to the bitmap and to the clip rectangle,
// and returns at once when nothing of it is left. Coordinates are bitmap pixels, or,
// for a bitmap that holds only part of a larger picture, that picture's pixels.
class Graphics {
public:
    explicit Graphics(Bitmap& target);
    // The target holds the part of a larger picture whose top-left pixel is origin.
    Graphics(Bitmap& target, Point origin);

    void SetClip(const Rect& clip);
    void ResetClip();
    Rect Clip() const { return clip_; }
    // The part of the picture the target holds.
    Rect Area() const { return {origin_.x, origin_.y, target_.Width(), target_.Height()}; }
    // A pixel already drawn, for drawing that depends on what is there; inside Area().
    Argb PixelAt(int32_t x, int32_t y) const { return target_.GetPixel(x - origin_.x, y - origin_.y); }
    // The bitmap drawn on, in its own pixels.
    const Bitmap& Target() const { return target_; }
    void SetCompositingMode(CompositingMode mode) { mode_ = mode; }
    CompositingMode GetCompositingMode() const { return mode_; }

    // Sets every pixel inside the clip to the colour (no blending).
    void Clear(Argb colour);
    void FillRectangle(Argb colour, const Rect& rect);

    // Outlines with a solid 1-pixel pen. As with a pen centred on the shape's edge,
    // the outline of {x, y, w, h} runs through the pixels x .. x + w and y .. y + h.
    void DrawRectangle(Argb colour, const Rect& rect);
    void DrawEllipse(Argb colour, const Rect& rect);
    void DrawLine(Argb colour, Point from, Point to);

    // Draws the whole source with its top-left at the point, unscaled.
    void DrawBitmap(const Bitmap& source, Point at);
    // Draws the source rectangle scaled into the destination rectangle: bilinear when
    // enlarging, area-averaging when shrinking. Parts of the source rectangle that lie
    // outside the source bitmap draw nothing.
    void DrawBitmap(const Bitmap& source, const Rect& destination, const Rect& sourceRect);

private:
    Argb* At(int32_t x, int32_t y) { return target_.Scanline(y - origin_.y) + (x - origin_.x); }
    void PlotPixel(int32_t x, int32_t y, Argb colour);
    void FillSpan(int32_t y, int32_t left, int32_t right, Argb colour);

    Bitmap& target_;
    Point origin_;
    Rect clip_;
    CompositingMode mode_ = CompositingMode::SourceOver;
};

} // namespace gfx
