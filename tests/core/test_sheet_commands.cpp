// The score sheet's commands and selection rules, without the window.
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

// Three full rounds of 60 each: cur_round 3, rows 4, player 1 to throw.
void three_rounds(Table& t) {
    for (int r = 0; r < 3; ++r)
        t.round(60 + r, 40 + r);
    t.match.escape_key();
    t.host.clear();
}

// Puts the selection on a cell with the entry loaded as the sheet would.
void put_on(Table& t, int player, int round) {
    t.match.select(player, round);
    t.host.entry = t.match.loaded_entry_text();
}

TEST(Select, RefusesCellsOutsideTheEnteredPartOfTheLeg) {
    GameSettings g = game_of(501);
    g.round_limit = 1;
    g.round = 15;
    struct Row {
        int player;
        int round;
        bool accepted;
    } rows[] = {
        {2, 0, false},
        {-1, 0, false},
        {0, -2, false},
        {0, 4, false} /* beyond cur_round, within rows */,
        {1, 3, false} /* already selected */,
        {0, 3, true},
        {1, 2, true},
        {0, -1, true},
    };
    for (const Row& row : rows) {
        Table t(g);
        three_rounds(t);
        t.match.cell_right();
        ASSERT_EQ(t.match.sel_player(), 1);
        ASSERT_EQ(t.match.sel_round(), 3);
        EXPECT_EQ(t.match.select(row.player, row.round), row.accepted) << row.player << ", " << row.round;
        EXPECT_EQ(t.match.sel_player(), row.accepted ? row.player : 1);
        EXPECT_EQ(t.match.sel_round(), row.accepted ? row.round : 3);
    }
    // Without a round limit the rows end one past the current round.
    Table t(game_of(501));
    three_rounds(t);
    EXPECT_EQ(t.leg().rows, 4);
    EXPECT_FALSE(t.match.select(0, 4));
}

TEST(TabOrder, MovesThroughTheCellsInThrowingOrder) {
    struct Row {
        bool shift;
        int player, round;
        int to_player, to_round;
    } rows[] = {
        {false, 0, 1, 1, 1}, {false, 1, 1, 0, 2}, {false, 1, 0, 0, 1},
        {false, 0, 3, 1, 3}, {true, 1, 1, 0, 1},  {true, 0, 1, 1, 0},
        {true, 1, 3, 0, 3},  {true, 0, 0, 1, 0}, // above round 0 is the start row, shown as round 0
    };
    for (const Row& row : rows) {
        Table t(game_of(501));
        three_rounds(t);
        put_on(t, row.player, row.round);
        if (row.shift)
            t.match.run_command(kCmdShiftTab);
        else
            t.match.run_command(kCmdTab);
        EXPECT_EQ(t.match.sel_player(), row.to_player)
            << (row.shift ? "Shift+Tab from " : "Tab from ") << row.player << ", " << row.round;
        EXPECT_EQ(t.match.sel_round(), row.to_round)
            << (row.shift ? "Shift+Tab from " : "Tab from ") << row.player << ", " << row.round;
        EXPECT_EQ(t.leg().cur_round, 3) << "no visit was entered";
    }
}

TEST(TabOrder, FollowsTheFirstThrowerOfTheLeg) {
    Table t(game_of(501));
    t.win_leg(0); // player 2 opens the next leg
    ASSERT_EQ(t.leg().first, 1);
    EXPECT_EQ(t.match.sel_player(), 1);
    t.visit(60);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 0);
    t.visit(60);
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 1);
}

