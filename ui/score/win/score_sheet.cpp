#include "ui/score/win/score_sheet.h"

#include "app/win/beep.h"
#include "app/win/entry_control.h"
#include "app/win/main_window.h"
#include "app/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "engine/match.h"
#include "engine/win/com_visit_dialog.h"
#include "engine/win/finish_dialogs.h"
#include "records/csv_export.h"
#include "settings/settings.h"
#include "ui/score/win/score_render.h"

#include <algorithm>
#include <memory>
#include <new>

#include <imm.h>
#include <windowsx.h>

namespace tx9 {

namespace {

constexpr int kEntryId = 1;
constexpr int kEntryLimit = 3;
constexpr int kMaxEntryText = 255;

// A sheet made without a record and without a main window to lend one shows
// this: one empty leg.
GameRecord empty_record() {
    GameRecord record;
    record.leg_records.resize(1);
    LegRecord& leg = record.leg_records.front();
    leg.rows = 1;
    leg.capacity = 10;
    for (auto& cells : leg.scores)
        cells.assign(11, 0);
    return record;
}

GameRecord* live_record_of(HWND parent) {
    HWND root = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    return root ? main_window_record(root) : nullptr;
}

// The per-window state; it is the MatchHost of its own Match, so the rules
// reach the dialogs, the entry field and the parent through it.
struct SheetState final : MatchHost {
    SheetState(HWND hwnd, GameRecord* shown)
        : window(hwnd), fallback(shown ? GameRecord{} : empty_record()),
          match(shown ? *shown : fallback, *this, settings()) {}

    HWND window;
    HWND entry = nullptr;
    BackBuffer buffer;
    SheetTools tools;
    int max_top_row = 0;
    int top_row = 0;
    bool view_mode = false;
    UINT dart_interval = kComDartInterval;
    GameRecord fallback;
    Match match;

    // --- geometry ---------------------------------------------------------
    RECT client() const {
        RECT r{};
        GetClientRect(window, &r);
        return r;
    }
    SheetGeometry geometry() const {
        RECT r = client();
        return SheetGeometry{r.right, r.bottom, tools.header_height, tools.row_height, top_row};
    }
    HWND main_window() const {
        HWND root = GetAncestor(window, GA_ROOT);
        return root && root != window ? root : GetParent(window);
    }

    // --- drawing ------------------------------------------------------------
    void render() {
        if (!buffer.dc()) return;
        SheetView view;
        view.record = &match.record();
        view.shown_leg = match.shown_leg();
        view.top_row = top_row;
        view.width = buffer.width();
        view.height = buffer.height();
        view.throw_count = settings().throw_count == 1;
        render_score_sheet(buffer.dc(), tools, view);
    }

    // Render and repaint from a visible row down (rows counted from the first
    // one shown; 0 or less repaints everything).
    void repaint_from_visible_row(int visible_row) {
        render();
        RECT area = client();
        if (visible_row > 0)
            area.top = std::min<LONG>(area.bottom, tools.header_height + visible_row * tools.row_height);
        InvalidateRect(window, &area, FALSE);
        UpdateWindow(window);
    }

    bool rebuild_fonts_and_buffer() {
        RECT r = client();
        if (!buffer.resize(window, r.right, r.bottom)) return false;
        SetBkMode(buffer.dc(), TRANSPARENT);
        return build_sheet_fonts(tools, buffer.dc(), r.right, view_mode);
    }

    void give_entry_font() {
        SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(tools.row_font.get()), TRUE);
    }

    // Moves the view so that sheet row new_top is the first below the header.
    void scroll_to(int new_top) {
        int old_top = top_row;
        top_row = new_top;
        render();
        SetScrollPos(window, SB_VERT, top_row, TRUE);
        if (old_top != new_top) {
            RECT below = client();
            below.top = tools.header_height;
            ScrollWindowEx(window, 0, (old_top - new_top) * tools.row_height, &below, &below, nullptr,
                           nullptr, SW_INVALIDATE | SW_ERASE);
        }
        UpdateWindow(window);
    }

