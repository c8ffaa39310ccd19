// Visit scoring, finishes and match progression, played through a faked sheet and main window.
#include "core/text.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace tx9::test {
namespace {

GameSettings rules(int start, int p2_start, int rounds = 0, int p2_com = 0, int max_leg = 0) {
    GameSettings g = game_of(start);
    g.p2_start_score = p2_start;
    g.round_limit = rounds > 0;
    g.round = rounds;
    g.p2_com = p2_com;
    g.leg_limit = max_leg > 0;
    g.max_leg = max_leg;
    return g;
}

std::string repeat(const std::string& steps, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += steps + " ";
    return out;
}

std::string joined(const Log& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : " / ") + line;
    return out;
}

// What the game shows, by name:
//   state    the shown leg and the selection (Table::state)
//   figures  both players' panel figures
//   leg N    how leg N ended, and the players' wins
//   cells    the shown leg's cells that are not 0, "player,round=value"
//   entry    the entry field's text
//   log      the sheet's calls, " / " between them; "log PREFIX": those that start with PREFIX;
//            "start N": the first N
//   match    the set and leg numbers, the players' sets and the history (Table::progress)
std::string view(Table& t, const std::string& name) {
    const PlayerBlock &a = t.player(0), &b = t.player(1);
    if (name == "state") return t.state();
    if (name == "entry") return t.host.entry;
    if (name == "log") return joined(t.host.log);
    if (name.rfind("log ", 0) == 0) return joined(t.host.calls(name.substr(4)));
    if (name.rfind("start ", 0) == 0)
        return joined(Log(t.host.log.begin(), t.host.log.begin() + std::min<long>(std::stol(name.substr(6)),
                                                                                  long(t.host.log.size()))));
    if (name == "match") return t.progress();
    if (name == "figures")
        return strprintf("left %d,%d tons %d,%d 180s %d,%d high %d,%d short %d,%d avg %.2f,%.2f "
                         "per leg %.2f,%.2f legs %d,%d",
                         a.left, b.left, a.tons, b.tons, a.one80s, b.one80s, a.high_off, b.high_off, a.short_,
                         b.short_, a.avg_score, b.avg_score, a.avg_darts, b.avg_darts, a.legs, b.legs);
    if (name.rfind("leg ", 0) == 0) {
        const LegRecord& l = t.record.leg(std::stoi(name.substr(4)));
        return strprintf("finished %d by %d in %d from %d, round %d left %d,%d darts %d,%d; legs %d,%d "
                         "high %d,%d short %d,%d",
                         l.finished, l.winner, l.win_darts, l.checkout, l.cur_round, l.left[0], l.left[1],
                         l.darts[0], l.darts[1], a.legs, b.legs, a.high_off, b.high_off, a.short_, b.short_);
    }
    if (name == "cells") {
        std::string out;
        for (size_t p = 0; p < 2; ++p)
            for (size_t r = 0; r < t.leg().scores[p].size(); ++r)
                if (t.leg().scores[p][r] != 0)
                    out +=
                        strprintf("%s%d,%d=%d", out.empty() ? "" : " ", int(p), int(r), t.leg().scores[p][r]);
        return out;
    }
    ADD_FAILURE() << "no view named " << name;
    return {};
}

// A game played step by step: each step's script (Table::play), then what it
// must show: "VIEW: TEXT" (see view), or "unchanged" when the record must be
// exactly as before the step. The sheet's log starts afresh with every step.
struct Step {
    std::string script;
    std::vector<std::string> want;
};
struct Scenario {
    std::string what;
    GameSettings game;
    std::vector<Step> steps;
};

