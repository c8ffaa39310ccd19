#include "app/win/key_guide_bar.h"

#include "app/key_guide.h"
#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "settings/settings.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <new>
#include <utility>

namespace tx9 {

namespace {

struct GuideState {
    HWND window = nullptr;
    BackBuffer buffer;
    Font font;
    // System colours taken at creation.
    Brush face{CreateSolidBrush(GetSysColor(COLOR_BTNFACE))};
    Brush window_brush{CreateSolidBrush(GetSysColor(COLOR_WINDOW))};
    Brush text{CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT))};
    Brush shadow{CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW))};
    Brush highlight{CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT))};
    bool pressing = false;
    int hot_key = 0;
    int pressed_key = 0;
    HWND tooltip = nullptr;
    int tip_key = 0;
    std::string tip_text;
    int modifiers = 0;

    ~GuideState() {
        if (tooltip && IsWindow(tooltip)) DestroyWindow(tooltip);
    }
};

const KeyBinding* shown_binding(const GuideState& st, int key) {
    return guide_binding(settings().keys.bindings, key, st.modifiers);
}

int key_under(HWND hwnd, int x, int y) {
    const RECT client = client_rect(hwnd);
    return guide_key_at(x, y, client.right, client.bottom);
}

void draw_text(HDC dc, const std::string& text, RECT area, UINT format) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_SINGLELINE | DT_NOPREFIX);
}

void render(GuideState& st) {
    HDC dc = st.buffer.dc();
    if (!dc) return;
    const RECT client = client_rect(st.window);
    FillRect(dc, &client, st.face.get());
    SelectScope font(dc, st.font.get());
    SetBkMode(dc, OPAQUE);
    SIZE label{};
    GetTextExtentPoint32A(dc, "F88", 3, &label);

    for (int n = 1; n <= kGuideKeyCount; ++n) {
        const GuideCell cell = guide_cell(n, client.right, client.bottom);
        const KeyBinding* binding = shown_binding(st, n);
        const bool hot = binding && n == st.hot_key;
        if (hot) {
            RECT whole{cell.x, cell.y, cell.x + cell.width, cell.y + cell.height};
            FillRect(dc, &whole, st.highlight.get());
        }
        const RECT box{cell.x + 1, cell.y + 1, cell.x + label.cx + 4, cell.y + cell.height - 1};
        const std::string key = strprintf("F%d", n);
        if (binding) {
            FillRect(dc, &box, st.window_brush.get());
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            draw_text(dc, key, box, DT_CENTER | DT_VCENTER);
            FrameRect(dc, &box, st.text.get());
        } else {
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            draw_text(dc, key, box, DT_CENTER | DT_VCENTER);
            FrameRect(dc, &box, st.shadow.get());
            continue;
        }
        SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        draw_text(dc, guide_action_text(binding->action),
                  RECT{cell.x + label.cx + 6, cell.y, cell.x + cell.width, cell.y + cell.height},
                  DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    }
}

void draw_again(GuideState& st) {
    render(st);
    InvalidateRect(st.window, nullptr, FALSE);
    UpdateWindow(st.window);
}

HFONT bar_font(int width) {
    Font menu(create_menu_font(guide_font_points(width), FW_NORMAL, false));
    return font_in_charset(menu.get(), DEFAULT_CHARSET);
}

void set_up(GuideState& st) {
    const RECT client = client_rect(st.window);
    st.buffer.resize(st.window, client.right, client.bottom);
    st.font.reset(bar_font(client.right));
}

int wanted_height(int width) {
    Font font(bar_font(width));
    return guide_bar_height(screen_font_height(font.get()));
}

bool held(int vk) {
    return GetKeyState(vk) < 0;
}

void timer_step(GuideState& st) {
    const int now = guide_modifier_state(held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU));
    if (now != st.modifiers) {
        st.modifiers = now;
        st.hot_key = st.pressed_key = 0;
        draw_again(st);
    }
    if (now == 0) KillTimer(st.window, kKeyGuideTimer);
}

