// Where the resizable record dialogs open and what they remember: the saved
// window rectangle, its title bar kept on screen, and a smallest usable size.
#pragma once

#include "settings/settings.h"

#include <windows.h>

namespace tx9 {

// Moves and sizes the dialog to the saved placement (z-order kept) when it is
// at least the minimum size, its title bar brought onto the work area of the
// nearest monitor as the main window's is; otherwise the dialog stays at its
// own size and place.
void restore_dialog_placement(HWND dialog, const DialogPlacement& saved, SIZE minimum);

// At the end of moving or sizing: the window rectangle as left, top, width
// and height, while the dialog is visible, not minimised and not maximised.
void remember_dialog_placement(HWND dialog, DialogPlacement& saved);

// WM_GETMINMAXINFO: the dialog cannot be sized below the minimum.
void limit_dialog_size(LPARAM minmax_info, SIZE minimum);

} // namespace tx9
