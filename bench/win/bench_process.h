// The process as start-up sets it up, for the Wine benchmarks: system
// services, common controls, the defaults of a first run (the INI path names
// a file in a folder that is never created, and nothing here saves), the
// built-in routes and the window classes.
#pragma once

#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "settings/settings.h"

#include <cstdio>
#include <string>

#include <commctrl.h>
#include <windows.h>

namespace tx9 {

// Runs every message already queued; a destroyed main window's WM_QUIT is dropped.
inline void pump_pending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline bool prepare_bench_process(HINSTANCE instance, const char* folder_name) {
    static WinSystem system(instance);
    set_app_instance(instance);
    set_system_services(&system);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    Settings& s = settings();
    s = Settings{};
    s.app_folder = std::string(temp) + folder_name;
    s.ini_path = s.app_folder + "\\tx9.ini";
    settings_load(s, system_services());
    if (!load_checkout_routes(instance, s.app_folder)) {
        std::fprintf(stderr, "the built-in routes could not be loaded\n");
        return false;
    }
    if (!register_window_classes(instance)) {
        std::fprintf(stderr, "the window classes could not be registered\n");
        return false;
    }
    return true;
}

} // namespace tx9
