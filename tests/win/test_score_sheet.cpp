// A real score sheet with its entry field in a host window, driven with messages, keys and clicks: what
// reaches the window, its parent and the screen (the rules behind the commands are tested in the core).
#include "ui/score/win/score_sheet.h"

#include "app/win/entry_control.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

using Cell = std::pair<int, int>; // player, round

class ScoreSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
        settings().auto_save = 0;
        settings().font_name = "Arial";
        for (int c = 0; c < kColorCount; ++c)
            settings().colors[static_cast<size_t>(c)] = color_default(c, system_services());
    }
    void TearDown() override {
        if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
        settings() = saved_;
    }

    // A sheet 340 pixels wide (u = 20) on the record, with this many whole
    // rows below the header and half a row more, its leg started.
    void open(GameRecord& record, int rows = 10) {
        sheet_ = create_score_sheet(host_.hwnd(), &record);
        ASSERT_NE(nullptr, sheet_);
        set_score_sheet_dart_interval(sheet_, 10);
        SetWindowPos(sheet_, nullptr, 0, 0, 400, 400, SWP_NOZORDER);
        RECT client{};
        GetClientRect(sheet_, &client);
        const int width = 740 - client.right, frame = 400 - client.bottom;
        SetWindowPos(sheet_, nullptr, 0, 0, width, 400, SWP_NOZORDER);
        const int rh = info().row_height;
        SetWindowPos(sheet_, nullptr, 0, 0, width, frame + info().header_height + rows * rh + rh / 2,
                     SWP_NOZORDER);
        SendMessageA(sheet_, kScoreSheetStartLeg, 0, 0);
        host_.clear_received();
    }
    ScoreSheetInfo info() const {
        ScoreSheetInfo i;
        EXPECT_TRUE(score_sheet_info(sheet_, &i));
        return i;
    }
    HWND entry() const { return info().entry; }
    bool entry_shown() const { return IsWindowVisible(entry()) != FALSE; }
    std::array<LONG, 4> entry_place() const { // left, top, right, bottom in the sheet's client pixels
        RECT r{};
        GetWindowRect(entry(), &r);
        MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right, r.bottom};
    }
    void command(int id) { SendMessageA(sheet_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void vscroll(int code) { SendMessageA(sheet_, WM_VSCROLL, static_cast<WPARAM>(code), 0); }
    void wheel(int delta) { SendMessageA(sheet_, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(delta)), 0); }
    // As the template menu enters a visit: the text, then Enter unless text_only.
    void visit(int points, int text_only = 0) {
        SendMessageA(sheet_, kScoreSheetTemplate, static_cast<WPARAM>(points), text_only);
    }
    Cell selection() const { return {info().sel_player, info().sel_round}; }

    Settings saved_;
    TestWindow host_{700, 800, "host"};
    HWND sheet_ = nullptr;
};

GameSettings limited_game(int rounds, int start = 501) {
    GameSettings game = plain_game(start);
    game.round_limit = 1;
    game.round = rounds;
    return game;
}