void on_mouse_move(GuideState& st, UINT message, WPARAM wparam, LPARAM lparam) {
    const int key = key_under(st.window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
    if (st.tooltip) {
        if (key != st.tip_key) {
            st.tip_key = key;
            SendMessageA(st.tooltip, TTM_POP, 0, 0);
            SendMessageA(st.tooltip, TTM_ACTIVATE, FALSE, 0);
        }
        MSG relayed{st.window, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
        GetCursorPos(&relayed.pt);
        SendMessageA(st.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        SendMessageA(st.tooltip, TTM_ACTIVATE, TRUE, 0);
    }
    if (st.pressing) {
        const int hot = key == st.pressed_key ? key : 0;
        if (hot != st.hot_key) {
            st.hot_key = hot;
            draw_again(st);
        }
    }
}

void on_button_down(GuideState& st, LPARAM lparam) {
    SetCapture(st.window);
    st.pressing = true;
    st.hot_key = st.pressed_key = key_under(st.window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
    draw_again(st);
}

void on_button_up(GuideState& st, LPARAM lparam) {
    if (!st.pressing) return;
    st.pressing = false; // before the release, so that losing the capture changes nothing more
    ReleaseCapture();
    const int key = key_under(st.window, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
    const KeyBinding* binding = key != 0 && key == st.pressed_key ? shown_binding(st, key) : nullptr;
    const int action = binding ? binding->action : 0;
    st.hot_key = st.pressed_key = 0;
    // Drawn before the command runs: a command may open a modal dialog.
    draw_again(st);
    if (action) SendMessageA(GetParent(st.window), WM_COMMAND, static_cast<WPARAM>(action), 0);
}

// The capture went elsewhere (a dialog opened, the window lost it): the press is over.
void on_capture_lost(GuideState& st) {
    if (!st.pressing) return;
    st.pressing = false;
    st.hot_key = st.pressed_key = 0;
    draw_again(st);
}

LRESULT on_notify(GuideState& st, LPARAM lparam) {
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (!header || header->hwndFrom != st.tooltip || header->code != TTN_GETDISPINFOA) return 0;
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(lparam);
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(st.window, &at);
    const KeyBinding* binding = shown_binding(st, key_under(st.window, at.x, at.y));
    st.tip_text = binding ? guide_action_text(binding->action) : std::string();
    request->lpszText = st.tip_text.empty() ? nullptr : st.tip_text.data();
    request->szText[0] = '\0';
    return 0;
}

HWND create_tooltip(HWND bar) {
    HWND tip =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr, app_instance(), nullptr);
    if (!tip) return nullptr;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = bar;
    tool.uId = reinterpret_cast<UINT_PTR>(bar);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 2000);
    return tip;
}

bool on_create(HWND hwnd) {
    std::unique_ptr<GuideState> st(new (std::nothrow) GuideState);
    if (!st) return false;
    st->window = hwnd;
    st->tooltip = create_tooltip(hwnd);
    set_up(*st);
    render(*st);
    attach_window_state(hwnd, std::move(st));
    return true;
}

LRESULT handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(hwnd) ? 0 : -1;
    GuideState* st = window_state<GuideState>(hwnd);
    if (!st) return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);

    switch (message) {
    case kKeyGuideModifier:
        SetTimer(hwnd, kKeyGuideTimer, kKeyGuidePollMs, nullptr);
        timer_step(*st);
        return 0;
    case WM_TIMER:
        if (wparam == kKeyGuideTimer) timer_step(*st);
        return 0;
    case kKeyGuideKeysChanged: draw_again(*st); return 0;
    case kKeyGuideWantedHeight: return wanted_height(static_cast<int>(wparam));
    case kKeyGuideAppearance:
    case WM_SIZE:
        set_up(*st);
        draw_again(*st);
        return 0;
    case WM_PAINT: st->buffer.paint_window(hwnd); return 0;
    case WM_PRINTCLIENT: st->buffer.copy_to(reinterpret_cast<HDC>(wparam), client_rect(hwnd)); return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_NOTIFY: return on_notify(*st, lparam);
    case WM_MOUSEMOVE: on_mouse_move(*st, message, wparam, lparam); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: on_button_down(*st, lparam); return 0;
    case WM_LBUTTONUP: on_button_up(*st, lparam); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lparam) != hwnd) on_capture_lost(*st);
        return 0;
    case WM_DESTROY: {
        KillTimer(hwnd, kKeyGuideTimer);
        free_window_state<GuideState>(hwnd);
        return 0;
    }
    default: break;
    }
    return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK key_guide_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle(hwnd, message, wparam, lparam); },
                   [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_key_guide_bar(HINSTANCE instance) {
    return register_child_class(instance, kKeyGuideClass, key_guide_proc, CS_DBLCLKS);
}

HWND create_key_guide_bar(HWND parent) {
    return CreateWindowExA(0, kKeyGuideClass, "", WS_CHILD, 0, 0, 0, 0, parent, nullptr, app_instance(),
                           nullptr);
}

bool key_guide_info(HWND bar, KeyGuideInfo* info) {
    char name[32] = "";
    if (!info || !GetClassNameA(bar, name, sizeof name) || lstrcmpiA(name, kKeyGuideClass) != 0) return false;
    const GuideState* st = window_state<GuideState>(bar);
    if (!st) return false;
    *info = KeyGuideInfo{};
    if (st->font) GetObjectA(st->font.get(), sizeof info->font, &info->font);
    info->modifiers = st->modifiers;
    info->hot_key = st->hot_key;
    info->pressed_key = st->pressed_key;
    info->pressing = st->pressing;
    info->tooltip = st->tooltip;
    return true;
}

} // namespace tx9
