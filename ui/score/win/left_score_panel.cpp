#include "ui/score/win/left_score_panel.h"

#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "settings/settings.h"
#include "ui/score/left_score.h"

#include <memory>
#include <new>
#include <string>
#include <utility>

namespace tx9 {

namespace {

struct LeftPanelState {
    HWND window = nullptr;
    BackBuffer buffer;
    Font font;
    Region frame;
    Brush background;
    Brush border;
    int frame_margin = 0;
    bool active = false;
    PlayerBlock* block = nullptr;
    std::string shown; // the text the back buffer holds
    bool stale = false; // changed while hidden: drawn when shown
};

// A hidden panel is drawn when it shows again, not at every visit.
bool hidden(LeftPanelState& st) {
    if (GetWindowLongA(st.window, GWL_STYLE) & WS_VISIBLE) return false;
    st.stale = true;
    return true;
}

void render(LeftPanelState& st);

void render_if_stale(LeftPanelState& st) {
    if (st.stale) render(st);
}

// Bitmap, font and frame region for the client size.
void build_for_size(LeftPanelState& st) {
    const RECT client = client_rect(st.window);
    st.buffer.resize(st.window, client.right, client.bottom);
    const LeftPanelMetrics m = left_panel_metrics(client.right, client.bottom);
    st.font.reset(create_face_font(settings().font_name, m.font_points, ANSI_CHARSET, FW_BOLD, false, false));
    st.frame_margin = m.frame_margin;
    st.frame.reset(CreateRectRgn(0, 0, client.right, client.bottom));
    Region inside(CreateRectRgn(m.frame_margin, m.frame_margin, client.right - m.frame_margin,
                                client.bottom - m.frame_margin));
    if (st.frame && inside) CombineRgn(st.frame.get(), st.frame.get(), inside.get(), RGN_DIFF);
}

void build_brushes(LeftPanelState& st) {
    const Settings& s = settings();
    st.background.reset(CreateSolidBrush(s.colors[kColorLeftBackground]));
    st.border.reset(CreateSolidBrush(s.colors[kColorLeftActiveBorder]));
}

void render(LeftPanelState& st) {
    st.stale = false;
    HDC dc = st.buffer.dc();
    if (!dc) return;
    RECT client = client_rect(st.window);
    FillRect(dc, &client, st.background.get());
    if (st.active && st.frame) FillRgn(dc, st.frame.get(), st.border.get());
    if (!st.block) return;
    SelectScope font(dc, st.font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, settings().colors[kColorLeftText]);
    const std::string text = left_score_text(st.block->left);
    st.shown = text;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void repaint_all(LeftPanelState& st) {
    if (hidden(st)) return;
    render(st);
    InvalidateRect(st.window, nullptr, FALSE);
    UpdateWindow(st.window);
}

int wanted_height(int width) {
    Font font(create_face_font(settings().font_name, left_panel_wanted_points(width), ANSI_CHARSET, FW_NORMAL,
                               false, false));
    return screen_font_height(font.get());
}

// After a visit: drawn again only when the score shown changes, and shown at once.
void refresh(LeftPanelState& st) {
    if (st.block && left_score_text(st.block->left) == st.shown) return;
    if (hidden(st)) return;
    render(st);
    st.buffer.show_now(st.window, client_rect(st.window));
}

// Only the frame changes: it is filled in the back buffer and shown at once.
void set_active(LeftPanelState& st, bool active) {
    if (active == st.active) return;
    st.active = active;
    if (!st.frame || !st.buffer.dc() || hidden(st)) return;
    FillRgn(st.buffer.dc(), st.frame.get(), active ? st.border.get() : st.background.get());
    st.buffer.show_now(st.window, client_rect(st.window));
}

bool on_create(HWND hwnd, const CREATESTRUCTA* create) {
    auto* block = static_cast<PlayerBlock*>(create->lpCreateParams);
    if (!block) return false;
    std::unique_ptr<LeftPanelState> st(new (std::nothrow) LeftPanelState);
    if (!st) return false;
    st->window = hwnd;
    st->block = block;
    build_for_size(*st);
    build_brushes(*st);
    render(*st);
    attach_window_state(hwnd, std::move(st));
    return true;
}

LRESULT handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(hwnd, reinterpret_cast<CREATESTRUCTA*>(lparam)) ? 0 : -1;
    LeftPanelState* st = window_state<LeftPanelState>(hwnd);
    if (!st) return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);

    if (paint_from_buffer(st->buffer, hwnd, message, wparam, [st] { render_if_stale(*st); })) return 0;
    switch (message) {
    case WM_SIZE:
        build_for_size(*st);
        repaint_all(*st);
        return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: {
        free_window_state<LeftPanelState>(hwnd);
        return 0;
    }
    case kLeftScoreRefresh: refresh(*st); return 0;
    case kLeftScoreWantedHeight: return wanted_height(static_cast<int>(wparam));
    case kLeftScoreAppearance:
        build_for_size(*st);
        build_brushes(*st);
        repaint_all(*st);
        return 0;
    case kLeftScoreActive: set_active(*st, wparam != 0); return 0;
    default: break;
    }
    return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK left_score_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle(hwnd, message, wparam, lparam); },
                   [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_left_score_panel(HINSTANCE instance) {
    return register_child_class(instance, kLeftScoreClass, left_score_proc);
}

HWND create_left_score_panel(HWND parent, PlayerBlock* block) {
    return CreateWindowExA(0, kLeftScoreClass, "", WS_CHILD | WS_BORDER, 0, 0, 0, 0, parent, nullptr,
                           app_instance(), block);
}

bool left_score_panel_info(HWND panel, LeftScorePanelInfo* info) {
    char name[32] = "";
    if (!info || !GetClassNameA(panel, name, sizeof name) || lstrcmpiA(name, kLeftScoreClass) != 0)
        return false;
    const LeftPanelState* st = window_state<LeftPanelState>(panel);
    if (!st) return false;
    *info = LeftScorePanelInfo{};
    if (st->font) GetObjectA(st->font.get(), sizeof info->font, &info->font);
    info->frame_margin = st->frame_margin;
    info->active = st->active;
    info->block = st->block;
    return true;
}

} // namespace tx9
