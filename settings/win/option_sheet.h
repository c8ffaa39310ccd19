// The Option property sheet: the View page (colours and font with a live
// preview), the Key page (the Key bindings) and the Player page (what the
// player panels show).
#pragma once

#include "app/key_bindings.h"

#include <windows.h>

namespace tx9 {

// Runs the modal sheet over the owner. True when it was closed with OK: the
// Settings then hold the new colours, font, Key bindings and player flags
// (even when nothing was touched). False after Cancel or close: colours and
// font are back as they were, the Key bindings and the player flags were
// never changed; only `keys_customised` keeps a 1 set by an edit of the list.
// The namer names the keys on the Key page.
bool run_option_sheet(HWND owner, const KeyNamer& namer);

} // namespace tx9