void play_scenarios(const std::vector<Scenario>& scenarios) {
    for (const Scenario& s : scenarios) {
        Table t(s.game);
        for (const Step& step : s.steps) {
            SCOPED_TRACE(s.what + ", after \"" + step.script + "\"");
            const std::string before = dump(t.record);
            t.host.clear();
            t.play(step.script);
            for (const std::string& want : step.want) {
                const size_t colon = want.find(": ");
                if (want == "unchanged")
                    EXPECT_EQ(dump(t.record), before);
                else if (colon == std::string::npos)
                    ADD_FAILURE() << "no view in \"" << want << '"';
                else
                    EXPECT_EQ(view(t, want.substr(0, colon)), want.substr(colon + 2));
            }
        }
    }
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
        Table t(game_of(row.left));
        t.host.darts.push_back(0); // Cancel
        EXPECT_EQ(t.match.enter_visit(row.points), row.outcome == kStored);
        const int stored = row.outcome == kStored ? row.points : 0;
        EXPECT_EQ(t.leg().scores[0][0], stored);
        EXPECT_EQ(t.left(0), row.left - stored);
        EXPECT_EQ(t.host.calls("ask_dart"),
                  row.outcome == kAsksDart ? Log{"ask_dart " + std::to_string(row.left)} : Log{});
        if (row.outcome == kAsksDart) {
            EXPECT_EQ(t.host.log.back(), "reposition 0 1") << "cancelled: the entry is loaded again";
        }
    }
}

TEST(EnterVisit, VisitsAndCorrections) {
    play_scenarios({
        // clang-format off
        {"in throwing order", game_of(501), {
            {"60", {"log: notify 1 0 0 / notify 7 1 0 / repaint 0 / reposition 1 1",
                    "state: round 0/1 first 0 turn 1 sel 1,0 left 441,501 darts 3,0"}},
            {"45", {"log: notify 1 1 0 / scroll / notify 7 0 0 / repaint 0 / reposition 1 1",
                    "state: round 1/2 first 0 turn 0 sel 0,1 left 441,456 darts 3,3"}}}},
        {"player 2 entered first becomes the first thrower", game_of(501), {
            {"right", {"state: round 0/1 first 0 turn 0 sel 1,0 left 501,501 darts 0,0"}}, // an empty entry
            {"100", {"log: notify 1 1 0 / repaint -1 / notify 3 1 0 / notify 7 0 0 / repaint 0 / reposition 1 1",
                     "state: round 0/1 first 1 turn 0 sel 0,0 left 501,401 darts 0,3"}},
            {"20", {"state: round 1/2 first 1 turn 1 sel 1,1 left 481,401 darts 3,3"}}}},
        {"corrections of earlier rounds; later rounds are not tested again", game_of(301), {
            {"esc 100 50 esc 100 50 esc 100 50 esc home", {"entry: 100"}}, // player 1 has 1 left
            {"=140 down", {"log: reposition 0 0 / notify 1 0 0 / notify 7 0 0 / repaint 0 / reposition 1 1",
                           "state: round 3/4 first 0 turn 0 sel 0,1 left -39,151 darts 9,9"}},
            // Above the score before the visit is refused, unless the cell already holds that value.
            {"=170 down", {"unchanged", "state: round 3/4 first 0 turn 0 sel 0,1 left -39,151 darts 9,9"}},
            {"=100 down", {"unchanged", "entry: 100"}}, // 61 before round 2, but the cell holds 100
            {"down", {"unchanged", "log notify: ",
                      "state: round 3/4 first 0 turn 0 sel 0,3 left -39,151 darts 9,9"}}}},
        // A correction's darts count the current round when the player has thrown in it.
        {"darts of corrections", game_of(501), {
            {"esc 60 60 esc 60 60 60 stab up =61 up",
             {"state: round 2/3 first 0 turn 1 sel 0,0 left 320,381 darts 9,6"}},
            {"right =61 down", {"state: round 2/3 first 0 turn 1 sel 1,1 left 320,380 darts 9,6"}}}},
        // clang-format on
    });
}