// Whether the window on the screen, frame and scroll bar included, is what a full redraw (left done)
// shows: the sheet paints only what a command changed. The entry field over it is left out.
::testing::AssertionResult up_to_date(HWND sheet) {
    ScoreSheetInfo info;
    score_sheet_info(sheet, &info);
    RECT window{}, entry{};
    GetWindowRect(sheet, &window);
    if (IsWindowVisible(info.entry)) GetWindowRect(info.entry, &entry);
    OffsetRect(&entry, -window.left, -window.top);
    HDC dc = GetWindowDC(sheet);
    const Image shown = capture_dc(dc, window.right - window.left, window.bottom - window.top);
    SendMessageA(sheet, kScoreSheetRedraw, 0, 0);
    RedrawWindow(sheet, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Image drawn = capture_dc(dc, shown.width, shown.height);
    ReleaseDC(sheet, dc);
    int stale = 0;
    for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < drawn.width; ++x)
            stale += !PtInRect(&entry, POINT{x, y}) && shown.at(x, y) != drawn.at(x, y);
    if (stale == 0 && !drawn.pixels.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << stale << " pixels of the window are stale at top row " << info.top_row;
}

TEST_F(ScoreSheet, ScrollingSelectionDisablingAndWhatGoesToTheParent) {
    GameRecord record = record_for(limited_game(15));
    open(record, 10);
    EXPECT_EQ(entry(), GetFocus()) << "the entry takes the focus when it is placed";
    SCROLLINFO bar{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(sheet_, SB_VERT, &bar);
    EXPECT_EQ(15, bar.nMax) << "15 rounds and the start row";
    EXPECT_EQ(10u, bar.nPage);
    for (int n = 0; n < 24; ++n)
        visit(20);
    EXPECT_EQ(Cell(0, 12), selection());
    EXPECT_EQ(4, info().top_row) << "entering kept the current round in view";

    const int hh = info().header_height, rh = info().row_height;
    // what, the action, then the top row, the selection and whether the entry is shown
    const std::tuple<const char*, std::function<void()>, int, Cell, bool> steps[] = {
        {"Home", [&] { command(IDM_HOME); }, 0, {0, 0}, true},
        {"line down", [&] { vscroll(SB_LINEDOWN); }, 1, {0, 0}, true},
        {"wheel down", [&] { wheel(-120); }, 2, {0, 0}, false},
        {"wheel up", [&] { wheel(120); }, 1, {0, 0}, true},
        {"page down", [&] { command(IDM_PAGE_DOWN); }, 6, {0, 0}, false},
        {"line down at the bottom", [&] { vscroll(SB_LINEDOWN); }, 6, {0, 0}, false},
        {"click on player 2's first row in view", [&] { click(sheet_, 240, hh + rh / 2); }, 6, {1, 5}, true},
        {"page up", [&] { command(IDM_PAGE_UP); }, 0, {1, 5}, true},
        {"line up at the top", [&] { vscroll(SB_LINEUP); }, 0, {1, 5}, true},
        {"bottom", [&] { vscroll(SB_BOTTOM); }, 6, {1, 5}, true},
        {"top", [&] { vscroll(SB_TOP); }, 0, {1, 5}, true},
        {"Esc from the top: round 12 becomes the last row", [&] { command(IDM_ESCAPE); }, 4, {0, 12}, true},
    };
    for (const auto& [what, act, top_row, selected, shown] : steps) {
        act();
        EXPECT_EQ(top_row, info().top_row) << what;
        EXPECT_EQ(top_row, GetScrollPos(sheet_, SB_VERT)) << what;
        EXPECT_EQ(selected, selection()) << what;
        EXPECT_EQ(shown, entry_shown()) << what;
        if (selected == Cell(1, 5)) {
            EXPECT_EQ("20", window_text(entry())) << what;
        }
    }
    EXPECT_EQ((std::array<LONG, 4>{0, hh + 9 * rh + 1, 60, hh + 10 * rh}), entry_place());
    command(IDM_CELL_RIGHT);
    EXPECT_EQ(Cell(1, 12), selection());
    EXPECT_EQ((std::array<LONG, 4>{201, hh + 9 * rh + 1, 260, hh + 10 * rh}), entry_place())
        << "one pixel past 10u, 59 wide";

    host_.clear_received(); // a disabled sheet ignores input
    SendMessageA(sheet_, kScoreSheetDisable, 1, 0);
    EXPECT_FALSE(IsWindowEnabled(entry()));
    visit(45);
    vscroll(SB_LINEDOWN);
    click(sheet_, 20, hh + rh + 4);
    send_key(sheet_, VK_SHIFT);
    EXPECT_EQ("score 0, cell 1 12, top row 4, modifiers told 0",
              strprintf("score %d, cell %d %d, top row %d, modifiers told %d",
                        record.current_leg().scores[1][12], selection().first, selection().second,
                        info().top_row, host_.count(WM_APP + 4)));
    SendMessageA(sheet_, kScoreSheetDisable, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(entry()));

    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(sheet_, WM_GETDLGCODE, 0, 0));
    send_key(sheet_, VK_SHIFT);
    send_key(sheet_, VK_CONTROL);
    send_key(entry(), VK_SHIFT); // the entry tells the sheet, which passes it on
    EXPECT_EQ(3, host_.count(WM_APP + 4));
    send_mouse(sheet_, WM_RBUTTONUP, 30, 60);
    SendMessageA(sheet_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(sheet_), MAKELPARAM(-1, -1));
    EXPECT_EQ(std::make_pair(2, 0), std::make_pair(host_.count(WM_APP + 2), host_.count(WM_CONTEXTMENU)))
        << "the parent hears WM_APP+2 only";
}

TEST_F(ScoreSheet, QuestionsBeepsAndViewModeOnALegOfOneRound) {
    GameRecord record = record_for(limited_game(1));
    open(record);
    vscroll(SB_LINEDOWN);
    EXPECT_EQ(0, info().top_row) << "the sheet scrolled while every row fits";
    const int hh = info().header_height, rh = info().row_height;
    SendMessageA(sheet_, kScoreSheetViewMode, 1, 0);
    EXPECT_LT(info().row_height, rh * 3 / 4) << "view mode keeps the full-size rows";
    EXPECT_EQ(hh + info().row_height + 1, entry_place()[1]);
    SendMessageA(sheet_, kScoreSheetViewMode, 0, 0);
    EXPECT_EQ(rh, info().row_height);

    visit(60);
    int reply = IDNO;
    DialogAnswerer answer([&](const DialogInfo& info) {
        return GetDlgItem(info.hwnd, IDC_MIDDLE_PLAYER2) ? IDC_MIDDLE_PLAYER2 : reply;
    });
    command(IDM_CLEAR_SCORES);
    EXPECT_EQ(60, record.current_leg().scores[0][0]) << "No cleared the scores";
    reply = IDYES;
    command(IDM_CLEAR_SCORES);
    EXPECT_EQ(0, record.current_leg().scores[0][0]);
    ASSERT_EQ(2u, answer.seen().size());
    EXPECT_EQ("tx9 Ver 0.0.6|" + load_resource_string(IDS_CLEAR_QUESTION),
              answer.seen()[0].title + "|" + answer.seen()[0].text);

    record.player[0].com = 1; // the selected cell is now the COM player's
    BeepCounter beeps;
    visit(100);
    EXPECT_EQ(1, beeps.count());
    record.player[0].com = 0;
    visit(60);
    visit(45); // the round limit: Middle for Diddle, won by player 2
    ASSERT_EQ(1, record.leg_no) << "the leg did not end";
    EXPECT_EQ(1, record.leg_records[0].winner);
}

// A finished leg is shown without the entry, and the keys look through it.
TEST_F(ScoreSheet, FinishAsksForTheDartAndAFinishedLegScrollsInstead) {
    settings().auto_save = 1; // a file where the folder should be: nothing can be written
    char base[MAX_PATH] = "", file[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "tx9", 0, file);
    settings().auto_save_path = std::string(file) + "\\inside";
    GameRecord record = record_for(limited_game(15, 101));
    open(record, 10);
    std::vector<DialogInfo> boxes;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (GetDlgItem(info.hwnd, IDC_FINISH_1) && GetDlgItem(info.hwnd, IDC_FINISH_3)) return IDC_FINISH_2;
        boxes.push_back(info);
        return IDOK;
    });
    visit(101);
    DeleteFileA(file);
    ASSERT_EQ(2u, boxes.size()) << "the finish message, then the failed auto save";
    EXPECT_EQ("Anna|" + strprintf(load_resource_string(IDS_FINISHED_BY).c_str(), 2, 2),
              boxes[0].title + "|" + boxes[0].text);
    EXPECT_EQ("tx9 Ver 0.0.6 with text", boxes[1].title + (boxes[1].text.empty() ? "" : " with text"));
    ASSERT_EQ(1, record.leg_no) << "the match goes on after a failed save";
    EXPECT_EQ(1, info().shown_leg);
    EXPECT_EQ(Cell(1, 0), selection()) << "player 2 throws first in the next leg";

    SendMessageA(sheet_, kScoreSheetShowLeg, 0, 0);
    EXPECT_EQ(0, info().shown_leg);
    EXPECT_EQ("hidden ''", (entry_shown() ? "shown '" : "hidden '") + window_text(entry()) + "'");
    const std::pair<UINT, int> keys[] = {{VK_DOWN, 1}, {VK_NEXT, 6}, {VK_UP, 5}, {VK_PRIOR, 0}};
    for (const auto& [key, top_row] : keys) {
        send_key(sheet_, key);
        EXPECT_EQ(top_row, info().top_row) << "key " << key;
    }
    click(sheet_, 20, info().header_height + info().row_height + 5);
    EXPECT_FALSE(entry_shown());
    EXPECT_EQ(sheet_, GetFocus()) << "the focus goes to the sheet on a finished leg";
    SendMessageA(sheet_, kScoreSheetShowLeg, 1, 0);
    EXPECT_TRUE(entry_shown());
}

