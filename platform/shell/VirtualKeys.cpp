#include "shell/VirtualKeys.h"

#include <Qt>

namespace shell {

int VirtualKeyFromQtKey(int qtKey)
{
    // Qt numbers letters and digits by their upper-case ASCII codes, as Windows does.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return vk::A + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return vk::Digit0 + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return vk::F1 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
    case Qt::Key_Backspace: return vk::Backspace;
    case Qt::Key_Tab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::PageUp;
    case Qt::Key_PageDown: return vk::PageDown;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Backslash: return vk::Backslash;
    default: return 0;
    }
}

int ModifiersFromQt(int qtModifiers)
{
    int modifiers = kNoModifier;
    if ((qtModifiers & Qt::ShiftModifier) != 0) {
        modifiers |= kShiftKey;
    }
    if ((qtModifiers & Qt::ControlModifier) != 0) {
        modifiers |= kControlKey;
    }
    if ((qtModifiers & Qt::AltModifier) != 0) {
        modifiers |= kAltKey;
    }
    return modifiers;
}

} // namespace shell
