// Visit scoring and match progression, played through a faked sheet and main window.
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

// Puts the selection on the next cell and brings player p's remaining score
// (p to throw next) down to `left` with ordinary visits; the other player scores 0.
void bring_to(Table& t, int p, int left) {
    while (t.left(p) != left) {
        t.match.escape_key();
        int who = t.match.sel_player();
        int step = std::min(180, t.left(p) - left);
        t.visit(who == p ? step : 0);
    }
    t.match.escape_key();
    if (t.match.sel_player() != p) {
        t.visit(0);
        t.match.escape_key();
    }
    ASSERT_EQ(t.match.sel_player(), p);
}

TEST(EnterVisit, AcceptsAnyValueUpToTheRemainingScoreAndRefusesTheRest) {
    struct Row {
        int left;
        int points;
        bool accepted;
    } rows[] = {
        {501, 181, false}, {501, 180, true}, {200, 180, true}, {501, 179, true},  {501, 163, true},
        {501, 0, true},    {1, 2, false},    {1, 0, true},     {100, 101, false}, {501, -1, false},
    };
    for (const Row& row : rows) {
        Table t(game_of(501));
        bring_to(t, 0, row.left);
        int round = t.match.sel_round();
        EXPECT_EQ(t.match.enter_visit(row.points), row.accepted) << row.points << " on " << row.left;
        EXPECT_EQ(t.left(0), row.accepted ? row.left - row.points : row.left)
            << row.points << " on " << row.left;
        EXPECT_EQ(t.leg().scores[0][static_cast<size_t>(round)], row.accepted ? row.points : 0);
        EXPECT_TRUE(t.host.calls("ask_dart").empty());
    }
}

TEST(EnterVisit, AVisitEqualToTheRemainingScoreAsksForTheDart) {
    // Remaining scores up to 180 are finished by entering them, whatever darts they need.
    for (int left : {175, 170, 169, 168, 166, 165, 163, 162, 159, 1}) {
        Table t(game_of(501));
        bring_to(t, 0, left);
        t.host.darts.push_back(0); // Cancel
        t.host.clear();
        EXPECT_FALSE(t.match.enter_visit(left));
        EXPECT_EQ(t.host.calls("ask_dart"), std::vector<std::string>{"ask_dart " + std::to_string(left)});
        EXPECT_EQ(t.leg().finished, 0);
        EXPECT_EQ(t.left(0), left);
        EXPECT_EQ(t.leg().scores[0][static_cast<size_t>(t.match.sel_round())], 0);
        // The entry goes back over the cell, emptied: it is the cell to be entered next.
        EXPECT_EQ(t.host.log.back(), "reposition 0 1");
        EXPECT_EQ(t.host.entry, "");
    }
}

TEST(EnterVisit, NotificationsOfAnOrdinaryVisitInOrder) {
    Table t(game_of(501));
    t.visit(60);
    std::vector<std::string> expected = {"notify 1 0 0", "notify 7 1 0", "repaint 0", "reposition 1 1"};
    EXPECT_EQ(t.host.log, expected);
    EXPECT_EQ(t.leg().darts[0], 3);
    EXPECT_EQ(t.leg().turn, 1);
    EXPECT_EQ(t.match.sel_player(), 1);
    EXPECT_EQ(t.match.sel_round(), 0);

    t.host.clear();
    t.visit(45);
    expected = {"notify 1 1 0", "scroll", "notify 7 0 0", "repaint 0", "reposition 1 1"};
    EXPECT_EQ(t.host.log, expected);
    EXPECT_EQ(t.leg().cur_round, 1);
    EXPECT_EQ(t.leg().rows, 2);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 1);
    EXPECT_EQ(t.left(0), 441);
    EXPECT_EQ(t.left(1), 456);
}

