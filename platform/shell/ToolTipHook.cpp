#include "shell/ToolTipHook.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace shell {

void ToolTipHook::Handle(QWidget* widget, QHelpEvent* event) const
{
    const std::optional<ToolTip> tip =
        query_ ? query_(gfx::Point{event->pos().x(), event->pos().y()}) : std::nullopt;
    if (!tip || tip->text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return;
    }
    const QRect area(tip->rect.x, tip->rect.y, tip->rect.width, tip->rect.height);
    QToolTip::showText(event->globalPos(), tip->text, widget, area);
}

} // namespace shell
