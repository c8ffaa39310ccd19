// The report-style list views of the Schedule dialog and the Key page: each
// item owns one heap record as its item data, items move up and down with two
// owner-drawn arrow buttons, and the list's notifications reach the dialog in
// one shape.
//
// Records are owned through the item data from insertion until
// free_list_records (or take_list_record); deleting an item does not free its
// record, so a dialog frees them before it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

namespace tx9 {

// WM_APP+1 to the dialog: a selection change (LVN_ITEMCHANGED) or a custom
// draw (NM_CUSTOMDRAW) of the list; wParam the notification code, lParam the
// NMHDR. The dialog's answer becomes the notification's result.
inline constexpr UINT kListNotify = WM_APP + 1;

// The record address kept as the item's data; nullptr for none or a bad index.
void* list_item_data(HWND list, int index);
void set_list_item_data(HWND list, int index, void* data);

template <class Record> Record* list_record(HWND list, int index) {
    return static_cast<Record*>(list_item_data(list, index));
}

int list_count(HWND list);
// The selected item, or -1.
int list_selection(HWND list);
// Selects and focuses the item and scrolls it into view; an index that no
// item stands at selects nothing.
void select_list_item(HWND list, int index);

// Column texts of an item, column 0 first.
void set_list_item_texts(HWND list, int index, const std::vector<std::string>& texts);
std::vector<std::string> list_item_texts(HWND list, int index);

// Appends an item with the data and its column texts. Returns its index, or
// -1 when the list refused it.
int append_list_item(HWND list, void* data, const std::vector<std::string>& texts);

// Appends a record the item then owns: a copy of one, or the given one itself.
// A record the list refused is freed.
template <class Record>
int append_list_record(HWND list, std::unique_ptr<Record> record, const std::vector<std::string>& texts) {
    const int index = append_list_item(list, record.get(), texts);
    if (index >= 0) record.release();
    return index;
}
template <class Record>
int append_list_copy(HWND list, const Record& record, const std::vector<std::string>& texts) {
    return append_list_record(list, std::make_unique<Record>(record), texts);
}

// Takes the item's record back (the item's data becomes none).
template <class Record> std::unique_ptr<Record> take_list_record(HWND list, int index) {
    std::unique_ptr<Record> owned(list_record<Record>(list, index));
    set_list_item_data(list, index, nullptr);
    return owned;
}

// Frees every item's record and sets each item's data to none.
template <class Record> void free_list_records(HWND list) {
    for (int i = 0, n = list_count(list); i < n; ++i)
        take_list_record<Record>(list, i);
}

// Every item's record, copied in list order (items without one are skipped).
template <class Record> std::vector<Record> list_records(HWND list) {
    std::vector<Record> records;
    for (int i = 0, n = list_count(list); i < n; ++i)
        if (const Record* record = list_record<Record>(list, i)) records.push_back(*record);
    return records;
}

// Moves the item one place up (-1) or down (+1) with its record and texts,
// then selects, focuses and shows it. Returns the new index, or -1 when there
// is no place to go.
int move_list_item(HWND list, int index, int step);

// The list's notifications as the dialog wants them: a selection change or a
// custom draw goes to the dialog as kListNotify (its answer is stored as the
// result), a double click becomes the command `edit_command`, the Delete key
// the command `delete_command`. Returns TRUE when it handled the notification
// (the dialog procedure returns that); other notifications and other windows
// give FALSE.
INT_PTR filter_list_notification(HWND dialog, const NMHDR& header, HWND list, int edit_command,
                                 int delete_command);

// WM_DRAWITEM of an arrow button: a scroll-bar arrow, up or down, inactive
// while the button is disabled, pushed while pressed, with a focus rectangle 3
// pixels inside while it has the focus.
void draw_arrow_button(const DRAWITEMSTRUCT& item, bool down);

} // namespace tx9