TEST(FinishLeg, RecordsTheWinAndTheLoserByThrowingOrder) {
    const std::string rounds = repeat("60 60", 4); // round 5 (index 4) is next
    play_scenarios({
        // clang-format off
        {"the first thrower with the 2nd dart", game_of(301), {{rounds + "f2", {
            "leg 0: finished 1 by 0 in 14 from 61, round 4 left 0,61 darts 14,12; legs 1,0 high 61,0 short 14,0",
            "log finish_message: finish_message Finished by 2 Throw. (14 darts) | Player 1 | 0",
            "cells: ", "state: round 0/1 first 1 turn 1 sel 1,0 left 301,301 darts 0,0"}}}},
        {"the second thrower with the 2nd dart", game_of(301), {{rounds + "20 f2", {
            "leg 0: finished 1 by 1 in 14 from 61, round 5 left 41,0 darts 15,14; legs 0,1 high 0,61 short 0,14",
            "log finish_message: finish_message Finished by 2 Throw. (14 darts) | Player 2 | 0"}}}},
        {"the first thrower with the 1st dart", game_of(281), {{rounds + "f1", {
            "leg 0: finished 1 by 0 in 13 from 41, round 4 left 0,41 darts 13,12; legs 1,0 high 41,0 short 13,0"}}}},
        {"the next leg follows the message", game_of(101), {{"f3", {
            "log: ask_dart 101 / reposition 0 0 / repaint -1 / notify 1 0 0 / notify 1 1 0 / finish_message "
            "Finished by 3 Throw. (3 darts) | Player 1 | 0 / scroll / repaint -1 / reposition 1 1 / notify 3 0 0 / "
            "notify 1 0 0 / notify 1 1 0 / notify 7 1 0"}}}},
        // clang-format on
    });
    Table t(game_of(301));
    t.play(rounds + "f2");
    EXPECT_EQ(t.record.leg(0).scores[0][4], -2) << "the finishing cell holds the dart";
    EXPECT_TRUE(t.host.saved_csv.empty()) << "auto save off";
}

TEST(FinishLeg, CancellingTheMessagePutsTheLegBackExactly) {
    // Player p finishes 61 with the third dart in round 1 and cancels; the Tab stops after the restore.
    auto cancelled = [](int p, bool first_changes, const char* state) {
        return std::vector<std::string>{
            "unchanged", state,
            strprintf("log: ask_dart 61 / %sreposition 0 0 / repaint -1 / notify 1 0 0 / notify 1 1 0 / "
                      "finish_message Finished by 3 Throw. (6 darts) | Player %d | 0 / reposition 0 0 / "
                      "repaint -1 / notify 3 0 0 / notify 1 0 0 / notify 1 1 0",
                      first_changes ? "notify 3 1 0 / " : "", p + 1)};
    };
    play_scenarios({
        // clang-format off
        {"first thrower, with an earlier leg won", game_of(201), {{"w1 esc 140 0 esc", {}},
            {"c3", cancelled(1, false, "state: round 1/2 first 1 turn 1 sel 1,1 left 201,61 darts 3,3")}}},
        {"second thrower after the first threw", game_of(201), {{"esc 100 140 0", {}},
            {"c3", cancelled(1, false, "state: round 1/2 first 0 turn 1 sel 1,1 left 101,61 darts 6,3")}}},
        {"second thrower before the first: the first thrower would change", game_of(201),
         {{"esc 100 140 esc right", {}},
            {"c3", cancelled(1, true, "state: round 1/2 first 0 turn 0 sel 1,1 left 101,61 darts 3,3")}}},
        {"correction of an earlier round", game_of(201), {{"esc 140 20 esc 40 20 esc 10 20 esc home down", {}},
            {"c3", cancelled(0, false, "state: round 3/4 first 0 turn 0 sel 0,1 left 11,141 darts 9,9")}}},
        // clang-format on
    });
}

TEST(FinishLeg, MenuFinishChecksTheDartAgainstTheRemainingScore) {
    const std::tuple<int, int, bool> rows[] = {{61, 1, false},  {61, 2, true},  {60, 1, true},
                                               {121, 2, false}, {121, 3, true}, {180, 3, true}};
    for (auto [left, dart, finishes] : rows) {
        Table t(game_of(left));
        t.host.finish_oks.push_back(true);
        t.play(strprintf("=7 finish%d", dart)); // the entry's text plays no part
        EXPECT_EQ(strprintf("beeps %d checkout %d", t.host.count("beep"), t.record.leg(0).checkout),
                  strprintf("beeps %d checkout %d", finishes ? 0 : 1, finishes ? left : 0))
            << left << " with dart " << dart;
    }
}

