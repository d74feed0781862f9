#include "engine/CanvasView.h"

#include "engine/ChangedAreas.h"
#include "engine/IdlePainter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Truncates toward zero, saturating instead of overflowing at extreme zooms.
int32_t TruncToInt(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    constexpr double Lowest = std::numeric_limits<int32_t>::min();
    constexpr double Highest = std::numeric_limits<int32_t>::max();
    return int32_t(std::trunc(std::clamp(v, Lowest, Highest)));
}

// The view pixels [first, last) of one axis whose filter may read a source pixel in
// [from, to), when the view shows source pixels [src, src + srcSize): a shrinking pixel
// reads the source span it covers, an enlarging one the two pixels round its centre, so
// one source pixel of slack on each side suffices.
std::pair<int32_t, int32_t> ViewSpanReading(int32_t from, int32_t to, double src, double srcSize, int32_t viewSize)
{
    if (!(srcSize > 0) || viewSize <= 0) {
        return {0, 0};
    }
    const double viewPerSource = double(viewSize) / srcSize;
    const double first = std::floor((from - 1 - src) * viewPerSource) - 1;
    const double last = std::ceil((to + 1 - src) * viewPerSource) + 1;
    return {TruncToInt(std::clamp(first, 0.0, double(viewSize))),
            TruncToInt(std::clamp(last, 0.0, double(viewSize)))};
}

size_t PixelCount(int32_t width, int32_t height) { return size_t(std::max(width, 0)) * size_t(std::max(height, 0)); }

// The picture pixels under an area of pyramid level 1.
gfx::Rect TwiceOf(const gfx::Rect& levelArea)
{
    return {levelArea.x * 2, levelArea.y * 2, levelArea.width * 2, levelArea.height * 2};
}

// Transparent black pixels; picture-sized blocks are only touched where they are written.
gfx::PixelBlock ClearPixels(size_t count)
{
    return gfx::PixelMemory::Allocate(count, gfx::PixelMemory::Contents::TransparentBlack);
}

// A bitmap of the given size, negative sizes counting as 0, over the memory.
gfx::Bitmap BitmapOver(gfx::PixelBlock& memory, int32_t width, int32_t height)
{
    return gfx::Bitmap::Borrow(std::max(width, 0), std::max(height, 0), memory.get());
}

// The rows of one band of the first composition: a power of two, so that the pyramid
// levels up to it never take a pixel from two bands, and at most a megabyte, so that
// the band is still in the core's cache when the pyramid halves it.
int32_t BandRows(int32_t width)
{
    constexpr int64_t BandBytes = int64_t(1) << 20;
    int32_t rows = 2;
    while (rows < (1 << 12) && int64_t(rows) * 2 * width * int64_t(sizeof(gfx::Argb)) <= BandBytes) {
        rows *= 2;
    }
    return rows;
}

// Draws with source-over whatever mode the caller left the graphics in.
class SourceOverScope {
public:
    explicit SourceOverScope(gfx::Graphics& graphics) : graphics_(graphics), saved_(graphics.GetCompositingMode())
    {
        graphics_.SetCompositingMode(gfx::CompositingMode::SourceOver);
    }
    ~SourceOverScope() { graphics_.SetCompositingMode(saved_); }
    SourceOverScope(const SourceOverScope&) = delete;
    SourceOverScope& operator=(const SourceOverScope&) = delete;

private:
    gfx::Graphics& graphics_;
    gfx::CompositingMode saved_;
};

} // namespace

CanvasView::CanvasView(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight)
    : overlay_(IdlePainter::Instance()),
      backMemory_(ClearPixels(PixelCount(pictureWidth, pictureHeight))),
      backBitmap_(BitmapOver(backMemory_, pictureWidth, pictureHeight)),
      pyramid_(backBitmap_.Width(), backBitmap_.Height(), viewWidth, viewHeight),
      viewMemory_(ClearPixels(PixelCount(viewWidth, viewHeight))),
      viewImage_(BitmapOver(viewMemory_, viewWidth, viewHeight)),
      pictureWidth_(backBitmap_.Width()),
      pictureHeight_(backBitmap_.Height()),
      viewWidth_(viewImage_.Width()),
      viewHeight_(viewImage_.Height()),
      tileColumns_((pictureWidth_ + TileSide - 1) / TileSide),
      tilesComposed_(size_t(tileColumns_) * size_t((pictureHeight_ + TileSide - 1) / TileSide), false)
{
    srcX_ = viewWidth_ < pictureWidth_ ? (pictureWidth_ - viewWidth_) / 2 : 0;
    srcY_ = viewHeight_ < pictureHeight_ ? (pictureHeight_ - viewHeight_) / 2 : 0;
    srcWidth_ = viewWidth_;
    srcHeight_ = viewHeight_;
    const bool fitHeight = pictureHeight_ > pictureWidth_ ||
                           (pictureHeight_ == pictureWidth_ && viewHeight_ < viewWidth_);
    SetZoom(fitHeight ? float(viewHeight_) / float(pictureHeight_) : float(viewWidth_) / float(pictureWidth_));
}

