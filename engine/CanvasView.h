#pragma once

#include "engine/Layer.h"
#include "engine/OverlayPainter.h"
#include "engine/PicturePyramid.h"
#include "gfx/PixelMemory.h"
#include "engine/Surface.h"
#include "engine/ViewTransform.h"
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"
#include "gfx/ScaledDraw.h"

#include <cstdint>
#include <memory>
#include <vector>

// A viewport of fixed size onto a picture: its layers (the picture, then the eyelid
// lines), the current tool's overlay, a zoom factor and a scroll position.
//
// Rendering is incremental so that its cost follows the viewport, not the picture:
// the view keeps the layers composed at picture resolution (the back-buffer), a pyramid
// of halved copies of it, and the visible part scaled to the viewport (the view image).
// Each render asks the layers which areas changed, recomposes only those (from
// transparent, so the back-buffer always equals a fresh composition), updates the
// pyramid pixels they reach, rescales only the view pixels those reach, copies the view
// image to the target and paints the overlay on top at target resolution. A zoom or
// scroll change rescales the whole view image once, from the coarsest pyramid level
// that still has a pixel for every view pixel; at zoom 1 and above, from the back-buffer.
//
// The first composition goes band by band through a small buffer into the pyramid
// alone, and so do changed areas while the view is drawn from a halved level. The
// back-buffer is composed a tile at a time where it is first read: for the visible part
// when drawing from it, and round changed areas at zoom 1 and above, whose pyramid pixels
// read their neighbours. So a picture seen small costs its pyramid, not its copy, however
// much of it is edited.
class CanvasView {
public:
    CanvasView(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight);

    void AddLayer(std::shared_ptr<Layer> layer);
    // The painter drawn over the layers at each render; empty means none.
    void SetOperation(std::shared_ptr<OverlayPainter> painter);

    // Zooms to z target pixels per picture pixel, keeping the scroll position
    // proportional; a picture smaller than the viewport is centred. False, and
    // nothing changed, for z <= 0 or a factor that is not a finite number.
    bool SetZoom(float z);
    // Scrolls by picture pixels (vertical amount first), clamped to the picture; an
    // axis whose zoomed picture fits in the viewport never scrolls. True when either
    // axis could scroll.
    bool Scroll(int32_t dy, int32_t dx);

    // Draws the layers and the overlay into the target; with clear, the target is
    // first filled with opaque black, so margins round a small picture stay black.
    void Render(bool clear, gfx::Graphics& target);
    // The same picture as Render, composed and scaled from scratch without using or
    // changing what the view keeps between renders. Costs as much as the picture.
    void RenderFull(bool clear, gfx::Graphics& target);
    // All layers composed into a new transparent picture-sized surface, no overlay.
    std::shared_ptr<Surface> Flatten() const;
    // Draws every layer, bottom first, within the graphics' clip: drawn onto transparent
    // pixels from the top row down, this is what Flatten composes.
    void DrawLayers(gfx::Graphics& graphics) const;

    // A point in target pixels mapped to picture pixels (truncating toward zero).
    gfx::Point ToPicture(gfx::Point target) const;
    // Picture to target, for overlays: target = picture * zoom + (dest - src * zoom).
    ViewTransform Transform() const;

    float Zoom() const { return zoom_; }
    int32_t PictureWidth() const { return pictureWidth_; }
    int32_t PictureHeight() const { return pictureHeight_; }
    int32_t ViewWidth() const { return viewWidth_; }
    int32_t ViewHeight() const { return viewHeight_; }
    int32_t SrcX() const { return srcX_; }
    int32_t SrcY() const { return srcY_; }
    int32_t SrcWidth() const { return srcWidth_; }
    int32_t SrcHeight() const { return srcHeight_; }
    int32_t DestX() const { return destX_; }
    int32_t DestY() const { return destY_; }
    bool NeedsClear() const { return needsClear_ != 0; }
    // The pyramid level the visible part is scaled from: the coarsest with at least one
    // pixel per target pixel on both axes, so that no level is enlarged where a finer one
    // would be needed. 0 is the picture itself, as at zoom 1 and above.
    int32_t DrawingLevel() const;

private:
    // One axis of the zoom rule: the source size, the margin or proportional scroll.
    struct Axis {
        int32_t& src;
        int32_t& srcSize;
        int32_t& dest;
        int32_t pictureSize;
        int32_t viewSize;
    };
    void ZoomAxis(const Axis& axis, float z);
    bool ScrollAxis(const Axis& axis, int32_t delta);
    Axis HorizontalAxis() { return {srcX_, srcWidth_, destX_, pictureWidth_, viewWidth_}; }
    Axis VerticalAxis() { return {srcY_, srcHeight_, destY_, pictureHeight_, viewHeight_}; }

    std::vector<gfx::Rect> TakeAreasToRecompose();
    void Recompose(const gfx::Rect& area);
    void ComposeThroughBands(const gfx::Rect& area);
    void ForgetTiles(const gfx::Rect& area);
    void ComposeTiles(const gfx::Rect& area);
    void ComposeIntoBackBuffer(const gfx::Rect& area);
    gfx::SourceArea LevelSourceArea(int32_t level) const;
    gfx::Rect ViewPixelsReading(const gfx::Rect& pictureArea) const;
    void Rescale(const gfx::Rect& viewArea);
    void ScaleVisiblePart(gfx::Bitmap& into, const gfx::Rect& viewArea, const gfx::Bitmap& picture,
                          const PicturePyramid& pyramid) const;
    gfx::Rect SourceRect() const { return {srcX_, srcY_, srcWidth_, srcHeight_}; }
    gfx::Rect DestinationRect() const { return {destX_, destY_, viewWidth_, viewHeight_}; }
    void ShowViewImage(const gfx::Bitmap& image, bool clear, gfx::Graphics& target);

    std::vector<std::shared_ptr<Layer>> layers_;
    std::shared_ptr<OverlayPainter> overlay_;
    gfx::PixelBlock backMemory_;
    gfx::Bitmap backBitmap_; // the back-buffer
    PicturePyramid pyramid_; // halved copies of the back-buffer
    gfx::PixelBlock viewMemory_;
    gfx::Bitmap viewImage_; // the back-buffer scaled, viewWidth x viewHeight, at (destX, destY)
    int32_t pictureWidth_;
    int32_t pictureHeight_;
    int32_t srcX_ = 0;
    int32_t srcY_ = 0;
    int32_t srcWidth_ = 0;
    int32_t srcHeight_ = 0;
    int32_t destX_ = 0;
    int32_t destY_ = 0;
    int32_t viewWidth_;
    int32_t viewHeight_;
    float zoom_ = 1.0f;
    bool hasZoom_ = false;
    int32_t needsClear_ = 0;

    bool composed_ = false;
    static constexpr int32_t TileSide = 256;
    int32_t tileColumns_ = 0;
    std::vector<bool> tilesComposed_; // row by row: which tiles of the back-buffer hold the composition
    // The source and destination rectangles the view image was scaled with.
    gfx::Rect scaledSource_;
    gfx::Rect scaledDestination_;
    bool viewImageValid_ = false;
};
