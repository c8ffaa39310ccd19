// The player panel, window class score_player_wnd: one player's name, who
// throws first, the Totals and Averages of the game so far and the Check-Out
// routes for the remaining score. It only reads the Player block it shows.
#pragma once

#include "engine/game_record.h"

#include <windows.h>

namespace tx9 {

inline constexpr char kPlayerPanelClass[] = "score_player_wnd";

// Messages the panel takes; each returns 0.
// wParam 1 = this player throws first in the current leg (no repaint of its own).
inline constexpr UINT kPlayerPanelFirst = WM_APP + 3;
// Render again and repaint at once.
inline constexpr UINT kPlayerPanelRefresh = WM_APP + 300;
// Colours, font face or the shown rows changed in the Settings.
inline constexpr UINT kPlayerPanelAppearance = WM_APP + 301;
// lParam the Player block to show (not owned; nullptr shows the background only).
inline constexpr UINT kPlayerPanelSetBlock = WM_APP + 302;
// lParam font size in points; 0 = automatic (a tenth of the width).
inline constexpr UINT kPlayerPanelFontSize = WM_APP + 303;
// wParam 1 = the game counts sets (the Sets row may appear).
inline constexpr UINT kPlayerPanelShowSets = WM_APP + 304;
// wParam 1 = full view: every statistics row, never the routes.
inline constexpr UINT kPlayerPanelFullView = WM_APP + 305;

// No class styles, arrow cursor, button-face background.
bool register_player_panel(HINSTANCE instance);

// A hidden child with a border at 0,0 sized 0,0 showing the block (may be nullptr).
HWND create_player_panel(HINSTANCE instance, HWND parent, int control_id, PlayerBlock* block);

// The fonts and switches of a panel, for tests that look inside.
struct PlayerPanelInfo {
    LOGFONTA name_font{};
    LOGFONTA info_font{};
    int font_size = 0;
    bool is_first = false, show_sets = false, full_view = false;
    const PlayerBlock* block = nullptr;
};
bool player_panel_info(HWND panel, PlayerPanelInfo* info);

} // namespace tx9