    // --- MatchHost ------------------------------------------------------------
    int ask_finishing_dart(int finish) override { return tx9::ask_finishing_dart(window, finish); }
    bool ask_leg_winner(GameRecord& record) override { return tx9::ask_leg_winner(window, record); }
    bool ask_yes_no(const std::string& text) override {
        return MessageBoxA(window, text.c_str(), kProgramTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    bool show_finish_message(const std::string& text, const std::string& title, bool ok_only) override {
        UINT buttons = ok_only ? MB_OK : MB_OKCANCEL;
        return MessageBoxA(window, text.c_str(), title.c_str(), buttons | MB_ICONINFORMATION) == IDOK;
    }
    void show_information(const std::string& text) override {
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONINFORMATION);
    }
    void show_error(const std::string& text) override {
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
    }
    void beep() override { tx9::beep(MB_OK); }

    void reposition_entry(bool scroll_into_view_first, bool load_cell) override;
    void repaint_from_round(int round) override {
        repaint_from_visible_row(round < 0 ? 0 : round + 1 - top_row);
    }
    void update_scroll_bar() override;
    std::string entry_text() override {
        char text[kMaxEntryText + 1] = "";
        SendMessageA(entry, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void set_entry_text(const std::string& text) override {
        SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    long notify(int message, int wparam, int lparam) override {
        return static_cast<long>(SendMessageA(GetParent(window), WM_APP + static_cast<UINT>(message),
                                              static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
    }
    void start_com_timer(bool disable_main_window) override {
        if (disable_main_window) EnableWindow(main_window(), FALSE);
        SetTimer(window, kComVisitTimer, 1, nullptr);
    }
    bool auto_save(const GameRecord& record) override;
};

void SheetState::reposition_entry(bool scroll_into_view_first, bool load_cell) {
    const LegRecord& leg = match.shown();
    const SheetGeometry g = geometry();
    if (scroll_into_view_first) {
        int wanted = scroll_into_view(match.sel_round(), top_row, visible_rows(g), max_top_row);
        if (wanted != top_row) scroll_to(wanted);
    }
    const int round = std::max(match.sel_round(), 0);
    const int row = round - top_row + 1;
    const int top_edge = tools.row_height * row + tools.header_height + 1;
    if (row < 0 || top_edge >= g.client_height || leg.finished == 1) {
        ShowWindow(entry, SW_HIDE);
        if (leg.finished == 1) set_entry_text(std::string());
        return;
    }
    if (load_cell) {
        std::string text = match.loaded_entry_text();
        set_entry_text(text);
        if (!text.empty()) SendMessageA(entry, EM_SETSEL, 0, -1);
    }
    SendMessageA(entry, kEntrySetReadOnly, match.selected_is_com() ? 1 : 0, 0);
    EntryRect place = entry_rect(geometry(), match.sel_player(), round);
    MoveWindow(entry, place.x, place.y, place.width, place.height, FALSE);
    ShowWindow(entry, SW_SHOW);
    // A disabled sheet (the colour preview) must not pull the focus off its dialog.
    if (!match.disabled()) SetFocus(entry);
    InvalidateRect(entry, nullptr, FALSE);
    InvalidateRect(window, nullptr, FALSE);
}

void SheetState::update_scroll_bar() {
    SheetScroll scroll = sheet_scroll(match.shown().rows, visible_rows(geometry()), top_row);
    max_top_row = scroll.max_top_row;
    top_row = scroll.enabled ? scroll.top_row : 0;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = scroll.range_max;
    info.nPage = static_cast<UINT>(scroll.page);
    info.nPos = top_row;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    EnableScrollBar(window, SB_VERT, scroll.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

bool SheetState::auto_save(const GameRecord& record) {
    const Settings& s = settings();
    std::string error;
    if (auto_save_csv(record, s.auto_save_path, s.app_folder, &error)) return true;
    show_error(error);
    return false;
}

SheetState* state_of(HWND window) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// --- message handlers ---------------------------------------------------------

bool on_create(HWND window, const CREATESTRUCTA& create) {
    auto* given = static_cast<GameRecord*>(create.lpCreateParams);
    if (!given) given = live_record_of(create.hwndParent);
    std::unique_ptr<SheetState> owned;
    try {
        owned = std::make_unique<SheetState>(window, given);
    } catch (const std::bad_alloc&) {
        show_system_error(create.hwndParent, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    SheetState& st = *owned;
    ImmAssociateContext(window, nullptr);
    if (!st.rebuild_fonts_and_buffer() || !build_sheet_colours(st.tools)) {
        show_system_error(create.hwndParent, GetLastError());
        return false;
    }
    // The entry exists before the scroll bar first shows, which already resizes the sheet.
    st.entry =
        CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_TABSTOP, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryId)), create.hInstance, nullptr);
    if (!st.entry) return false;
    SendMessageA(st.entry, EM_LIMITTEXT, kEntryLimit, 0);
    st.give_entry_font();
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
    st.update_scroll_bar();
    st.render();
    return true;
}

void on_destroy(HWND window) {
    std::unique_ptr<SheetState> owned(state_of(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    KillTimer(window, kComVisitTimer);
}

void on_size(SheetState& st) {
    if (!st.buffer.dc()) return;
    st.rebuild_fonts_and_buffer();
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.give_entry_font();
    st.reposition_entry(true, false);
}

void on_paint(SheetState& st) {
    PaintScope paint(st.window);
    st.buffer.copy_to(paint.dc(), paint.rect());
}

// Scrolls to a new first row the way the scroll bar does, then puts the entry
// back over its cell (hidden when that scrolled out of sight).
void scroll_view(SheetState& st, int new_top) {
    new_top = std::clamp(new_top, 0, st.max_top_row);
    st.scroll_to(new_top);
    st.reposition_entry(false, false);
}

void on_vscroll(SheetState& st, int code) {
    if (st.match.disabled()) return;
    const int page = st.tools.row_height > 0 ? st.client().bottom / st.tools.row_height : 1;
    int top = st.top_row;
    switch (code) {
    case SB_LINEUP: top = std::max(top - 1, 0); break;
    case SB_LINEDOWN:
        if (top < st.max_top_row) ++top;
        break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(st.window, SB_VERT, &info);
        top = info.nTrackPos;
        break;
    }
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = st.max_top_row; break;
    default: return;
    }
    scroll_view(st, top);
}

void on_mouse_wheel(SheetState& st, int delta) {
    on_vscroll(st, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void on_button_down(SheetState& st, int x, int y) {
    if (st.match.disabled()) return;
    if (!st.match.click(st.geometry(), x, y)) SetFocus(st.window);
}

void on_key_down(SheetState& st, UINT key) {
    if (st.match.disabled()) return;
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) st.notify(kNotifyModifierKey, 0, 0);
    if (st.match.shown().finished != 1) {
        st.reposition_entry(false, false);
        return;
    }
    // A finished leg has no entry field: the keys look through it instead.
    switch (key) {
    case VK_PRIOR: on_vscroll(st, SB_PAGEUP); break;
    case VK_NEXT: on_vscroll(st, SB_PAGEDOWN); break;
    case VK_UP: on_vscroll(st, SB_LINEUP); break;
    case VK_DOWN: on_vscroll(st, SB_LINEDOWN); break;
    }
}

void on_command(SheetState& st, int id) {
    if (st.match.disabled()) return;
    switch (id) {
    case kCmdPageUp: on_vscroll(st, SB_PAGEUP); return;
    case kCmdPageDown: on_vscroll(st, SB_PAGEDOWN); return;
    default: st.match.run_command(id); return;
    }
}

// The COM player's turn: its visit is played once the message loop is back.
void on_com_timer(SheetState& st) {
    KillTimer(st.window, kComVisitTimer);
    EnableWindow(st.main_window(), TRUE);
    st.match.run_command(kCmdEscape);
    const LegRecord& leg = st.match.shown();
    const int player = leg.turn;
    if (leg.finished == 1 || st.match.record().player[static_cast<size_t>(player)].com != 1) return;
    run_com_visit(st.window, st.match.record(), player, st.dart_interval);
    st.match.apply_com_result(player);
}

void on_show_leg(SheetState& st, int leg) {
    st.match.show_leg(leg);
    st.top_row = 0;
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.reposition_entry(false, true);
}

void on_view_mode(SheetState& st, bool view_mode) {
    st.view_mode = view_mode;
    st.rebuild_fonts_and_buffer();
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.give_entry_font();
    st.reposition_entry(false, false);
}

void on_appearance(SheetState& st) {
    st.rebuild_fonts_and_buffer();
    build_sheet_colours(st.tools);
    SendMessageA(st.entry, kEntryRecolor, 0, 0);
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.give_entry_font();
    st.reposition_entry(false, false);
}

void on_disable(SheetState& st, bool disabled) {
    st.match.set_disabled(disabled);
    EnableWindow(st.entry, disabled ? FALSE : TRUE);
}

LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, *reinterpret_cast<CREATESTRUCTA*>(lparam)) ? 0 : -1;
    SheetState* st = state_of(window);
    if (!st) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY: on_destroy(window); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SIZE: on_size(*st); return 0;
    case WM_PAINT: on_paint(*st); return 0;
    case WM_PRINTCLIENT: st->buffer.copy_to(reinterpret_cast<HDC>(wparam), st->client()); return 0;
    case WM_SETFOCUS:
        if (!st->match.disabled()) st->reposition_entry(false, false);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_VSCROLL: on_vscroll(*st, LOWORD(wparam)); return 0;
    case WM_MOUSEWHEEL: on_mouse_wheel(*st, GET_WHEEL_DELTA_WPARAM(wparam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: on_button_down(*st, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); return 0;
    case WM_RBUTTONUP: st->notify(kNotifyContextMenu, 0, 0); return 0;
    case WM_CONTEXTMENU: st->notify(kNotifyContextMenu, 0, 0); return 0;
    case WM_KEYDOWN: on_key_down(*st, static_cast<UINT>(wparam)); return 0;
    case WM_SYSKEYDOWN:
        if (wparam == VK_MENU && !st->match.disabled()) st->notify(kNotifyModifierKey, 0, 0);
        break;
    case WM_COMMAND: on_command(*st, LOWORD(wparam)); return 0;
    case WM_TIMER:
        if (wparam == kComVisitTimer) on_com_timer(*st);
        return 0;
    case kScoreSheetStartLeg: st->match.start_leg(); return 0;
    case kScoreSheetLegOver: return st->match.leg_over();
    case kScoreSheetShowLeg: on_show_leg(*st, static_cast<int>(wparam)); return 0;
    case kScoreSheetRedraw: st->repaint_from_visible_row(static_cast<int>(wparam)); return 0;
    case kScoreSheetTemplate:
        if (!st->match.disabled()) st->match.enter_template(static_cast<int>(wparam), lparam == 0);
        return 0;
    case kScoreSheetViewMode: on_view_mode(*st, wparam == 1); return 0;
    case kScoreSheetAppearance: on_appearance(*st); return 0;
    case kScoreSheetDisable: on_disable(*st, wparam == 1); return 0;
    case kScoreSheetSetRecord:
        if (lparam) st->match.set_record(*reinterpret_cast<GameRecord*>(lparam));
        return 0;
    case kScoreSheetModifier: return SendMessageA(GetParent(window), message, wparam, lparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK score_sheet_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        return handle_message(window, message, wparam, lparam);
    } catch (...) {
        // Nothing may unwind into the system's code; the sheet stays as it was drawn.
        return message == WM_CREATE ? -1 : 0;
    }
}

} // namespace

bool register_score_sheet(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = score_sheet_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kScoreSheetClass;
    return RegisterClassExA(&wc) != 0;
}

HWND create_score_sheet(HWND parent, GameRecord* record, int control_id) {
    return CreateWindowExA(0, kScoreSheetClass, "",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), record);
}

bool score_sheet_info(HWND sheet, ScoreSheetInfo* info) {
    SheetState* st = state_of(sheet);
    if (!st || !info) return false;
    info->entry = st->entry;
    info->top_row = st->top_row;
    info->max_top_row = st->max_top_row;
    info->sel_player = st->match.sel_player();
    info->sel_round = st->match.sel_round();
    info->shown_leg = st->match.shown_leg();
    info->header_height = st->tools.header_height;
    info->row_height = st->tools.row_height;
    info->view_mode = st->view_mode;
    info->disabled = st->match.disabled();
    info->record = &st->match.record();
    return true;
}

void set_score_sheet_dart_interval(HWND sheet, UINT milliseconds) {
    if (SheetState* st = state_of(sheet)) st->dart_interval = milliseconds;
}

} // namespace tx9
