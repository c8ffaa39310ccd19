// The two small dialogs that complete a leg: with which dart the finishing
// visit was won, and who won a leg decided by Middle for Diddle.
#pragma once

#include "engine/game_record.h"

#include <windows.h>

namespace tx9 {

// Finish dialog over the owner: 1, 2 or 3, or 0 when cancelled. finish is the
// remaining score before the visit; darts that cannot reach it are disabled.
int ask_finishing_dart(HWND owner, int finish);

// Middle-for-Diddle dialog: true after the current leg's winner was stored.
bool ask_leg_winner(HWND owner, GameRecord& record);

// Centre a dialog over the owner's top-level window, never at a negative
// position, and sound the asterisk beep; both dialogs do this on opening.
void place_dialog_over_owner(HWND dialog, HWND owner);

} // namespace tx9
