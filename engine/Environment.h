#pragma once

#include "gfx/Geometry.h"

#include <functional>
#include <memory>

class PictureLayer;

// What a tool may ask of the main window.
class Environment {
public:
    virtual ~Environment() = default;

    // Appends an undo step to the history.
    virtual void PushHistory(std::function<void()> step) = 0;
    // The cursor in canvas coordinates (window client coordinates minus the canvas origin).
    virtual gfx::Point CursorInCanvas() = 0;
    // The picture being edited; empty before a picture is opened.
    virtual std::shared_ptr<PictureLayer> CurrentPicture() = 0;
    // {0, 0, width, height}, or {-1, -1, 0, 0} when no picture is open.
    virtual gfx::Rect PictureBounds() = 0;
    // The cursor mapped through the canvas view; (-1, -1) when no picture is open.
    virtual gfx::Point CursorInPicture() = 0;
};