void CanvasView::AddLayer(std::shared_ptr<Layer> layer)
{
    if (layer) {
        layers_.push_back(std::move(layer));
        composed_ = false; // a new layer may cover any part of the picture
    }
}

void CanvasView::SetOperation(std::shared_ptr<OverlayPainter> painter)
{
    overlay_ = painter ? std::move(painter) : IdlePainter::Instance();
}

bool CanvasView::SetZoom(float z)
{
    const float inverse = 1.0f / z;
    if (!(z > 0.0f) || !std::isfinite(z) || !std::isfinite(inverse)) {
        return false;
    }
    srcWidth_ = TruncToInt(float(viewWidth_) * inverse);
    srcHeight_ = TruncToInt(float(viewHeight_) * inverse);
    ZoomAxis(HorizontalAxis(), z);
    ZoomAxis(VerticalAxis(), z);
    zoom_ = z;
    hasZoom_ = true;
    Scroll(0, 0);
    return true;
}

void CanvasView::ZoomAxis(const Axis& axis, float z)
{
    const int64_t margin = (int64_t(axis.viewSize) - TruncToInt(float(axis.pictureSize) * z)) / 2;
    if (margin >= 0) {
        axis.dest = int32_t(margin);
        axis.src = 0;
        needsClear_ = 1;
        return;
    }
    axis.dest = 0;
    // Without an earlier zoom (the fit at construction) the centred start stays and
    // Scroll clamps it. Otherwise the scroll position follows the zoom; a position of 0
    // counts as 1 so that a view scrolled to the edge still moves inward.
    if (hasZoom_) {
        if (axis.src == 0) {
            axis.src = 1;
        }
        axis.src = TruncToInt(z / zoom_ * float(axis.src));
    }
}

bool CanvasView::Scroll(int32_t dy, int32_t dx)
{
    const bool horizontal = ScrollAxis(HorizontalAxis(), dx);
    const bool vertical = ScrollAxis(VerticalAxis(), dy);
    return horizontal || vertical;
}

bool CanvasView::ScrollAxis(const Axis& axis, int32_t delta)
{
    if (!(float(axis.pictureSize) * zoom_ > float(axis.viewSize))) {
        return false;
    }
    int64_t src = std::max<int64_t>(int64_t(axis.src) + delta, 0);
    if (int64_t(axis.srcSize) + src > axis.pictureSize) {
        src = TruncToInt(float(axis.pictureSize) - float(axis.viewSize) / zoom_);
    }
    axis.src = int32_t(src);
    return true;
}

gfx::Point CanvasView::ToPicture(gfx::Point target) const
{
    return {TruncToInt(float(target.x - destX_) / zoom_) + srcX_, TruncToInt(float(target.y - destY_) / zoom_) + srcY_};
}

ViewTransform CanvasView::Transform() const
{
    return {zoom_, float(destX_) - float(srcX_) * zoom_, float(destY_) - float(srcY_) * zoom_};
}

void CanvasView::Render(bool clear, gfx::Graphics& target)
{
    const std::vector<gfx::Rect> recomposed = TakeAreasToRecompose();
    for (const gfx::Rect& area : recomposed) {
        Recompose(area);
    }
    if (DrawingLevel() == 0) {
        ComposeTiles(SourceRect().Inflated(1)); // the scaled drawing reads a pixel round the visible part
    }
    if (!viewImageValid_ || scaledSource_ != SourceRect() || scaledDestination_ != DestinationRect()) {
        Rescale(viewImage_.Bounds());
        scaledSource_ = SourceRect();
        scaledDestination_ = DestinationRect();
        viewImageValid_ = true;
    } else {
        for (const gfx::Rect& area : recomposed) {
            Rescale(ViewPixelsReading(area));
        }
    }
    ShowViewImage(viewImage_, clear, target);
}

