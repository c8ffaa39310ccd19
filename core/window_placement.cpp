#include "core/window_placement.h"

#include <algorithm>

namespace tx9 {

namespace {

// The start nearest to the given one at which a span of this length lies
// inside [low, high]; a span longer than the range starts at low.
int clamp_into(int start, long long length, int low, int high) {
    const long long last_start = std::max<long long>(low, static_cast<long long>(high) - length);
    return static_cast<int>(std::clamp<long long>(start, low, last_start));
}

} // namespace

int usable_show_state(int state) {
    return state == kShowMaximized ? kShowMaximized : kShowDefault;
}

SavedPlacement place_on_work_area(const SavedPlacement& saved, const ScreenRect& work, int default_width,
                                  int default_height, int min_width, int min_height) {
    SavedPlacement placed = saved;
    if (placed.width < min_width || placed.height < min_height) {
        placed.width = default_width;
        placed.height = default_height;
    }
    if (placed.left > work.right || placed.top > work.bottom) {
        placed.left = 0;
        placed.top = 0;
        return placed;
    }
    if (placed.width <= 0 || placed.height <= 0) return placed; // shown at its own size and place
    placed.left = clamp_into(placed.left, placed.width, work.left, work.right);
    placed.top = clamp_into(placed.top, kTitleBarStrip, work.top, work.bottom);
    return placed;
}

} // namespace tx9