TEST(CommitEntry, EmptyEntryMovesOnlyFromTheNextCell) {
    Table t(game_of(501));
    three_rounds(t);

    // An older cell with an empty entry: Tab does nothing.
    t.match.select(1, 1);
    t.host.entry.clear();
    t.host.clear();
    t.match.tab_key();
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 1);
    EXPECT_TRUE(t.host.log.empty());

    // The next cell with an empty entry: Tab only moves the selection.
    t.match.escape_key();
    t.match.tab_key();
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_EQ(t.leg().turn, 0);
    EXPECT_EQ(t.leg().darts[0], 9);

    // Enter with an empty entry does nothing but place the entry.
    t.host.clear();
    t.match.run_command(kCmdEnter);
    EXPECT_EQ(t.host.log, std::vector<std::string>{"reposition 1 0"});

    // Enter with text commits it and moves on as Tab does.
    t.match.escape_key();
    t.host.entry = "45";
    t.match.run_command(kCmdEnter);
    EXPECT_EQ(t.left(0), 501 - 60 - 61 - 62 - 45);
    EXPECT_EQ(t.match.sel_player(), 1);
}

TEST(Escape, DropsTheEditAndGoesToTheNextCell) {
    Table t(game_of(501));
    three_rounds(t);
    put_on(t, 1, 1);
    EXPECT_EQ(t.host.entry, "41");
    t.host.entry = "99";
    t.match.run_command(kCmdEscape);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_EQ(t.host.entry, "");
    EXPECT_EQ(t.leg().scores[1][1], 41);
    EXPECT_EQ(t.host.log.back(), "reposition 1 1");
}

TEST(UpDown, CommitThenMoveWithinTheEnteredRounds) {
    Table t(game_of(501));
    three_rounds(t);
    t.host.entry = "20";
    t.match.run_command(kCmdUp); // commits 20 in round 3, then up to round 2
    EXPECT_EQ(t.leg().scores[0][3], 20);
    EXPECT_EQ(t.match.sel_round(), 2);
    EXPECT_EQ(t.host.entry, "62");

    t.match.run_command(kCmdDown);
    EXPECT_EQ(t.match.sel_round(), 3);
    t.host.clear();
    t.match.run_command(kCmdDown); // round 4 has not been reached
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_EQ(t.host.count("reposition 1 1"), 0);

    // A refused commit stops the move.
    t.match.select(0, 1);
    t.host.entry = "181";
    t.match.run_command(kCmdUp);
    EXPECT_EQ(t.match.sel_round(), 1);
    EXPECT_EQ(t.leg().scores[0][1], 61);

    // From round 0, up is the start row: the view goes to the top and round 0 stays.
    put_on(t, 0, 0);
    t.host.clear();
    t.match.run_command(kCmdUp);
    EXPECT_EQ(t.match.sel_round(), 0);
    EXPECT_EQ(t.host.log.back(), "reposition 1 1");
}

TEST(HomeEnd, JumpToTheTopAndToTheNextCell) {
    Table t(game_of(501));
    three_rounds(t);
    t.match.run_command(kCmdHome);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 0);
    EXPECT_EQ(t.host.entry, "60");
    t.match.cell_right();
    t.match.run_command(kCmdEnd);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 3);

    t.win_leg(0);
    t.record.leg(t.record.leg_no).finished = 1;
    t.match.select(1, 0);
    t.host.clear();
    t.match.run_command(kCmdHome);
    t.match.run_command(kCmdEnd);
    t.match.run_command(kCmdUp);
    t.match.run_command(kCmdEscape);
    EXPECT_TRUE(t.host.log.empty()) << "a finished leg takes no navigation";
}

TEST(CellLeftRight, MoveBetweenThePlayersOfARound) {
    Table t(game_of(501));
    three_rounds(t);
    t.host.entry = "50";
    t.host.clear();
    t.match.run_command(kCmdCellLeft); // already in the left column
    EXPECT_TRUE(t.host.log.empty());
    EXPECT_EQ(t.leg().scores[0][3], 0);

    t.match.run_command(kCmdCellRight); // commits 50, then player 2 of the same round
    EXPECT_EQ(t.leg().scores[0][3], 50);
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 3);
    t.host.entry = "7";
    t.host.clear();
    t.match.run_command(kCmdCellRight);
    EXPECT_TRUE(t.host.log.empty());
    t.match.run_command(kCmdCellLeft);
    EXPECT_EQ(t.leg().scores[1][3], 7);
    EXPECT_EQ(t.match.sel_player(), 0);
}

