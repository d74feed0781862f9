#pragma once

#include <QRectF>

class QPainter;

// The program's mark: a rose-to-plum tile holding a white eye with a winged lash line. Drawn
// small in the title bands and large as the program icon.
class LogoPainter {
public:
    static void Paint(QPainter& painter, const QRectF& box);
};
