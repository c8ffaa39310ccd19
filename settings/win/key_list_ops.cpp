#include "settings/win/key_list_ops.h"

namespace tx9::key_list {

namespace {
constexpr int kTextSize = 256;
} // namespace

int count(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int selection(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void select(HWND list, int index) {
    if (index < 0 || index >= count(list)) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

KeyBinding* binding_at(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<KeyBinding*>(item.lParam);
}

namespace {
void set_data(HWND list, int index, KeyBinding* binding) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = reinterpret_cast<LPARAM>(binding);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int insert(HWND list, int index, KeyBinding* binding, const std::vector<std::string>& texts) {
    LVITEMA item{};
    item.mask = LVIF_PARAM | LVIF_TEXT;
    item.iItem = index;
    std::string first = texts.empty() ? std::string() : texts[0];
    item.pszText = first.data();
    item.lParam = reinterpret_cast<LPARAM>(binding);
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (at >= 0) set_texts(list, at, texts);
    return at;
}

std::vector<std::string> texts_of(HWND list, int index, int columns) {
    std::vector<std::string> texts;
    for (int column = 0; column < columns; ++column) {
        char text[kTextSize] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = kTextSize;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

int column_count(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
}
} // namespace

int append(HWND list, std::unique_ptr<KeyBinding> binding, const std::vector<std::string>& texts) {
    const int at = insert(list, count(list), binding.get(), texts);
    if (at >= 0) binding.release();
    return at;
}

void set_texts(HWND list, int index, const std::vector<std::string>& texts) {
    for (size_t column = 0; column < texts.size(); ++column) {
        std::string text = texts[column];
        LVITEMA item{};
        item.iSubItem = static_cast<int>(column);
        item.pszText = text.data();
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
}

void remove(HWND list, int index) {
    std::unique_ptr<KeyBinding> owned(binding_at(list, index));
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void free_all(HWND list) {
    for (int i = 0, n = count(list); i < n; ++i) {
        std::unique_ptr<KeyBinding> owned(binding_at(list, i));
        set_data(list, i, nullptr);
    }
}

std::vector<KeyBinding> bindings(HWND list) {
    std::vector<KeyBinding> out;
    for (int i = 0, n = count(list); i < n; ++i)
        if (const KeyBinding* b = binding_at(list, i)) out.push_back(*b);
    return out;
}

int move(HWND list, int index, int step) {
    const int to = index + step;
    if (index < 0 || to < 0 || to >= count(list)) return -1;
    KeyBinding* binding = binding_at(list, index);
    const std::vector<std::string> texts = texts_of(list, index, column_count(list));
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    const int at = insert(list, to, binding, texts);
    if (at < 0) {
        std::unique_ptr<KeyBinding> lost(binding); // nowhere to keep it
        return -1;
    }
    select(list, at);
    return at;
}

INT_PTR filter_notification(HWND dialog, const NMHDR& header, HWND list, int edit_command,
                            int delete_command) {
    if (header.hwndFrom != list) return FALSE;
    switch (header.code) {
    case LVN_ITEMCHANGED:
    case NM_CUSTOMDRAW: {
        LRESULT answer = SendMessageA(dialog, kListNotify, header.code, reinterpret_cast<LPARAM>(&header));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case NM_DBLCLK: SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(edit_command), 0); return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_DELETE) return FALSE;
        SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(delete_command), 0);
        return TRUE;
    default: return FALSE;
    }
}

void draw_arrow_button(const DRAWITEMSTRUCT& item, bool down) {
    UINT state = down ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
    if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
    if (item.itemState & ODS_SELECTED) state |= DFCS_PUSHED;
    RECT rect = item.rcItem;
    DrawFrameControl(item.hDC, &rect, DFC_SCROLL, state);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&rect, -3, -3);
        DrawFocusRect(item.hDC, &rect);
    }
}

} // namespace tx9::key_list
