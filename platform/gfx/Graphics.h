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
// and returns at once when nothing of it is left. Coordinates are bitmap pixels.
class Graphics {
public:
    explicit Graphics(Bitmap& target);

    void SetClip(const Rect& clip);
    void ResetClip();
    Rect Clip() const { return clip_; }
    // The bitmap drawn on, for drawing that blends with what is already there.
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
    void PlotPixel(int32_t x, int32_t y, Argb colour);
    void FillSpan(int32_t y, int32_t left, int32_t right, Argb colour);

    Bitmap& target_;
    Rect clip_;
    CompositingMode mode_ = CompositingMode::SourceOver;
};

} // namespace gfx
