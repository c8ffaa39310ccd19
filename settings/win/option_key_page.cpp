// The Key page of the Option sheet: the Key bindings as a list, edited with
// the Select key dialog. The Settings' table is replaced only on OK; every
// edit marks the table as the user's own at once.
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/option_pages.h"
#include "settings/win/list_ops.h"
#include "settings/win/option_sheet_pages.h"
#include "settings/win/select_key_dialog.h"

#include <memory>

namespace tx9 {

namespace {

constexpr int kFunctionWidth = 200;
constexpr int kKeyWidth = 100;

HWND list_of(HWND page) {
    return GetDlgItem(page, IDC_KEY_LIST);
}

void mark_customised() {
    settings().keys.keys_customised = 1;
}

void update_buttons(HWND page) {
    const bool selected = list_selection(list_of(page)) >= 0;
    for (int id : {IDC_LIST_UP, IDC_LIST_DOWN, IDC_LIST_EDIT, IDC_LIST_DELETE})
        EnableWindow(GetDlgItem(page, id), selected);
}

void on_init(HWND page, const OptionSheetState& sheet) {
    HWND list = list_of(page);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    const std::pair<int, int> columns[] = {{IDS_KEY_FUNCTION_COLUMN, kFunctionWidth},
                                           {IDS_KEY_KEY_COLUMN, kKeyWidth}};
    for (int i = 0; i < 2; ++i) {
        std::string text = load_resource_string(columns[i].first);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = text.data();
        column.cx = columns[i].second;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    for (const KeyBinding& binding : key_page_bindings(settings().keys.bindings))
        append_list_copy(list, binding, key_page_texts(sheet.namer, binding));
    update_buttons(page);
}

void add_binding(HWND page, const OptionSheetState& sheet) {
    HWND list = list_of(page);
    if (list_count(list) >= kMaxKeyBindings) {
        MessageBoxA(page, load_resource_string(IDS_CANNOT_ADD).c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
        return;
    }
    auto binding = std::make_unique<KeyBinding>();
    if (!run_select_key_dialog(page, *binding)) return;
    mark_customised();
    const std::vector<std::string> texts = key_page_texts(sheet.namer, *binding);
    const int at = append_list_record(list, std::move(binding), texts);
    select_list_item(list, at);
    SetFocus(list);
}

void edit_binding(HWND page, const OptionSheetState& sheet) {
    HWND list = list_of(page);
    const int at = list_selection(list);
    KeyBinding* binding = list_record<KeyBinding>(list, at);
    if (!binding || !run_select_key_dialog(page, *binding)) return;
    mark_customised();
    set_list_item_texts(list, at, key_page_texts(sheet.namer, *binding));
}

void delete_binding(HWND page) {
    HWND list = list_of(page);
    const int at = list_selection(list);
    if (at < 0) return;
    if (MessageBoxA(page, load_resource_string(IDS_DELETE_QUESTION).c_str(), kProgramTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    mark_customised();
    take_list_record<KeyBinding>(list, at);
    ListView_DeleteItem(list, at);
    select_list_item(list, at);
    update_buttons(page);
}

void move_binding(HWND page, int step, int button) {
    HWND list = list_of(page);
    if (move_list_item(list, list_selection(list), step) < 0) return;
    mark_customised();
    SetFocus(GetDlgItem(page, button));
}

void apply(HWND page, OptionSheetState& sheet) {
    HWND list = list_of(page);
    settings().keys.bindings = list_records<KeyBinding>(list);
    free_list_records<KeyBinding>(list);
    sheet.options_changed = 1;
}

void on_command(HWND page, OptionSheetState& sheet, int id) {
    switch (id) {
    case IDC_LIST_UP: move_binding(page, -1, IDC_LIST_UP); break;
    case IDC_LIST_DOWN: move_binding(page, +1, IDC_LIST_DOWN); break;
    case IDC_LIST_ADD: add_binding(page, sheet); break;
    case IDC_LIST_EDIT: edit_binding(page, sheet); break;
    case IDC_LIST_DELETE: delete_binding(page); break;
    case IDOK: apply(page, sheet); break;
    case IDM_SHEET_CANCEL_QUERY: sheet.restore_appearance(); break;
    default: break;
    }
}

INT_PTR on_notify(HWND page, const NMHDR& header) {
    if (INT_PTR handled =
            filter_list_notification(page, header, list_of(page), IDC_LIST_EDIT, IDC_LIST_DELETE))
        return handled;
    return forward_sheet_notification(page, header);
}

} // namespace

INT_PTR CALLBACK key_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG) {
                if (OptionSheetState* sheet = keep_sheet_state(page, lparam)) on_init(page, *sheet);
                return TRUE;
            }
            OptionSheetState* sheet = sheet_state_of(page);
            if (!sheet) return FALSE;
            switch (message) {
            case WM_NOTIFY: return on_notify(page, *reinterpret_cast<NMHDR*>(lparam));
            case kListNotify:
                if (wparam == static_cast<WPARAM>(LVN_ITEMCHANGED)) update_buttons(page);
                return FALSE;
            case WM_COMMAND: on_command(page, *sheet, LOWORD(wparam)); return TRUE;
            case WM_DRAWITEM:
                if (wparam != IDC_LIST_UP && wparam != IDC_LIST_DOWN) return FALSE;
                draw_arrow_button(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam), wparam == IDC_LIST_DOWN);
                return TRUE;
            case WM_DESTROY: free_list_records<KeyBinding>(list_of(page)); return FALSE;
            default: return FALSE;
            }
        },
        [] { return static_cast<INT_PTR>(FALSE); });
}

} // namespace tx9
