// The score sheet window under Wine: a real score_list_wnd with its entry
// field in a host window, driven with its messages, commands, keys and clicks;
// the dialogs and message boxes it opens are answered from a thread timer.
#include "ui/score/win/score_sheet.h"

#include "app/win/entry_control.h"
#include "core/win/win_system.h"
#include "core/win/gdi.h"
#include "core/text.h"
#include "engine/match.h"
#include "records/file_util.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_render.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

constexpr int kWidth = 340; // u = 20

class ScoreSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
        settings().auto_save = 0;
        settings().throw_count = 0;
        settings().font_name = "Arial";
        for (int c = 0; c < kColorCount; ++c)
            settings().colors[static_cast<size_t>(c)] = color_default(c, system_services());
    }
    void TearDown() override {
        if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
        settings() = saved_;
    }

    // Opens a sheet on the record with the given number of whole rows below
    // the header (and half a row more), and starts the record's leg.
    void open(GameRecord& record, int visible_rows = 10) {
        sheet_ = create_score_sheet(host_.hwnd(), &record);
        ASSERT_NE(nullptr, sheet_);
        set_client_size(sheet_, kWidth, 400);
        ScoreSheetInfo i = info();
        ASSERT_GT(i.row_height, 5);
        set_client_size(sheet_, kWidth, i.header_height + visible_rows * i.row_height + i.row_height / 2);
        SendMessageA(sheet_, kScoreSheetStartLeg, 0, 0);
        host_.clear_received();
    }

    ScoreSheetInfo info() const {
        ScoreSheetInfo i;
        EXPECT_TRUE(score_sheet_info(sheet_, &i));
        return i;
    }
    HWND entry() const { return info().entry; }
    std::string entry_text() const { return window_text(entry()); }
    bool entry_shown() const { return IsWindowVisible(entry()) != FALSE; }
    // The entry's rectangle in the sheet's client pixels.
    RECT entry_place() const {
        RECT r{};
        GetWindowRect(entry(), &r);
        MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void command(int id) { SendMessageA(sheet_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void type(const std::string& text) {
        SendMessageA(entry(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // A visit as the template menu enters it: the text, then Enter.
    void visit(int points) { SendMessageA(sheet_, kScoreSheetTemplate, static_cast<WPARAM>(points), 0); }
    std::pair<int, int> selection() const { return {info().sel_player, info().sel_round}; }
    int notifications(UINT message) const { return host_.count(message); }

    Settings saved_;
    TestWindow host_{700, 800, "host"};
    HWND sheet_ = nullptr;
};

using Cell = std::pair<int, int>; // player, round

SCROLLINFO scroll_info(HWND window) {
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &bar);
    return bar;
}

// The texts come from the resource set of the user's language: dialogs are
// known by their controls and texts compared with the strings loaded from
// the resources; the English words themselves only when that set is in use.
bool english_ui() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH;
}
std::string finished_by_text(int dart, int darts) {
    return strprintf(load_resource_string(IDS_FINISHED_BY).c_str(), dart, darts);
}

bool is_finish_dialog(const DialogInfo& info) {
    return GetDlgItem(info.hwnd, IDC_FINISH_1) && GetDlgItem(info.hwnd, IDC_FINISH_3);
}
bool is_middle_dialog(const DialogInfo& info) {
    return GetDlgItem(info.hwnd, IDC_MIDDLE_PLAYER1) && GetDlgItem(info.hwnd, IDC_MIDDLE_PLAYER2);
}
bool is_com_window(const DialogInfo& info) {
    return info.title.empty() && GetDlgItem(info.hwnd, IDC_COM_DART1);
}

GameSettings limited_game(int rounds, int start = 501) {
    GameSettings game = plain_game(start);
    game.round_limit = 1;
    game.round = rounds;
    return game;
}

// The screen itself, read back without asking for a paint: every command
// leaves the sheet painted for its scroll position (outside the entry field,
// which is drawn over it) and the scroll bar drawn for its range and
// position, before the message loop has run again.
class ScreenCheck {
  public:
    explicit ScreenCheck(HWND sheet) : sheet_(sheet) {}

    ::testing::AssertionResult sheet_is_up_to_date() const {
        ScoreSheetInfo info;
        score_sheet_info(sheet_, &info);
        RECT client{};
        GetClientRect(sheet_, &client);
        HDC dc = GetDC(sheet_);
        Image screen = capture_dc(dc, client.right, client.bottom);
        ReleaseDC(sheet_, dc);

        BackBuffer buffer;
        SheetTools tools;
        if (!buffer.resize(nullptr, client.right, client.bottom) ||
            !build_sheet_fonts(tools, buffer.dc(), client.right, false) || !build_sheet_colours(tools))
            return ::testing::AssertionFailure() << "no buffer to draw the expected sheet in";
        SheetView view;
        view.record = info.record;
        view.shown_leg = info.shown_leg;
        view.top_row = info.top_row;
        view.width = client.right;
        view.height = client.bottom;
        render_score_sheet(buffer.dc(), tools, view);
        Image expected = capture_dc(buffer.dc(), client.right, client.bottom);
        if (screen.pixels.size() != expected.pixels.size())
            return ::testing::AssertionFailure() << "the screen could not be read";

        RECT entry{};
        if (IsWindowVisible(info.entry)) {
            GetWindowRect(info.entry, &entry);
            MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&entry), 2);
        }
        int stale = 0;
        POINT first{-1, -1};
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) {
                POINT at{x, y};
                if (PtInRect(&entry, at) || screen.at(x, y) == expected.at(x, y)) continue;
                if (stale++ == 0) first = at;
            }
        if (stale == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << stale << " pixels on screen are not the sheet drawn at top row " << info.top_row
               << ", the first at " << first.x << "," << first.y;
    }

    // Compares the scroll bar on screen with the one the system draws when
    // the whole frame is painted again (which this leaves done).
    ::testing::AssertionResult scroll_bar_is_up_to_date() const {
        Image shown = scroll_bar_pixels();
        RedrawWindow(sheet_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Image drawn = scroll_bar_pixels();
        if (drawn.pixels.empty()) return ::testing::AssertionFailure() << "the scroll bar could not be read";
        if (shown.pixels == drawn.pixels) return ::testing::AssertionSuccess();
        SCROLLINFO bar{};
        bar.cbSize = sizeof bar;
        bar.fMask = SIF_ALL;
        GetScrollInfo(sheet_, SB_VERT, &bar);
        return ::testing::AssertionFailure()
               << "the scroll bar on screen is not the one for range 0.." << bar.nMax << ", page "
               << bar.nPage << ", position " << bar.nPos;
    }

  private:
    Image scroll_bar_pixels() const {
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        RECT window{};
        if (!GetScrollBarInfo(sheet_, OBJID_VSCROLL, &bar) || !GetWindowRect(sheet_, &window)) return {};
        const int width = bar.rcScrollBar.right - bar.rcScrollBar.left;
        const int height = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
        BackBuffer copy;
        if (width <= 0 || height <= 0 || !copy.resize(nullptr, width, height)) return {};
        HDC dc = GetWindowDC(sheet_);
        BitBlt(copy.dc(), 0, 0, width, height, dc, bar.rcScrollBar.left - window.left,
               bar.rcScrollBar.top - window.top, SRCCOPY);
        ReleaseDC(sheet_, dc);
        return capture_dc(copy.dc(), width, height);
    }

    HWND sheet_;
};

// ---- Placing the entry ---------------------------------------------------------------

TEST_F(ScoreSheet, EntrySitsOverTheSelectedScoredCell) {
    GameRecord record = record_for(plain_game());
    open(record);
    RECT client{};
    GetClientRect(sheet_, &client);
    ASSERT_EQ(kWidth, client.right);
    const ScoreSheetInfo i = info();
    EXPECT_EQ(0, i.top_row);

    EXPECT_EQ(Cell(0, 0), selection());
    EXPECT_TRUE(entry_shown());
    EXPECT_EQ(entry(), GetFocus()) << "the entry takes the focus when it is placed";
    RECT p1 = entry_place();
    EXPECT_EQ(0, p1.left);
    EXPECT_EQ(60, p1.right - p1.left);
    EXPECT_EQ(i.header_height + i.row_height + 1, p1.top);
    EXPECT_EQ(i.row_height - 1, p1.bottom - p1.top);

    command(IDM_CELL_RIGHT);
    EXPECT_EQ(Cell(1, 0), selection());
    RECT p2 = entry_place();
    EXPECT_EQ(201, p2.left) << "player 2's Scored cell starts one pixel past 10u";
    EXPECT_EQ(59, p2.right - p2.left);
    EXPECT_EQ(p1.top, p2.top);
    command(IDM_CELL_RIGHT); // already in the right column
    EXPECT_EQ(Cell(1, 0), selection());
    command(IDM_CELL_LEFT);
    EXPECT_EQ(Cell(0, 0), selection());
}

TEST_F(ScoreSheet, SelectingARoundScrollsItIntoView) {
    GameRecord record = record_for(limited_game(15));
    open(record, 10);
    EXPECT_EQ(6, info().max_top_row) << "15 rounds and the start row in 10 visible rows";
    SCROLLINFO bar = scroll_info(sheet_);
    EXPECT_EQ(0, bar.nMin);
    EXPECT_EQ(15, bar.nMax);
    EXPECT_EQ(10u, bar.nPage);

    for (int n = 0; n < 24; ++n)
        visit(20);
    ASSERT_EQ(12, record.current_leg().cur_round);
    EXPECT_EQ(Cell(0, 12), selection());
    EXPECT_EQ(4, info().top_row) << "entering kept the current round in view";

    command(IDM_HOME);
    EXPECT_EQ(Cell(0, 0), selection());
    EXPECT_EQ(0, info().top_row);
    EXPECT_EQ("20", entry_text());

    // From the top, selecting round 12 makes it the last visible row.
    type("");
    command(IDM_ESCAPE);
    EXPECT_EQ(Cell(0, 12), selection());
    EXPECT_EQ(4, info().top_row);
    EXPECT_EQ(4, GetScrollPos(sheet_, SB_VERT));
    const ScoreSheetInfo i = info();
    EXPECT_EQ(i.header_height + 9 * i.row_height + 1, entry_place().top);

    // Going up, the view follows once the round reaches the top.
    for (int n = 0; n < 9; ++n)
        command(IDM_UP);
    EXPECT_EQ(Cell(0, 3), selection());
    EXPECT_EQ(4, info().top_row);
    command(IDM_UP);
    EXPECT_EQ(Cell(0, 2), selection());
    EXPECT_EQ(3, info().top_row);
    EXPECT_EQ(20, record.current_leg().scores[0][3]) << "moving through the rounds changed a visit";
}

TEST_F(ScoreSheet, ScrollBarIsDisabledWhileEverythingFits) {
    GameRecord record = record_for(plain_game());
    open(record, 10);
    const ScoreSheetInfo i = info();
    EXPECT_EQ(0, i.max_top_row);
    SCROLLINFO bar = scroll_info(sheet_);
    EXPECT_EQ(0, bar.nMin);
    EXPECT_EQ(1, bar.nMax);
    EXPECT_EQ(0u, bar.nPage);
    EXPECT_EQ(0, bar.nPos);
    SendMessageA(sheet_, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(0, info().top_row);
}

TEST_F(ScoreSheet, ScrollBarWheelAndPageKeysMoveTheView) {
    GameRecord record = record_for(limited_game(15));
    open(record, 10);
    struct Step {
        const char* what;
        std::function<void()> act;
        int top_row;
    };
    HWND sheet = sheet_;
    const Step steps[] = {
        {"line down", [&] { SendMessageA(sheet, WM_VSCROLL, SB_LINEDOWN, 0); }, 1},
        {"wheel down", [&] { SendMessageA(sheet, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0); },
         2},
        {"wheel up", [&] { SendMessageA(sheet, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0); }, 1},
        {"page down (command)", [&] { command(IDM_PAGE_DOWN); }, 6},
        {"line down at the bottom", [&] { SendMessageA(sheet, WM_VSCROLL, SB_LINEDOWN, 0); }, 6},
        {"page up (command)", [&] { command(IDM_PAGE_UP); }, 0},
        {"line up at the top", [&] { SendMessageA(sheet, WM_VSCROLL, SB_LINEUP, 0); }, 0},
        {"bottom", [&] { SendMessageA(sheet, WM_VSCROLL, SB_BOTTOM, 0); }, 6},
        {"top", [&] { SendMessageA(sheet, WM_VSCROLL, SB_TOP, 0); }, 0},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(step.top_row, info().top_row) << step.what;
        EXPECT_EQ(step.top_row, GetScrollPos(sheet_, SB_VERT)) << step.what;
        // Round 0 is selected: its entry shows only while the round is in view.
        EXPECT_EQ(step.top_row <= 1, entry_shown()) << step.what;
    }
}

// ---- Clicks -------------------------------------------------------------------------

// Where a click lands is the core's hit test; the window hands it the
// sheet's own geometry and scroll position.
TEST_F(ScoreSheet, ClicksSelectCellsButNotTheRoundColumn) {
    GameRecord record = record_for(limited_game(15));
    open(record, 10);
    for (int points : {60, 45, 100, 26})
        visit(points);
    SendMessageA(sheet_, WM_VSCROLL, SB_LINEDOWN, 0);
    host_.clear_received();
    const ScoreSheetInfo i = info();
    const int u = kWidth / 17, row = i.row_height;
    click(sheet_, 8 * u, i.header_height + row / 2); // round-number column
    EXPECT_EQ(Cell(0, 2), selection());
    EXPECT_EQ(0, notifications(WM_APP + 1)) << "a missed click entered something";
    click(sheet_, 12 * u, i.header_height + row / 2); // the first row in view: round 1
    EXPECT_EQ(Cell(1, 0), selection());
    EXPECT_EQ("45", entry_text());
}

TEST_F(ScoreSheet, TemplateScoreEntersAsIfTypedAndEntered) {
    GameRecord record = record_for(plain_game());
    open(record);
    SendMessageA(sheet_, kScoreSheetTemplate, 60, 0);
    EXPECT_EQ(60, record.current_leg().scores[0][0]);
    EXPECT_EQ(441, record.player[0].left);
    EXPECT_EQ(Cell(1, 0), selection());
    bool told_player = false, told_turn = false;
    for (const Received& r : host_.received()) {
        told_player |= r.message == WM_APP + 1 && r.wparam == 0;
        told_turn |= r.message == WM_APP + 7 && r.wparam == 1;
    }
    EXPECT_TRUE(told_player) << "no WM_APP+1 for player 1";
    EXPECT_TRUE(told_turn) << "no WM_APP+7 for player 2";

    SendMessageA(sheet_, kScoreSheetTemplate, 45, 1); // text only
    EXPECT_EQ("45", entry_text());
    EXPECT_EQ(Cell(1, 0), selection());
    EXPECT_EQ(0, record.current_leg().cur_round);

    record.player[1].com = 1; // the selected cell is now the COM player's
    BeepCounter beeps;
    SendMessageA(sheet_, kScoreSheetTemplate, 100, 0);
    EXPECT_EQ(1, beeps.count());
    EXPECT_EQ("45", entry_text());
}

// ---- A finished leg ------------------------------------------------------------------

TEST_F(ScoreSheet, FinishedLegHidesTheEntryAndKeysScrollInstead) {
    GameSettings game = limited_game(15, 101);
    game.leg_limit = 1;
    game.max_leg = 1; // the set ends with this leg; the host starts no new one
    GameRecord record = record_for(game);
    open(record, 10);
    std::vector<DialogInfo> boxes;
    ::testing::AssertionResult drawn_under_message = ::testing::AssertionFailure() << "no finish message";
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (is_finish_dialog(info)) return IDC_FINISH_2;
        if (boxes.empty()) drawn_under_message = ScreenCheck(sheet_).sheet_is_up_to_date();
        boxes.push_back(info);
        return IDOK;
    });
    visit(101);
    EXPECT_TRUE(drawn_under_message) << "the finish message shows over a sheet that is not up to date";
    ASSERT_EQ(1, boxes.size()) << "no finish message";
    EXPECT_EQ("Anna", boxes[0].title);
    EXPECT_EQ(finished_by_text(2, 2), boxes[0].text);
    if (english_ui()) {
        EXPECT_EQ("Finished by 2 Throw. (2 darts)", boxes[0].text);
    }
    EXPECT_EQ(1, notifications(WM_APP + 5)) << "the set is over";
    ASSERT_EQ(1, record.leg_records[0].finished);
    EXPECT_EQ(0, info().shown_leg);

    EXPECT_FALSE(entry_shown());
    EXPECT_EQ("", entry_text());
    SetFocus(sheet_);
    EXPECT_EQ(sheet_, GetFocus()) << "the focus stays with the sheet on a finished leg";

    send_key(sheet_, VK_DOWN);
    EXPECT_EQ(1, info().top_row);
    send_key(sheet_, VK_NEXT);
    EXPECT_EQ(6, info().top_row);
    send_key(sheet_, VK_UP);
    EXPECT_EQ(5, info().top_row);
    send_key(sheet_, VK_PRIOR);
    EXPECT_EQ(0, info().top_row);
    command(IDM_DOWN);
    command(IDM_TAB);
    EXPECT_EQ(0, info().top_row);
    EXPECT_FALSE(entry_shown());

    click(sheet_, 20, info().header_height + info().row_height + 5);
    EXPECT_FALSE(entry_shown());
    EXPECT_EQ(sheet_, GetFocus());
}

TEST_F(ScoreSheet, CancelledFinishLeavesTheLegAsItWas) {
    GameRecord record = record_for(plain_game(101));
    open(record);
    std::vector<bool> finish_dialogs;
    DialogAnswerer answer([&](const DialogInfo& info) {
        finish_dialogs.push_back(is_finish_dialog(info));
        return IDCANCEL;
    });
    type("101");
    command(IDM_TAB);
    EXPECT_EQ(0, record.current_leg().finished);
    EXPECT_EQ(0, record.current_leg().scores[0][0]);
    EXPECT_EQ(Cell(0, 0), selection());
    EXPECT_TRUE(entry_shown());
    EXPECT_EQ("", entry_text()) << "the cell to be entered next is reloaded empty";
    ASSERT_EQ(1u, answer.seen().size());
    EXPECT_TRUE(finish_dialogs.at(0)) << "\"" << answer.seen()[0].title << "\" came, not the Finish dialog";
    if (english_ui()) {
        EXPECT_EQ("Finish", answer.seen()[0].title);
    }
}

TEST_F(ScoreSheet, RoundLimitBetweenTwoPlayersAsksForTheWinner) {
    GameRecord record = record_for(limited_game(1));
    open(record);
    std::string first, second;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (is_middle_dialog(info)) {
            first = dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER1);
            second = dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER2);
            return IDC_MIDDLE_PLAYER2;
        }
        return IDOK;
    });
    visit(60);
    visit(45);
    EXPECT_EQ("Anna (&1)", first);
    EXPECT_EQ("Bert (&2)", second);
    ASSERT_EQ(1, record.leg_no) << "the leg did not end";
    EXPECT_EQ(1, record.leg_records[0].winner);
    EXPECT_EQ(1, record.player[1].legs);
    EXPECT_EQ(1, info().shown_leg) << "the next leg is shown";
    EXPECT_EQ(Cell(1, 0), selection()) << "player 2 throws first in the next leg";
}