TEST_F(ScoreSheet, EveryCommandLeavesTheScreenUpToDate) {
    // A long unlimited leg: the sheet fills up, then scrolls and grows its range with every round.
    GameRecord record = record_for(plain_game(20000));
    open(record, 6);
    const int scores[] = {60, 100, 45, 140, 26, 180, 81};
    std::vector<std::pair<std::string, std::function<void()>>> steps;
    for (int n = 0; n < 48; ++n)
        steps.push_back({"visit " + std::to_string(n + 1) + " (Tab)", [this, points = scores[n % 7]] {
                             visit(points, 1);
                             command(IDM_TAB);
                         }});
    const int hh = info().header_height, rh = info().row_height;
    steps.insert(steps.end(), {{"Up", [this] { command(IDM_UP); }},
                               {"Home", [this] { command(IDM_HOME); }},
                               {"click on the 3rd row", [&] { click(sheet_, 240, hh + 3 * rh + 4); }},
                               {"line down", [this] { vscroll(SB_LINEDOWN); }},
                               {"page down", [this] { command(IDM_PAGE_DOWN); }},
                               {"End", [this] { command(IDM_END); }},
                               {"click on the first row in view", [&] { click(sheet_, 240, hh + rh / 2); }},
                               {"line up", [this] { vscroll(SB_LINEUP); }},
                               {"Esc, which scrolls a row", [this] { command(IDM_ESCAPE); }},
                               {"a correction two rounds up, which changes the rounds after it", [this] {
                                    command(IDM_UP);
                                    command(IDM_UP);
                                    visit(1, 1);
                                    command(IDM_TAB);
                                }}});
    for (const auto& [what, act] : steps) {
        act();
        EXPECT_TRUE(up_to_date(sheet_)) << "after " << what;
    }
    EXPECT_GT(info().top_row, 10) << "the leg never scrolled";
}