TEST(EnterVisit, PlayerTwoEnteredFirstBecomesTheFirstThrower) {
    Table t(game_of(501));
    t.match.cell_right(); // empty entry on the cell to be entered next: only moves
    ASSERT_EQ(t.match.sel_player(), 1);
    t.host.clear();
    t.visit(100);
    std::vector<std::string> expected = {"notify 1 1 0", "repaint -1", "notify 3 1 0",
                                         "notify 7 0 0", "repaint 0",  "reposition 1 1"};
    EXPECT_EQ(t.host.log, expected);
    EXPECT_EQ(t.leg().first, 1);
    EXPECT_EQ(t.leg().turn, 0);
    // Tab goes from the first thrower to the other player in the same round.
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.match.sel_round(), 0);
    t.visit(20);
    EXPECT_EQ(t.leg().cur_round, 1);
    EXPECT_EQ(t.leg().turn, 1);
    EXPECT_EQ(t.match.sel_player(), 1);
}

TEST(EnterVisit, CorrectionOfAnEarlierRoundMayLeaveALaterScoreBelowZero) {
    Table t(game_of(301));
    t.round(100, 50);
    t.round(100, 50);
    t.round(100, 50); // player 1 has 1 left
    ASSERT_EQ(t.left(0), 1);
    t.match.escape_key();
    t.match.home_key();
    ASSERT_EQ(t.match.sel_round(), 0);
    EXPECT_EQ(t.host.entry, "100");

    t.host.clear();
    t.host.entry = "140";
    t.match.down_key();
    EXPECT_EQ(t.leg().scores[0][0], 140);
    EXPECT_EQ(t.left(0), -39);
    EXPECT_EQ(t.leg().left[0], -39);
    EXPECT_EQ(t.leg().darts[0], 9);
    EXPECT_EQ(t.leg().cur_round, 3);
    std::vector<std::string> expected = {"reposition 0 0", "notify 1 0 0", "notify 7 0 0", "repaint 0",
                                         "reposition 1 1"};
    EXPECT_EQ(t.host.log, expected);
    EXPECT_EQ(t.match.sel_round(), 1);

    // Above the score before the visit is refused, unless the cell already holds that value.
    t.host.entry = "170"; // 161 before round 1
    t.match.down_key();
    EXPECT_EQ(t.match.sel_round(), 1);
    EXPECT_EQ(t.leg().scores[0][1], 100);
    t.host.entry = "100";
    t.match.down_key();
    ASSERT_EQ(t.match.sel_round(), 2);
    EXPECT_EQ(t.host.entry, "100"); // 61 before round 2, but the cell holds 100
    t.host.clear();
    t.match.down_key();
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_TRUE(t.host.calls("notify").empty()) << "accepted without change";
}

TEST(EnterVisit, DartsOfACorrectionDependOnWhoHasThrownInTheCurrentRound) {
    Table t(game_of(501));
    t.round(60, 60);
    t.round(60, 60);
    t.visit(60); // round 2: player 1 has thrown, player 2 has not
    ASSERT_EQ(t.leg().turn, 1);
    t.match.shift_tab_key(); // empty entry on the cell to be entered next: back to player 1 round 2
    t.match.up_key();
    ASSERT_EQ(t.match.sel_round(), 1);
    t.host.entry = "61";
    t.match.up_key();
    EXPECT_EQ(t.leg().darts[0], 9) << "player 1 has thrown in round 2";
    t.match.cell_right();
    t.host.entry = "61";
    t.match.down_key();
    EXPECT_EQ(t.leg().darts[1], 6) << "player 2 has not thrown in round 2";
}

TEST(EnterVisit, WithoutARoundLimitTheArraysGrowByTenKeepingTheVisits) {
    Table t(game_of(100001));
    for (int r = 0; r < 10; ++r)
        t.round(r + 1, 100 + r);
    EXPECT_EQ(t.leg().capacity, 20);
    EXPECT_EQ(t.leg().rows, 11);
    EXPECT_EQ(t.leg().scores[0].size(), 21u);
    EXPECT_EQ(t.leg().scores[1].size(), 21u);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(t.leg().scores[0][static_cast<size_t>(r)], r + 1);
        EXPECT_EQ(t.leg().scores[1][static_cast<size_t>(r)], 100 + r);
    }
    for (size_t r = 10; r < 21; ++r)
        EXPECT_EQ(t.leg().scores[0][r] + t.leg().scores[1][r], 0);
    EXPECT_EQ(t.host.count("scroll"), 10) << "the scroll bar follows every new row";
    for (int r = 10; r < 25; ++r)
        t.round(1, 1);
    EXPECT_EQ(t.leg().capacity, 30);
    EXPECT_EQ(t.leg().rows, 26);
    EXPECT_EQ(t.left(1), 100001 - 1045 - 15);
}

