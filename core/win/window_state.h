// The state block a window keeps in its user data, from WM_CREATE to
// WM_DESTROY, and the small pieces every custom-drawn child window shares.
#pragma once

#include <memory>

#include <windows.h>

namespace tx9 {

// The window's state block, or null before WM_CREATE has stored it and after WM_DESTROY.
template <typename State>
State* window_state(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The window takes the block over until free_window_state at WM_DESTROY.
template <typename State>
void attach_window_state(HWND hwnd, std::unique_ptr<State> state) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
}

// Clears the user data first, so no late message finds the block, then frees it.
template <typename State>
void free_window_state(HWND hwnd) {
    std::unique_ptr<State> owned(window_state<State>(hwnd));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

inline RECT client_rect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// A child window class with the arrow cursor on the button face.
inline bool register_child_class(HINSTANCE instance, const char* name, WNDPROC proc, UINT style = 0) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

} // namespace tx9
