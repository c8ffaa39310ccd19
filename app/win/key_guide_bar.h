// The key guide bar, window class score_guide_wnd: what F1 to F12 do under
// the modifier keys held now, two rows of six keys. A click on a key runs its
// binding as the key would; resting on one shows its action as a tooltip.
#pragma once

#include <windows.h>

namespace tx9 {

inline constexpr char kKeyGuideClass[] = "score_guide_wnd";

// Messages the bar takes.
// A modifier key went down: follow the modifiers every 100 ms while one is held.
inline constexpr UINT kKeyGuideModifier = WM_APP + 4;
// The Key bindings changed: draw the keys again.
inline constexpr UINT kKeyGuideKeysChanged = WM_APP + 400;
// wParam a width: returns the bar height wanted for it.
inline constexpr UINT kKeyGuideWantedHeight = WM_APP + 401;
// Fonts changed: new bitmap and font, then draw again.
inline constexpr UINT kKeyGuideAppearance = WM_APP + 402;

// The timer that polls the modifier keys while one is held.
inline constexpr UINT_PTR kKeyGuideTimer = 1;
inline constexpr UINT kKeyGuidePollMs = 100;

// Double clicks, arrow cursor, button-face background.
bool register_key_guide_bar(HINSTANCE instance);

// A hidden child without border, text or id at 0,0 sized 0,0.
HWND create_key_guide_bar(HWND parent);

// What the bar holds now, for tests that look inside.
struct KeyGuideInfo {
    LOGFONTA font{};
    int modifiers = 0;   // Shift 4, Ctrl 8, Alt 16 as last read
    int hot_key = 0;     // 1 to 12, 0 = none
    int pressed_key = 0; // where the held button went down
    bool pressing = false;
    HWND tooltip = nullptr;
};
bool key_guide_info(HWND bar, KeyGuideInfo* info);

} // namespace tx9