TEST(FinishLeg, RecordsTheWinAndTheLoserByThrowingOrder) {
    struct Row {
        int start;
        int finisher;
        int dart;
        int win_darts;
        int loser_darts;
        int cur_round;
        int loser_left;
    } rows[] = {
        {301, 0, 2, 14, 12, 4, 61}, // first thrower in round 5 (index 4)
        {301, 1, 2, 14, 15, 5, 41}, // second thrower there, after the first scored 20
        {281, 0, 1, 13, 12, 4, 41},
        {301, 1, 3, 15, 15, 5, 41},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "finisher " << row.finisher << " dart " << row.dart);
        Table t(game_of(row.start));
        for (int r = 0; r < 4; ++r)
            t.round(60, 60);
        if (row.finisher == 1) t.visit(20);
        const int finish = t.left(row.finisher);
        t.host.darts.push_back(row.dart);
        t.host.finish_oks.push_back(true);
        t.host.clear();
        t.visit(finish);

        const LegRecord& leg = t.record.leg(0);
        const int o = 1 - row.finisher;
        EXPECT_EQ(leg.finished, 1);
        EXPECT_EQ(leg.winner, row.finisher);
        EXPECT_EQ(leg.win_darts, row.win_darts);
        EXPECT_EQ(leg.checkout, finish);
        EXPECT_EQ(leg.cur_round, row.cur_round);
        EXPECT_EQ(leg.scores[static_cast<size_t>(row.finisher)][4], -row.dart);
        EXPECT_EQ(leg.left[static_cast<size_t>(row.finisher)], 0);
        EXPECT_EQ(leg.darts[static_cast<size_t>(row.finisher)], row.win_darts);
        EXPECT_EQ(leg.darts[static_cast<size_t>(o)], row.loser_darts);
        EXPECT_EQ(leg.left[static_cast<size_t>(o)], row.loser_left);
        EXPECT_EQ(t.player(row.finisher).legs, 1);
        EXPECT_EQ(t.player(row.finisher).high_off, finish);
        EXPECT_EQ(t.player(row.finisher).short_, row.win_darts);
        EXPECT_EQ(t.player(o).legs, 0);
        std::string title = row.finisher == 0 ? "Player 1" : "Player 2";
        EXPECT_EQ(t.host.calls("finish_message"),
                  std::vector<std::string>{"finish_message Finished by " + std::to_string(row.dart) +
                                           " Throw. (" + std::to_string(row.win_darts) + " darts) | " +
                                           title + " | 0"});
        // The next leg is open, thrown first by the other player, and shown.
        EXPECT_EQ(t.record.leg_no, 1);
        EXPECT_EQ(t.match.shown_leg(), 1);
        EXPECT_EQ(t.leg().first, 1);
        EXPECT_EQ(t.match.sel_player(), 1);
        EXPECT_EQ(t.match.sel_round(), 0);
        EXPECT_EQ(t.left(0), row.start);
        EXPECT_EQ(t.left(1), row.start);
    }
}

TEST(FinishLeg, NotificationsOfAFinishFollowedByTheNextLeg) {
    Table t(game_of(101));
    t.host.darts.push_back(3);
    t.host.finish_oks.push_back(true);
    t.visit(101);
    std::vector<std::string> expected = {"ask_dart 101", "reposition 0 0", "repaint -1", "notify 1 0 0",
                                         "notify 1 1 0",
                                         "finish_message Finished by 3 Throw. (3 darts) | Player 1 | 0",
                                         // leg_over, then start_leg of the next leg
                                         "scroll", "repaint -1", "reposition 1 1", "notify 3 0 0",
                                         "notify 1 0 0", "notify 1 1 0", "notify 7 1 0"};
    EXPECT_EQ(t.host.log, expected);
}

