#include "settings/win/option_sheet.h"

#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/option_pages.h"
#include "settings/win/option_sheet_pages.h"

#include <commctrl.h>
#include <prsht.h>

namespace tx9 {

void OptionSheetState::restore_appearance() const {
    Settings& s = settings();
    s.colors = saved_colors;
    s.font_name = saved_font;
}

INT_PTR forward_sheet_notification(HWND page, const NMHDR& header) {
    int command = 0;
    if (header.code == PSN_APPLY)
        command = IDOK;
    else if (header.code == PSN_QUERYCANCEL)
        command = IDM_SHEET_CANCEL_QUERY;
    else
        return FALSE;
    SendMessageA(page, WM_COMMAND, static_cast<WPARAM>(command), 0);
    // No error for the apply and "go ahead" for the cancel query: both are FALSE.
    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}

OptionSheetState* sheet_state_of(HWND page) {
    return reinterpret_cast<OptionSheetState*>(GetWindowLongPtrA(page, DWLP_USER));
}

OptionSheetState* keep_sheet_state(HWND page, LPARAM init_param) {
    const auto* sheet_page = reinterpret_cast<const PROPSHEETPAGEA*>(init_param);
    auto* state = sheet_page ? reinterpret_cast<OptionSheetState*>(sheet_page->lParam) : nullptr;
    SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    return state;
}

bool run_option_sheet(HWND owner, const KeyNamer& namer) {
    OptionSheetState state(namer);
    state.saved_colors = settings().colors;
    state.saved_font = settings().font_name;

    struct PageSpec {
        int dialog;
        DLGPROC proc;
    };
    const PageSpec specs[] = {
        {IDD_PAGE_VIEW, view_page_proc},
        {IDD_PAGE_KEY, key_page_proc},
        {IDD_PAGE_PLAYER, player_page_proc},
    };
    PROPSHEETPAGEA pages[3]{};
    for (size_t i = 0; i < 3; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = app_instance();
        pages[i].pszTemplate = MAKEINTRESOURCEA(specs[i].dialog);
        pages[i].pfnDlgProc = specs[i].proc;
        pages[i].lParam = reinterpret_cast<LPARAM>(&state);
    }
    const std::string caption = option_sheet_caption(system_services());
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = app_instance();
    header.pszCaption = caption.c_str();
    header.nPages = 3;
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetA(&header);
    return state.options_changed != 0;
}

} // namespace tx9
