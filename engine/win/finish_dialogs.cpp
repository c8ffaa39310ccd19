#include "engine/win/finish_dialogs.h"

#include "core/win/beep.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"

namespace tx9 {

void place_dialog_over_owner(HWND dialog, HWND owner) {
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    RECT around{};
    if (!top || !GetWindowRect(top, &around)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    RECT self{};
    GetWindowRect(dialog, &self);
    int x = around.left + ((around.right - around.left) - (self.right - self.left)) / 2;
    int y = around.top + ((around.bottom - around.top) - (self.bottom - self.top)) / 2;
    // An owner hanging off the top-left would put the dialog out of reach.
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    beep(MB_ICONASTERISK);
}

namespace {

INT_PTR finish_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        int finish = static_cast<int>(lparam);
        if (finish > 60) EnableWindow(GetDlgItem(dialog, IDC_FINISH_1), FALSE);
        if (finish > 120) EnableWindow(GetDlgItem(dialog, IDC_FINISH_2), FALSE);
        place_dialog_over_owner(dialog, GetWindow(dialog, GW_OWNER));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_FINISH_1: EndDialog(dialog, 1); return TRUE;
        case IDC_FINISH_2: EndDialog(dialog, 2); return TRUE;
        case IDC_FINISH_3: EndDialog(dialog, 3); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR middle_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* record = reinterpret_cast<GameRecord*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        for (int p = 0; p < 2; ++p) {
            const PlayerBlock& player = record->player[static_cast<size_t>(p)];
            std::string label = player.com ? strprintf("COM (&%d)", p + 1)
                                           : strprintf("%s (&%d)", player.name.c_str(), p + 1);
            SetDlgItemTextA(dialog, p == 0 ? IDC_MIDDLE_PLAYER1 : IDC_MIDDLE_PLAYER2, label.c_str());
        }
        place_dialog_over_owner(dialog, GetWindow(dialog, GW_OWNER));
        return TRUE;
    }
    case WM_COMMAND: {
        auto* record = reinterpret_cast<GameRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
        int id = LOWORD(wparam);
        if ((id == IDC_MIDDLE_PLAYER1 || id == IDC_MIDDLE_PLAYER2) && record) {
            record->current_leg().winner = id == IDC_MIDDLE_PLAYER1 ? 0 : 1;
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

// A failure in either dialog ends it as cancelled.
INT_PTR end_cancelled(HWND dialog) {
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR CALLBACK finish_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return finish_message(dialog, message, wparam, lparam); },
                   [dialog] { return end_cancelled(dialog); });
}

INT_PTR CALLBACK middle_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return middle_message(dialog, message, wparam, lparam); },
                   [dialog] { return end_cancelled(dialog); });
}

} // namespace

int ask_finishing_dart(HWND owner, int finish) {
    INT_PTR result = DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_FINISH), owner, finish_dialog_proc,
                                     static_cast<LPARAM>(finish));
    return result >= 1 && result <= 3 ? static_cast<int>(result) : 0;
}

bool ask_leg_winner(HWND owner, GameRecord& record) {
    return DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_MIDDLE), owner, middle_dialog_proc,
                           reinterpret_cast<LPARAM>(&record)) == 1;
}

} // namespace tx9
