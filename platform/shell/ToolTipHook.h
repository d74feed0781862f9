#pragma once

#include "gfx/Geometry.h"

#include <QString>

#include <functional>
#include <optional>

class QHelpEvent;
class QWidget;

namespace shell {

// A tool under the mouse: the client rectangle it covers and the text it shows.
struct ToolTip {
    gfx::Rect rect;
    QString text;
};

// Asks the window "is there a tool at this client point?" when Qt wants a tool tip,
// and shows the answer's text for as long as the mouse stays inside its rectangle.
class ToolTipHook {
public:
    using Query = std::function<std::optional<ToolTip>(gfx::Point client)>;

    void SetQuery(Query query) { query_ = std::move(query); }

    // Shows or hides the tip for a QEvent::ToolTip the widget received.
    void Handle(QWidget* widget, QHelpEvent* event) const;

private:
    Query query_;
};

} // namespace shell
