// The program's entry: the ordinary run with the main window and its message
// loop, and the "/shortcut" run that only puts a link on the all-users desktop.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace tx9 {

// True when the command line (without the program name) is "/shortcut" as a
// whole, in any case of its ASCII letters.
bool is_shortcut_command(std::string_view command_line);

// WinMain's body: keeps the instance, installs the system services and picks
// the run. Returns the exit code.
int run_program(HINSTANCE instance, const char* command_line);

// Start-up, message loop and shutdown of the ordinary run.
int run_ordinary(HINSTANCE instance);

// Registers tx9Edit, score_list_wnd, score_left_wnd, score_player_wnd,
// score_guide_wnd and tx9_wnd in that order; false at the first refusal.
bool register_window_classes(HINSTANCE instance);

// Routes from "<folder>\arrange.txt", else from the built-in TEXT resource.
// False only when neither could be read.
bool load_checkout_routes(HINSTANCE instance, const std::string& app_folder);

// Retrieves and dispatches messages until WM_QUIT (or a retrieval error).
// The user accelerators, then the built-in ones, translate every message for
// the main window first. Returns the quit code.
int run_message_loop(HWND main_window, HACCEL builtin_accelerators);

// One message through the two accelerator tables; true when one of them
// turned it into a command for the main window.
bool translate_accelerators(HWND main_window, HACCEL builtin_accelerators, MSG& message);

// ---- The shortcut run

int run_shortcut();

// Folder of the all-users desktop (CSIDL_COMMON_DESKTOPDIRECTORY); empty when
// the shell cannot tell. COM must be initialised.
std::string common_desktop_folder();

// "<desktop>\tx9.lnk", without a second backslash when the folder ends with one
// (a double-byte character's trail byte is not taken for one).
std::string shortcut_link_path(std::string_view desktop_folder);

// Writes a shell link to the target with the target's folder as working
// directory, no arguments and the target's first icon. COM must be
// initialised. Returns the result of saving the link.
HRESULT create_desktop_shortcut(const std::string& target_path, const std::string& link_path);

} // namespace tx9
