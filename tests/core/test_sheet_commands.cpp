// The score sheet's commands and selection rules, without the window.
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <array>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

// Three full rounds: player 1 60, 61, 62; player 2 40, 41, 42; player 1 to throw in round 3.
const char* kThreeRounds = "esc 60 40 esc 61 41 esc 62 42 esc";

TEST(Select, RefusesCellsOutsideTheEnteredPartOfTheLeg) {
    GameSettings g = game_of(501);
    g.round_limit = 1;
    g.round = 15;
    struct Row {
        int player, round;
        bool accepted;
    } rows[] = {{2, 0, false},
                {-1, 0, false},
                {0, -2, false},
                {0, 4, false} /* beyond cur_round */,
                {1, 3, false} /* already selected */,
                {0, 3, true},
                {1, 2, true},
                {0, -1, true}};
    for (const Row& row : rows) {
        Table t(g);
        t.play(kThreeRounds);
        t.play("right");
        EXPECT_EQ(t.match.select(row.player, row.round), row.accepted) << row.player << ", " << row.round;
        EXPECT_EQ(t.match.sel_player(), row.accepted ? row.player : 1);
        EXPECT_EQ(t.match.sel_round(), row.accepted ? row.round : 3);
    }
    // Without a round limit the rows end one past the current round.
    Table t(game_of(501));
    t.play(kThreeRounds);
    EXPECT_EQ(t.leg().rows, 4);
    EXPECT_FALSE(t.match.select(0, 4));
}

