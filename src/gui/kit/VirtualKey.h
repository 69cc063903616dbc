#pragma once

class QKeyEvent;

namespace qv::ui {

// The Windows virtual-key code of a key press (the microphone switch is
// stored in those terms): digits 48-57, letters 65-90, keypad digits 96-105,
// F1-F24 112-135, Enter 13, arrows 37-40. 0 for a key without a code here.
int VirtualKeyCode(const QKeyEvent& event);

// True when Shift is the only modifier held.
bool ShiftOnly(const QKeyEvent& event);

}  // namespace qv::ui
