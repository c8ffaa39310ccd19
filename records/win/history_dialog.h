// The Game History dialog: the sets of this run, each with a row per finished
// leg showing the winner's darts; View opens the Score List, Save As writes a
// set as CSV, Clear empties the history.
#pragma once

#include "engine/game_record.h"
#include "records/history_view.h"

#include <windows.h>

namespace tx9 {

// Sent to the owner after Clear (both parameters 0): it frees the History list.
inline constexpr UINT kHistoryClearedMessage = WM_APP + 6;

// Every row is this many pixels high.
inline constexpr int kHistoryRowHeight = 24;

inline constexpr SIZE kHistoryMinimumSize{kHistoryMinWidth, kHistoryMinHeight};

// Runs the dialog modally on the history; returns when it is closed. Without
// a history the dialog ends at once.
void run_history_dialog(HWND owner, History* history);

} // namespace tx9
