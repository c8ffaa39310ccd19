// The Score List dialog under Wine: opened on a set row or a leg row of the
// history, its combo box switching between the players and the legs.
#include "records/win/score_list_dialog.h"

#include "core/text.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// A finished leg of two rounds each; the winner's darts as given (0 = drawn).
LegRecord leg(int winner, int win_darts) {
    LegRecord leg;
    leg.rows = 2, leg.capacity = 10, leg.cur_round = 2, leg.finished = 1;
    leg.winner = winner, leg.win_darts = win_darts;
    for (auto& cells : leg.scores)
        cells = {60, 45, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return leg;
}

// "sheet leg 1 view | labels '' '14 Darts'" with only what is visible: the
// sheet with its leg, the panels, the labels with their texts.
std::string page_of(HWND dialog) {
    auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; };
    std::string out;
    ScoreSheetInfo info;
    if (visible(IDC_SCORE_LIST_SHEET) && score_sheet_info(GetDlgItem(dialog, IDC_SCORE_LIST_SHEET), &info))
        out += strprintf("sheet leg %d%s", info.shown_leg, info.view_mode ? " view" : "");
    for (int p = 0; p < 2; ++p) {
        PlayerPanelInfo panel;
        const int id = p == 0 ? IDC_SCORE_LIST_PLAYER1 : IDC_SCORE_LIST_PLAYER2;
        if (visible(id) && player_panel_info(GetDlgItem(dialog, id), &panel))
            out +=
                strprintf("%spanel %s%s %dpt", p ? ", " : "", panel.block ? panel.block->name.c_str() : "-",
                          panel.full_view ? " full" : "", panel.font_size);
    }
    for (int id : {IDC_SCORE_LIST_DARTS1, IDC_SCORE_LIST_DARTS2})
        if (visible(id))
            out += " | label " + std::to_string(id - IDC_SCORE_LIST_DARTS1 + 1) + " '" +
                   dialog_item_text(dialog, id) + "'";
    return out;
}

void choose(HWND dialog, int item) {
    HWND legs = GetDlgItem(dialog, IDC_SCORE_LIST_LEGS);
    SendMessageA(legs, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SCORE_LIST_LEGS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(legs));
}

class ScoreListDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        register_player_panel(GetModuleHandleA(nullptr)); // once; later calls are refused
        saved_ = settings();
        settings().score_list = {};
        record_.start_score = 501;
        record_.player[0].name = "Ann";
        record_.player[1].name = "Bob";
        // Player 2 won the second leg with 14 darts; the third was drawn at the round limit.
        record_.leg_records = {leg(0, 15), leg(1, 14), leg(0, 0), leg(0, 0)};
        record_.leg_records.back().finished = 0;
        record_.leg_no = 3;
    }
    void TearDown() override { settings() = saved_; }

    // Opens the dialog on the entry and hands it to look_at once, then closes it.
    int open(const HistoryEntry* entry, const std::function<void(HWND)>& look_at) {
        int sightings = 0;
        DialogAnswerer answerer([&](const DialogInfo& info) {
            ++sightings;
            look_at(info.hwnd);
            return IDCANCEL;
        });
        run_score_list_dialog(owner_.hwnd(), entry);
        return sightings;
    }

    Settings saved_;
    GameRecord record_;
    TestWindow owner_{400, 300, "owner"};
};

TEST_F(ScoreListDialog, OpensOnTheRowsLegAndFollowsTheComboBox) {
    EXPECT_EQ(0, open(nullptr, [](HWND) {})) << "no entry, no dialog";

    const HistoryEntry set_row{HistoryRowKind::set, &record_, 0};
    const HistoryEntry leg_row{HistoryRowKind::leg, &record_, 2};
    std::vector<std::string> items;
    std::vector<std::string> pages;
    open(&set_row, [&](HWND dialog) {
        HWND legs = GetDlgItem(dialog, IDC_SCORE_LIST_LEGS);
        for (LRESULT i = 0, n = SendMessageA(legs, CB_GETCOUNT, 0, 0); i < n; ++i) {
            char text[64] = "";
            SendMessageA(legs, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        pages.push_back(page_of(dialog));
    });
    open(&leg_row, [&](HWND dialog) {
        pages.push_back(page_of(dialog));
        for (int item : {1, 3, 0}) {
            choose(dialog, item);
            pages.push_back(page_of(dialog));
        }
    });
    EXPECT_EQ(items, (std::vector<std::string>{"Player Information", "1 Legs", "2 Legs", "3 Legs"}));
    const std::string players = "panel Ann full 12pt, panel Bob full 12pt";
    const std::vector<std::string> want = {players, "sheet leg 1 view | label 2 '14 Darts'",
                                           "sheet leg 0 view | label 1 '15 Darts'",
                                           "sheet leg 2 view | label 1 ''", players};
    EXPECT_EQ(pages, want);
}

TEST_F(ScoreListDialog, OpensWhereItWasWithTheSheetAndCloseLaidOut) {
    settings().score_list = {30, 40, 640, 480};
    const HistoryEntry leg_row{HistoryRowKind::leg, &record_, 1};
    std::string shown, want;
    open(&leg_row, [&](HWND dialog) {
        RECT at{}, client{};
        GetWindowRect(dialog, &at);
        GetClientRect(dialog, &client);
        auto place = [&](int id) {
            RECT r{};
            GetWindowRect(GetDlgItem(dialog, id), &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            return strprintf("%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
        };
        shown = strprintf("%ld,%ld %ldx%ld", at.left, at.top, at.right - at.left, at.bottom - at.top) +
                " | " + place(IDC_SCORE_LIST_SHEET) + " | " + place(IDC_SCORE_LIST_DARTS2) + " | " +
                place(IDCANCEL);
        // Sheet at (0, 40) sized w x (h - 110); label 2 at (w - 150, h - 70); Close at (w - 98, h - 31).
        const long w = client.right, h = client.bottom;
        want = strprintf("30,40 640x480 | 0,40 %ldx%ld | %ld,%ld 150x30 | %ld,%ld 88x21", w, h - 110, w - 150,
                         h - 70, w - 98, h - 31);
    });
    EXPECT_EQ(shown, want);
}

// Both record dialogs exist in both languages with the same controls in the same places.
TEST(RecordDialogTemplates, JapaneseHasTheEnglishLayout) {
    for (int dialog : {IDD_HISTORY, IDD_SCORE_LIST}) {
        DialogTemplate en = read_dialog_template(dialog, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        DialogTemplate ja = read_dialog_template(dialog, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        ASSERT_FALSE(en.items.empty()) << dialog;
        EXPECT_EQ(en.layout(), ja.layout()) << dialog;
        EXPECT_NE(en.caption, ja.caption) << dialog << " is not translated";
    }
}

} // namespace
