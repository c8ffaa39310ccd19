// The score sheet, window class score_list_wnd: the leg round by round, with
// the entry field over the selected cell. The rules live in the Match; the
// window draws, scrolls, places the entry, asks the dialogs and tells its
// parent what changed (WM_APP+1..+7, see engine/match_host.h).
#pragma once

#include "engine/game_record.h"

#include <windows.h>

namespace tx9 {

inline constexpr char kScoreSheetClass[] = "score_list_wnd";

// Messages the sheet takes.
// Start the record's current leg and show it.
inline constexpr UINT kScoreSheetStartLeg = WM_APP + 100;
// Advance after a finished or drawn leg; returns 1 while the set goes on.
inline constexpr UINT kScoreSheetLegOver = WM_APP + 101;
// wParam leg index: show that leg from the top.
inline constexpr UINT kScoreSheetShowLeg = WM_APP + 102;
// wParam visible row (0 = all): render again and repaint from that row down.
inline constexpr UINT kScoreSheetRedraw = WM_APP + 103;
// wParam points into the entry; lParam 0 = Enter follows.
inline constexpr UINT kScoreSheetTemplate = WM_APP + 104;
// wParam 1 = only viewing a record: half-size rows.
inline constexpr UINT kScoreSheetViewMode = WM_APP + 107;
// Colours or the font face changed in the Settings.
inline constexpr UINT kScoreSheetAppearance = WM_APP + 108;
// wParam 1 = ignore all input and disable the entry.
inline constexpr UINT kScoreSheetDisable = WM_APP + 109;
// lParam GameRecord* to show (not owned).
inline constexpr UINT kScoreSheetSetRecord = WM_APP + 110;
// The live record was put back from the journal: show its current leg with
// the cell wParam player, lParam round selected.
inline constexpr UINT kScoreSheetResume = WM_APP + 111;
// From the entry (Shift, Ctrl or Alt went down): passed on to the parent.
inline constexpr UINT kScoreSheetModifier = WM_APP + 4;

// The one-shot timer that starts a COM visit once the message loop runs.
inline constexpr UINT_PTR kComVisitTimer = 1;

// Registers score_list_wnd: no class styles, arrow cursor, window-colour background.
bool register_score_sheet(HINSTANCE instance);

// A visible child with border, vertical scroll bar and tab stop at 0,0 sized
// 0,0 (the parent sizes it). record nullptr means the main window's live
// record (an empty leg when there is none). nullptr when creation fails.
HWND create_score_sheet(HWND parent, GameRecord* record, int control_id = 0);

// What the sheet shows and where, for hosts and tests that look inside.
struct ScoreSheetInfo {
    HWND entry = nullptr;
    int top_row = 0;
    int max_top_row = 0;
    int sel_player = 0;
    int sel_round = 0;
    int shown_leg = 0;
    int header_height = 0;
    int row_height = 0;
    bool view_mode = false;
    bool disabled = false;
    const GameRecord* record = nullptr;
};
bool score_sheet_info(HWND sheet, ScoreSheetInfo* info);

// Milliseconds between the COM player's darts on this sheet (1000 unless a
// test or a demo wants it faster).
void set_score_sheet_dart_interval(HWND sheet, UINT milliseconds);

} // namespace tx9