void CanvasView::RenderFull(bool clear, gfx::Graphics& target)
{
    // Composed as Flatten does, over transparent, in memory that is quick to touch.
    gfx::PixelBlock memory = ClearPixels(PixelCount(pictureWidth_, pictureHeight_));
    gfx::Bitmap picture = BitmapOver(memory, pictureWidth_, pictureHeight_);
    gfx::Graphics graphics(picture);
    DrawLayers(graphics);
    PicturePyramid pyramid(pictureWidth_, pictureHeight_, viewWidth_, viewHeight_);
    if (DrawingLevel() > 0) {
        pyramid.Update(picture, picture.Bounds());
    }
    gfx::Bitmap image(viewWidth_, viewHeight_);
    ScaleVisiblePart(image, image.Bounds(), picture, pyramid);
    ShowViewImage(image, clear, target);
}

void CanvasView::ShowViewImage(const gfx::Bitmap& image, bool clear, gfx::Graphics& target)
{
    if (clear) {
        target.Clear(gfx::colors::Black);
        needsClear_ = 0;
    }
    {
        SourceOverScope sourceOver(target);
        target.DrawBitmap(image, gfx::Point{destX_, destY_});
    }
    overlay_->Paint(target, Transform());
}

std::shared_ptr<Surface> CanvasView::Flatten() const
{
    auto flat = CreateSurface(pictureWidth_, pictureHeight_);
    std::fill(flat->pixels.get(), flat->pixels.get() + size_t(flat->width) * size_t(flat->height),
              gfx::colors::Transparent);
    gfx::Bitmap bitmap = WrapAsBitmap(*flat);
    gfx::Graphics graphics(bitmap);
    DrawLayers(graphics);
    return flat;
}

std::vector<gfx::Rect> CanvasView::TakeAreasToRecompose()
{
    // Every layer hands over its areas at each render, so none piles up.
    std::vector<gfx::Rect> changed;
    for (const std::shared_ptr<Layer>& layer : layers_) {
        const std::vector<gfx::Rect> areas = layer->TakeChangedAreas();
        changed.insert(changed.end(), areas.begin(), areas.end());
    }
    const gfx::Rect bounds = backBitmap_.Bounds();
    if (!composed_) {
        composed_ = true;
        return bounds.IsEmpty() ? std::vector<gfx::Rect>{} : std::vector<gfx::Rect>{bounds};
    }
    // An eyelid line blends 2 x 2 pixel blocks coloured by the pixel under the block's
    // top-left, so a change spreads one pixel further for each layer above it: widen by
    // the layer count. Widening by one pixel more before merging and narrowing after
    // leaves a gap between the areas, so no area's redraw reads another's pixels.
    const int32_t spread = int32_t(layers_.size());
    ChangedAreas merged;
    for (const gfx::Rect& area : changed) {
        merged.Add(area.Inflated(spread + 1));
    }
    std::vector<gfx::Rect> areas;
    for (const gfx::Rect& area : merged.Take()) {
        const gfx::Rect inside = area.Inflated(-1).Intersected(bounds);
        if (!inside.IsEmpty()) {
            areas.push_back(inside);
        }
    }
    return areas;
}

void CanvasView::Recompose(const gfx::Rect& area)
{
    if (area == backBitmap_.Bounds()) {
        std::fill(tilesComposed_.begin(), tilesComposed_.end(), false);
        ComposeThroughBands(area);
        return;
    }
    // Seen small, the view is scaled from the pyramid alone: a changed area goes to the
    // pyramid through the bands too, and the back-buffer tiles it reaches are composed
    // again only when a view at zoom 1 or above reads them.
    if (DrawingLevel() > 0) {
        const gfx::Rect blocks = TwiceOf(PicturePyramid::LevelArea(area, 1)).Intersected(backBitmap_.Bounds());
        ForgetTiles(blocks);
        ComposeThroughBands(blocks);
        return;
    }
    ComposeTiles(area.Inflated(1)); // the pyramid reads the 2 x 2 blocks the area reaches
    ComposeIntoBackBuffer(area);
    pyramid_.Update(backBitmap_, area);
}

// Composes the area into the pyramid through a buffer of a few whole rows, which is still
// in the core's cache when the pyramid halves it; the back-buffer is left for later. The
// area starts on an even row and column, so that it holds every 2 x 2 block it reaches.
void CanvasView::ComposeThroughBands(const gfx::Rect& area)
{
    const int32_t bandRows = BandRows(pictureWidth_);
    gfx::PixelBlock memory = ClearPixels(PixelCount(pictureWidth_, bandRows));
    gfx::Bitmap band = BitmapOver(memory, pictureWidth_, bandRows);
    // From the top, as an eyelid line's pixels take their colour from the rows above.
    for (int32_t top = area.y; top < area.Bottom(); top += bandRows) {
        const gfx::Rect rows{area.x, top, area.width, std::min(bandRows, area.Bottom() - top)};
        gfx::Graphics graphics(band, {0, top});
        graphics.SetClip(rows);
        graphics.Clear(gfx::colors::Transparent);
        DrawLayers(graphics);
        pyramid_.Update(band, top, rows);
    }
}

