#pragma once

// The looks a button has; each but the normal one is stored in its own file.
enum class ButtonState {
    Normal,   // part of the window background
    Hover,    // <name>_1.bmp
    Pressed,  // <name>_2.bmp, also the selected look of a tool
    Disabled, // <name>_3.bmp
};