TEST(TemplateScore, IsTypedAndEnteredLikeAKeyboardEntry) {
    Table t(game_of(501));
    t.match.enter_template(60, true);
    EXPECT_EQ(t.left(0), 441);
    EXPECT_EQ(t.match.sel_player(), 1);

    t.match.enter_template(85, false);
    EXPECT_EQ(t.host.entry, "85");
    EXPECT_EQ(t.left(1), 501);

    GameSettings g = game_of(501);
    g.p1_com = 1;
    Table com(g);
    com.host.clear();
    com.match.enter_template(60, true);
    EXPECT_EQ(com.host.log, std::vector<std::string>{"beep"});
}

TEST(CheckOut, StartsFromTheScoreAfterTheSelectedRound) {
    Table t(game_of(501));
    three_rounds(t);
    t.visit(100);
    struct Row {
        int player, round, score;
    } rows[] = {{0, 0, 441}, {1, 1, 420}, {0, 3, 218}, {1, 3, 378}, {0, 2, 318}};
    for (const Row& row : rows) {
        t.match.select(row.player, row.round);
        EXPECT_EQ(t.match.checkout_score(), row.score) << row.player << ", " << row.round;
    }
}

TEST(LoadedEntry, EmptyOnlyWhereNoVisitHasBeenEntered) {
    Table t(game_of(501));
    three_rounds(t);
    struct Row {
        int player, round;
        const char* text;
    } rows[] = {{0, 3, ""}, {1, 3, ""}, {0, 1, "61"}, {1, 2, "42"}};
    for (const Row& row : rows) {
        t.match.select(row.player, row.round);
        EXPECT_EQ(t.match.loaded_entry_text(), row.text) << row.player << ", " << row.round;
    }
    t.match.escape_key();
    t.visit(33);
    t.match.select(0, 3);
    EXPECT_EQ(t.match.loaded_entry_text(), "33") << "the first thrower has thrown";
}

TEST(HitTest, ColumnsAndRowsOfTheSheet) {
    LegRecord leg;
    leg.rows = 4;
    leg.cur_round = 3;
    SheetGeometry g{340, 220, 20, 20, 0}; // u = 20
    struct Row {
        int x, y, top_row;
        bool hit;
        int player, round;
    } rows[] = {
        {0, 25, 0, true, 0, -1},                              // the start row
        {139, 45, 0, true, 0, 0},  {140, 45, 0, false, 0, 0}, // round-number column
        {200, 45, 0, false, 0, 0}, {201, 45, 0, true, 1, 0},  {339, 65, 0, true, 1, 1},
        {340, 45, 0, false, 0, 0}, {10, 19, 0, false, 0, 0}, // header
        {10, 200, 0, true, 0, 3},                            // below the entered rounds
        {10, 25, 2, true, 0, 1},                             // scrolled
    };
    for (const Row& row : rows) {
        g.top_row = row.top_row;
        CellHit hit = hit_test_cell(g, leg, row.x, row.y);
        EXPECT_EQ(hit.hit, row.hit) << row.x << ", " << row.y;
        if (!row.hit || !hit.hit) continue;
        EXPECT_EQ(hit.player, row.player) << row.x << ", " << row.y;
        EXPECT_EQ(hit.round, row.round) << row.x << ", " << row.y;
    }
    // A leg at its round limit has no row for the round after the last.
    leg.rows = 3;
    g.top_row = 0;
    EXPECT_FALSE(hit_test_cell(g, leg, 10, 200).hit);
}

