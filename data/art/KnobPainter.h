#pragma once

#include <QImage>

// The two slider knobs. They are exactly as tall as a track and narrow enough that the
// band the window erases around a track (five pixels each side) always covers them.
class KnobPainter {
public:
    static constexpr int Width = 9;
    static constexpr int Height = 7;

    enum class Pointing { Down, Up };
    // Drawn with scale pixels per window pixel each way.
    static QImage Paint(Pointing pointing, int scale = 1);
};
