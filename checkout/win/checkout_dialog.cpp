#include "checkout/win/checkout_dialog.h"

#include "checkout/checkout_table.h"
#include "checkout/checkout_tree.h"
#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/placement.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "res/resource.h"

#include <memory>
#include <new>
#include <utility>

#include <commctrl.h>
#include <imm.h>

namespace tx9 {

namespace {

constexpr int kMinScore = 1;
constexpr int kMaxScore = 32767;
constexpr int kScoreDigits = 3;
constexpr int kRouteFontPoints = 12;
constexpr int kTreeIndent = 48;

struct CheckoutDialogState {
    Font route_font;
    HTREEITEM first_item = nullptr; // the first item inserted since the tree was cleared
};

void insert_routes(CheckoutDialogState& st, HWND tree, HTREEITEM parent,
                   const std::vector<RouteNode>& nodes) {
    const CheckoutTable& table = checkout_table();
    for (const RouteNode& node : nodes) {
        std::string text = route_item_text(table.routes()[node.route]);
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.lParam = static_cast<LPARAM>(node.route);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!item) continue;
        if (!st.first_item) st.first_item = item;
        insert_routes(st, tree, item, node.children);
        if (parent == TVI_ROOT) TreeView_Expand(tree, item, TVE_EXPAND);
    }
}

// The whole tree again for the score in the field, drawn once when it is complete.
void refill(CheckoutDialogState& st, HWND dialog) {
    HWND tree = GetDlgItem(dialog, IDC_CHECKOUT_TREE);
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    st.first_item = nullptr;
    BOOL ok = FALSE;
    const UINT score = GetDlgItemInt(dialog, IDC_CHECKOUT_SCORE, &ok, FALSE);
    insert_routes(st, tree, TVI_ROOT, checkout_tree(checkout_table(), ok ? static_cast<int>(score) : 0));
    if (st.first_item) TreeView_EnsureVisible(tree, st.first_item);
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
}

bool on_init(HWND dialog, int start_score) {
    std::unique_ptr<CheckoutDialogState> owned(new (std::nothrow) CheckoutDialogState);
    if (!owned) return false;
    CheckoutDialogState& st = *owned;
    attach_window_state(dialog, std::move(owned), DWLP_USER);

    HWND field = GetDlgItem(dialog, IDC_CHECKOUT_SCORE);
    HWND tree = GetDlgItem(dialog, IDC_CHECKOUT_TREE);
    SendDlgItemMessageA(dialog, IDC_CHECKOUT_SPIN, UDM_SETRANGE32, kMinScore, kMaxScore);
    st.route_font.reset(create_face_font(load_resource_string(IDS_ROUTE_FONT), kRouteFontPoints,
                                         DEFAULT_CHARSET, 0, false, true));
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(st.route_font.get()), FALSE);
    SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(st.route_font.get()), FALSE);
    TreeView_SetIndent(tree, kTreeIndent);

    SendMessageA(field, EM_LIMITTEXT, kScoreDigits, 0);
    // Setting the text reports a change, which fills the tree for the score.
    SetDlgItemInt(dialog, IDC_CHECKOUT_SCORE, static_cast<UINT>(start_score), FALSE);
    ImmAssociateContext(field, nullptr);
    centre_over_owner(dialog);
    return true;
}

INT_PTR handle(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        if (!on_init(dialog, static_cast<int>(lparam))) EndDialog(dialog, 0);
        return TRUE;
    }
    CheckoutDialogState* st = window_state<CheckoutDialogState>(dialog, DWLP_USER);
    if (!st) return FALSE;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_CHECKOUT_SCORE:
            if (HIWORD(wparam) == EN_CHANGE) refill(*st, dialog);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        default: return FALSE; // Enter in the score field does not close the dialog
        }
    case WM_NCDESTROY: {
        // The font outlives the controls that use it.
        free_window_state<CheckoutDialogState>(dialog, DWLP_USER);
        return FALSE;
    }
    default: return FALSE;
    }
}

INT_PTR CALLBACK checkout_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle(dialog, message, wparam, lparam); }, [] { return INT_PTR{FALSE}; });
}

} // namespace

void run_checkout_dialog(HWND owner, int start_score) {
    DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_CHECKOUT), owner, checkout_dialog_proc,
                    static_cast<LPARAM>(start_score));
}

} // namespace tx9
