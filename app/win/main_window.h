// The main window, class tx9_wnd: the frame with the menu, the children's
// layout, the menu and accelerator commands, the title bar and the moves from
// set to set. It owns the live Game record and the History of the run.
#pragma once

#include "app/main_layout.h"
#include "engine/game_record.h"
#include "records/journal.h"

#include <string>

#include <windows.h>

namespace tx9 {

inline constexpr char kMainWindowClass[] = "tx9_wnd";

// Notifications the main window takes (WM_APP + n).
inline constexpr UINT kMainPlayerChanged = WM_APP + 1; // wParam player, lParam 0 = also the title
inline constexpr UINT kMainContextMenu = WM_APP + 2;   // the Score menu at the cursor
inline constexpr UINT kMainFirstThrower = WM_APP + 3;  // wParam 1 = also refresh both player panels
inline constexpr UINT kMainModifierKey = WM_APP + 4;   // passed on to the key guide bar
inline constexpr UINT kMainSetOver = WM_APP + 5;       // returns 1 when a next set was started
inline constexpr UINT kMainClearHistory = WM_APP + 6;  // the Game History dialog emptied the list
inline constexpr UINT kMainActivePlayer = WM_APP + 7;  // wParam player to throw next
// Private: write the journal a settled change asked for.
inline constexpr UINT kMainWriteJournal = WM_APP + 8;

// Timer that opens the Game Option dialog once the message loop runs.
inline constexpr UINT_PTR kNewGameTimer = 1;

// No class styles, icon 102, the arrow cursor, the button face, menu 107.
bool register_main_window(HINSTANCE instance);

// What the start-up hands the main window; it outlives the window.
struct MainWindowStart {
    // The journal this window keeps written; empty for none (a second tx9
    // beside a running one does not touch the first one's journal).
    std::string journal_path;
    // A game to continue instead of a fresh one (and no Game Option dialog);
    // taken over by the window.
    JournalState* resume = nullptr;
    // Set when the session ended under the window: the journal stays, so
    // the game can be continued after the restart.
    bool keep_journal = false;
};

// Creates the window at the Settings' place and size, shows it with the show
// command and updates it. nullptr when it cannot be created (also when the
// first set cannot be set up).
HWND create_main_window(HINSTANCE instance, int show_command, MainWindowStart* start = nullptr);

// The score sheet's rules are done with a change of the live game: the
// journal is written as soon as the message loop is back (once for several
// changes). Nothing for any window but a tx9_wnd.
void main_window_game_settled(HWND main_window);

// What the other windows and dialogs reach through the main window; nullptr
// when the window is not a tx9_wnd with its state.
GameRecord* main_window_record(HWND main_window);
History* main_window_history(HWND main_window);
HWND main_window_sheet(HWND main_window);

// After the Option sheet reported a change: save the Settings, tell every
// child that colours, fonts and keys changed, lay out again, rebuild the user
// accelerators and the menu texts.
void main_window_options_changed(HWND main_window);

} // namespace tx9
