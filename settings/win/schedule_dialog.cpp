#include "settings/win/schedule_dialog.h"

#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/placement.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/schedule_list.h"
#include "settings/settings.h"
#include "settings/win/setup_saved.h"
#include "settings/win/game_option_dialog.h"
#include "settings/win/list_ops.h"

#include <memory>
#include <new>
#include <utility>

#include <commctrl.h>

namespace tx9 {

namespace {

constexpr int kListFontPoints = 12;

struct Column {
    int header; // string id
    int width;  // pixels
    int format;
};
constexpr Column kColumns[] = {
    {IDS_COLUMN_START_SCORE, 80, LVCFMT_LEFT}, {IDS_COLUMN_ROUND, 70, LVCFMT_RIGHT},
    {IDS_COLUMN_LEGS, 90, LVCFMT_RIGHT},       {IDS_COLUMN_PLAYER1, 120, LVCFMT_LEFT},
    {IDS_COLUMN_PLAYER2, 120, LVCFMT_LEFT},
};

struct ScheduleDialogState {
    HWND list = nullptr;
    Font list_font;
};

int message_box(HWND dialog, int text, UINT type) {
    return MessageBoxA(dialog, load_resource_string(text).c_str(), kProgramTitle, type);
}

void update_buttons(const ScheduleDialogState& st, HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDOK), list_count(st.list) > 0);
    const bool selected = list_selection(st.list) >= 0;
    for (int id : {IDC_LIST_UP, IDC_LIST_DOWN, IDC_LIST_EDIT, IDC_LIST_DELETE})
        EnableWindow(GetDlgItem(dialog, id), selected);
}

void prepare_list(ScheduleDialogState& st) {
    st.list_font.reset(create_menu_font(kListFontPoints, 0, false));
    SendMessageA(st.list, WM_SETFONT, reinterpret_cast<WPARAM>(st.list_font.get()), FALSE);
    int index = 0;
    for (const Column& column : kColumns) {
        std::string header = load_resource_string(column.header);
        LVCOLUMNA c{};
        c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        c.fmt = column.format;
        c.cx = column.width;
        c.pszText = header.data();
        c.iSubItem = index;
        SendMessageA(st.list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&c));
    }
    ListView_SetExtendedListViewStyle(st.list, LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    for (const GameSettings& entry : settings().schedule)
        append_list_copy(st.list, entry, schedule_columns(entry));
}

void add_entry(ScheduleDialogState& st, HWND dialog) {
    if (!schedule_can_add(list_count(st.list))) {
        message_box(dialog, IDS_CANNOT_ADD, MB_OK | MB_ICONSTOP);
        return;
    }
    std::unique_ptr<GameSettings> entry(new (std::nothrow) GameSettings);
    if (!entry) {
        show_system_error(dialog, ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    *entry = new_schedule_entry(settings().game);
    if (!run_game_option_dialog(dialog, entry.get())) return;
    const std::vector<std::string> texts = schedule_columns(*entry);
    const int index = append_list_record(st.list, std::move(entry), texts);
    select_list_item(st.list, index);
    update_buttons(st, dialog);
}

void edit_entry(ScheduleDialogState& st, HWND dialog) {
    const int index = list_selection(st.list);
    GameSettings* entry = list_record<GameSettings>(st.list, index);
    if (!entry) return;
    entry->schedule_entry = 1;
    run_game_option_dialog(dialog, entry);
    set_list_item_texts(st.list, index, schedule_columns(*entry));
}

void delete_entry(ScheduleDialogState& st, HWND dialog) {
    const int index = list_selection(st.list);
    if (index < 0) return;
    if (message_box(dialog, IDS_DELETE_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    take_list_record<GameSettings>(st.list, index);
    ListView_DeleteItem(st.list, index);
    select_list_item(st.list, index);
    update_buttons(st, dialog);
}

void move_entry(ScheduleDialogState& st, HWND dialog, int step, int button) {
    const int index = list_selection(st.list);
    if (list_move_target(index, step, list_count(st.list)) < 0) return;
    move_list_item(st.list, index, step);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, button)), TRUE);
}

void save_option(ScheduleDialogState& st, HWND dialog) {
    report_setup_saved(dialog, save_schedule_list(settings(), list_records<GameSettings>(st.list)));
}

void game_start(ScheduleDialogState& st, HWND dialog) {
    // Enter while the list is empty: the disabled button does not start an empty Schedule.
    if (list_count(st.list) == 0) return;
    settings().schedule = list_records<GameSettings>(st.list);
    EndDialog(dialog, 1);
}

bool on_init(HWND dialog) {
    std::unique_ptr<ScheduleDialogState> owned(new (std::nothrow) ScheduleDialogState);
    if (!owned) return false;
    ScheduleDialogState& st = *owned;
    attach_window_state(dialog, std::move(owned), DWLP_USER);
    st.list = GetDlgItem(dialog, IDC_SCHEDULE_LIST);
    centre_over_owner(dialog);
    prepare_list(st);
    update_buttons(st, dialog);
    return true;
}

INT_PTR on_command(ScheduleDialogState& st, HWND dialog, int id) {
    switch (id) {
    case IDC_LIST_ADD: add_entry(st, dialog); break;
    case IDC_LIST_EDIT: edit_entry(st, dialog); break;
    case IDC_LIST_DELETE: delete_entry(st, dialog); break;
    case IDC_LIST_UP: move_entry(st, dialog, -1, IDC_LIST_UP); break;
    case IDC_LIST_DOWN: move_entry(st, dialog, +1, IDC_LIST_DOWN); break;
    case IDC_SAVE_OPTION: save_option(st, dialog); break;
    case IDOK: game_start(st, dialog); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    default: return FALSE;
    }
    return TRUE;
}

INT_PTR handle(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        if (!on_init(dialog)) {
            show_system_error(GetWindow(dialog, GW_OWNER), ERROR_NOT_ENOUGH_MEMORY);
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    ScheduleDialogState* st = window_state<ScheduleDialogState>(dialog, DWLP_USER);
    if (!st) return FALSE;
    switch (message) {
    case WM_COMMAND: return on_command(*st, dialog, LOWORD(wparam));
    case WM_NOTIFY:
        return filter_list_notification(dialog, *reinterpret_cast<const NMHDR*>(lparam), st->list,
                                        IDC_LIST_EDIT, IDC_LIST_DELETE);
    case kListNotify:
        if (wparam == LVN_ITEMCHANGED) update_buttons(*st, dialog);
        return FALSE;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (item.CtlID != IDC_LIST_UP && item.CtlID != IDC_LIST_DOWN) return FALSE;
        draw_arrow_button(item, item.CtlID == IDC_LIST_DOWN);
        return TRUE;
    }
    case WM_DESTROY:
        // The list still stands: its records go before it does.
        free_list_records<GameSettings>(st->list);
        return FALSE;
    case WM_NCDESTROY: {
        // The list font goes after the list.
        free_window_state<ScheduleDialogState>(dialog, DWLP_USER);
        return FALSE;
    }
    default: return FALSE;
    }
}

INT_PTR CALLBACK schedule_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle(dialog, message, wparam, lparam); }, [] { return INT_PTR{FALSE}; });
}

} // namespace

bool run_schedule_dialog(HWND owner) {
    return DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_SCHEDULE), owner, schedule_dialog_proc, 0) ==
           1;
}

} // namespace tx9
