#include "records/win/history_dialog.h"

#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "records/history_view.h"
#include "records/win/dialog_placement.h"
#include "records/win/save_as.h"
#include "records/win/score_list_dialog.h"
#include "res/resource.h"
#include "settings/settings.h"

#include <vector>

namespace tx9 {

namespace {

struct HistoryDialogState {
    History* history = nullptr;
    std::vector<HistoryEntry> entries; // one per list row, in list order
};

HWND list_of(HWND dialog) {
    return GetDlgItem(dialog, IDC_HISTORY_LIST);
}

// The entry of the selected row, or nullptr when none is selected.
const HistoryEntry* selected_entry(HWND dialog, const HistoryDialogState& st) {
    const LRESULT row = SendMessageA(list_of(dialog), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || static_cast<size_t>(row) >= st.entries.size()) return nullptr;
    return &st.entries[static_cast<size_t>(row)];
}

void update_buttons(HWND dialog, const HistoryDialogState& st) {
    const HistoryButtons b = history_buttons(selected_entry(dialog, st) != nullptr, *st.history);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_VIEW), b.view);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_SAVE_AS), b.save_as);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_CLEAR), b.clear);
}

// The rows go before the History list they point into can change.
void empty_list(HWND dialog, HistoryDialogState& st) {
    SendMessageA(list_of(dialog), LB_RESETCONTENT, 0, 0);
    st.entries.clear();
}

