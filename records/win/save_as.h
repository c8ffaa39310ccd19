// Save As: the system's Save file dialog and writing a set to the file chosen
// there, as the Game History dialog offers it.
#pragma once

#include "engine/game_record.h"

#include <windows.h>

#include <commdlg.h>

namespace tx9 {

// What shows the Save file dialog: GetSaveFileNameA, or a test's stand-in
// that fills the request as a user would (or cancels).
using SaveFileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA* request);

// Puts a function in place of GetSaveFileNameA (nullptr restores it); returns the previous one.
SaveFileDialogFunction set_save_file_dialog_function(SaveFileDialogFunction function);

// The Save file dialog owned by owner, with the title, the filter list (pairs
// of NUL-ended texts, ended by an empty one) and the default extension. The
// buffer comes in with the proposed name and holds the chosen path when the
// user picked a file (true). An existing file is overwritten only after the
// dialog's own confirmation.
bool run_save_file_dialog(HWND owner, const char* title, const char* filter, const char* default_extension,
                          char (&file_name)[MAX_PATH]);

// Asks for a file, proposing the set's own CSV name, and writes the set there
// as auto save would. True when written; false when the user cancelled
// (nothing shown) or after the failure box owned by owner (an existing file
// then stays as it was).
bool save_record_as(HWND owner, const GameRecord& record);

} // namespace tx9