void CanvasView::ForgetTiles(const gfx::Rect& area)
{
    if (area.IsEmpty()) {
        return;
    }
    for (int32_t row = area.y / TileSide; row <= (area.Bottom() - 1) / TileSide; ++row) {
        for (int32_t column = area.x / TileSide; column <= (area.Right() - 1) / TileSide; ++column) {
            tilesComposed_[size_t(row) * size_t(tileColumns_) + size_t(column)] = false;
        }
    }
}

// Composes the tiles of the back-buffer that reach into the area and do not hold the
// composition yet. An eyelid line's pixels take their colour from the pixels above and
// left of them, also across a tile's edge: the line keeps those from when it last drew
// them, which the first composition and every redraw of a changed area keep current.
void CanvasView::ComposeTiles(const gfx::Rect& area)
{
    const gfx::Rect inside = area.Intersected(backBitmap_.Bounds());
    if (inside.IsEmpty()) {
        return;
    }
    for (int32_t row = inside.y / TileSide; row <= (inside.Bottom() - 1) / TileSide; ++row) {
        for (int32_t column = inside.x / TileSide; column <= (inside.Right() - 1) / TileSide; ++column) {
            const size_t tile = size_t(row) * size_t(tileColumns_) + size_t(column);
            if (!tilesComposed_[tile]) {
                ComposeIntoBackBuffer(gfx::Rect{column * TileSide, row * TileSide, TileSide, TileSide});
                tilesComposed_[tile] = true;
            }
        }
    }
}

void CanvasView::ComposeIntoBackBuffer(const gfx::Rect& area)
{
    gfx::Graphics graphics(backBitmap_);
    graphics.SetClip(area);
    graphics.Clear(gfx::colors::Transparent);
    DrawLayers(graphics);
}

int32_t CanvasView::DrawingLevel() const
{
    int32_t level = 0;
    while (level < pyramid_.LevelCount() && int64_t(srcWidth_) >= (int64_t(viewWidth_) << (level + 1)) &&
           int64_t(srcHeight_) >= (int64_t(viewHeight_) << (level + 1))) {
        ++level;
    }
    return level;
}

// The visible part in the pixels of a level: exact, as a level pixel is 2^level picture pixels.
gfx::SourceArea CanvasView::LevelSourceArea(int32_t level) const
{
    const double unit = 1.0 / double(int64_t(1) << level);
    return {srcX_ * unit, srcY_ * unit, srcWidth_ * unit, srcHeight_ * unit, pictureWidth_ * unit,
            pictureHeight_ * unit};
}

gfx::Rect CanvasView::ViewPixelsReading(const gfx::Rect& pictureArea) const
{
    const int32_t level = DrawingLevel();
    const gfx::Rect levelArea = PicturePyramid::LevelArea(pictureArea, level);
    const gfx::SourceArea source = LevelSourceArea(level);
    const auto [left, right] = ViewSpanReading(levelArea.x, levelArea.Right(), source.x, source.width, viewWidth_);
    const auto [top, bottom] = ViewSpanReading(levelArea.y, levelArea.Bottom(), source.y, source.height, viewHeight_);
    return {left, top, right - left, bottom - top};
}

void CanvasView::Rescale(const gfx::Rect& viewArea)
{
    if (!viewArea.IsEmpty()) {
        ScaleVisiblePart(viewImage_, viewArea, backBitmap_, pyramid_);
    }
}

void CanvasView::ScaleVisiblePart(gfx::Bitmap& into, const gfx::Rect& viewArea, const gfx::Bitmap& picture,
                                  const PicturePyramid& pyramid) const
{
    gfx::Graphics graphics(into);
    graphics.SetClip(viewArea);
    graphics.Clear(gfx::colors::Transparent);
    const gfx::Rect viewRect{0, 0, viewWidth_, viewHeight_};
    const int32_t level = DrawingLevel();
    if (level == 0) {
        graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
        graphics.DrawBitmap(picture, viewRect, SourceRect());
        return;
    }
    gfx::DrawScaled(into, graphics.Clip(), gfx::CompositingMode::SourceCopy, pyramid.Level(level), viewRect,
                    LevelSourceArea(level));
}

void CanvasView::DrawLayers(gfx::Graphics& graphics) const
{
    for (const std::shared_ptr<Layer>& layer : layers_) {
        layer->Draw(graphics);
    }
}
