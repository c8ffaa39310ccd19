// The left-score panel, window class score_left_wnd: one player's remaining
// score in large bold digits, framed while that player is to throw.
#pragma once

#include "engine/game_record.h"

#include <string>

#include <windows.h>

namespace tx9 {

inline constexpr char kLeftScoreClass[] = "score_left_wnd";

// Messages the panel takes.
// The player's score may have changed: drawn again and shown at once if the
// text changed (when the panel shows again, if it is hidden).
inline constexpr UINT kLeftScoreRefresh = WM_APP + 200;
// wParam a width: returns the text height of the score face at width / 4 points.
inline constexpr UINT kLeftScoreWantedHeight = WM_APP + 201;
// Colours or the font face changed in the Settings.
inline constexpr UINT kLeftScoreAppearance = WM_APP + 202;
// wParam 1 = this player is to throw: the frame on; 0 = off.
inline constexpr UINT kLeftScoreActive = WM_APP + 203;

// Class style 0, arrow cursor, button-face background.
bool register_left_score_panel(HINSTANCE instance);

// A hidden child with a border at 0,0 sized 0,0 showing the block (not owned;
// nullptr makes the creation fail).
HWND create_left_score_panel(HWND parent, PlayerBlock* block);

// What the panel drew with, for tests that look inside.
struct LeftScorePanelInfo {
    LOGFONTA font{};      // the score font
    int frame_margin = 0; // width of the frame in pixels
    bool active = false;
    const PlayerBlock* block = nullptr;
};
bool left_score_panel_info(HWND panel, LeftScorePanelInfo* info);

} // namespace tx9