// ---- Questions -------------------------------------------------------------------------

TEST_F(ScoreSheet, ClearScoresAsksFirst) {
    for (int answer_id : {IDNO, IDYES}) {
        SCOPED_TRACE(answer_id == IDYES ? "Yes" : "No");
        GameRecord record = record_for(plain_game());
        open(record);
        visit(60);
        visit(45);
        DialogInfo question;
        DialogAnswerer answer([&](const DialogInfo& info) {
            question = info;
            return answer_id;
        });
        command(IDM_CLEAR_SCORES);
        EXPECT_EQ("tx9 Ver 0.0.6", question.title);
        EXPECT_EQ(load_resource_string(IDS_CLEAR_QUESTION), question.text);
        if (english_ui()) {
            EXPECT_EQ("Are you sure you want to clear scores?", question.text);
        }
        EXPECT_EQ(answer_id == IDYES ? 0 : 60, record.current_leg().scores[0][0]);
        EXPECT_EQ(answer_id == IDYES ? 0 : 1, record.current_leg().cur_round);
        DestroyWindow(sheet_);
    }
}

// ---- Input ignored while disabled, modifier keys, context menu -----------------------

TEST_F(ScoreSheet, DisabledSheetIgnoresInput) {
    GameRecord record = record_for(limited_game(15));
    open(record, 10);
    SendMessageA(sheet_, kScoreSheetDisable, 1, 0);
    EXPECT_TRUE(info().disabled);
    EXPECT_FALSE(IsWindowEnabled(entry()));
    type("60");
    command(IDM_ENTER);
    command(IDM_CELL_RIGHT);
    SendMessageA(sheet_, WM_VSCROLL, SB_LINEDOWN, 0);
    click(sheet_, 15 * 20, info().header_height + info().row_height + 4);
    send_key(sheet_, VK_SHIFT);
    EXPECT_EQ(0, record.current_leg().scores[0][0]);
    EXPECT_EQ(Cell(0, 0), selection());
    EXPECT_EQ(0, info().top_row);
    EXPECT_EQ(0, notifications(WM_APP + 4));

    SendMessageA(sheet_, kScoreSheetDisable, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(entry()));
    command(IDM_ENTER);
    EXPECT_EQ(60, record.current_leg().scores[0][0]);
}

