// The answer to the Save Option buttons of the Game Option and Schedule dialogs.
#pragma once

#include <windows.h>

namespace tx9 {

// "The present setup was saved." when the file was written, else the failure
// box for the last error: a refused file (read-only, full disk) must not be
// reported as saved.
void report_setup_saved(HWND owner, bool saved);

} // namespace tx9
