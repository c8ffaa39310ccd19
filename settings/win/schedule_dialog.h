// The Schedule Option dialog: the list of set definitions a Schedule plays in
// order, edited through the Game Option dialog.
#pragma once

#include <windows.h>

namespace tx9 {

// Runs the dialog modally on a copy of the Settings' Schedule. True after
// "Game Start" (the Settings' Schedule is now the edited list); false after
// Cancel or close (nothing changed). "Sa&ve Option" writes the edited list to
// the INI file and leaves the Schedule in memory as it was.
bool run_schedule_dialog(HWND owner);

} // namespace tx9