TEST_F(ScoreSheet, ModifierKeysAndContextMenuGoToTheParent) {
    GameRecord record = record_for(plain_game());
    open(record);
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(sheet_, WM_GETDLGCODE, 0, 0));
    send_key(sheet_, VK_SHIFT);
    send_key(sheet_, VK_CONTROL);
    send_key(entry(), VK_SHIFT); // the entry tells the sheet, which passes it on
    EXPECT_EQ(3, notifications(WM_APP + 4));
    send_mouse(sheet_, WM_RBUTTONUP, 30, 60);
    EXPECT_EQ(1, notifications(WM_APP + 2));
    SendMessageA(sheet_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(sheet_), MAKELPARAM(-1, -1));
    EXPECT_EQ(2, notifications(WM_APP + 2));
    EXPECT_EQ(0, notifications(WM_CONTEXTMENU)) << "the parent should hear WM_APP+2 only";
}

// ---- Messages from the main window and the Score List ---------------------------------

TEST_F(ScoreSheet, ViewModeHalvesTheRowsAndShowLegShowsAnotherLeg) {
    GameRecord record = record_for(plain_game(101));
    open(record);
    const int full = info().row_height;
    SendMessageA(sheet_, kScoreSheetViewMode, 1, 0);
    EXPECT_TRUE(info().view_mode);
    EXPECT_LT(info().row_height, full * 3 / 4);
    SendMessageA(sheet_, kScoreSheetViewMode, 0, 0);
    EXPECT_EQ(full, info().row_height);

    // A second leg: leg 0 finished by player 1 in round 1.
    {
        DialogAnswerer answer(
            [](const DialogInfo& info) { return is_finish_dialog(info) ? IDC_FINISH_3 : IDOK; });
        visit(101);
    }
    ASSERT_EQ(1, record.leg_no);
    EXPECT_EQ(1, info().shown_leg);
    EXPECT_TRUE(entry_shown());
    SendMessageA(sheet_, kScoreSheetShowLeg, 0, 0);
    EXPECT_EQ(0, info().shown_leg);
    EXPECT_EQ(0, info().top_row);
    EXPECT_FALSE(entry_shown()) << "the finished leg has no entry";
    SendMessageA(sheet_, kScoreSheetShowLeg, 1, 0);
    EXPECT_TRUE(entry_shown());

    GameRecord other = record_for(plain_game(301));
    SendMessageA(sheet_, kScoreSheetSetRecord, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(&other, info().record);
    EXPECT_EQ(1, SendMessageA(sheet_, kScoreSheetLegOver, 0, 0)) << "an unlimited set goes on";
    EXPECT_EQ(1, other.leg_no);
}

TEST_F(ScoreSheet, EveryCommandLeavesTheScreenUpToDate) {
    // A long unlimited leg: the sheet fills up, then scrolls and grows its
    // scroll range with every round.
    GameRecord record = record_for(plain_game(20000));
    open(record, 6);
    const ScreenCheck screen(sheet_);
    const int scores[] = {60, 100, 45, 140, 26, 180, 81};
    struct Step {
        std::string what;
        std::function<void()> act;
    };
    std::vector<Step> steps;
    for (int n = 0; n < 48; ++n) {
        const int points = scores[n % 7];
        steps.push_back({"visit " + std::to_string(n + 1) + " (Tab)", [this, points] {
                             type(std::to_string(points));
                             command(IDM_TAB);
                         }});
    }
    const ScoreSheetInfo i = info();
    const int u = kWidth / 17;
    HWND sheet = sheet_;
    const Step moves[] = {
        {"Up", [this] { command(IDM_UP); }},
        {"Shift+Tab", [this] { command(IDM_SHIFT_TAB); }},
        {"Home", [this] { command(IDM_HOME); }},
        {"click on the 3rd row", [&] { click(sheet, 12 * u, i.header_height + 3 * i.row_height + 4); }},
        {"line down", [sheet] { SendMessageA(sheet, WM_VSCROLL, SB_LINEDOWN, 0); }},
        {"page down", [this] { command(IDM_PAGE_DOWN); }},
        {"End", [this] { command(IDM_END); }},
        {"cell left", [this] { command(IDM_CELL_LEFT); }},
        {"Esc", [this] { command(IDM_ESCAPE); }},
        {"a correction two rounds up, which changes the rounds after it",
         [this] {
             command(IDM_UP);
             command(IDM_UP);
             type("1");
             command(IDM_TAB);
         }},
        {"a visit that opens a row, entered",
         [this] {
             visit(45);
             visit(60);
         }},
    };
    steps.insert(steps.end(), std::begin(moves), std::end(moves));

    for (const Step& step : steps) {
        step.act();
        EXPECT_TRUE(screen.sheet_is_up_to_date()) << "after " << step.what;
        EXPECT_TRUE(screen.scroll_bar_is_up_to_date()) << "after " << step.what;
    }
    EXPECT_GT(info().top_row, 10) << "the leg never scrolled";
}

// ---- The COM player -------------------------------------------------------------------

TEST_F(ScoreSheet, ComPlayerThrowsItsVisitAfterTheOperators) {
    GameSettings game = plain_game();
    game.p2_com = 1;
    game.p2_com_level = 6;
    GameRecord record = record_for(game);
    open(record);
    set_score_sheet_dart_interval(sheet_, 10);
    DialogAnswerer answer([&](const DialogInfo&) { return 0; });
    visit(60);
    EXPECT_FALSE(IsWindowEnabled(host_.hwnd())) << "the main window is disabled until the COM visit starts";
    ASSERT_TRUE(pump_until([&] { return record.current_leg().cur_round == 1; }, 5000))
        << "the COM player did not throw";
    EXPECT_EQ(180, record.current_leg().scores[1][0]);
    EXPECT_EQ(321, record.player[1].left);
    EXPECT_EQ(0, record.player[1].com_result);
    EXPECT_TRUE(IsWindowEnabled(host_.hwnd()));
    EXPECT_EQ(Cell(0, 1), selection());
    EXPECT_TRUE(entry_shown());
    EXPECT_EQ(0, SendMessageA(entry(), kEntryGetReadOnly, 0, 0)) << "the operator's cell is read-only";
    ASSERT_EQ(1u, answer.seen().size()) << "one COM visit window";
    EXPECT_EQ("", answer.seen()[0].title) << "the COM visit window has no caption";
}

TEST_F(ScoreSheet, ComFinishIsAnnouncedAsComWithOkOnly) {
    GameSettings game = plain_game(32);
    game.p2_com = 1;
    game.p2_com_level = 6;
    GameRecord record = record_for(game);
    open(record);
    set_score_sheet_dart_interval(sheet_, 10);
    DialogInfo message;
    bool had_cancel = true;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (is_com_window(info)) return 0;
        if (message.hwnd) return IDOK;
        message = info;
        HWND cancel = GetDlgItem(info.hwnd, IDCANCEL);
        had_cancel = cancel && IsWindowVisible(cancel);
        return IDOK;
    });
    visit(0); // a bust; the COM player then checks out 32 with D16
    ASSERT_TRUE(pump_until([&] { return record.leg_no >= 1; }, 5000)) << "the COM player did not finish";
    EXPECT_EQ(-1, record.leg_records[0].scores[1][0]);
    EXPECT_EQ(1, record.leg_records[0].winner);
    EXPECT_EQ("COM", message.title);
    EXPECT_EQ(finished_by_text(1, 1), message.text);
    if (english_ui()) {
        EXPECT_EQ("Finished by 1 Throw. (1 darts)", message.text);
    }
    EXPECT_FALSE(had_cancel) << "a COM finish cannot be cancelled";
}

