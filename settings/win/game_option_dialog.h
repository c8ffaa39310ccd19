// The Game Option dialog: start score, round and leg limits, and for each
// player a name or the COM player with its level and a handicap.
#pragma once

#include "settings/game_settings.h"

#include <windows.h>

namespace tx9 {

// Edits the record in a modal dialog. True after OK (the record holds the new
// values and the Name list has both names at its front); false after Cancel,
// close, or with no record (the record is unchanged).
//
// With `schedule_entry` set the record is a set definition of a Schedule: no
// Save Option, "Leg:" instead of the Leg Limit box, names shown as stored.
// Save Option is offered only for the Settings' own game settings
// (&settings().game); it writes them to the INI file and keeps the record.
bool run_game_option_dialog(HWND owner, GameSettings* record);

} // namespace tx9
