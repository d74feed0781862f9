#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "shell/SkinnedWindow.h"

#include <memory>
#include <string>

namespace shell {

// The skinned window base of the main window and the compare window. The back buffer
// starts as the skin background and always holds the whole window image: widgets, the
// help panel and the canvas draw into it, and whatever is drawn is shown from it. A
// second, clean copy of the skin is never drawn into; it erases areas back to the bare
// skin. Rectangles are client rectangles; bitmaps drawn into them are at Scale(), so a
// bitmap of the rectangle's size times Scale() is drawn unscaled.
class CImageDlg : public SkinnedWindow {
public:
    using SkinnedWindow::SkinnedWindow;

    // Loads the skin background from the data folder ("main.bmp", or its image drawn at
    // Scale()) into the back buffer and keeps the clean copy. A missing or unreadable
    // file leaves both as they were, so the window shows black where the skin would be.
    void LoadBackground(const std::string& relativePath);
    // Draws the whole bitmap stretched into the rectangle (unscaled when the sizes match)
    // and marks the rectangle to be shown.
    void DrawInRect(const gfx::Rect& rect, const gfx::Bitmap& bitmap);
    // Puts the bare skin back inside the rectangle and marks it to be shown.
    void EraseRect(const gfx::Rect& rect);
    // What every widget is given to draw with: its state image, or the bare skin when
    // the state has no image (null); shown at once. An empty image draws nothing.
    void DrawWidget(const std::shared_ptr<gfx::Bitmap>& image, const gfx::Rect& region);

    const gfx::Bitmap& CleanSkin() const { return cleanSkin_; }

private:
    gfx::Bitmap cleanSkin_;
};

} // namespace shell
