#pragma once

#include "keys/KeyCodes.h"

#include <cstdint>

// One key press or release, and the key numbers of Qt's keys.
namespace shell {

// The modifier keys held with a key, as flags.
enum KeyModifier : int {
    kNoModifier = 0,
    kShiftKey = 1,
    kControlKey = 2,
    kAltKey = 4,
};

// One key press or release as the windows' key handlers see it.
struct KeyStroke {
    int virtualKey = 0;
    int modifiers = kNoModifier;
    bool autoRepeat = false; // a press the keyboard repeats while the key stays down

    bool Holds(KeyModifier modifier) const { return (modifiers & modifier) != 0; }
};

// The virtual-key code of a Qt key (Qt::Key), or 0 for keys without one.
int VirtualKeyFromQtKey(int qtKey);
// The KeyModifier flags of Qt keyboard modifiers (Qt::KeyboardModifiers).
int ModifiersFromQt(int qtModifiers);

} // namespace shell
