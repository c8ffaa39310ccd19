// Where the main window puts its children for a client size and the displays
// that are switched on.
#pragma once

namespace tx9 {

// Child rectangles of the layout, in client pixels.
struct ChildPlace {
    int x = 0, y = 0, width = 0, height = 0;
};
struct MainLayout {
    ChildPlace sheet;
    ChildPlace left[2];   // left-score panels (used when left_height >= 0)
    ChildPlace player[2]; // player panels (used when players_shown)
    ChildPlace guide;     // key guide bar (used when guide_height >= 0)
};

// Layout of a client area W x H. guide_height is the bar's wanted height for
// W (-1 when the bar is hidden), left_height the panels' wanted height for
// W/2 (-1 when hidden); players_shown places the player panels at the sides.
// A window too small for its displays gives them no room (size 0), never a
// negative size.
MainLayout layout_main_window(int width, int height, int guide_height, int left_height, bool players_shown);

} // namespace tx9