TEST(Refusals, ACommandForTheComPlayerBeepsAndAFinishedLegTakesNothing) {
    GameSettings com = game_of(101);
    com.p1_com = 1;
    play_scenarios({
        // clang-format off
        {"the COM player's cell", com, {{"=41 finish3 =41 lscore =41 exchange =41 clear t60",
            {"unchanged", "log: beep / beep / beep / beep / beep"}}}},
        {"cancelled dialogs", game_of(501), {{"esc 100 100 60", {}}, {"a-1 mfd y0 exchange y0 clear", {"unchanged",
            "log ask: ask_winner / ask Are you sure you want to exchange scores? / ask Are you sure you want to clear scores?"}}}},
        // clang-format on
    });
    Table t(game_of(101));
    t.play("esc 60 0");
    t.leg().finished = 1;
    const GameRecord before = t.record;
    t.host.clear();
    t.play("=41 finish1 =41 finish3 =41 mfd =41 exchange =41 lscore =41 enter esc up down tab stab home end "
           "right");
    t.match.finish_leg(3, true); // a late COM finish
    EXPECT_FALSE(t.match.click(SheetGeometry{340, 220, 20, 20, 0}, 10, 45));
    EXPECT_TRUE(t.host.log.empty());
    EXPECT_EQ(t.record, before);
}

// The figures every rule step refreshes, for the configurations that are not
// the default: player 2's side, a handicap start score, the second thrower
// finishing, finishes of a ton or more, and the endings at a round limit.
TEST(RuleFigures, EachStepRefreshesTheFiguresOfBothSides) {
    play_scenarios({
        // clang-format off
        {"player 2 with a handicap enters first, corrects and finishes", rules(501, 301), {
             {"right 140", {"figures: left 501,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 0.00,46.67 per leg 0.00,0.00 legs 0,0"}},
             {"60", {"figures: left 441,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,46.67 per leg 0.00,0.00 legs 0,0"}},
             {"100 60", {"figures: left 381,61 tons 0,2 180s 0,0 high 0,0 short 0,0 avg 20.00,40.00 per leg 0.00,0.00 legs 0,0"}},
             {"home =40 down esc", {"figures: left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"}},
             {"c3", {"figures: left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"}},
             {"f3", {"figures: left 501,301 tons 0,2 180s 0,0 high 0,161 short 0,9 avg 20.00,33.44 per leg 0.00,9.00 legs 0,1"}},
             // Exchange: each player's remaining score comes from the player's own start score.
             {"100 40 esc 60", {}},
             {"X", {"figures: left 461,141 tons 0,3 180s 0,0 high 0,161 short 0,9 avg 17.78,30.73 per leg 0.00,9.00 legs 0,1",
                                  "log ask: ask Are you sure you want to exchange scores?", "cells: 0,0=40 1,0=100 1,1=60",
                                  "state: round 1/2 first 1 turn 0 sel 0,1 left 461,141 darts 3,6",
                                  "log notify: notify 3 0 0 / notify 1 0 0 / notify 1 1 0 / notify 7 0 0"}},
         }},
        {"player 2 finishes second, with a ton; exchange and clear", game_of(301), {
             {"60 140 60 61 60", {"figures: left 121,100 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,33.50 per leg 0.00,0.00 legs 0,0"}},
             {"f2", {"figures: left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1"}},
             {"60 180 X", {"figures: left 241,121 tons 0,3 180s 0,1 high 0,100 short 0,8 avg 20.00,43.73 per leg 0.00,8.00 legs 0,1"}},
             {"C", {"figures: left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1",
                    "log ask: ask Are you sure you want to clear scores?", "cells: ",
                    "log notify 1: notify 1 0 0 / notify 1 1 0 / notify 1 0 0 / notify 1 1 0",
                    "state: round 0/1 first 0 turn 0 sel 0,0 left 301,301 darts 0,0"}},
         }},
        {"finishing visits of 99, 100 and 180; a lower, longer win keeps high off and short leg", rules(279, 200), {
             {"99 0 f3", {"figures: left 279,200 tons 1,0 180s 1,0 high 180,0 short 6,0 avg 46.50,0.00 per leg 6.00,0.00 legs 1,0"}},
             {"100 0 f3", {"figures: left 279,200 tons 1,2 180s 1,0 high 180,100 short 6,6 avg 31.00,22.22 per leg 6.00,6.00 legs 1,1"}},
             {"0 0 180 0 f3", {"figures: left 279,200 tons 2,2 180s 2,0 high 180,100 short 6,6 avg 31.00,13.33 per leg 7.50,6.00 legs 2,1"}},
         }},
        {"Middle for Diddle from the menu after the first thrower threw", rules(501, 0, 2), {
             {"100 140 60", {"figures: left 341,361 tons 1,1 180s 0,0 high 0,0 short 0,0 avg 26.67,46.67 per leg 0.00,0.00 legs 0,0"}},
             {"a1 mfd", {"figures: left 501,501 tons 1,1 180s 0,0 high 0,0 short 0,4 avg 26.67,46.67 per leg 0.00,7.00 legs 0,1",
                     "leg 0: finished 1 by 1 in 7 from 0, round 1 left 341,361 darts 6,3; legs 0,1 high 0,0 short 0,4"}},
         }},
        {"the round limit against the COM player: a draw, then a won leg", rules(101, 0, 1, 1), {
             {"60 k45", {"figures: left 101,101 tons 0,0 180s 0,0 high 0,0 short 0,0 avg 20.00,15.00 per leg 0.00,0.00 legs 0,0"}},
             {"k0 f3", {"figures: left 101,101 tons 1,0 180s 0,0 high 101,0 short 3,0 avg 26.83,7.50 per leg 3.00,0.00 legs 1,0"}},
         }},
        // clang-format on
    });
}