// A leg in some state, and the finish that is then cancelled.
struct CancelCase {
    const char* name;
    void (*prepare)(Table&);
};

TEST(FinishLeg, CancellingTheMessagePutsTheLegBackExactly) {
    CancelCase cases[] = {
        {"first thrower, with an earlier leg won",
         [](Table& t) {
             t.win_leg(1);
             t.round(0, 100);
             t.round(60, 0);
             t.match.escape_key();
         }},
        {"second thrower after the first threw",
         [](Table& t) {
             t.round(100, 100);
             t.visit(0);
         }},
        {"second thrower before the first (first thrower would change)",
         [](Table& t) {
             t.round(100, 100);
             t.match.escape_key();
             t.match.cell_right();
         }},
        {"correction of an earlier round",
         [](Table& t) {
             t.round(100, 20);
             t.round(50, 20);
             t.round(50, 20);
             t.match.escape_key();
             t.match.home_key();
             t.match.down_key(); // round 1 of player 1: 101 before it
         }},
    };
    for (const CancelCase& c : cases) {
        SCOPED_TRACE(c.name);
        Table t(game_of(201));
        c.prepare(t);
        const GameRecord before = t.record;
        const int sel_player = t.match.sel_player();
        const int sel_round = t.match.sel_round();
        const int finish = remaining(t.record, t.record.leg_no, sel_round - 1, sel_player);
        ASSERT_LE(finish, 180);
        t.host.darts.push_back(3);
        t.host.finish_oks.push_back(false);
        t.host.clear();
        t.host.entry = std::to_string(finish);
        t.match.tab_key();

        ASSERT_EQ(t.host.calls("finish_message").size(), 1u);
        EXPECT_EQ(t.record, before);
        EXPECT_EQ(t.match.sel_player(), sel_player);
        EXPECT_EQ(t.match.sel_round(), sel_round);
        // The Tab stops after the restore: nothing follows it.
        std::vector<std::string> tail(t.host.log.end() - 5, t.host.log.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"reposition 0 0", "repaint -1", "notify 3 0 0",
                                                  "notify 1 0 0", "notify 1 1 0"}));
        EXPECT_EQ(t.host.count("notify 5 0 0"), 0);
    }
}

TEST(FinishLeg, MenuFinishChecksTheDartAgainstTheRemainingScore) {
    struct Row {
        int left;
        int dart;
        bool finishes;
    } rows[] = {
        {61, 1, false},  {61, 2, true},  {60, 1, true},  {121, 1, false},
        {121, 2, false}, {121, 3, true}, {180, 3, true},
    };
    for (const Row& row : rows) {
        Table t(game_of(501));
        bring_to(t, 0, row.left);
        t.host.entry = "7"; // the entry's text plays no part
        t.host.finish_oks.push_back(true);
        t.host.clear();
        t.match.run_command(kCmdFinish1 + row.dart - 1);
        EXPECT_EQ(t.host.count("beep"), row.finishes ? 0 : 1) << row.left << " with dart " << row.dart;
        EXPECT_EQ(t.record.leg_no, row.finishes ? 1 : 0) << row.left << " with dart " << row.dart;
        EXPECT_EQ(t.record.leg(0).checkout, row.finishes ? row.left : 0);
    }
}

TEST(FinishLeg, MenuFinishIsRefusedForTheComPlayerAndOnAFinishedLeg) {
    GameSettings g = game_of(101);
    g.p2_com = 1;
    Table t(g);
    t.match.cell_right();
    ASSERT_EQ(t.match.sel_player(), 1);
    t.host.clear();
    t.match.finish_by_menu(3);
    EXPECT_EQ(t.host.log, std::vector<std::string>{"beep"});

    t.record.player[1].com = 0;
    t.leg().finished = 1;
    t.host.clear();
    t.match.finish_by_menu(3);
    t.match.finish_leg(3, true); // a late COM finish
    EXPECT_TRUE(t.host.log.empty());
    EXPECT_EQ(t.player(1).legs, 0);
}

