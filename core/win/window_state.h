// The state block a window keeps in its user data, from WM_CREATE to
// WM_DESTROY, and the small pieces every custom-drawn child window shares.
#pragma once

#include <memory>

#include <windows.h>

namespace tx9 {

// The state block sits in the window's user data, or in DWLP_USER for a dialog.

// The block, or null before it is stored and after it is freed.
template <typename State>
State* window_state(HWND hwnd, int slot = GWLP_USERDATA) {
    return reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, slot));
}

// Stores a block its caller keeps.
template <typename State>
void set_window_state(HWND hwnd, State* state, int slot = GWLP_USERDATA) {
    SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(state));
}

// The window takes the block over until free_window_state (WM_DESTROY, WM_NCDESTROY).
template <typename State>
void attach_window_state(HWND hwnd, std::unique_ptr<State> state, int slot = GWLP_USERDATA) {
    set_window_state(hwnd, state.release(), slot);
}

// Clears the slot first, so no late message finds the block, then frees it.
template <typename State>
void free_window_state(HWND hwnd, int slot = GWLP_USERDATA) {
    std::unique_ptr<State> owned(window_state<State>(hwnd, slot));
    SetWindowLongPtrA(hwnd, slot, 0);
}

inline RECT client_rect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// A child window class with the arrow cursor, on the button face unless another system colour is given.
inline bool register_child_class(HINSTANCE instance, const char* name, WNDPROC proc, UINT style = 0,
                                 int background = COLOR_BTNFACE) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

} // namespace tx9
