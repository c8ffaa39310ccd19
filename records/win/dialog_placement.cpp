#include "records/win/dialog_placement.h"

#include "core/window_placement.h"

namespace tx9 {

void restore_dialog_placement(HWND dialog, const DialogPlacement& saved, SIZE minimum) {
    const RECT wanted{saved.left, saved.top, saved.left + saved.right, saved.top + saved.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& w = monitor.rcWork;
    const SavedPlacement place = place_on_work_area({saved.left, saved.top, saved.right, saved.bottom},
                                                    ScreenRect{w.left, w.top, w.right, w.bottom}, 0, 0,
                                                    minimum.cx, minimum.cy);
    if (place.width <= 0 || place.height <= 0) return; // its own size and place
    SetWindowPos(dialog, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void remember_dialog_placement(HWND dialog, DialogPlacement& saved) {
    if (!IsWindowVisible(dialog) || IsIconic(dialog) || IsZoomed(dialog)) return;
    RECT r{};
    if (!GetWindowRect(dialog, &r)) return;
    saved = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void limit_dialog_size(LPARAM minmax_info, SIZE minimum) {
    auto* info = reinterpret_cast<MINMAXINFO*>(minmax_info);
    info->ptMinTrackSize.x = minimum.cx;
    info->ptMinTrackSize.y = minimum.cy;
}

} // namespace tx9
