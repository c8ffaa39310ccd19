// Visit scoring, finishes and match progression, played through a faked sheet and main window.
#include "core/text.h"
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;
using Log = std::vector<std::string>;

GameSettings rules(int start, int p2_start, int rounds = 0, int p2_com = 0) {
    GameSettings g = game_of(start);
    g.p2_start_score = p2_start;
    g.round_limit = rounds > 0;
    g.round = rounds;
    g.p2_com = p2_com;
    return g;
}

// Brings player p's remaining score down to `left` (the other scores 0) and selects p's next cell.
void bring_to(Table& t, int p, int left) {
    for (int visits = 0; t.left(p) != left; ++visits) {
        ASSERT_LT(visits, 40) << "player " << p + 1 << " stuck at " << t.left(p) << " on the way to " << left;
        t.match.escape_key();
        t.visit(t.match.sel_player() == p ? std::min(180, t.left(p) - left) : 0);
    }
    t.play(t.match.sel_player() == p ? "esc" : "esc 0 esc");
    ASSERT_EQ(t.match.sel_player(), p);
}

// Leg n's end and the players' wins in one line.
std::string outcome(Table& t, int n) {
    const LegRecord& l = t.record.leg(n);
    return strprintf(
        "finished %d by %d in %d from %d, round %d left %d,%d darts %d,%d; legs %d,%d high %d,%d "
        "short %d,%d",
        l.finished, l.winner, l.win_darts, l.checkout, l.cur_round, l.left[0], l.left[1], l.darts[0],
        l.darts[1], t.player(0).legs, t.player(1).legs, t.player(0).high_off, t.player(1).high_off,
        t.player(0).short_, t.player(1).short_);
}

// Both players' figures as the panels show them.
std::string figures(Table& t) {
    const PlayerBlock &a = t.player(0), &b = t.player(1);
    return strprintf(
        "left %d,%d tons %d,%d 180s %d,%d high %d,%d short %d,%d avg %.2f,%.2f per leg %.2f,%.2f "
        "legs %d,%d",
        a.left, b.left, a.tons, b.tons, a.one80s, b.one80s, a.high_off, b.high_off, a.short_, b.short_,
        a.avg_score, b.avg_score, a.avg_darts, b.avg_darts, a.legs, b.legs);
}

TEST(EnterVisit, UpToTheRemainingScoreIsStoredAndEqualToItAsksForTheDart) {
    enum Outcome { kRefused, kStored, kAsksDart };
    struct Row {
        int left, points;
        Outcome outcome;
    } rows[] = {
        {501, 181, kRefused}, {501, 180, kStored}, {200, 180, kStored},   {501, 179, kStored},
        {501, 0, kStored},    {1, 2, kRefused},    {1, 0, kStored},       {100, 101, kRefused},
        {501, -1, kRefused},  {1, 1, kAsksDart},   {180, 180, kAsksDart}, {169, 169, kAsksDart},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.points << " on " << row.left);
        Table t(game_of(501));
        bring_to(t, 0, row.left);
        const size_t round = static_cast<size_t>(t.match.sel_round());
        t.host.darts.push_back(0); // Cancel
        t.host.clear();
        EXPECT_EQ(t.match.enter_visit(row.points), row.outcome == kStored);
        const int stored = row.outcome == kStored ? row.points : 0;
        EXPECT_EQ(t.leg().scores[0][round], stored);
        EXPECT_EQ(t.left(0), row.left - stored);
        EXPECT_EQ(t.host.calls("ask_dart"),
                  row.outcome == kAsksDart ? Log{"ask_dart " + std::to_string(row.left)} : Log{});
        if (row.outcome != kAsksDart) continue;
        // Cancelled: the leg stays open and the entry goes back over the cell, emptied.
        EXPECT_EQ(t.leg().finished, 0);
        EXPECT_EQ(t.host.log.back(), "reposition 0 1");
        EXPECT_EQ(t.host.entry, "");
    }
}