TEST(MiddleForDiddle, FromTheMenuTheWinnerTakesTheLeg) {
    struct Row {
        bool first_has_thrown;
        int winner;
        int win_darts;
    } rows[] = {{false, 1, 10}, {true, 0, 13}};
    for (const Row& row : rows) {
        Table t(game_of(501));
        t.round(100, 100);
        t.round(100, 100);
        t.round(100, 100);
        if (row.first_has_thrown) t.visit(60);
        t.host.leg_winners.push_back(row.winner);
        t.host.clear();
        t.match.run_command(kCmdMiddleForDiddle);
        const LegRecord& leg = t.record.leg(0);
        EXPECT_EQ(leg.finished, 1);
        EXPECT_EQ(leg.winner, row.winner);
        EXPECT_EQ(leg.win_darts, row.win_darts);
        EXPECT_EQ(t.player(row.winner).legs, 1);
        EXPECT_EQ(t.player(row.winner).short_, 10);
        EXPECT_EQ(t.player(row.winner).high_off, 0);
        EXPECT_EQ(t.player(row.winner).avg_darts, static_cast<float>(row.win_darts));
        EXPECT_EQ(t.record.leg_no, 1);
        EXPECT_EQ(t.host.log.front(), "reposition 0 0");
    }
}

TEST(MiddleForDiddle, CancelledOrOnAFinishedLegChangesNothing) {
    Table t(game_of(501));
    t.round(100, 100);
    GameRecord before = t.record;
    t.host.leg_winners.push_back(-1);
    EXPECT_EQ(t.match.middle_for_diddle(), 0);
    EXPECT_EQ(t.record, before);

    t.leg().finished = 1;
    t.host.clear();
    EXPECT_EQ(t.match.middle_for_diddle(), 0);
    EXPECT_TRUE(t.host.calls("ask_winner").empty());
}

GameSettings limited_rounds(int rounds) {
    GameSettings g = game_of(10001);
    g.round_limit = 1;
    g.round = rounds;
    return g;
}

TEST(RoundLimit, CompletingTheLastRoundAsksForMiddleForDiddle) {
    Table t(limited_rounds(15));
    EXPECT_EQ(t.leg().rows, 15);
    EXPECT_EQ(t.leg().capacity, 15);
    for (int r = 0; r < 14; ++r)
        t.round(60, 60);
    t.visit(60);
    t.host.leg_winners.push_back(1);
    t.host.clear();
    t.visit(60);
    ASSERT_GE(t.host.log.size(), 4u);
    std::vector<std::string> head(t.host.log.begin(), t.host.log.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"notify 1 1 0", "repaint -1", "reposition 0 0", "ask_winner"}));
    const LegRecord& leg = t.record.leg(0);
    EXPECT_EQ(leg.finished, 1);
    EXPECT_EQ(leg.cur_round, 15);
    EXPECT_EQ(leg.winner, 1);
    EXPECT_EQ(leg.win_darts, 46);
    EXPECT_EQ(t.player(1).legs, 1);
    EXPECT_EQ(t.record.leg_no, 1);
    EXPECT_EQ(t.leg().rows, 15);
    EXPECT_EQ(t.leg().cur_round, 0);
}

TEST(RoundLimit, CancelledMiddleForDiddleLeavesTheLegOpenWithNoRoundLeft) {
    Table t(limited_rounds(3));
    t.round(60, 60);
    t.round(60, 60);
    t.visit(60);
    t.host.leg_winners.push_back(-1);
    t.host.clear();
    t.visit(60);
    EXPECT_EQ(t.leg().finished, 0);
    EXPECT_EQ(t.leg().cur_round, 3);
    EXPECT_EQ(t.leg().turn, 0);
    EXPECT_EQ(t.host.count("notify 7 0 0"), 1) << "the visit was accepted";
    EXPECT_EQ(t.match.sel_round(), 2) << "there is no round 4 to move to";
    // Esc has no next cell to go to; corrections still work.
    t.match.escape_key();
    EXPECT_EQ(t.match.sel_round(), 2);
    t.host.entry = "61";
    t.match.shift_tab_key();
    EXPECT_EQ(t.left(1), 10001 - 181);
    // Middle for Diddle from the menu later decides it.
    t.host.leg_winners.push_back(0);
    EXPECT_EQ(t.match.middle_for_diddle(), 1);
    EXPECT_EQ(t.record.leg(0).winner, 0);
    EXPECT_EQ(t.record.leg(0).win_darts, 10);
}