TEST_F(ScoreSheet, ComPlayerThrowsAfterTheOperatorAndItsFinishCannotBeCancelled) {
    GameSettings game = plain_game(212);
    game.p2_com = 1;
    game.p2_com_level = 6; // throws where it aims: 180, then D16 for 32
    GameRecord record = record_for(game);
    open(record);
    std::vector<DialogInfo> boxes;
    bool had_cancel = true;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (info.title.empty() && GetDlgItem(info.hwnd, IDC_COM_DART1)) return 0; // the COM visit plays
        boxes.push_back(info);
        HWND cancel = GetDlgItem(info.hwnd, IDCANCEL);
        had_cancel = cancel && IsWindowVisible(cancel);
        return IDOK;
    });
    visit(0);
    EXPECT_FALSE(IsWindowEnabled(host_.hwnd())) << "the main window is disabled until the COM visit starts";
    ASSERT_TRUE(pump_until([&] { return record.current_leg().cur_round == 1; }, 5000))
        << "the COM player did not throw";
    EXPECT_EQ(180, record.current_leg().scores[1][0]);
    EXPECT_TRUE(IsWindowEnabled(host_.hwnd()));
    EXPECT_EQ(0, SendMessageA(entry(), kEntryGetReadOnly, 0, 0)) << "the operator's cell is read-only";

    visit(0);
    ASSERT_TRUE(pump_until([&] { return record.leg_no >= 1; }, 5000)) << "the COM player did not finish";
    EXPECT_EQ(-1, record.leg_records[0].scores[1][1]);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("COM|" + strprintf(load_resource_string(IDS_FINISHED_BY).c_str(), 1, 4),
              boxes[0].title + "|" + boxes[0].text);
    EXPECT_FALSE(had_cancel) << "a COM finish cannot be cancelled";
}

} // namespace