TEST(EnterVisit, NotifiesAndMovesOnInThrowingOrderWhoeverEntersFirst) {
    Table t(game_of(501));
    t.visit(60);
    EXPECT_EQ(t.host.log, (Log{"notify 1 0 0", "notify 7 1 0", "repaint 0", "reposition 1 1"}));
    EXPECT_EQ(t.state(), "round 0/1 first 0 turn 1 sel 1,0 left 441,501 darts 3,0");
    t.host.clear();
    t.visit(45);
    EXPECT_EQ(t.host.log, (Log{"notify 1 1 0", "scroll", "notify 7 0 0", "repaint 0", "reposition 1 1"}));
    EXPECT_EQ(t.state(), "round 1/2 first 0 turn 0 sel 0,1 left 441,456 darts 3,3");

    // Player 2's visit entered first makes player 2 the first thrower.
    Table p2(game_of(501));
    p2.match.cell_right(); // an empty entry on the cell to be entered next only moves
    p2.host.clear();
    p2.visit(100);
    EXPECT_EQ(p2.host.log, (Log{"notify 1 1 0", "repaint -1", "notify 3 1 0", "notify 7 0 0", "repaint 0",
                                "reposition 1 1"}));
    EXPECT_EQ(p2.state(), "round 0/1 first 1 turn 0 sel 0,0 left 501,401 darts 0,3");
    p2.visit(20);
    EXPECT_EQ(p2.state(), "round 1/2 first 1 turn 1 sel 1,1 left 481,401 darts 3,3");
}

TEST(EnterVisit, CorrectionsOfEarlierRounds) {
    Table t(game_of(301));
    t.play("esc 100 50 esc 100 50 esc 100 50 esc home"); // player 1 has 1 left
    EXPECT_EQ(t.host.entry, "100");
    t.host.clear();
    t.play("=140 down"); // later rounds are not tested again: player 1 goes below zero
    EXPECT_EQ(t.host.log,
              (Log{"reposition 0 0", "notify 1 0 0", "notify 7 0 0", "repaint 0", "reposition 1 1"}));
    EXPECT_EQ(t.state(), "round 3/4 first 0 turn 0 sel 0,1 left -39,151 darts 9,9");
    // Above the score before the visit is refused, unless the cell already holds that value.
    t.play("=170 down"); // 161 before round 1
    EXPECT_EQ(t.match.sel_round(), 1);
    EXPECT_EQ(t.leg().scores[0][1], 100);
    t.play("=100 down");
    EXPECT_EQ(t.host.entry, "100"); // 61 before round 2, but the cell holds 100
    t.host.clear();
    t.play("down");
    EXPECT_EQ(t.match.sel_round(), 3);
    EXPECT_TRUE(t.host.calls("notify").empty()) << "accepted without change";

    // A correction's darts count the current round when the player has thrown in it.
    Table d(game_of(501));
    d.play("esc 60 60 esc 60 60 60 stab up =61 up"); // round 2: player 1 has thrown, player 2 not
    EXPECT_EQ(d.leg().darts[0], 9);
    d.play("right =61 down");
    EXPECT_EQ(d.leg().darts[1], 6);
}

TEST(EnterVisit, WithoutARoundLimitTheArraysGrowByTenKeepingTheVisits) {
    Table t(game_of(100001));
    for (int r = 0; r < 25; ++r)
        t.round(r + 1, 100 + r);
    EXPECT_EQ(t.host.count("scroll"), 25) << "the scroll bar follows every new row";
    EXPECT_EQ(t.leg().capacity, 30);
    EXPECT_EQ(t.leg().rows, 26);
    for (size_t p = 0; p < 2; ++p) {
        ASSERT_EQ(t.leg().scores[p].size(), 31u);
        for (int r = 0; r < 31; ++r)
            EXPECT_EQ(t.leg().scores[p][size_t(r)], r >= 25 ? 0 : p ? 100 + r : r + 1) << p << ", " << r;
    }
}