TEST(Keys, CommitTheEntryThenMoveTheSelection) {
    struct Row {
        int player, round; // selected, with the entry loaded from the cell
        const char* keys;  // as in Table::play
        int to_player, to_round;
        const char* entry;                       // the entry's text afterwards
        int cell_player, cell_round, cell_value; // the one cell changed (player -1: none)
    } rows[] = {
        // Tab and Shift+Tab follow the throwing order; above round 0 is the start row, shown as round 0.
        {0, 1, "tab", 1, 1, "41", -1, 0, 0},
        {1, 1, "tab", 0, 2, "62", -1, 0, 0},
        {1, 0, "tab", 0, 1, "61", -1, 0, 0},
        {0, 3, "tab", 1, 3, "", -1, 0, 0}, // an empty entry on the next cell only moves
        {1, 1, "stab", 0, 1, "61", -1, 0, 0},
        {0, 1, "stab", 1, 0, "40", -1, 0, 0},
        {1, 3, "stab", 0, 3, "", -1, 0, 0},
        {0, 0, "stab", 1, 0, "40", -1, 0, 0},
        {1, 1, "= tab", 1, 1, "", -1, 0, 0}, // an empty entry on an older cell stops
        {0, 3, "enter", 0, 3, "", -1, 0, 0},
        {0, 3, "=45 enter", 1, 3, "", 0, 3, 45},
        {1, 1, "=99 esc", 0, 3, "", -1, 0, 0}, // the edit is dropped
        {0, 3, "=20 up", 0, 2, "62", 0, 3, 20},
        {0, 3, "down", 0, 3, "", -1, 0, 0},       // round 4 has not been reached
        {0, 1, "=181 up", 0, 1, "181", -1, 0, 0}, // a refused commit stops the move
        {0, 0, "up", 0, 0, "60", -1, 0, 0},
        {1, 2, "home", 0, 0, "60", -1, 0, 0},
        {1, 1, "end", 0, 3, "", -1, 0, 0},
        {0, 3, "=50 left", 0, 3, "50", -1, 0, 0}, // already in the left column
        {0, 3, "=50 right", 1, 3, "", 0, 3, 50},
        {1, 2, "=7 right", 1, 2, "7", -1, 0, 0},
        {1, 3, "=7 left", 0, 3, "", 1, 3, 7}, // player 2 entered first
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
        EXPECT_EQ(t.match.sel_player(), row.to_player);
        EXPECT_EQ(t.match.sel_round(), row.to_round);
        EXPECT_EQ(t.host.entry, row.entry);
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

TEST(TemplateScore, IsTypedAndEnteredLikeAKeyboardEntry) {
    Table t(game_of(501));
    t.match.enter_template(60, true);
    EXPECT_EQ(t.left(0), 441);
    EXPECT_EQ(t.match.sel_player(), 1);
    t.match.enter_template(85, false);
    EXPECT_EQ(t.host.entry, "85");
    EXPECT_EQ(t.left(1), 501);
}

const SheetGeometry kSheet{340, 220, 20, 20, 0}; // u = 20, 10 visible rows

TEST(HitTest, ColumnsAndRowsOfTheSheet) {
    LegRecord leg;
    leg.rows = 4;
    leg.cur_round = 3;
    struct Row {
        int x, y, top_row;
        bool hit;
        int player, round;
    } rows[] = {
        {0, 25, 0, true, 0, -1},                                                        // the start row
        {139, 45, 0, true, 0, 0}, {140, 45, 0, false, 0, 0}, {200, 45, 0, false, 0, 0}, // round column
        {201, 45, 0, true, 1, 0}, {339, 65, 0, true, 1, 1},  {340, 45, 0, false, 0, 0},
        {10, 19, 0, false, 0, 0}, // header
        {10, 200, 0, true, 0, 3}, // below the entered rounds
        {10, 25, 2, true, 0, 1},  // scrolled
    };
    for (const Row& row : rows) {
        SheetGeometry g = kSheet;
        g.top_row = row.top_row;
        CellHit hit = hit_test_cell(g, leg, row.x, row.y);
        EXPECT_EQ(hit.hit, row.hit) << row.x << ", " << row.y;
        if (!row.hit || !hit.hit) continue;
        EXPECT_EQ(hit.player, row.player) << row.x << ", " << row.y;
        EXPECT_EQ(hit.round, row.round) << row.x << ", " << row.y;
    }
    leg.rows = 3; // at its round limit a leg has no row after the last
    EXPECT_FALSE(hit_test_cell(kSheet, leg, 10, 200).hit);
}

TEST(Click, CommitsThenSelectsTheCellUnderTheMouse) {
    Table t(game_of(501));
    t.play(kThreeRounds);
    t.host.entry = "60";
    EXPECT_TRUE(t.match.click(kSheet, 10, 25)); // start row
    EXPECT_EQ(t.leg().scores[0][3], 60) << "the entry was committed first";
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 0);

    t.play("esc");
    t.host.clear();
    EXPECT_TRUE(t.match.click(kSheet, 150, 65)); // round column
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_TRUE(t.host.log.empty());

    // The round under the mouse is lowered to the current round after the commit.
    t.play("esc =10");
    t.match.click(kSheet, 300, 210);
    EXPECT_EQ(t.leg().cur_round, 4);
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 4);
}

TEST(SheetGeometryHelpers, EntryPlacementAndScrolling) {
    EntryRect left = entry_rect(kSheet, 0, 2);
    EntryRect right = entry_rect(kSheet, 1, 2);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.width, 60);
    EXPECT_EQ(right.x, 201);
    EXPECT_EQ(right.width, 59);
    EXPECT_EQ(right.y, 3 * 20 + 20 + 1);
    EXPECT_EQ(right.height, 19);
    EXPECT_EQ(visible_rows(kSheet), 10);

    SheetScroll s = sheet_scroll(15, 10, 9);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.max_top_row, 6);
    EXPECT_EQ(s.top_row, 6);
    EXPECT_EQ(s.range_max, 15);
    EXPECT_EQ(s.page, 10);
    SheetScroll fits = sheet_scroll(9, 10, 3);
    EXPECT_FALSE(fits.enabled);
    EXPECT_EQ(fits.top_row + fits.max_top_row + fits.page, 0);
    EXPECT_EQ(fits.range_max, 1);

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
    t.play("w1 w0");
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
