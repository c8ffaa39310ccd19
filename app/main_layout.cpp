#include "app/main_layout.h"

#include <algorithm>

namespace tx9 {

namespace {
ChildPlace place(int x, int y, int width, int height) {
    return ChildPlace{x, y, std::max(0, width), std::max(0, height)};
}
} // namespace

MainLayout layout_main_window(int width, int height, int guide_height, int left_height, bool players_shown) {
    MainLayout out;
    const int g = guide_height >= 0 ? guide_height + 4 : 0;
    int l = 0;
    if (left_height >= 0) {
        l = left_height;
        out.left[0] = place(0, height - g - l, width / 2 - 2, l);
        out.left[1] = place(width / 2 + 2, height - g - l, width / 2 - 2, l);
        l += 4;
    }
    int sheet_x = 0, sheet_width = width;
    if (players_shown) {
        out.player[0] = place(0, 0, width / 5, height - g - l);
        out.player[1] = place((width / 5) * 4, 0, width / 5, height - g - l);
        sheet_x = width / 5 + 4;
        sheet_width = (width / 5) * 3 - 8;
    }
    out.sheet = place(sheet_x, 0, sheet_width, height - g - l);
    if (guide_height >= 0) out.guide = place(0, height - g + 4, width, g - 4);
    return out;
}

} // namespace tx9
