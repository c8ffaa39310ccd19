// Entry point of tx9.exe.
#include "app/win/startup.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    // The show command is not used: the main window opens as the Settings say.
    try {
        return tx9::run_program(instance, command_line);
    } catch (...) {
        // Out of memory before the window came up: end quietly, like any failed start.
        return 0;
    }
}
