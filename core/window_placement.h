// Where a window saved in the INI file may open again: its title bar on the
// work area, a usable size, and a show state the program knows.
#pragma once

#include "core/system.h"

namespace tx9 {

// Show states the program stores for a window.
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowDefault = 10;

// Smallest saved size a window is restored at, and the strip at the top of a
// window that must stay on the work area so it can be grabbed and moved.
inline constexpr int kMinUsableWidth = 240;
inline constexpr int kMinUsableHeight = 160;
inline constexpr int kTitleBarStrip = 32;

// A window rectangle as the INI file keeps it: position, width and height.
struct SavedPlacement {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const SavedPlacement& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// 3 (maximised) stays; anything else opens as 10 (default).
int usable_show_state(int state);

// The rectangle a saved one opens at on this work area:
// - a width or height below the window's usable minimum (the main window's is
//   kMinUsableWidth by kMinUsableHeight; a dialog passes its own) gives the
//   default size (the main window's is the work area's; a dialog's is 0 by 0:
//   its own size and place);
// - a position beyond the work area's right or bottom edge comes back at 0, 0;
// - otherwise a window with a size moves the least distance that brings its
//   title bar inside the work area (one wider than the work area aligns to its left).
SavedPlacement place_on_work_area(const SavedPlacement& saved, const ScreenRect& work, int default_width,
                                  int default_height, int min_width = kMinUsableWidth,
                                  int min_height = kMinUsableHeight);

} // namespace tx9
