// The one place every window sounds a refusal or a notice, so that tests can
// count beeps instead of hearing them.
#pragma once

#include <windows.h>

namespace tx9 {

using BeepFunction = void (*)(UINT type);

// MessageBeep(type) unless a test has put another function in its place.
void beep(UINT type = MB_OK);

// Puts a function in place of MessageBeep (nullptr restores it); returns the previous one.
BeepFunction set_beep_function(BeepFunction function);

} // namespace tx9
