// The list-view operations the Key page needs: each item owns one heap Key
// binding as its item data, items move up and down with two owner-drawn
// arrow buttons, and the list's notifications reach the page in one shape.
#pragma once

#include "app/key_bindings.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

namespace tx9::key_list {

// WM_APP+1 to the page: a selection change or custom draw of the list; wParam
// the notification code, lParam the NMHDR.
inline constexpr UINT kListNotify = WM_APP + 1;

int count(HWND list);
int selection(HWND list); // -1 for none
// Selects, focuses and shows the item; an index no item stands at selects nothing.
void select(HWND list, int index);

// The item's binding (owned by the item), or nullptr.
KeyBinding* binding_at(HWND list, int index);
// Appends an item owning the binding, with its column texts; -1 when refused.
int append(HWND list, std::unique_ptr<KeyBinding> binding, const std::vector<std::string>& texts);
void set_texts(HWND list, int index, const std::vector<std::string>& texts);
// Deletes the item and frees its binding.
void remove(HWND list, int index);
// Frees every item's binding; the items stay, without data.
void free_all(HWND list);
// The bindings in list order.
std::vector<KeyBinding> bindings(HWND list);

// Moves the item one place (step -1 or +1) with its binding and texts, then
// selects it; the new index, or -1 when there is no place to go.
int move(HWND list, int index, int step);

// A selection change or custom draw becomes kListNotify to the dialog, a
// double click the command edit_command, the Delete key delete_command.
// TRUE when the notification was the list's and handled.
INT_PTR filter_notification(HWND dialog, const NMHDR& header, HWND list, int edit_command,
                            int delete_command);

// An arrow button: a scroll-bar arrow, up or down, inactive while disabled,
// pushed while pressed, a focus rectangle 3 pixels inside while focused.
void draw_arrow_button(const DRAWITEMSTRUCT& item, bool down);

} // namespace tx9::key_list