TEST(RoundLimit, TheLastRoundAsksForMiddleForDiddleOrDrawsAgainstTheComPlayer) {
    const std::string rounds = repeat("60", 29); // the last visit of round 15 is next
    play_scenarios({
        // clang-format off
        {"Middle for Diddle decides", rules(10001, 0, 15), {{rounds, {}}, {"a1 60", {
            "start 4: notify 1 1 0 / repaint -1 / reposition 0 0 / ask_winner",
            "leg 0: finished 1 by 1 in 46 from 0, round 15 left 9101,9101 darts 45,45; legs 0,1 high 0,0 short 0,46",
            "state: round 0/15 first 1 turn 1 sel 1,0 left 10001,10001 darts 0,0"}}}},
        // Cancelled: the leg stays open with no round left until the menu decides it.
        {"Middle for Diddle cancelled", rules(10001, 0, 15), {
            {rounds, {}},
            {"a-1 60", {"start 4: notify 1 1 0 / repaint -1 / reposition 0 0 / ask_winner",
                                 "log notify 7: notify 7 0 0"}}, // the visit was accepted
            {"esc", {"state: round 15/15 first 0 turn 0 sel 1,14 left 9101,9101 darts 45,45"}}, // no next cell
            {"=61 stab a1 mfd", {"leg 0: finished 1 by 1 in 46 from 0, round 15 left 9101,9100 darts 45,45; legs 0,1 high 0,0 short 0,46"}}}},
        // With a COM player the leg is drawn, and counts toward the leg limit.
        {"a COM player draws", rules(10001, 0, 2, 1, 2), {
            {"60", {"log com_timer: com_timer 1"}},
            {"k45 60 k45", {
                "leg 0: finished 1 by 0 in 0 from 0, round 2 left 9881,9911 darts 6,6; legs 0,0 high 0,0 short 0,0",
                "log info: info A game is a draw.", "log ask: ",
                "state: round 0/2 first 1 turn 1 sel 1,0 left 10001,10001 darts 0,0", // the COM player opens
                "log com_timer: com_timer 1 / com_timer 0"}},
            {"k0 0 k0 0", {"log notify 5: notify 5 0 0", "match: set 1 leg 0 sets 0,0 archived 0 history 1"}}}}, // nobody gets the set
        // clang-format on
    });
}

TEST(LegLimit, SetEndsAfterAllLegsOrAtTheBestOfMajority) {
    struct Row {
        int max_leg, best_of;
        const char* winners; // leg winners in order, played until the set ends
        int sets0, sets1;
    } rows[] = {
        {5, 0, "00011", 1, 0}, {5, 1, "000", 1, 0}, {5, 1, "01011", 0, 1}, {4, 0, "0101", 0, 0},
        {4, 1, "0101", 0, 0},  {4, 1, "000", 1, 0}, {1, 0, "1", 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.max_leg << " legs, best of " << row.best_of << ", " << row.winners);
        GameSettings g = rules(101, 0, 0, 0, row.max_leg);
        g.best_of = row.best_of;
        Table t(g);
        for (const char* w = row.winners; *w; ++w)
            t.win_leg(*w - '0');
        EXPECT_EQ(t.progress(),
                  strprintf("set 1 leg 0 sets %d,%d archived 0 history 1", row.sets0, row.sets1));
        EXPECT_EQ(t.host.count("notify 5 0 0"), 1);
        EXPECT_EQ(t.history.records.at(0).leg_no, int(std::string(row.winners).size()))
            << "the set ended early";
        // The next set starts at once with player 1 to throw.
        EXPECT_EQ(t.flow_host.log, Log{"start_leg"});
        EXPECT_EQ(t.player(0).legs + t.player(1).legs, 0);
        EXPECT_EQ(t.state(), "round 0/1 first 0 turn 0 sel 0,0 left 101,101 darts 0,0");
        EXPECT_EQ(t.host.log.back(), "notify 7 0 0");
    }
}

