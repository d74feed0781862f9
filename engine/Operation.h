#pragma once

#include "engine/Environment.h"
#include "engine/OverlayPainter.h"
#include "engine/SurfaceSnapshot.h"

#include <cstdint>
#include <memory>

// A tool. The main window forwards mouse, wheel and key events to the current
// operation and lets it draw its feedback; every hook is empty unless a tool says
// otherwise. A tool reaches the main window only through the Environment and changes
// the picture only through the PictureLayer's edit cycle.
class Operation : public OverlayPainter {
public:
    explicit Operation(Environment* environment) : environment(environment) {}

    void Paint(gfx::Graphics& graphics, const ViewTransform& view) override
    {
        DrawOverlay(graphics, view, environment);
    }

    // A key other than the zoom and scroll keys; non-zero when handled.
    virtual int OnKeyDown(Environment*, int /*virtualKey*/) { return 0; }
    virtual void Activate() {}
    virtual void Deactivate() {}
    virtual void DrawOverlay(gfx::Graphics&, const ViewTransform&, Environment*) {}
    // The mouse moved over the canvas with a button held.
    virtual void OnDrag(Environment*) {}
    // A button was released over the canvas; buttonState is already 0.
    virtual void OnButtonUp(Environment*) {}
    virtual void OnWheelDown(Environment*) {}
    virtual void OnWheelUp(Environment*) {}
    // A button was pressed over the canvas; buttonState is already 1 (left) or 2 (right).
    virtual void OnLeftDown(Environment*) {}
    virtual void OnRightDown(Environment*) {}

    // The undo of one step: reopens an edit and puts the snapshot's pixels back by
    // copying them (not blending, so transparent pixels come back exactly). The
    // next BeginEdit commits it. The pixels it replaces become the step that redoes
    // it, handed to PushHistory; running that step is the same call again.
    void ApplySurface(Environment* env, const std::shared_ptr<SurfaceSnapshot>& snapshot);

    Environment* environment; // the main window; not owned
    int32_t buttonState = 0;  // 0 none, 1 left, 2 right; written by the main window
};
