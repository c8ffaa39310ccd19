// What the pages of the Option sheet share: the sheet's state, reached from
// every page, and the page procedures the sheet is built from.
#pragma once

#include "app/key_bindings.h"
#include "engine/game_record.h"
#include "settings/settings.h"

#include <array>
#include <string>

#include <windows.h>

namespace tx9 {

// Lives on the stack of run_option_sheet for as long as the sheet is open.
struct OptionSheetState {
    explicit OptionSheetState(const KeyNamer& key_namer) : namer(key_namer) {}

    const KeyNamer& namer;
    int options_changed = 0; // set by every page that applies
    // Colours and font as they were when the sheet opened: Cancel puts them back.
    std::array<Color, kColorCount> saved_colors{};
    std::string saved_font;
    // The record the View page's previews show; it outlives their windows.
    GameRecord preview;

    void restore_appearance() const;
};

// The sheet's notifications as a page takes them: apply comes as the command
// IDOK, the cancel query as IDM_SHEET_CANCEL_QUERY. Returns TRUE when the
// notification was one of them (the page procedure returns that).
INT_PTR forward_sheet_notification(HWND page, const NMHDR& header);

// The sheet's state kept by a page; nullptr before WM_INITDIALOG.
OptionSheetState* sheet_state_of(HWND page);
// WM_INITDIALOG of a page: keeps the sheet's state from the page's creation data.
OptionSheetState* keep_sheet_state(HWND page, LPARAM init_param);

INT_PTR CALLBACK view_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK key_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK player_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace tx9