TEST(LegOver, EveryFinishedLegIsSavedTheLastOfALimitedSetToo) {
    // The saved file holds the finished legs only; a failed save does not stop the match.
    Table set(rules(101, 0, 0, 0, 2), 1);
    set.host.auto_save_ok = false;
    set.play("w0 w1");
    ASSERT_EQ(set.record.set_no, 1) << "the set did not end";
    const std::string head = ",Player 1,,Player 2,\r\nRound,Scored,To Go,Scored,To Go\r\n";
    const std::string leg1 = ",*,101,,101\r\n1,(3),,,\r\nDarts,3,,,\r\n";
    const std::string leg2 = ",,101,*,101\r\n1,,,(3),\r\nDarts,,,3,\r\n";
    EXPECT_EQ(set.host.saved_csv, (Log{head + leg1, head + leg1 + leg2}));
}

TEST(LeftScoreInput, TurnsTheRemainingScoreIntoTheVisitAndMovesOnAsTabDoes) {
    struct Row {
        int start;
        const char* typed;
        const char* want; // what the sheet asked, then player 1's remaining score and the selected player
    } rows[] = {
        // clang-format off
        {501, "441", "left 441 sel 1"}, {501, "501", "left 501 sel 1"}, {501, "321", "left 321 sel 1"},
        {501, "320", "beep / left 501 sel 0"}, {501, "", "beep / left 501 sel 0"},
        {501, "600", "beep / left 501 sel 0"}, {101, "0", "ask_dart 101 / left 101 sel 0"},
        // clang-format on
    };
    for (const Row& row : rows) {
        Table t(game_of(row.start));
        t.host.entry = row.typed;
        t.host.darts.push_back(0); // a finish is cancelled
        t.match.run_command(kCmdLeftScore);
        Log said = t.host.calls("beep"), asked = t.host.calls("ask_dart");
        said.insert(said.end(), asked.begin(), asked.end());
        said.push_back(strprintf("left %d sel %d", t.left(0), t.match.sel_player()));
        EXPECT_EQ(joined(said), row.want) << '"' << row.typed << '"';
    }
}

TEST(ComResult, PointsFinishesAndStopsComeBackAsTheOperatorWouldEnterThem) {
    GameSettings g = game_of(101);
    g.p1_com = 1;
    g.p2_com = 1;
    play_scenarios({
        // clang-format off
        {"two COM players", g, {
            // start_leg started the timer; every visit starts it for the next
            {"k60 k0", {"log com_timer: com_timer 1 / com_timer 1",
                        "state: round 1/2 first 0 turn 0 sel 0,1 left 41,101 darts 3,3"}},
            {"k-2", {"log finish_message: finish_message Finished by 2 Throw. (5 darts) | COM | 1",
                     "leg 0: finished 1 by 0 in 5 from 41, round 1 left 0,101 darts 5,3; legs 1,0 high 41,0 short 5,0",
                     "log com_timer: com_timer 0"}}, // player 2 opens the next leg
            // Stopping leaves the leg finished with no winner, and nothing starts.
            {"k-5", {"leg 1: finished 1 by 0 in 0 from 0, round 0 left 101,101 darts 0,0; legs 1,0 high 41,0 short 5,0",
                     "log com_timer: ", "entry: "}},
            {"60", {"unchanged"}}}}, // a stopped leg takes no entries
        // clang-format on
    });
    Table t(g);
    t.play("k60");
    EXPECT_EQ(t.player(0).com_result, 0) << "set back once entered";
}

} // namespace
} // namespace tx9::test
