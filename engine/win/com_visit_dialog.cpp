#include "engine/win/com_visit_dialog.h"

#include "core/win/gdi.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/win/window_state.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "engine/com_player.h"
#include "res/resource.h"
#include "settings/settings.h"

namespace tx9 {

namespace {

constexpr UINT_PTR kDartTimer = 1;
constexpr int kDartFontPoints = 22;

struct ComVisitState {
    ComVisitState(GameRecord& rec, int who, UINT interval)
        : record(rec), player(who), dart_interval(interval),
          visit(who, rec.player[static_cast<size_t>(who)], checkout_table(), [] { return GetTickCount(); }) {}

    GameRecord& record;
    int player;
    UINT dart_interval;
    ComVisit visit;
    Font dart_font;
};

void close_with(HWND dialog, ComVisitState& st, int com_result) {
    KillTimer(dialog, kDartTimer);
    st.record.player[static_cast<size_t>(st.player)].com_result = com_result;
    EndDialog(dialog, 1);
}

BOOL on_init(HWND dialog, ComVisitState& st) {
    st.dart_font.reset(
        create_face_font(settings().font_name, kDartFontPoints, ANSI_CHARSET, 0, false, false));
    for (int id = IDC_COM_DART1; id <= IDC_COM_DART3; ++id)
        SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(st.dart_font.get()), FALSE);

    HWND stop = GetDlgItem(dialog, IDCANCEL);
    bool both_com = st.record.player[0].com == 1 && st.record.player[1].com == 1;
    if (!both_com && stop) {
        // Only a game between two COM players has anyone to stop it with a click;
        // Esc still works.
        ShowWindow(stop, SW_HIDE);
        RECT button{}, self{};
        GetWindowRect(stop, &button);
        GetWindowRect(dialog, &self);
        SetWindowPos(dialog, nullptr, 0, 0, self.right - self.left, button.top - self.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    RECT around{}, self{};
    HWND parent = GetParent(dialog);
    if (!parent || !GetWindowRect(parent, &around)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    GetWindowRect(dialog, &self);
    SetWindowPos(dialog, nullptr, around.left + ((around.right - around.left) - (self.right - self.left)) / 2,
                 around.top + ((around.bottom - around.top) - (self.bottom - self.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    SetTimer(dialog, kDartTimer, st.dart_interval, nullptr);
    if (both_com) return TRUE;
    SetFocus(dialog);
    return FALSE;
}

void on_timer(HWND dialog, ComVisitState& st) {
    KillTimer(dialog, kDartTimer);
    ComStep step = st.visit.tick();
    if (step.kind == ComStep::kThrew) {
        SetDlgItemTextA(dialog, IDC_COM_DART1 + step.index, step.text.c_str());
        SetTimer(dialog, kDartTimer, st.dart_interval, nullptr);
        return;
    }
    close_with(dialog, st, step.com_result);
}

void on_stop(HWND dialog, ComVisitState& st) {
    // No dart lands while the question is up; No carries on where it was.
    KillTimer(dialog, kDartTimer);
    std::string question = load_resource_string(IDS_STOP_QUESTION);
    if (MessageBoxA(dialog, question.c_str(), kProgramTitle, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        close_with(dialog, st, st.visit.stop().com_result);
        return;
    }
    SetTimer(dialog, kDartTimer, st.dart_interval, nullptr);
}

INT_PTR handle_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* st = reinterpret_cast<ComVisitState*>(lparam);
        set_window_state(dialog, st, DWLP_USER);
        return on_init(dialog, *st);
    }
    ComVisitState* st = window_state<ComVisitState>(dialog, DWLP_USER);
    if (!st) return FALSE;
    switch (message) {
    case WM_TIMER:
        if (wparam == kDartTimer) on_timer(dialog, *st);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL) on_stop(dialog, *st);
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, kDartTimer);
        // The static fields go after this; they must not draw with a deleted font.
        for (int id = IDC_COM_DART1; id <= IDC_COM_DART3; ++id)
            SendDlgItemMessageA(dialog, id, WM_SETFONT, 0, FALSE);
        st->dart_font.reset();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK com_visit_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded([&] { return handle_message(dialog, message, wparam, lparam); },
                   [dialog]() -> INT_PTR {
                       // Out of memory mid-visit: end it as stopped rather than score a visit never thrown.
                       if (ComVisitState* st = window_state<ComVisitState>(dialog, DWLP_USER))
                           close_with(dialog, *st, kComStopped);
                       else
                           EndDialog(dialog, 0);
                       return TRUE;
                   });
}

} // namespace

int run_com_visit(HWND owner, GameRecord& record, int player, UINT dart_interval) {
    if (player != 0 && player != 1) return 0;
    ComVisitState state(record, player, dart_interval);
    PlayerBlock& com = record.player[static_cast<size_t>(player)];
    com.com_result = 0;
    if (DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_COM_VISIT), owner, com_visit_proc,
                        reinterpret_cast<LPARAM>(&state)) != 1)
        com.com_result = kComStopped; // no window, no visit: play stops rather than loop
    return com.com_result;
}

} // namespace tx9
