#include "win/support/sheet_fixture.h"

#include "app/win/entry_control.h"
#include "core/win/win_system.h"
#include "checkout/checkout_table.h"
#include "engine/game_rules.h"
#include "ui/score/win/score_sheet.h"

#include <gtest/gtest.h>

namespace tx9::wintest {

void prepare_match_windows() {
    static bool done = false;
    if (done) return;
    done = true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static WinSystem system(instance);
    set_system_services(&system);
    set_app_instance(instance);
    register_entry_control(instance);
    register_score_sheet(instance);
    checkout_table().load_from_file(std::string(TX9_SOURCE_DIR) + "/res/routes.txt");
}

GameSettings plain_game(int start_score) {
    GameSettings game;
    game.start_score = start_score;
    game.p1_name = "Anna";
    game.p2_name = "Bert";
    return game;
}

GameRecord record_for(const GameSettings& game) {
    GameRecord record;
    std::string error;
    EXPECT_TRUE(init_for_set(record, game, true, &error)) << error;
    return record;
}

namespace {

std::vector<DialogTextLog::Entry> g_texts;

LRESULT CALLBACK watch_settext(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    char kind[16] = "";
    if (code == HC_ACTION && call->message == WM_SETTEXT && call->lParam &&
        GetClassNameA(GetParent(call->hwnd), kind, sizeof kind) && lstrcmpA(kind, "#32770") == 0)
        g_texts.push_back({GetDlgCtrlID(call->hwnd), reinterpret_cast<const char*>(call->lParam)});
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

} // namespace

DialogTextLog::DialogTextLog() {
    g_texts.clear();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, watch_settext, nullptr, GetCurrentThreadId());
}

DialogTextLog::~DialogTextLog() {
    if (hook_) UnhookWindowsHookEx(hook_);
}

const std::vector<DialogTextLog::Entry>& DialogTextLog::entries() const {
    return g_texts;
}

} // namespace tx9::wintest