// The sheet's COM timer tick: Esc, the COM visit, then its result.
void com_visit(Table& t, int result) {
    t.match.escape_key();
    int p = t.leg().turn;
    t.player(p).com_result = result;
    t.match.apply_com_result(p);
}

TEST(RoundLimit, WithAComPlayerTheLegIsDrawnAndCountsTowardTheLegLimit) {
    GameSettings g = limited_rounds(2);
    g.p2_com = 1;
    g.leg_limit = 1;
    g.max_leg = 2;
    Table t(g);
    t.visit(60);
    EXPECT_EQ(t.host.calls("com_timer"), std::vector<std::string>{"com_timer 1"});
    com_visit(t, 45);
    EXPECT_EQ(t.player(1).com_result, 0);
    EXPECT_EQ(t.left(1), 10001 - 45);
    t.visit(60);
    t.host.clear();
    com_visit(t, 45);
    const LegRecord& drawn = t.record.leg(0);
    EXPECT_EQ(drawn.finished, 1);
    EXPECT_EQ(drawn.win_darts, 0);
    EXPECT_EQ(t.player(0).legs + t.player(1).legs, 0);
    EXPECT_EQ(t.host.count("info A game is a draw."), 1);
    EXPECT_TRUE(t.host.calls("ask_winner").empty());
    // The next leg starts with the COM player, whose timer starts by itself.
    EXPECT_EQ(t.record.leg_no, 1);
    EXPECT_EQ(t.leg().first, 1);
    EXPECT_EQ(t.host.log.back(), "com_timer 0");

    // The second drawn leg ends the set 0-0: nobody gets it.
    com_visit(t, 0);
    t.visit(0);
    com_visit(t, 0);
    t.visit(0);
    EXPECT_EQ(t.host.count("notify 5 0 0"), 1);
    EXPECT_EQ(t.record.set_no, 1);
    EXPECT_EQ(t.player(0).sets + t.player(1).sets, 0);
    ASSERT_EQ(t.history.records.size(), 1u);
    EXPECT_EQ(t.history.records[0].leg_no, 2);
}

TEST(LegLimit, SetEndsAfterAllLegsOrAtTheBestOfMajority) {
    struct Row {
        int max_leg;
        int best_of;
        const char* winners; // leg winners in order, played until the set ends
        int legs_played;
        int sets0, sets1;
    } rows[] = {
        {5, 0, "00011", 5, 1, 0}, {5, 1, "000", 3, 1, 0}, {5, 1, "01011", 5, 0, 1}, {4, 0, "0101", 4, 0, 0},
        {4, 1, "0101", 4, 0, 0},  {4, 1, "000", 3, 1, 0}, {1, 0, "1", 1, 0, 1},     {2, 1, "00", 2, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.max_leg << " legs, best of " << row.best_of << ", " << row.winners);
        GameSettings g = game_of(101);
        g.leg_limit = 1;
        g.max_leg = row.max_leg;
        g.best_of = row.best_of;
        Table t(g);
        for (const char* w = row.winners; *w; ++w) {
            ASSERT_EQ(t.record.set_no, 0) << "the set ended early";
            t.win_leg(*w - '0');
        }
        ASSERT_EQ(t.record.set_no, 1) << "the set did not end";
        EXPECT_EQ(t.host.count("notify 5 0 0"), 1);
        ASSERT_EQ(t.history.records.size(), 1u);
        EXPECT_EQ(t.history.records[0].leg_no, row.legs_played);
        EXPECT_EQ(t.player(0).sets, row.sets0);
        EXPECT_EQ(t.player(1).sets, row.sets1);
        EXPECT_EQ(t.player(0).legs + t.player(1).legs, 0) << "legs start again in the next set";
        EXPECT_EQ(t.leg().first, 0) << "the first leg of a set starts with player 1";
    }
}