TEST_F(ScoreSheet, StoppingTwoComPlayersLeavesTheLegFinishedWithNoWinner) {
    GameSettings game = plain_game();
    game.p1_com = game.p2_com = 1;
    game.p1_com_level = game.p2_com_level = 6;
    GameRecord record = record_for(game);
    std::vector<HWND> visits;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (is_com_window(info)) {
            // Let two visits play, then stop the third.
            if (std::find(visits.begin(), visits.end(), info.hwnd) == visits.end()) {
                visits.push_back(info.hwnd);
                if (visits.size() == 3) press_button(info.hwnd, IDCANCEL);
            }
            return 0;
        }
        return IDYES;
    });
    sheet_ = create_score_sheet(host_.hwnd(), &record);
    set_score_sheet_dart_interval(sheet_, 40);
    set_client_size(sheet_, kWidth, 400);
    SendMessageA(sheet_, kScoreSheetStartLeg, 0, 0);
    ASSERT_TRUE(pump_until([&] { return record.current_leg().finished == 1; }, 8000))
        << "the game did not stop";
    pump_for(100);
    const LegRecord& leg = record.current_leg();
    EXPECT_EQ(0, record.leg_no) << "no new leg after a stop";
    EXPECT_EQ(1, leg.cur_round);
    EXPECT_EQ(180, leg.scores[0][0]);
    EXPECT_EQ(180, leg.scores[1][0]);
    EXPECT_EQ(0, record.player[0].legs + record.player[1].legs) << "nobody won";
    EXPECT_FALSE(entry_shown());
    EXPECT_TRUE(IsWindowEnabled(host_.hwnd()));
}

