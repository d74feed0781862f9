#include "shell/CImageDlg.h"

#include "files/AppFiles.h"
#include "gfx/Graphics.h"

#include <algorithm>

namespace shell {

void CImageDlg::LoadBackground(const std::string& relativePath)
{
    const std::shared_ptr<gfx::Bitmap> skin = LoadAppImage(relativePath, Scale());
    if (!skin || skin->IsEmpty()) {
        return;
    }
    cleanSkin_ = skin->Clone();
    BackBuffer() = skin->Clone();
    InvalidateAll();
}

void CImageDlg::DrawInRect(const gfx::Rect& rect, const gfx::Bitmap& bitmap)
{
    if (bitmap.IsEmpty()) {
        return;
    }
    gfx::Graphics graphics(BackBuffer());
    const gfx::Rect device = ToDevice(rect);
    if (bitmap.Width() == device.width && bitmap.Height() == device.height) {
        graphics.DrawBitmap(bitmap, gfx::Point{device.x, device.y});
    } else {
        graphics.DrawBitmap(bitmap, device, bitmap.Bounds());
    }
    Invalidate(rect);
}

void CImageDlg::EraseRect(const gfx::Rect& rect)
{
    const gfx::Rect area = ToDevice(rect).Intersected(cleanSkin_.Bounds()).Intersected(BackBuffer().Bounds());
    if (area.IsEmpty()) {
        return;
    }
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        std::copy_n(cleanSkin_.Scanline(y) + area.x, area.width, BackBuffer().Scanline(y) + area.x);
    }
    Invalidate(rect);
}

void CImageDlg::DrawWidget(const std::shared_ptr<gfx::Bitmap>& image, const gfx::Rect& region)
{
    if (image) {
        DrawInRect(region, *image);
    } else {
        EraseRect(region);
    }
    UpdateWindow();
}

} // namespace shell
