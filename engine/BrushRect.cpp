#include "engine/BrushRect.h"

#include <algorithm>

gfx::Rect BrushRect(Environment* environment, int32_t r)
{
    const gfx::Rect bounds = environment->PictureBounds();
    const int32_t W = bounds.width, H = bounds.height;
    gfx::Point p = environment->CursorInPicture();
    p.x = std::clamp(p.x, 0, std::max(W, 0));
    p.y = std::clamp(p.y, 0, std::max(H, 0));
    if (p.x <= 0 || p.y <= 0 || p.x >= W || p.y >= H) {
        return {};
    }
    int32_t left = std::max(0, p.x - r);
    int32_t top = std::max(0, p.y - r);
    int32_t width = (p.x - left) * 2;
    int32_t height = (p.y - top) * 2;
    if (p.x + (p.x - left) > W) {
        width = 2 * W - 2 * p.x;
        left = 2 * p.x - W;
    }
    if (top + height > H) {
        top = 2 * p.y - H;
        height = 2 * H - 2 * p.y;
    }
    if (height < width) {
        left += (width - height) / 2;
        width = height;
    } else if (width < height) {
        top += (height - width) / 2;
        height = width;
    }
    return {left, top, width, height};
}