TEST(LegLimit, WithoutALimitTheSetGoesOnAndTheFirstThrowAlternates) {
    Table t(game_of(101));
    for (int i = 0; i < 7; ++i)
        t.win_leg(i % 2);
    EXPECT_EQ(t.record.set_no, 0);
    EXPECT_EQ(t.record.leg_no, 7);
    EXPECT_EQ(t.host.count("notify 5 0 0"), 0);
    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ(t.record.leg(i).first, i % 2) << "leg " << i;
    EXPECT_EQ(t.player(0).legs, 4);
    EXPECT_EQ(t.player(1).legs, 3);
}

TEST(LegOver, AutoSaveWritesTheFinishedLegsOnlyWhenOn) {
    for (int on : {0, 1}) {
        Table t(game_of(101), on);
        t.win_leg(0);
        t.win_leg(0);
        t.host.auto_save_ok = false; // a failed save does not stop the match
        t.win_leg(1);
        EXPECT_EQ(t.host.saved_leg_counts, on ? (std::vector<int>{1, 2, 3}) : std::vector<int>{});
        EXPECT_EQ(t.record.leg_no, 3);
        EXPECT_EQ(t.leg().finished, 0);
    }
}

TEST(ExchangeScores, SwapsTheVisitsButNotThePlayers) {
    GameSettings g = game_of(501);
    g.p1_name = "Ann";
    g.p2_start_score = 401;
    Table t(g);
    t.round(100, 40);
    t.visit(60);
    t.host.yes_no.push_back(true);
    t.host.clear();
    t.match.run_command(kCmdExchange);
    EXPECT_EQ(t.host.log.front(), "ask Are you sure you want to exchange scores?");
    const LegRecord& leg = t.leg();
    EXPECT_EQ(leg.scores[0][0], 40);
    EXPECT_EQ(leg.scores[1][0], 100);
    EXPECT_EQ(leg.scores[1][1], 60);
    EXPECT_EQ(leg.first, 1);
    EXPECT_EQ(leg.turn, 0);
    EXPECT_EQ(t.match.sel_player(), 0);
    EXPECT_EQ(t.left(0), 361);
    EXPECT_EQ(t.left(1), 341);
    EXPECT_EQ(leg.darts[0], 3);
    EXPECT_EQ(leg.darts[1], 6);
    EXPECT_EQ(t.player(0).tons, 0);
    EXPECT_EQ(t.player(1).tons, 1);
    EXPECT_EQ(t.player(0).name, "Ann");
    EXPECT_EQ(t.player(1).start_score, 401);
    std::vector<std::string> tail(t.host.log.end() - 4, t.host.log.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"notify 3 0 0", "notify 1 0 0", "notify 1 1 0", "notify 7 0 0"}));
}

TEST(ExchangeScores, RefusedWithAComPlayerAndUnchangedOnNoOrAFinishedLeg) {
    {
        GameSettings g = game_of(501);
        g.p1_com = 1;
        Table t(g);
        t.host.clear();
        t.match.exchange_scores();
        EXPECT_EQ(t.host.log, std::vector<std::string>{"beep"});
    }
    Table t(game_of(501));
    t.round(100, 40);
    GameRecord before = t.record;
    t.host.yes_no.push_back(false);
    t.match.exchange_scores();
    EXPECT_EQ(t.record, before);
    t.leg().finished = 1;
    t.host.clear();
    t.match.exchange_scores();
    EXPECT_TRUE(t.host.log.empty());
}

