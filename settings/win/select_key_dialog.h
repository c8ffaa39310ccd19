// The Select key dialog of the Key page: an action from the action list, the
// template score for a template, and a key with its modifiers.
#pragma once

#include "app/key_bindings.h"

#include <windows.h>

namespace tx9 {

// Edits the binding in a modal dialog. True after OK (the binding holds the
// chosen action and key); false after Cancel or close (unchanged). A binding
// with action 0 opens with nothing chosen, as for a new binding.
bool run_select_key_dialog(HWND owner, KeyBinding& binding);

} // namespace tx9
