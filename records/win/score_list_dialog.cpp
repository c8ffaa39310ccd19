#include "records/win/score_list_dialog.h"

#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "records/win/dialog_placement.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"

#include <array>

namespace tx9 {

namespace {

// The score sheet belongs to the score displays: it is made by class name,
// so the dialog needs nothing of it but the messages below.
constexpr char kScoreSheetClassName[] = "score_list_wnd";

enum : UINT {
    kSheetShowLeg = WM_APP + 102,   // wParam leg index
    kSheetViewMode = WM_APP + 107,  // wParam 1: half-size rows
    kSheetSetRecord = WM_APP + 110, // lParam GameRecord*
};

constexpr int kPanelFontPoints = 12;
constexpr int kLabelFontPoints = 12;
constexpr std::array<int, 2> kPanelIds{IDC_SCORE_LIST_PLAYER1, IDC_SCORE_LIST_PLAYER2};
constexpr std::array<int, 2> kLabelIds{IDC_SCORE_LIST_DARTS1, IDC_SCORE_LIST_DARTS2};

struct ScoreListState {
    const HistoryEntry* entry = nullptr;
    HWND sheet = nullptr;
    std::array<HWND, 2> panels{};
    Font label_font;
};

void show(HWND window, bool shown) {
    if (window) ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
}

HWND create_child(HWND dialog, const char* class_name, DWORD style, int id) {
    return CreateWindowExA(0, class_name, "", WS_CHILD | style, 0, 0, 0, 0, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_instance(), nullptr);
}

void move_child(HWND child, const ControlPlace& p) {
    if (child) MoveWindow(child, p.x, p.y, p.width, p.height, TRUE);
}

void lay_out(HWND dialog, const ScoreListState& st) {
    RECT client{};
    GetClientRect(dialog, &client);
    const ScoreListLayout layout = score_list_layout(client.right, client.bottom);
    move_child(st.sheet, layout.sheet);
    for (size_t p = 0; p < 2; ++p) {
        move_child(st.panels[p], layout.panels[p]);
        move_child(GetDlgItem(dialog, kLabelIds[p]), layout.labels[p]);
    }
    HWND close = GetDlgItem(dialog, IDCANCEL);
    move_child(close, layout.close);
    InvalidateRect(close, nullptr, FALSE);
    UpdateWindow(close);
}

// Acts on the combo box's selection: the players' figures, or a leg with the winner's darts.
void show_page(HWND dialog, const ScoreListState& st) {
    const int item = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SCORE_LIST_LEGS, CB_GETCURSEL, 0, 0));
    const ScoreListPage page = score_list_page(*st.entry->record, item);
    show(st.sheet, !page.panels);
    for (size_t p = 0; p < 2; ++p) {
        show(st.panels[p], page.panels);
        show(GetDlgItem(dialog, kLabelIds[p]), false);
    }
    if (page.panels) return;
    for (int p = 0; p < 2; ++p)
        SetDlgItemTextA(dialog, kLabelIds[static_cast<size_t>(p)],
                        p == page.darts_label ? page.darts.c_str() : "");
    show(GetDlgItem(dialog, kLabelIds[static_cast<size_t>(page.darts_label)]), true);
    SendMessageA(st.sheet, kSheetShowLeg, static_cast<WPARAM>(page.leg_index), 0);
}

void set_up_children(HWND dialog, ScoreListState& st) {
    GameRecord& record = *st.entry->record;
    st.sheet = create_child(dialog, kScoreSheetClassName, WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                            IDC_SCORE_LIST_SHEET);
    SendMessageA(st.sheet, kSheetSetRecord, 0, reinterpret_cast<LPARAM>(&record));
    SendMessageA(st.sheet, kSheetViewMode, 1, 0);

    // Should the panels fail, the Score List still shows the legs.
    for (size_t p = 0; p < 2; ++p) {
        HWND panel = create_player_panel(app_instance(), dialog, kPanelIds[p], nullptr);
        st.panels[p] = panel;
        if (!panel) continue;
        SendMessageA(panel, kPlayerPanelSetBlock, 0, reinterpret_cast<LPARAM>(&record.player[p]));
        SendMessageA(panel, kPlayerPanelFontSize, 0, kPanelFontPoints);
        SendMessageA(panel, kPlayerPanelShowSets, record.leg_limit == 1 ? 1 : 0, 0);
        SendMessageA(panel, kPlayerPanelFullView, 1, 0);
    }

    st.label_font.reset(
        create_face_font(settings().font_name, kLabelFontPoints, DEFAULT_CHARSET, 0, false, false));
    for (int id : kLabelIds)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(st.label_font.get()), FALSE);

    HWND legs = GetDlgItem(dialog, IDC_SCORE_LIST_LEGS);
    for (const std::string& item : score_list_items(record))
        SendMessageA(legs, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(legs, CB_SETCURSEL, static_cast<WPARAM>(st.entry->leg_number), 0);
}

INT_PTR on_init_dialog(HWND dialog, ScoreListState* st) {
    if (!st || !st->entry || !st->entry->record) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    set_window_state(dialog, st, DWLP_USER);
    restore_dialog_placement(dialog, settings().score_list, kScoreListMinimumSize);
    set_up_children(dialog, *st);
    lay_out(dialog, *st);
    show_page(dialog, *st);
    return TRUE;
}

void on_close(HWND dialog, ScoreListState& st) {
    // The labels let go of the font before it goes.
    for (int id : kLabelIds)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, 0, FALSE);
    st.label_font.reset();
    EndDialog(dialog, 0);
}

void on_command(HWND dialog, ScoreListState& st, int id, int code) {
    if (id == IDC_SCORE_LIST_LEGS && code == CBN_SELCHANGE) show_page(dialog, st);
    if (id == IDCANCEL) on_close(dialog, st);
}

INT_PTR CALLBACK score_list_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG)
                return on_init_dialog(dialog, reinterpret_cast<ScoreListState*>(lparam));
            ScoreListState* st = window_state<ScoreListState>(dialog, DWLP_USER);
            if (!st) return FALSE;
            switch (message) {
            case WM_SIZE: lay_out(dialog, *st); return TRUE;
            case WM_GETMINMAXINFO: limit_dialog_size(lparam, kScoreListMinimumSize); return TRUE;
            case WM_EXITSIZEMOVE: remember_dialog_placement(dialog, settings().score_list); return TRUE;
            case WM_COMMAND: on_command(dialog, *st, LOWORD(wparam), HIWORD(wparam)); return TRUE;
            default: return FALSE;
            }
        },
        // Out of memory while filling the combo box: the dialog shows what it has.
        [] { return FALSE; });
}

} // namespace

void run_score_list_dialog(HWND owner, const HistoryEntry* entry) {
    ScoreListState state;
    state.entry = entry;
    DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_SCORE_LIST), owner, score_list_proc,
                    reinterpret_cast<LPARAM>(entry ? &state : nullptr));
}

} // namespace tx9
