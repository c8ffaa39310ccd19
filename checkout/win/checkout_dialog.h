// The Check-Out dialog: a score field with a spin button over a tree of the
// finishing routes for that score.
#pragma once

#include <windows.h>

namespace tx9 {

// Runs the dialog modally on the score (the selected player's remaining
// score); returns when it is closed. It changes nothing in the match.
void run_checkout_dialog(HWND owner, int start_score);

} // namespace tx9