// ---- Auto save -------------------------------------------------------------------------

std::string temp_folder(const char* name) {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + name + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST_F(ScoreSheet, FinishedLegIsAutoSaved) {
    std::string folder = temp_folder("tx9sheet");
    settings().auto_save = 1;
    settings().auto_save_path = folder;
    GameRecord record = record_for(plain_game(101));
    open(record);
    DialogAnswerer answer(
        [](const DialogInfo& info) { return is_finish_dialog(info) ? IDC_FINISH_3 : IDOK; });
    visit(101);
    ASSERT_EQ(1, record.leg_no);
    std::string path = folder + "\\" + record.csv_name, text;
    const bool read = read_whole_file(path, text, nullptr);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    ASSERT_TRUE(read) << "no file " << path;
    EXPECT_EQ(",Anna,,Bert,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,101,,101\r\n1,(3),,,\r\nDarts,3,,,\r\n", text);
}

TEST_F(ScoreSheet, FailedAutoSaveShowsAStopBox) {
    // A file where the folder should be: nothing can be written under it.
    char base[MAX_PATH] = "", file[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "tx9", 0, file);
    settings().auto_save = 1;
    settings().auto_save_path = std::string(file) + "\\inside";
    GameRecord record = record_for(plain_game(101));
    open(record);
    std::vector<DialogInfo> boxes;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (is_finish_dialog(info)) return IDC_FINISH_3;
        boxes.push_back(info);
        return IDOK;
    });
    visit(101);
    ASSERT_EQ(2u, boxes.size()) << "the finish message and then the failure";
    EXPECT_EQ("tx9 Ver 0.0.6", boxes[1].title);
    EXPECT_FALSE(boxes[1].text.empty()) << "the failure box says nothing";
    EXPECT_EQ(1, record.leg_no) << "the match goes on after a failed save";
    DeleteFileA(file);
}

} // namespace