TEST(ClearScores, NoVisitOfTheLegSurvives) {
    Table t(game_of(100001));
    for (int r = 0; r < 12; ++r)
        t.round(180, 100);
    t.host.yes_no.push_back(false);
    GameRecord before = t.record;
    t.match.clear_scores();
    EXPECT_EQ(t.record, before);

    t.host.yes_no.push_back(true);
    t.host.clear();
    t.match.run_command(kCmdClear);
    const LegRecord& leg = t.leg();
    for (size_t p = 0; p < 2; ++p)
        for (int v : leg.scores[p])
            ASSERT_EQ(v, 0);
    EXPECT_EQ(leg.cur_round, 0);
    EXPECT_EQ(leg.rows, 1);
    EXPECT_EQ(leg.capacity, 10);
    EXPECT_EQ(t.left(0), 100001);
    EXPECT_EQ(t.player(0).tons, 0);
    EXPECT_EQ(t.player(0).one80s, 0);
    EXPECT_EQ(t.player(1).avg_score, 0.0f);
    EXPECT_EQ(t.match.sel_round(), 0);
    EXPECT_EQ(t.host.log.back(), "notify 1 1 0");

    GameSettings g = game_of(501);
    g.p2_com = 1;
    Table com(g);
    com.host.clear();
    com.match.clear_scores();
    EXPECT_EQ(com.host.log, std::vector<std::string>{"beep"});
}

TEST(LeftScoreInput, TurnsTheRemainingScoreIntoTheVisit) {
    struct Row {
        const char* typed;
        bool beep;
        int points; // entered when no beep
    } rows[] = {
        {"441", false, 60},
        {"501", false, 0},
        {"321", false, 180},
        {"320", true, 0},
        {"", true, 0},
        {"600", true, 0},
        {"x", true, 0} /* no digits: 0 left, so 501 points */,
    };
    for (const Row& row : rows) {
        Table t(game_of(501));
        t.host.entry = row.typed;
        t.host.clear();
        t.match.run_command(kCmdLeftScore);
        EXPECT_EQ(t.host.count("beep"), row.beep ? 1 : 0) << row.typed;
        EXPECT_EQ(t.left(0), row.beep ? 501 : 501 - row.points) << row.typed;
        EXPECT_EQ(t.match.sel_player(), row.beep ? 0 : 1) << "moved on as Tab does";
    }
}

TEST(LeftScoreInput, TypedZeroAsksForTheFinishAndComIsRefused) {
    Table t(game_of(101));
    t.host.entry = "0";
    t.host.darts.push_back(0);
    t.match.left_score_input();
    EXPECT_EQ(t.host.calls("ask_dart"), std::vector<std::string>{"ask_dart 101"});

    GameSettings g = game_of(101);
    g.p1_com = 1;
    Table com(g);
    com.host.entry = "41";
    com.host.clear();
    com.match.left_score_input();
    EXPECT_EQ(com.host.log, std::vector<std::string>{"beep"});
}

TEST(ComResult, PointsFinishesAndStopsComeBackAsTheOperatorWouldEnterThem) {
    GameSettings g = game_of(101);
    g.p1_com = 1;
    g.p2_com = 1;
    Table t(g);
    EXPECT_EQ(t.record.leg(0).first, 0);
    // start_leg started the timer for the COM player; every visit starts it for the next.
    com_visit(t, 60);
    EXPECT_EQ(t.left(0), 41);
    EXPECT_EQ(t.player(0).com_result, 0);
    EXPECT_EQ(t.host.count("com_timer 1"), 1);
    com_visit(t, 0);
    EXPECT_EQ(t.host.count("com_timer 1"), 2);
    t.host.clear();
    com_visit(t, -2);
    EXPECT_EQ(t.host.calls("finish_message"),
              std::vector<std::string>{"finish_message Finished by 2 Throw. (5 darts) | COM | 1"});
    EXPECT_EQ(t.record.leg(0).winner, 0);
    EXPECT_EQ(t.record.leg(0).checkout, 41);
    EXPECT_EQ(t.record.leg_no, 1);
    EXPECT_EQ(t.host.log.back(), "com_timer 0") << "player 2 opens the next leg";

    // Stopping leaves the leg finished with no winner, and nothing starts.
    t.host.clear();
    com_visit(t, kComStopped);
    EXPECT_EQ(t.leg().finished, 1);
    EXPECT_EQ(t.record.leg_no, 1);
    EXPECT_EQ(t.player(1).legs, 0);
    EXPECT_TRUE(t.host.calls("com_timer").empty());
    EXPECT_EQ(t.host.entry, "");
    t.host.entry = "60";
    t.match.tab_key();
    EXPECT_EQ(t.left(1), 101) << "a stopped leg takes no entries";
}

} // namespace
} // namespace tx9
