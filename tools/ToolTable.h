#pragma once

#include "engine/CanvasView.h"
#include "engine/Environment.h"
#include "engine/Operation.h"
#include "engine/OperationScope.h"
#include "engine/Surface.h"
#include "faces/Face.h"
#include "gfx/Geometry.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Whether a tool lives as long as the main window, or works on one picture's view and
// eyelids and so is built afresh with every picture.
enum class ToolLifetime { Window, Picture };

// What building a tool may use.
struct ToolContext {
    // Makes the brush ranges that several tools share.
    explicit ToolContext(Environment* environment);

    Environment* environment;
    // Shared: resizing the brush of one tool resizes it for the others of its range.
    std::shared_ptr<OperationScope> smallBrush; // 10..40
    std::shared_ptr<OperationScope> largeBrush; // 30..80
    // The skin smoothing's strength, 0..100: the smooth brush's upper slider, and what
    // the one-click command uses.
    std::shared_ptr<OperationScope> skinStrength;
    // The faces of the current picture as far as they are known, without waiting.
    std::function<std::vector<Face>()> knownFaces;
    // Only for the tools built with a picture.
    std::shared_ptr<CanvasView> view;
    std::shared_ptr<const Surface> eyelidTexture;
};

struct BuiltTool {
    std::shared_ptr<Operation> operation;
    std::vector<std::shared_ptr<OperationScope>> scopes; // in slider order
};

// One tool of the main window: everything the window, the skin generator and the tests
// need of it.
struct ToolRow {
    std::string_view name;  // the stem of its button's skin files and of its cursor file
    std::string_view label; // its button's caption in the skin, UTF-8
    gfx::Rect button;       // in the main window's client pixels
    std::string_view helpText; // UTF-8, lines broken by "\r\n"
    std::string_view toolTip;  // shown over its button, UTF-8; none for the first release's tools
    ToolLifetime lifetime;
    BuiltTool (*build)(const ToolContext& context);
};

class ToolTable {
public:
    // Every tool in the order its button is built.
    static std::span<const ToolRow> Rows();
    // The row of a tool; null for a name that is no tool.
    static const ToolRow* Find(std::string_view name);
    // Builds every tool of the lifetime, by name.
    static std::map<std::string, BuiltTool> Build(ToolLifetime lifetime, const ToolContext& context);
};
