#include "records/win/player_panel_window.h"

#include "checkout/checkout_table.h"
#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "records/player_panel.h"
#include "res/resource.h"
#include "settings/settings.h"

#include <memory>
#include <new>
#include <utility>

namespace tx9 {

namespace {

struct PlayerPanelState {
    HWND window = nullptr;
    BackBuffer buffer;
    Font name_font;
    Font info_font;
    int char_width = 0;
    int font_size = 0; // 0 = automatic
    Brush back_brush;
    Brush name_brush;
    PlayerPanelView view;
    PlayerBlock* block = nullptr;
    bool stale = false; // changed while hidden: drawn when shown
};

int text_height(HDC dc) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

int text_width(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Back buffer and fonts for the client size and the font size.
void set_up(PlayerPanelState& st) {
    const RECT client = client_rect(st.window);
    st.buffer.resize(st.window, client.right, client.bottom);
    const int points = panel_font_points(st.font_size, client.right);
    Font caption(create_caption_font(points, FW_BOLD));
    st.name_font.reset(font_in_charset(caption.get(), DEFAULT_CHARSET));
    st.info_font.reset(create_face_font(settings().font_name, points, DEFAULT_CHARSET, 0, false, false));
    TEXTMETRICA metrics{};
    if (HDC dc = st.buffer.dc()) {
        SelectScope font(dc, st.info_font.get());
        GetTextMetricsA(dc, &metrics);
    }
    st.char_width = metrics.tmAveCharWidth;
}

void make_brushes(PlayerPanelState& st) {
    const Settings& s = settings();
    st.back_brush.reset(CreateSolidBrush(s.colors[kColorPlayerBackground]));
    st.name_brush.reset(CreateSolidBrush(s.colors[kColorPlayerNameBackground]));
}

void draw_text(HDC dc, const std::string& text, RECT area, UINT format) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_SINGLELINE | DT_NOPREFIX);
}

void render(PlayerPanelState& st) {
    st.stale = false;
    HDC dc = st.buffer.dc();
    if (!dc) return;
    const RECT client = client_rect(st.window);
    const int width = client.right;
    FillRect(dc, &client, st.back_brush.get());
    if (!st.block) return;

    const Settings& s = settings();
    const std::vector<PanelLine> lines = player_panel_lines(*st.block, s.player, st.view, checkout_table());
    int y = 0;
    if (!lines.empty() && lines.front().kind == PanelLineKind::name) {
        SelectScope font(dc, st.name_font.get());
        const int h1 = text_height(dc) + 5;
        RECT row{0, 0, width, h1};
        FillRect(dc, &row, st.name_brush.get());
        SetTextColor(dc, s.colors[kColorPlayerNameText]);
        SetBkColor(dc, s.colors[kColorPlayerNameBackground]);
        draw_text(dc, lines.front().text, row, DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
        y = h1;
    }

    SelectScope font(dc, st.info_font.get());
    const Color text = s.colors[kColorPlayerText];
    const Color title = s.colors[kColorPlayerInfoTitle];
    SetTextColor(dc, text);
    SetBkColor(dc, s.colors[kColorPlayerBackground]);
    const int h = text_height(dc) + 5;
    auto load = [](int id) { return load_resource_string(id); };
    const PanelColumnPlace totals = panel_columns(
        width, st.char_width, text_width(dc, load(IDS_PANEL_HIGH_OFF)), text_width(dc, kPanelTotalsWidest));
    const PanelColumnPlace averages = panel_columns(
        width, st.char_width, text_width(dc, load(IDS_PANEL_SCORE)), text_width(dc, kPanelAveragesWidest));
    const int routes_x = panel_routes_x(width, text_width(dc, kPanelRouteWidest));

    for (const PanelLine& line : lines) {
        if (line.half_gap) y += h / 2;
        const PanelColumnPlace& columns = line.columns == PanelColumnSet::averages ? averages : totals;
        switch (line.kind) {
        case PanelLineKind::name: continue; // drawn above
        case PanelLineKind::first:
            if (line.text_id)
                draw_text(dc, load(line.text_id), RECT{0, y, width, y + h}, DT_CENTER | DT_VCENTER);
            break;
        case PanelLineKind::heading:
            SetTextColor(dc, title);
            draw_text(dc, load(line.text_id), RECT{totals.heading_x, y, width, y + h}, DT_LEFT | DT_VCENTER);
            SetTextColor(dc, text);
            break;
        case PanelLineKind::figure:
            draw_text(dc, load(line.text_id), RECT{columns.label_x, y, width, y + h}, DT_LEFT | DT_VCENTER);
            draw_text(dc, line.text, RECT{columns.value_left, y, columns.value_right, y + h},
                      DT_RIGHT | DT_VCENTER);
            break;
        case PanelLineKind::route:
            draw_text(dc, line.text, RECT{routes_x, y, width, y + h}, DT_LEFT | DT_VCENTER);
            break;
        }
        y += h;
    }
}

// A hidden panel is drawn when it shows again, not at every visit.
void redraw(PlayerPanelState& st) {
    if (!(GetWindowLongA(st.window, GWL_STYLE) & WS_VISIBLE)) {
        st.stale = true;
        return;
    }
    render(st);
    st.buffer.show_now(st.window, client_rect(st.window));
}

void render_if_stale(PlayerPanelState& st) {
    if (st.stale) render(st);
}

bool on_create(HWND hwnd, const CREATESTRUCTA* create) {
    std::unique_ptr<PlayerPanelState> st(new (std::nothrow) PlayerPanelState);
    if (!st) return false;
    st->window = hwnd;
    st->block = static_cast<PlayerBlock*>(create->lpCreateParams);
    set_up(*st);
    make_brushes(*st);
    render(*st);
    attach_window_state(hwnd, std::move(st));
    return true;
}

LRESULT on_app_message(PlayerPanelState& st, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case kPlayerPanelFirst: st.view.is_first = wparam == 1; break;
    case kPlayerPanelRefresh: redraw(st); break;
    case kPlayerPanelAppearance:
        set_up(st);
        make_brushes(st);
        redraw(st);
        break;
    case kPlayerPanelSetBlock:
        st.block = reinterpret_cast<PlayerBlock*>(lparam);
        redraw(st);
        break;
    case kPlayerPanelFontSize:
        st.font_size = static_cast<int>(lparam);
        set_up(st);
        redraw(st);
        break;
    case kPlayerPanelShowSets:
        st.view.show_sets = wparam == 1;
        redraw(st);
        break;
    case kPlayerPanelFullView:
        st.view.full_view = wparam == 1;
        redraw(st);
        break;
    default: break;
    }
    return 0;
}

LRESULT handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(hwnd, reinterpret_cast<CREATESTRUCTA*>(lparam)) ? 0 : -1;
    PlayerPanelState* st = window_state<PlayerPanelState>(hwnd);
    if (!st) return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);

    if (paint_from_buffer(st->buffer, hwnd, message, wparam, [st] { render_if_stale(*st); })) return 0;
    switch (message) {
    case WM_SIZE:
        set_up(*st);
        redraw(*st);
        return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: {
        free_window_state<PlayerPanelState>(hwnd);
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    default: break;
    }
    if (message >= WM_APP) return on_app_message(*st, message, wparam, lparam);
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK player_panel_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle(hwnd, message, wparam, lparam); },
                   [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_player_panel(HINSTANCE instance) {
    return register_child_class(instance, kPlayerPanelClass, player_panel_proc);
}

HWND create_player_panel(HINSTANCE instance, HWND parent, int control_id, PlayerBlock* block) {
    return CreateWindowExA(0, kPlayerPanelClass, "", WS_CHILD | WS_BORDER, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), instance, block);
}

bool player_panel_info(HWND panel, PlayerPanelInfo* info) {
    char name[32] = "";
    if (!info || !GetClassNameA(panel, name, sizeof name) || lstrcmpiA(name, kPlayerPanelClass) != 0)
        return false;
    const PlayerPanelState* st = window_state<PlayerPanelState>(panel);
    if (!st) return false;
    *info = PlayerPanelInfo{};
    if (st->name_font) GetObjectA(st->name_font.get(), sizeof info->name_font, &info->name_font);
    if (st->info_font) GetObjectA(st->info_font.get(), sizeof info->info_font, &info->info_font);
    info->font_size = st->font_size;
    info->is_first = st->view.is_first;
    info->show_sets = st->view.show_sets;
    info->full_view = st->view.full_view;
    info->block = st->block;
    return true;
}

} // namespace tx9
