// Translation of Qt's key events into the window system's virtual key codes that the windows'
// KeyDown handlers expect: one code per physical key whatever the layout prints on it, so that a
// modifier, a function key or a character typed with Shift or AltGr on an Italian keyboard never
// arrives as Enter, Space or an arrow.
#pragma once

#include <QKeyEvent>
#include <QString>

#include "widgets/Control.h"

namespace keldra::qt {

// The virtual key code of a key: Qt's key, whether it came from the keypad, and the text it types.
int VirtualKeyCode(int qt_key, bool keypad, const QString& text);
int VirtualKeyCode(const QKeyEvent& event);

KeyModifiers ModifiersOf(const QKeyEvent& event);

}  // namespace keldra::qt
