#include "settings/win/list_ops.h"

#include "settings/schedule_list.h"

namespace tx9 {

namespace {

constexpr int kMaxColumnText = 255;

int column_count(HWND list) {
    HWND header = ListView_GetHeader(list);
    const int count = header ? Header_GetItemCount(header) : 0;
    return count > 0 ? count : 1;
}

int insert_item(HWND list, int index, void* data, const std::vector<std::string>& texts) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    std::string first = texts.empty() ? std::string() : texts.front();
    item.pszText = first.data();
    item.lParam = reinterpret_cast<LPARAM>(data);
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (at >= 0) set_list_item_texts(list, at, texts);
    return at;
}

} // namespace

void* list_item_data(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (index < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<void*>(item.lParam);
}

void set_list_item_data(HWND list, int index, void* data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = reinterpret_cast<LPARAM>(data);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int list_count(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int list_selection(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void select_list_item(HWND list, int index) {
    if (index < 0 || index >= list_count(list)) return;
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
}

void set_list_item_texts(HWND list, int index, const std::vector<std::string>& texts) {
    for (size_t column = 0; column < texts.size(); ++column) {
        std::string text = texts[column];
        LVITEMA item{};
        item.iSubItem = static_cast<int>(column);
        item.pszText = text.data();
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
}

std::vector<std::string> list_item_texts(HWND list, int index) {
    std::vector<std::string> texts;
    for (int column = 0, n = column_count(list); column < n; ++column) {
        char text[kMaxColumnText + 1] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

int append_list_item(HWND list, void* data, const std::vector<std::string>& texts) {
    return insert_item(list, list_count(list), data, texts);
}

int move_list_item(HWND list, int index, int step) {
    const int target = list_move_target(index, step, list_count(list));
    if (target < 0) return -1;
    const std::vector<std::string> texts = list_item_texts(list, index);
    void* data = list_item_data(list, index);
    // The record stays with the data: deleting the item does not free it.
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    const int at = insert_item(list, target, data, texts);
    select_list_item(list, at);
    return at;
}

INT_PTR filter_list_notification(HWND dialog, const NMHDR& header, HWND list, int edit_command,
                                 int delete_command) {
    if (header.hwndFrom != list) return FALSE;
    switch (header.code) {
    case LVN_ITEMCHANGED:
    case NM_CUSTOMDRAW: {
        const LRESULT answer = SendMessageA(dialog, kListNotify, static_cast<WPARAM>(header.code),
                                            reinterpret_cast<LPARAM>(&header));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case NM_DBLCLK: SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(edit_command, BN_CLICKED), 0); return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_DELETE) return FALSE;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(delete_command, BN_CLICKED), 0);
        return TRUE;
    default: return FALSE;
    }
}

void draw_arrow_button(const DRAWITEMSTRUCT& item, bool down) {
    RECT rect = item.rcItem;
    UINT state = down ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
    if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
    if (item.itemState & ODS_SELECTED) state |= DFCS_PUSHED;
    DrawFrameControl(item.hDC, &rect, DFC_SCROLL, state);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&rect, -3, -3);
        DrawFocusRect(item.hDC, &rect);
    }
}

} // namespace tx9
