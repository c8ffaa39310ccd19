// Where a dialog opens: centred over its owner, and never off the screen.
#pragma once

#include <windows.h>

namespace tx9 {

// Centres the dialog over its owner window (over the work area when it has
// none); the size and z-order stay. Negative coordinates are raised to 0, and
// a dialog that would reach past the right or bottom edge of the work area of
// the owner's monitor is moved back inside it, as far as its size allows.
void centre_over_owner(HWND dialog);

} // namespace tx9
