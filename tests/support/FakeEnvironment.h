#pragma once

#include "engine/Environment.h"
#include "engine/History.h"
#include "engine/PictureLayer.h"

#include <memory>

// The main window as the tools see it, with the cursor set directly in picture
// coordinates (and the same point in canvas coordinates).
class FakeEnvironment : public Environment {
public:
    FakeEnvironment() = default;
    explicit FakeEnvironment(std::shared_ptr<Surface> pictureSurface)
        : picture(std::make_shared<PictureLayer>(std::move(pictureSurface)))
    {
    }

    void PushHistory(std::function<void()> step) override { history.Push(std::move(step)); }
    gfx::Point CursorInCanvas() override { return cursor; }
    std::shared_ptr<PictureLayer> CurrentPicture() override { return picture; }
    gfx::Rect PictureBounds() override { return picture ? picture->Bounds() : gfx::Rect{-1, -1, 0, 0}; }
    gfx::Point CursorInPicture() override { return picture ? cursor : gfx::Point{-1, -1}; }

    std::shared_ptr<PictureLayer> picture;
    History history;
    gfx::Point cursor{-1, -1};
};