void fill_list(HWND dialog, HistoryDialogState& st) {
    HWND list = list_of(dialog);
    st.entries = history_entries(*st.history);
    for (const HistoryEntry& entry : st.entries)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(history_row_text(entry).c_str()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    update_buttons(dialog, st);
}

void move_control(HWND dialog, int id, const ControlPlace& p) {
    MoveWindow(GetDlgItem(dialog, id), p.x, p.y, p.width, p.height, FALSE);
}

void lay_out(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    const HistoryLayout layout = history_layout(client.right, client.bottom);
    move_control(dialog, IDC_HISTORY_LIST, layout.list);
    move_control(dialog, IDC_HISTORY_VIEW, layout.view);
    move_control(dialog, IDC_HISTORY_SAVE_AS, layout.save_as);
    move_control(dialog, IDC_HISTORY_CLEAR, layout.clear);
    move_control(dialog, IDCANCEL, layout.close);
    InvalidateRect(dialog, nullptr, FALSE);
    UpdateWindow(dialog);
}

// ---- Drawing a row

RECT to_rect(const ScreenRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void draw_text(HDC dc, const std::string& text, const ScreenRect& place, UINT align) {
    RECT r = to_rect(place);
    DrawTextA(dc, text.c_str(), -1, &r, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void frame(HDC dc, const ScreenRect& box, COLORREF color) {
    Brush brush(CreateSolidBrush(color));
    RECT r = to_rect(box);
    FrameRect(dc, &r, brush.get());
}

void draw_set_row(HDC dc, const ScreenRect& item, const GameRecord& record) {
    const SetRowView view = set_row_view(record);
    const HistoryRowGeometry g = history_row_geometry(item, 0);
    Font bold(create_menu_font(12, FW_BOLD, false));
    {
        SelectScope use(dc, bold.get());
        draw_text(dc, view.start_score, g.columns[0], DT_LEFT);
        draw_text(dc, view.sets, g.columns[1], DT_LEFT);
    }
    for (int p = 0; p < 2; ++p) {
        Font name_font(create_menu_font(12, FW_BOLD, view.underlined[p]));
        SelectScope use(dc, name_font.get());
        draw_text(dc, view.names[p], g.columns[2 + p], DT_CENTER);
    }
}

void draw_leg_row(HDC dc, const ScreenRect& item, const GameRecord& record, int leg_number, COLORREF text) {
    const LegRowView view = leg_row_view(record, leg_number);
    Font font(create_menu_font(12, 0, false));
    SelectScope use(dc, font.get());
    SIZE digits{};
    GetTextExtentPoint32A(dc, "8888", 4, &digits);
    const HistoryRowGeometry g = history_row_geometry(item, digits.cx);
    draw_text(dc, view.legs, g.columns[1], DT_LEFT);

    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int p = 0; p < 2; ++p) {
        if (view.won[p]) draw_text(dc, view.darts[p], g.boxes[p], DT_CENTER);
        frame(dc, g.boxes[p], view.won[p] ? text : shadow);
    }
    Pen pen(CreatePen(PS_SOLID, 1, shadow));
    SelectScope use_pen(dc, pen.get());
    MoveToEx(dc, g.boxes[0].right, g.line_y, nullptr);
    LineTo(dc, g.boxes[1].left, g.line_y);
}

void draw_row(const DRAWITEMSTRUCT& d, const HistoryDialogState& st) {
    HDC dc = d.hDC;
    const bool has_entry = d.itemID != static_cast<UINT>(-1) && d.itemID < st.entries.size();
    if (!has_entry) {
        FillRect(dc, &d.rcItem, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    const HistoryEntry& entry = st.entries[d.itemID];
    const bool set_row = entry.kind == HistoryRowKind::set;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    const int back = selected ? COLOR_HIGHLIGHT : set_row ? COLOR_BTNFACE : COLOR_WINDOW;
    FillRect(dc, &d.rcItem, GetSysColorBrush(back));
    if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &d.rcItem);
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(back));

    const ScreenRect item{d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom};
    if (set_row)
        draw_set_row(dc, item, *entry.record);
    else
        draw_leg_row(dc, item, *entry.record, entry.leg_number, text);
}

// ---- Commands

void on_view(HWND dialog, const HistoryDialogState& st) {
    if (const HistoryEntry* entry = selected_entry(dialog, st)) run_score_list_dialog(dialog, entry);
}

void on_save_as(HWND dialog, const HistoryDialogState& st) {
    // A leg row saves its whole set.
    if (const HistoryEntry* entry = selected_entry(dialog, st)) save_record_as(dialog, *entry->record);
}

void on_clear(HWND dialog, HistoryDialogState& st) {
    if (MessageBoxA(dialog, load_resource_string(IDS_CLEAR_HISTORY_QUESTION).c_str(), kProgramTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    empty_list(dialog, st);
    SendMessageA(GetWindow(dialog, GW_OWNER), kHistoryClearedMessage, 0, 0);
    // Only the live set can come back.
    fill_list(dialog, st);
}

void on_close(HWND dialog, HistoryDialogState& st) {
    empty_list(dialog, st);
    EndDialog(dialog, 0);
}

void on_command(HWND dialog, HistoryDialogState& st, int id, int code) {
    switch (id) {
    case IDC_HISTORY_LIST:
        if (code == LBN_SELCHANGE) update_buttons(dialog, st);
        if (code == LBN_DBLCLK) on_view(dialog, st);
        break;
    case IDC_HISTORY_VIEW: on_view(dialog, st); break;
    case IDC_HISTORY_SAVE_AS: on_save_as(dialog, st); break;
    case IDC_HISTORY_CLEAR: on_clear(dialog, st); break;
    case IDCANCEL: on_close(dialog, st); break;
    default: break;
    }
}

INT_PTR on_init_dialog(HWND dialog, HistoryDialogState* st) {
    if (!st || !st->history) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    set_window_state(dialog, st, DWLP_USER);
    restore_dialog_placement(dialog, settings().history, kHistoryMinimumSize);
    lay_out(dialog);
    fill_list(dialog, *st);
    return TRUE;
}

INT_PTR CALLBACK history_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG)
                return on_init_dialog(dialog, reinterpret_cast<HistoryDialogState*>(lparam));
            HistoryDialogState* st = window_state<HistoryDialogState>(dialog, DWLP_USER);
            if (!st) return FALSE;
            switch (message) {
            case WM_MEASUREITEM:
                reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = kHistoryRowHeight;
                return TRUE;
            case WM_DRAWITEM: draw_row(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), *st); return TRUE;
            case WM_SIZE: lay_out(dialog); return TRUE;
            case WM_GETMINMAXINFO: limit_dialog_size(lparam, kHistoryMinimumSize); return TRUE;
            case WM_EXITSIZEMOVE: remember_dialog_placement(dialog, settings().history); return TRUE;
            case WM_COMMAND: on_command(dialog, *st, LOWORD(wparam), HIWORD(wparam)); return TRUE;
            default: return FALSE;
            }
        },
        // A row that could not be drawn or a step that ran out of memory: the dialog stays as it was.
        [] { return FALSE; });
}

} // namespace

void run_history_dialog(HWND owner, History* history) {
    HistoryDialogState state;
    state.history = history;
    DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_HISTORY), owner, history_dialog_proc,
                    reinterpret_cast<LPARAM>(history ? &state : nullptr));
}

} // namespace tx9