TEST(FinishLeg, RecordsTheWinAndTheLoserByThrowingOrder) {
    struct Row {
        int start, finisher, dart, win_darts;
        const char* outcome;
    } rows[] = {
        // Round 5 (index 4); the second thrower finishes after the first scored 20.
        {301, 0, 2, 14,
         "finished 1 by 0 in 14 from 61, round 4 left 0,61 darts 14,12; legs 1,0 high 61,0 short 14,0"},
        {301, 1, 2, 14,
         "finished 1 by 1 in 14 from 61, round 5 left 41,0 darts 15,14; legs 0,1 high 0,61 short 0,14"},
        {281, 0, 1, 13,
         "finished 1 by 0 in 13 from 41, round 4 left 0,41 darts 13,12; legs 1,0 high 41,0 short 13,0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "finisher " << row.finisher << " dart " << row.dart);
        Table t(game_of(row.start));
        for (int r = 0; r < 4; ++r)
            t.round(60, 60);
        if (row.finisher == 1) t.visit(20);
        t.host.clear();
        t.finish(t.left(row.finisher), row.dart);
        EXPECT_EQ(outcome(t, 0), row.outcome);
        EXPECT_EQ(t.record.leg(0).scores[static_cast<size_t>(row.finisher)][4], -row.dart);
        EXPECT_EQ(t.host.calls("finish_message"),
                  Log{strprintf("finish_message Finished by %d Throw. (%d darts) | Player %d | 0", row.dart,
                                row.win_darts, row.finisher + 1)});
        // The next leg is open, thrown first by the other player, and shown.
        EXPECT_EQ(t.match.shown_leg(), 1);
        EXPECT_EQ(t.state(),
                  strprintf("round 0/1 first 1 turn 1 sel 1,0 left %d,%d darts 0,0", row.start, row.start));
    }
    Table t(game_of(101));
    t.finish(101, 3);
    EXPECT_EQ(t.host.log, (Log{"ask_dart 101", "reposition 0 0", "repaint -1", "notify 1 0 0", "notify 1 1 0",
                               "finish_message Finished by 3 Throw. (3 darts) | Player 1 | 0",
                               // leg_over, then start_leg of the next leg
                               "scroll", "repaint -1", "reposition 1 1", "notify 3 0 0", "notify 1 0 0",
                               "notify 1 1 0", "notify 7 1 0"}));
}

TEST(FinishLeg, CancellingTheMessagePutsTheLegBackExactly) {
    struct Case {
        const char* name;
        const char* script;
    } cases[] = {
        {"first thrower, with an earlier leg won", "w1 esc 0 100 esc 60 0 esc"},
        {"second thrower after the first threw", "esc 100 100 0"},
        {"second thrower before the first (first thrower would change)", "esc 100 100 esc right"},
        {"correction of an earlier round", "esc 100 20 esc 50 20 esc 50 20 esc home down"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table t(game_of(201));
        t.play(c.script);
        const GameRecord before = t.record;
        const int sel_player = t.match.sel_player();
        const int sel_round = t.match.sel_round();
        t.host.clear();
        t.play("c3");
        ASSERT_EQ(t.host.calls("finish_message").size(), 1u);
        EXPECT_EQ(t.record, before);
        EXPECT_EQ(t.match.sel_player(), sel_player);
        EXPECT_EQ(t.match.sel_round(), sel_round);
        // The Tab stops after the restore: nothing follows it.
        EXPECT_EQ(Log(t.host.log.end() - 5, t.host.log.end()),
                  (Log{"reposition 0 0", "repaint -1", "notify 3 0 0", "notify 1 0 0", "notify 1 1 0"}));
    }
}

TEST(FinishLeg, MenuFinishChecksTheDartAgainstTheRemainingScore) {
    struct Row {
        int left, dart;
        bool finishes;
    } rows[] = {{61, 1, false},  {61, 2, true},  {60, 1, true},
                {121, 2, false}, {121, 3, true}, {180, 3, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.left << " with dart " << row.dart);
        Table t(game_of(501));
        bring_to(t, 0, row.left);
        t.host.entry = "7"; // the entry's text plays no part
        t.host.finish_oks.push_back(true);
        t.host.clear();
        t.match.run_command(kCmdFinish1 + row.dart - 1);
        EXPECT_EQ(t.host.count("beep"), row.finishes ? 0 : 1);
        EXPECT_EQ(t.record.leg(0).checkout, row.finishes ? row.left : 0);
    }
}

TEST(Refusals, ACommandForTheComPlayerBeepsAndAFinishedLegTakesNothing) {
    GameSettings g = game_of(101);
    g.p1_com = 1;
    for (int id : {int{kCmdFinish3}, int{kCmdLeftScore}, int{kCmdExchange}, int{kCmdClear}, 0}) {
        Table t(g);
        const GameRecord before = t.record;
        t.host.entry = "41";
        if (id)
            t.match.run_command(id);
        else
            t.match.enter_template(60, true);
        EXPECT_EQ(t.host.log, Log{"beep"}) << id;
        EXPECT_EQ(t.record, before) << id;
    }
    Table t(game_of(101));
    t.play("esc 60 0");
    t.leg().finished = 1;
    const GameRecord before = t.record;
    t.host.clear();
    for (int id : {kCmdFinish1, kCmdFinish3, kCmdMiddleForDiddle, kCmdExchange, kCmdLeftScore, kCmdEnter,
                   kCmdEscape, kCmdUp, kCmdDown, kCmdTab, kCmdShiftTab, kCmdHome, kCmdEnd, kCmdCellRight}) {
        t.host.entry = "41";
        t.match.run_command(id);
    }
    t.match.finish_leg(3, true); // a late COM finish
    EXPECT_FALSE(t.match.click(SheetGeometry{340, 220, 20, 20, 0}, 10, 45));
    EXPECT_TRUE(t.host.log.empty());
    EXPECT_EQ(t.record, before);

    // Cancelled dialogs change nothing.
    Table c(game_of(501));
    c.play("esc 100 100 60");
    const GameRecord open = c.record;
    c.host.leg_winners.push_back(-1);
    c.host.yes_no = {false, false};
    EXPECT_EQ(c.match.middle_for_diddle(), 0);
    c.match.exchange_scores();
    c.match.clear_scores();
    EXPECT_EQ(c.record, open);
    EXPECT_EQ(c.host.calls("ask").size(), 3u);
}

// The figures every rule step refreshes, for the configurations that are not
// the default: player 2's side, a handicap start score, the second thrower
// finishing, finishes of a ton or more, and the endings at a round limit.
TEST(RuleFigures, EachStepRefreshesTheFiguresOfBothSides) {
    struct Step {
        const char* script;
        const char* figures;
    };
    const struct {
        const char* what;
        GameSettings game;
        std::vector<Step> steps;
    } scenarios[] = {
        // clang-format off
        {"player 2 with a handicap enters first, corrects and finishes", rules(501, 301), {
             {"right 140", "left 501,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 0.00,46.67 per leg 0.00,0.00 legs 0,0"},
             {"60", "left 441,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,46.67 per leg 0.00,0.00 legs 0,0"},
             {"100 60", "left 381,61 tons 0,2 180s 0,0 high 0,0 short 0,0 avg 20.00,40.00 per leg 0.00,0.00 legs 0,0"},
             {"home =40 down esc", "left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"},
             {"c3", "left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"},
             {"f3", "left 501,301 tons 0,2 180s 0,0 high 0,161 short 0,9 avg 20.00,33.44 per leg 0.00,9.00 legs 0,1"},
         }},
        {"player 2 finishes second, with a ton; exchange and clear", game_of(301), {
             {"60 140 60 61 60", "left 121,100 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,33.50 per leg 0.00,0.00 legs 0,0"},
             {"f2", "left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1"},
             {"60 180 X", "left 241,121 tons 0,3 180s 0,1 high 0,100 short 0,8 avg 20.00,43.73 per leg 0.00,8.00 legs 0,1"},
             {"C", "left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1"},
         }},
        {"finishing visits of 99, 100 and 180", rules(279, 200), {
             {"180 0 f3", "left 279,200 tons 1,0 180s 1,0 high 99,0 short 6,0 avg 46.50,0.00 per leg 6.00,0.00 legs 1,0"},
             {"100 0 f3", "left 279,200 tons 1,2 180s 1,0 high 99,100 short 6,6 avg 31.00,22.22 per leg 6.00,6.00 legs 1,1"},
             {"99 0 f3", "left 279,200 tons 2,2 180s 2,0 high 180,100 short 6,6 avg 37.20,16.67 per leg 6.00,6.00 legs 2,1"},
         }},
        {"the round limit between two players: Middle for Diddle", rules(501, 0, 2), {
             {"100 140 60", "left 341,361 tons 1,1 180s 0,0 high 0,0 short 0,0 avg 26.67,46.67 per leg 0.00,0.00 legs 0,0"},
             {"m1", "left 501,501 tons 1,1 180s 0,0 high 0,0 short 0,4 avg 26.67,46.67 per leg 0.00,7.00 legs 0,1"},
         }},
        {"the round limit against the COM player: a draw, then a won leg", rules(101, 0, 1, 1), {
             {"60 k45", "left 101,101 tons 0,0 180s 0,0 high 0,0 short 0,0 avg 20.00,15.00 per leg 0.00,0.00 legs 0,0"},
             {"k0 f3", "left 101,101 tons 1,0 180s 0,0 high 101,0 short 3,0 avg 26.83,7.50 per leg 3.00,0.00 legs 1,0"},
         }},
        // clang-format on
    };
    for (const auto& s : scenarios) {
        Table t(s.game);
        for (const Step& step : s.steps) {
            t.play(step.script);
            EXPECT_EQ(figures(t), step.figures) << s.what << ", after \"" << step.script << '"';
        }
    }
}

TEST(RoundLimit, CompletingTheLastRoundAsksForMiddleForDiddle) {
    struct Row {
        int answer;
        const char* outcome;
    } rows[] = {
        {1,
         "finished 1 by 1 in 46 from 0, round 15 left 9101,9101 darts 45,45; legs 0,1 high 0,0 short 0,46"},
        // Cancelled: the leg stays open with no round left until the menu decides it.
        {-1,
         "finished 1 by 1 in 46 from 0, round 15 left 9101,9100 darts 45,45; legs 0,1 high 0,0 short 0,46"},
    };
    for (const Row& row : rows) {
        Table t(rules(10001, 0, 15));
        EXPECT_EQ(t.leg().capacity, 15);
        for (int r = 0; r < 14; ++r)
            t.round(60, 60);
        t.visit(60);
        t.host.leg_winners.push_back(row.answer);
        t.host.clear();
        t.visit(60);
        ASSERT_GE(t.host.log.size(), 4u);
        EXPECT_EQ(Log(t.host.log.begin(), t.host.log.begin() + 4),
                  (Log{"notify 1 1 0", "repaint -1", "reposition 0 0", "ask_winner"}));
        if (row.answer < 0) {
            EXPECT_EQ(t.host.count("notify 7 0 0"), 1) << "the visit was accepted";
            t.play("esc"); // no next cell to go to
            EXPECT_EQ(t.state(), "round 15/15 first 0 turn 0 sel 1,14 left 9101,9101 darts 45,45");
            t.play("=61 stab m1"); // corrections still go in
        }
        EXPECT_EQ(outcome(t, 0), row.outcome);
        EXPECT_EQ(t.state(), "round 0/15 first 1 turn 1 sel 1,0 left 10001,10001 darts 0,0");
    }
}

TEST(RoundLimit, WithAComPlayerTheLegIsDrawnAndCountsTowardTheLegLimit) {
    GameSettings g = rules(10001, 0, 2, 1);
    g.leg_limit = 1;
    g.max_leg = 2;
    Table t(g);
    t.visit(60);
    EXPECT_EQ(t.host.calls("com_timer"), Log{"com_timer 1"});
    t.play("k45 60");
    t.host.clear();
    t.play("k45");
    EXPECT_EQ(outcome(t, 0),
              "finished 1 by 0 in 0 from 0, round 2 left 9881,9911 darts 6,6; legs 0,0 high 0,0 short 0,0");
    EXPECT_EQ(t.host.count("info A game is a draw."), 1);
    EXPECT_TRUE(t.host.calls("ask_winner").empty());
    // The next leg starts with the COM player, whose timer starts by itself.
    EXPECT_EQ(t.state(), "round 0/2 first 1 turn 1 sel 1,0 left 10001,10001 darts 0,0");
    EXPECT_EQ(t.host.log.back(), "com_timer 0");
    // The second drawn leg ends the set 0-0: nobody gets it.
    t.play("k0 0 k0 0");
    EXPECT_EQ(t.host.count("notify 5 0 0"), 1);
    EXPECT_EQ(t.player(0).sets + t.player(1).sets, 0);
    ASSERT_EQ(t.history.records.size(), 1u);
    EXPECT_EQ(t.history.records[0].leg_no, 2);
}

TEST(LegLimit, SetEndsAfterAllLegsOrAtTheBestOfMajority) {
    struct Row {
        int max_leg, best_of;
        const char* winners; // leg winners in order, played until the set ends
        int sets0, sets1;
    } rows[] = {
        {5, 0, "00011", 1, 0}, {5, 1, "000", 1, 0}, {5, 1, "01011", 0, 1}, {4, 0, "0101", 0, 0},
        {4, 1, "0101", 0, 0},  {4, 1, "000", 1, 0}, {1, 0, "1", 0, 1},     {2, 1, "00", 1, 0},
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
        EXPECT_EQ(t.history.records[0].leg_no, int(std::string(row.winners).size()));
        EXPECT_EQ(t.player(0).sets, row.sets0);
        EXPECT_EQ(t.player(1).sets, row.sets1);
        EXPECT_EQ(t.player(0).legs + t.player(1).legs, 0) << "legs start again in the next set";
        EXPECT_EQ(t.leg().first, 0) << "the first leg of a set starts with player 1";
    }
}

TEST(LegOver, EveryFinishedLegIsSavedTheLastOfALimitedSetToo) {
    Table t(game_of(101), 1);
    t.host.auto_save_ok = false; // a failed save does not stop the match
    t.play("w0 w1 w0");
    EXPECT_EQ(t.host.saved_csv.size(), 3u);
    EXPECT_EQ(t.record.leg_no, 3);
    Table off(game_of(101));
    off.play("w0");
    EXPECT_TRUE(off.host.saved_csv.empty()) << "auto save off";

    // The saved file holds the finished legs only.
    GameSettings g = game_of(101);
    g.leg_limit = 1;
    g.max_leg = 2;
    Table set(g, 1);
    set.play("w0 w1");
    ASSERT_EQ(set.record.set_no, 1) << "the set did not end";
    const std::string head = ",Player 1,,Player 2,\r\nRound,Scored,To Go,Scored,To Go\r\n";
    const std::string leg1 = ",*,101,,101\r\n1,(3),,,\r\nDarts,3,,,\r\n";
    const std::string leg2 = ",,101,*,101\r\n1,,,(3),\r\nDarts,,,3,\r\n";
    EXPECT_EQ(set.host.saved_csv, (Log{head + leg1, head + leg1 + leg2}));
}

TEST(ExchangeAndClear, AskFirstThenChangeOnlyTheLegsVisits) {
    Table t(rules(100001, 401));
    t.play("100 40 esc 60 X");
    EXPECT_EQ(t.host.calls("ask"), Log{"ask Are you sure you want to exchange scores?"});
    EXPECT_EQ(Log(t.host.log.end() - 4, t.host.log.end()),
              (Log{"notify 3 0 0", "notify 1 0 0", "notify 1 1 0", "notify 7 0 0"}));
    EXPECT_EQ(t.leg().scores[0][0], 40);
    EXPECT_EQ(t.leg().scores[1][0], 100);
    EXPECT_EQ(t.leg().scores[1][1], 60);
    // Each player's remaining score comes from the player's own start score and the visits it now has.
    EXPECT_EQ(t.state(), "round 1/2 first 1 turn 0 sel 0,1 left 99961,241 darts 3,6");

    for (int r = 0; r < 12; ++r)
        t.round(1, 1);
    t.host.clear();
    t.play("C");
    EXPECT_EQ(t.host.log.front(), "ask Are you sure you want to clear scores?");
    EXPECT_EQ(t.host.log.back(), "notify 1 1 0");
    for (size_t p = 0; p < 2; ++p)
        EXPECT_TRUE(
            std::all_of(t.leg().scores[p].begin(), t.leg().scores[p].end(), [](int v) { return v == 0; }));
    EXPECT_EQ(t.leg().capacity, 10);
    EXPECT_EQ(t.state(), "round 0/1 first 1 turn 1 sel 1,0 left 100001,401 darts 0,0");
}

TEST(LeftScoreInput, TurnsTheRemainingScoreIntoTheVisit) {
    struct Row {
        int start;
        const char* typed;
        int points; // -1: a beep
    } rows[] = {{501, "441", 60}, {501, "501", 0},  {501, "321", 180}, {501, "320", -1},
                {501, "", -1},    {501, "600", -1}, {101, "0", 101}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        Table t(game_of(row.start));
        t.host.entry = row.typed;
        t.host.darts.push_back(0); // a finish is cancelled
        t.host.clear();
        t.match.run_command(kCmdLeftScore);
        EXPECT_EQ(t.host.count("beep"), row.points < 0 ? 1 : 0);
        const bool finish = row.points == row.start;
        EXPECT_EQ(t.host.calls("ask_dart"), finish ? Log{"ask_dart 101"} : Log{});
        EXPECT_EQ(t.left(0), row.start - (row.points < 0 || finish ? 0 : row.points));
        EXPECT_EQ(t.match.sel_player(), row.points < 0 || finish ? 0 : 1) << "moved on as Tab does";
    }
}

TEST(ComResult, PointsFinishesAndStopsComeBackAsTheOperatorWouldEnterThem) {
    GameSettings g = game_of(101);
    g.p1_com = 1;
    g.p2_com = 1;
    Table t(g);
    t.play("k60 k0"); // start_leg started the timer; every visit starts it for the next
    EXPECT_EQ(t.host.calls("com_timer"), (Log{"com_timer 1", "com_timer 1"}));
    EXPECT_EQ(t.state(), "round 1/2 first 0 turn 0 sel 0,1 left 41,101 darts 3,3");
    EXPECT_EQ(t.player(0).com_result + t.player(1).com_result, 0);
    t.host.clear();
    t.play("k-2");
    EXPECT_EQ(t.host.calls("finish_message"), Log{"finish_message Finished by 2 Throw. (5 darts) | COM | 1"});
    EXPECT_EQ(outcome(t, 0),
              "finished 1 by 0 in 5 from 41, round 1 left 0,101 darts 5,3; legs 1,0 high 41,0 short 5,0");
    EXPECT_EQ(t.host.log.back(), "com_timer 0") << "player 2 opens the next leg";

    // Stopping leaves the leg finished with no winner, and nothing starts.
    t.host.clear();
    t.play("k" + std::to_string(kComStopped));
    EXPECT_EQ(t.leg().finished, 1);
    EXPECT_EQ(t.record.leg_no, 1);
    EXPECT_EQ(t.player(1).legs, 0);
    EXPECT_TRUE(t.host.calls("com_timer").empty());
    EXPECT_EQ(t.host.entry, "");
    t.play("60");
    EXPECT_EQ(t.left(1), 101) << "a stopped leg takes no entries";
}

} // namespace
} // namespace tx9
