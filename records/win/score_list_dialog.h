// The Score List dialog: one set of the history, the players' figures in full
// view or a leg on the score sheet with the winner's darts under it.
#pragma once

#include "records/history_view.h"

#include <windows.h>

namespace tx9 {

inline constexpr SIZE kScoreListMinimumSize{kScoreListMinWidth, kScoreListMinHeight};

// Runs the dialog modally on the entry's record, opening on the entry's leg
// (a set row opens on "Player Information"). Without an entry it ends at once.
void run_score_list_dialog(HWND owner, const HistoryEntry* entry);

} // namespace tx9
