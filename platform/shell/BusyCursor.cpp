#include "shell/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace shell {

namespace {
int timesShown = 0;
}

BusyCursor::BusyCursor(bool shown) : shown_(shown)
{
    if (shown_) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        ++timesShown;
    }
}

BusyCursor::~BusyCursor()
{
    if (shown_) {
        QGuiApplication::restoreOverrideCursor();
    }
}

int BusyCursor::TimesShown() { return timesShown; }

} // namespace shell
