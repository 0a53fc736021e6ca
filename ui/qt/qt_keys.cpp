#include "ui/qt/qt_keys.h"

#include <QKeyEvent>

namespace quorvel {

Key KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Up:
            return Key::Up;
        case Qt::Key_Down:
            return Key::Down;
        case Qt::Key_Delete:
            return Key::Delete;
        case Qt::Key_A:
            return Key::A;
        case Qt::Key_C:
            return Key::C;
        case Qt::Key_R:
            return Key::R;
        case Qt::Key_V:
            return Key::V;
        case Qt::Key_Y:
            return Key::Y;
        case Qt::Key_Z:
            return Key::Z;
        default:
            return Key::Other;
    }
}

unsigned ModifiersOf(const QKeyEvent& event) {
    // The arrows of the keypad carry the keypad modifier; it makes no other key.
    const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
    unsigned modifiers = kNoModifier;
    modifiers |= held.testFlag(Qt::ControlModifier) ? kControl : 0u;
    modifiers |= held.testFlag(Qt::ShiftModifier) ? kShift : 0u;
    modifiers |= held.testFlag(Qt::AltModifier) ? kAlt : 0u;
    return modifiers;
}

}  // namespace quorvel