TEST(Click, CommitsThenSelectsTheCellUnderTheMouse) {
    Table t(game_of(501));
    three_rounds(t);
    SheetGeometry g{340, 220, 20, 20, 0};

    t.host.entry = "60";
    EXPECT_TRUE(t.match.click(g, 10, 25)); // start row
    EXPECT_EQ(t.leg().scores[0][3], 60) << "the entry was committed first";
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 0);

    t.match.escape_key();
    t.host.clear();
    EXPECT_TRUE(t.match.click(g, 150, 65)); // round column
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_TRUE(t.host.log.empty());

    // The round under the mouse is lowered to the current round after the commit.
    t.match.escape_key();
    t.host.entry = "10";
    t.match.click(g, 300, 210);
    EXPECT_EQ(t.leg().cur_round, 4);
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 4);

    t.leg().finished = 1;
    t.host.clear();
    EXPECT_FALSE(t.match.click(g, 10, 45));
    EXPECT_TRUE(t.host.log.empty());
}

TEST(SheetGeometryHelpers, EntryPlacementAndScrolling) {
    SheetGeometry g{340, 220, 20, 20, 0};
    EntryRect left = entry_rect(g, 0, 2);
    EntryRect right = entry_rect(g, 1, 2);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.width, 60);
    EXPECT_EQ(right.x, 201);
    EXPECT_EQ(right.width, 59);
    EXPECT_EQ(right.y, 3 * 20 + 20 + 1);
    EXPECT_EQ(right.height, 19);
    EXPECT_EQ(visible_rows(g), 10);

    SheetScroll s = sheet_scroll(15, 10, 0);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.max_top_row, 6);
    EXPECT_EQ(s.range_max, 15);
    EXPECT_EQ(s.page, 10);
    EXPECT_EQ(sheet_scroll(15, 10, 9).top_row, 6);
    SheetScroll fits = sheet_scroll(9, 10, 3);
    EXPECT_FALSE(fits.enabled);
    EXPECT_EQ(fits.top_row, 0);
    EXPECT_EQ(fits.range_max, 1);
    EXPECT_EQ(fits.page, 0);

    struct Row {
        int sel_round, top_row, expected;
    } rows[] = {{12, 0, 4}, {14, 0, 6}, {2, 5, 3}, {-1, 4, 0}, {5, 0, 0}, {8, 0, 0}, {9, 0, 1}};
    for (const Row& row : rows)
        EXPECT_EQ(scroll_into_view(row.sel_round, row.top_row, 10, 6), row.expected)
            << "round " << row.sel_round << " from top row " << row.top_row;
}

TEST(RunCommand, DisabledSheetIgnoresEverythingAndTheWindowKeepsItsOwnKeys) {
    Table t(game_of(501));
    t.match.set_disabled(true);
    t.host.entry = "60";
    t.host.clear();
    for (int id : {kCmdEnter, kCmdTab, kCmdEscape, kCmdClear, kCmdFinish3})
        EXPECT_TRUE(t.match.run_command(id));
    EXPECT_TRUE(t.host.log.empty());
    EXPECT_EQ(t.left(0), 501);

    t.match.set_disabled(false);
    for (int id : {int{kCmdPageUp}, int{kCmdPageDown}, int{kCmdCheckOut}, 40028, 0})
        EXPECT_FALSE(t.match.run_command(id)) << id;
}

TEST(ShowLeg, ViewsAnyLegOfTheRecord) {
    Table t(game_of(101));
    t.win_leg(1);
    t.win_leg(0);
    t.match.show_leg(0);
    EXPECT_EQ(t.match.shown_leg(), 0);
    EXPECT_EQ(t.leg().winner, 1);
    t.match.show_leg(9);
    EXPECT_EQ(t.match.shown_leg(), 2);

    GameRecord archived = t.record;
    t.match.set_record(archived);
    EXPECT_EQ(&t.match.record(), &archived);
    EXPECT_EQ(t.match.shown_leg(), 2);
}

} // namespace
} // namespace tx9
