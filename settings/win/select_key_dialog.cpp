#include "settings/win/select_key_dialog.h"

#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/option_pages.h"

#include <string>

#include <commctrl.h>
#include <imm.h>

namespace tx9 {

namespace {

constexpr int kNumberDigits = 3;

KeyBinding* binding_of(HWND dialog) {
    return reinterpret_cast<KeyBinding*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool is_template_choice(HWND dialog) {
    const LRESULT choice = SendDlgItemMessageA(dialog, IDC_SELECT_FUNCTION, CB_GETCURSEL, 0, 0);
    const std::vector<ActionChoice>& list = action_list();
    return choice >= 0 && choice < static_cast<LRESULT>(list.size()) &&
           list[static_cast<size_t>(choice)].command == kTemplateBase;
}

void on_init(HWND dialog, const KeyBinding& binding) {
    HWND functions = GetDlgItem(dialog, IDC_SELECT_FUNCTION);
    for (const ActionChoice& choice : action_list()) {
        const LRESULT at = SendMessageA(functions, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(action_choice_text(choice).c_str()));
        SendMessageA(functions, CB_SETITEMDATA, static_cast<WPARAM>(at), choice.command);
    }
    HWND number = GetDlgItem(dialog, IDC_SELECT_NUMBER);
    SendMessageA(number, EM_LIMITTEXT, kNumberDigits, 0);
    ImmAssociateContext(number, nullptr);

    const int choice = action_choice_index(binding.action);
    SendMessageA(functions, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
    if (is_template_action(binding.action))
        SetDlgItemInt(dialog, IDC_SELECT_NUMBER, binding.action - kTemplateBase, FALSE);
    EnableWindow(number, is_template_choice(dialog));
    if (const unsigned hotkey = hotkey_from_binding(binding))
        SendDlgItemMessageA(dialog, IDC_SELECT_HOTKEY, HKM_SETHOTKEY, hotkey, 0);
}

void focus_item(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void on_ok(HWND dialog, KeyBinding& binding) {
    SelectKeyInput input;
    input.choice = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SELECT_FUNCTION, CB_GETCURSEL, 0, 0));
    input.number_enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_SELECT_NUMBER)) != FALSE;
    char number[16] = "";
    GetDlgItemTextA(dialog, IDC_SELECT_NUMBER, number, sizeof number);
    input.number_text = number;
    input.hotkey = static_cast<unsigned>(SendDlgItemMessageA(dialog, IDC_SELECT_HOTKEY, HKM_GETHOTKEY, 0, 0));
    switch (check_select_key(input, &binding)) {
    case SelectKeyVerdict::TemplateRange:
        MessageBoxA(dialog, load_resource_string(IDS_TEMPLATE_RANGE).c_str(), kProgramTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        focus_item(dialog, IDC_SELECT_NUMBER);
        return;
    case SelectKeyVerdict::NoFunction: focus_item(dialog, IDC_SELECT_FUNCTION); return;
    case SelectKeyVerdict::Accept: EndDialog(dialog, 1); return;
    }
}

INT_PTR CALLBACK select_key_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG) {
                auto* binding = reinterpret_cast<KeyBinding*>(lparam);
                SetWindowLongPtrA(dialog, DWLP_USER, lparam);
                if (binding) on_init(dialog, *binding);
                return TRUE;
            }
            KeyBinding* binding = binding_of(dialog);
            if (!binding || message != WM_COMMAND) return FALSE;
            switch (LOWORD(wparam)) {
            case IDC_SELECT_FUNCTION:
                if (HIWORD(wparam) == CBN_SELCHANGE)
                    EnableWindow(GetDlgItem(dialog, IDC_SELECT_NUMBER), is_template_choice(dialog));
                return TRUE;
            case IDOK: on_ok(dialog, *binding); return TRUE;
            case IDCANCEL: EndDialog(dialog, 0); return TRUE;
            default: return FALSE;
            }
        },
        [] { return static_cast<INT_PTR>(FALSE); });
}

} // namespace

bool run_select_key_dialog(HWND owner, KeyBinding& binding) {
    // The controls are read into a copy, so that Cancel and a refused OK leave the binding alone.
    KeyBinding edited = binding;
    if (DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_SELECT_KEY), owner, select_key_proc,
                        reinterpret_cast<LPARAM>(&edited)) != 1)
        return false;
    binding = edited;
    return true;
}

} // namespace tx9
