// The score sheet's commands and selection rules, without the window.
#include "core/text.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <array>

namespace tx9::test {
namespace {

// Three full rounds: player 1 60, 61, 62; player 2 40, 41, 42; player 1 to throw in round 3.
const char* kThreeRounds = "esc 60 40 esc 61 41 esc 62 42 esc";

TEST(Select, RefusesCellsOutsideTheEnteredPartOfTheLeg) {
    GameSettings g = game_of(501);
    g.round_limit = 1;
    g.round = 15;
    struct Row {
        int player, round;
        bool accepted;
    } rows[] = {
        // clang-format off
        {2, 0, false}, {-1, 0, false}, {0, -2, false}, {0, 4, false} /* beyond cur_round */,
        {1, 3, false} /* already selected */, {0, 3, true}, {1, 2, true}, {0, -1, true},
        // clang-format on
    };
    for (const Row& row : rows) {
        Table t(g);
        t.play(kThreeRounds + std::string(" right"));
        EXPECT_EQ(t.match.select(row.player, row.round), row.accepted) << row.player << ", " << row.round;
        EXPECT_EQ(std::pair(t.match.sel_player(), t.match.sel_round()),
                  row.accepted ? std::pair(row.player, row.round) : std::pair(1, 3));
    }
}

TEST(Keys, CommitTheEntryThenMoveTheSelection) {
    struct Row {
        int player, round; // selected, with the entry loaded from the cell
        const char* keys;  // as in Table::play
        int to_player, to_round;
        const char* entry;                       // the entry's text afterwards
        int cell_player, cell_round, cell_value; // the one cell changed (player -1: none)
    } rows[] = {
        // clang-format off
        // Tab and Shift+Tab follow the throwing order; above round 0 is the start row, shown as round 0.
        {0, 1, "tab", 1, 1, "41", -1, 0, 0},     {1, 1, "tab", 0, 2, "62", -1, 0, 0},
        {1, 0, "tab", 0, 1, "61", -1, 0, 0},     {1, 1, "stab", 0, 1, "61", -1, 0, 0},
        {0, 1, "stab", 1, 0, "40", -1, 0, 0},    {1, 3, "stab", 0, 3, "", -1, 0, 0},
        {0, 0, "stab", 1, 0, "40", -1, 0, 0},    {0, 3, "tab", 1, 3, "", -1, 0, 0}, // an empty entry only moves
        {1, 1, "= tab", 1, 1, "", -1, 0, 0},     // ... but on an older cell it stops
        {0, 3, "enter", 0, 3, "", -1, 0, 0},     {0, 3, "=45 enter", 1, 3, "", 0, 3, 45},
        {1, 1, "=99 esc", 0, 3, "", -1, 0, 0},   // the edit is dropped
        {0, 3, "=20 up", 0, 2, "62", 0, 3, 20},  {0, 3, "down", 0, 3, "", -1, 0, 0}, // round 4 not reached
        {0, 1, "=181 up", 0, 1, "181", -1, 0, 0}, // a refused commit stops the move
        {0, 0, "up", 0, 0, "60", -1, 0, 0},      {1, 2, "home", 0, 0, "60", -1, 0, 0},
        {1, 1, "end", 0, 3, "", -1, 0, 0},       {0, 3, "=50 left", 0, 3, "50", -1, 0, 0}, // left column
        {0, 3, "=50 right", 1, 3, "", 0, 3, 50}, {1, 2, "=7 right", 1, 2, "7", -1, 0, 0},
        {1, 3, "=7 left", 0, 3, "", 1, 3, 7},    // player 2 entered first
        // clang-format on
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "\"" << row.keys << "\" from " << row.player << ", " << row.round);
        Table t(game_of(501));
        t.play(kThreeRounds);
        std::array<std::vector<int>, 2> cells = t.leg().scores;
        if (row.cell_player >= 0) cells[size_t(row.cell_player)][size_t(row.cell_round)] = row.cell_value;
        t.match.select(row.player, row.round);
        t.host.entry = t.match.loaded_entry_text();
        t.play(row.keys);
        EXPECT_EQ(strprintf("%d,%d %s", t.match.sel_player(), t.match.sel_round(), t.host.entry.c_str()),
                  strprintf("%d,%d %s", row.to_player, row.to_round, row.entry));
        EXPECT_EQ(t.leg().scores, cells);
    }
}

TEST(Entry, LoadedOnlyWhereAVisitWasEnteredAndCheckOutStartsFromTheSelectedRound) {
    Table t(game_of(501));
    t.play(kThreeRounds);
    t.match.select(1, 3);
    EXPECT_EQ(t.match.loaded_entry_text(), "") << "second thrower's cell before the first threw";
    t.play("esc 100");
    struct Row {
        int player, round;
        const char* text;
        int checkout;
    } rows[] = {{0, 0, "60", 441},  {1, 1, "41", 420}, {0, 2, "62", 318},
                {0, 3, "100", 218}, {1, 3, "", 378},   {1, 2, "42", 378}};
    for (const Row& row : rows) {
        t.match.select(row.player, row.round);
        EXPECT_EQ(t.match.loaded_entry_text(), row.text) << row.player << ", " << row.round;
        EXPECT_EQ(t.match.checkout_score(), row.checkout) << row.player << ", " << row.round;
    }
}

const SheetGeometry kSheet{340, 220, 20, 20, 0}; // u = 20, 10 visible rows

TEST(HitTest, ColumnsAndRowsOfTheSheet) {
    LegRecord leg;
    leg.rows = 4;
    leg.cur_round = 3;
    struct Row {
        int x, y, top_row;
        const char* cell; // player,round
    } rows[] = {
        // clang-format off
        {0, 25, 0, "0,-1"}, // the start row
        {139, 45, 0, "0,0"}, {140, 45, 0, "miss"}, {200, 45, 0, "miss"}, {201, 45, 0, "1,0"}, // round column
        {339, 65, 0, "1,1"}, {340, 45, 0, "miss"}, {10, 19, 0, "miss"}, // header
        {10, 200, 0, "0,3"}, // below the entered rounds
        {10, 25, 2, "0,1"},  // scrolled
        // clang-format on
    };
    for (const Row& row : rows) {
        SheetGeometry g = kSheet;
        g.top_row = row.top_row;
        CellHit hit = hit_test_cell(g, leg, row.x, row.y);
        EXPECT_EQ(hit.hit ? strprintf("%d,%d", hit.player, hit.round) : "miss", row.cell)
            << row.x << ", " << row.y;
    }
    leg.rows = 3; // at its round limit a leg has no row after the last
    EXPECT_FALSE(hit_test_cell(kSheet, leg, 10, 200).hit);
}

TEST(Click, CommitsThenSelectsTheCellUnderTheMouse) {
    Table t(game_of(501));
    t.play(kThreeRounds);
    t.host.entry = "60";
    EXPECT_TRUE(t.match.click(kSheet, 10, 25)); // start row
    EXPECT_EQ(t.state(), "round 3/4 first 0 turn 1 sel 0,0 left 258,378 darts 12,9") << "committed first";

    // The round under the mouse is lowered to the current round after the commit.
    t.play("esc =10");
    t.match.click(kSheet, 300, 210);
    EXPECT_EQ(t.state(), "round 4/5 first 0 turn 0 sel 1,4 left 258,368 darts 12,12");
}

TEST(ShowLeg, StaysInsideTheRecord) {
    Table t(game_of(101));
    t.play("w1 w0");
    t.match.show_leg(0);
    EXPECT_EQ(t.match.shown_leg(), 0);
    EXPECT_EQ(t.leg().winner, 1);
    t.match.show_leg(9);
    EXPECT_EQ(t.match.shown_leg(), 2);
}

} // namespace
} // namespace tx9::test
