#pragma once

// The small line drawings used on buttons, in the empty canvas and on cursors.
enum class Glyph {
    None,
    Open,
    Save,
    Compare,
    Eyeliner,
    Stretch,
    Brightness,
    SpotRemoval,
    CloneStamp,
    Bloat,
    Pan,
    Undo,
    Reset,
    Rotate,
    ZoomIn,
    ZoomOut,
    Minimise,
    Close,
    Help,
    Globe,
    Home,
    Portrait,
    SkinSmooth, // a soft brush over a smoothed stroke
    Heal,       // an adhesive bandage
    FaceSmooth, // a face with a sparkle: the whole face at once
};
