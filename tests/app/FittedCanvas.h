#pragma once

#include "engine/CanvasView.h"
#include "engine/PictureLayer.h"
#include "gfx/Graphics.h"
#include "imageio/PictureDecoder.h"
#include "layout/WindowLayout.h"
#include "shell/BitmapImage.h"

#include <QImage>

#include <memory>
#include <string>
#include <utility>

// What the main window's canvas shows of a picture just opened, fitted into it: drawn
// here by a view like the window's, which also maps picture points to window points.
class FittedCanvas {
public:
    explicit FittedCanvas(std::shared_ptr<Surface> picture)
        : layer_(std::make_shared<PictureLayer>(std::move(picture))),
          view_(layer_->Width(), layer_->Height(), layout::kCanvas.width, layout::kCanvas.height)
    {
        view_.AddLayer(layer_);
        gfx::Bitmap canvas(layout::kCanvas.width, layout::kCanvas.height);
        gfx::Graphics graphics(canvas);
        view_.RenderFull(true, graphics);
        image_ = shell::ToQImage(canvas).convertToFormat(QImage::Format_RGB32);
    }
    // The picture file as the program decodes it.
    explicit FittedCanvas(const std::string& path) : FittedCanvas(Decoded(path)) {}

    const QImage& Image() const { return image_; }
    // The window's client point over a pixel of the picture.
    gfx::Point ClientPoint(int32_t x, int32_t y) const
    {
        return {layout::kCanvas.x + view_.DestX() + int32_t(float(x) * view_.Zoom()),
                layout::kCanvas.y + view_.DestY() + int32_t(float(y) * view_.Zoom())};
    }

private:
    static std::shared_ptr<Surface> Decoded(const std::string& path)
    {
        DecodeResult decoded = PictureDecoder().Decode(path);
        return decoded.Ok() ? MoveIntoSurface(std::move(*decoded.bitmap)) : CreateSurface(1, 1);
    }

    std::shared_ptr<PictureLayer> layer_;
    CanvasView view_;
    QImage image_;
};
