// The Player page of the Option sheet: one check box per row the player
// panels can show.
#include "core/win/guard.h"
#include "res/resource.h"
#include "settings/win/option_sheet_pages.h"

namespace tx9 {

namespace {

struct FlagBox {
    int id;
    int PlayerPanelFlags::*flag;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_PLAYER_NAME, &PlayerPanelFlags::name},
    {IDC_PLAYER_FIRST, &PlayerPanelFlags::first},
    {IDC_PLAYER_SETS, &PlayerPanelFlags::total_sets},
    {IDC_PLAYER_LEGS, &PlayerPanelFlags::total_legs},
    {IDC_PLAYER_TONS, &PlayerPanelFlags::total_tons},
    {IDC_PLAYER_180S, &PlayerPanelFlags::total_180s},
    {IDC_PLAYER_HIGH_OFF, &PlayerPanelFlags::total_high_off},
    {IDC_PLAYER_SHORT, &PlayerPanelFlags::total_short},
    {IDC_PLAYER_AVG_SCORE, &PlayerPanelFlags::avg_score},
    {IDC_PLAYER_AVG_DARTS, &PlayerPanelFlags::avg_darts},
    {IDC_PLAYER_ARRANGE, &PlayerPanelFlags::arrange},
};

void on_init(HWND page) {
    const PlayerPanelFlags& flags = settings().player;
    for (const FlagBox& box : kFlagBoxes)
        CheckDlgButton(page, box.id, flags.*box.flag ? BST_CHECKED : BST_UNCHECKED);
}

void on_apply(HWND page, OptionSheetState& sheet) {
    PlayerPanelFlags& flags = settings().player;
    for (const FlagBox& box : kFlagBoxes)
        flags.*box.flag = IsDlgButtonChecked(page, box.id) == BST_CHECKED ? 1 : 0;
    sheet.options_changed = 1;
}

} // namespace

INT_PTR CALLBACK player_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG) {
                if (keep_sheet_state(page, lparam)) on_init(page);
                return TRUE;
            }
            OptionSheetState* sheet = sheet_state_of(page);
            if (!sheet) return FALSE;
            switch (message) {
            case WM_NOTIFY: return forward_sheet_notification(page, *reinterpret_cast<NMHDR*>(lparam));
            case WM_COMMAND:
                if (LOWORD(wparam) == IDOK) on_apply(page, *sheet);
                if (LOWORD(wparam) == IDM_SHEET_CANCEL_QUERY) sheet->restore_appearance();
                return TRUE;
            default: return FALSE;
            }
        },
        [] { return static_cast<INT_PTR>(FALSE); });
}

} // namespace tx9
