// The score-entry control (window class "tx9Edit"): a single-line field for
// the points of a visit. Digits only, its own caret, selection, clipboard,
// insert/overwrite modes and multi-level undo where a run of typing or of
// deleting is one step. Draws centred text on its own background and an
// ellipse behind it once three characters are shown.
//
// Owners create it with CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_TABSTOP, ...)
// and talk to it with the standard edit messages (WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH, WM_SETFONT, EM_LIMITTEXT, EM_SETSEL, EM_GETSEL,
// EM_GETMODIFY, EM_SETMODIFY, EM_CANUNDO, EM_UNDO, WM_UNDO, WM_CUT, WM_COPY,
// WM_PASTE, WM_CLEAR) plus the requests below.
#pragma once

#include <windows.h>

namespace tx9 {

inline constexpr char kEntryControlClass[] = "tx9Edit";

// Requests the control answers.
inline constexpr UINT kEntryRedo = 0x454;             // redo one step
inline constexpr UINT kEntryCanRedo = 0x455;          // 1 when a step can be redone
inline constexpr UINT kEntryGetState = WM_APP + 1;    // lParam: EntryState** that receives the state
inline constexpr UINT kEntryMeasure = WM_APP + 2;     // re-measure the font, reshape the caret, repaint
inline constexpr UINT kEntryGetReadOnly = WM_APP + 3; // returns 1 when read-only
inline constexpr UINT kEntrySetReadOnly = WM_APP + 4; // wParam: 1 read-only, 0 editable
inline constexpr UINT kEntryRecolor = WM_APP + 5;     // take the colours from the Settings again, repaint
inline constexpr UINT kEntryRepaint = WM_APP + 6;     // draw again at the next paint
inline constexpr UINT kEntryHasFocus = WM_APP + 7;    // returns 1 while the control has the focus

// Sent to the parent.
inline constexpr UINT kEntryModifierDown = WM_APP + 4; // (0, 0): Shift, Ctrl or Alt went down
inline constexpr WORD kEntryCellLeft = 32873;          // WM_COMMAND: Left at the left edge
inline constexpr WORD kEntryCellRight = 32874;         // WM_COMMAND: Right at the right edge

// The control's state block (opaque to owners; kEntryGetState hands out its address).
struct EntryState;

// Registers the window class; false when the system refuses it.
bool register_entry_control(HINSTANCE instance);

} // namespace tx9
