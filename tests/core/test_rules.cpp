// Visit scoring, finishes, match progression and the score sheet's commands and selection,
// played through a faked sheet and main window.
#include "core/text.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

namespace tx9::test {
namespace {

std::string joined(const Log& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : " / ") + line;
    return out;
}

// What the game shows, by name; "log PREFIX" keeps the sheet's calls that start with PREFIX,
// "start N" the first N, "cells" lists the shown leg's cells that are not 0 as "player,round=value".
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
    if (name == "com") return strprintf("%d,%d", a.com_result, b.com_result);
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
        const auto& cells = t.leg().scores;
        for (size_t p = 0; p < 2; ++p)
            for (size_t r = 0; r < cells[p].size(); ++r)
                if (cells[p][r] != 0)
                    out += strprintf("%s%d,%d=%d", out.empty() ? "" : " ", int(p), int(r), cells[p][r]);
        return out;
    }
    ADD_FAILURE() << "no view named " << name;
    return {};
}

// A game played step by step: each step's script (Table::play), then what it must show: "VIEW: TEXT"
// (see view), or "unchanged" when the record must be exactly as before. Each step starts a fresh log.
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
                else // a text without "VIEW: " names no view
                    EXPECT_EQ(view(t, want.substr(0, colon)), want.substr(colon + 2));
            }
        }
    }
}

TEST(EnterVisit, UpToTheRemainingScoreIsStoredAndEqualToItAsksForTheDart) {
    enum Outcome { kRefused, kStored, kAsksDart };
    const std::tuple<int, int, Outcome> rows[] = {
        {501, 181, kRefused}, {501, 180, kStored}, {501, 179, kStored},   {501, 0, kStored},
        {1, 2, kRefused},     {501, -1, kRefused}, {180, 180, kAsksDart}, {169, 169, kAsksDart},
    };
    for (auto [left, points, outcome] : rows) {
        SCOPED_TRACE(testing::Message() << points << " on " << left);
        Table t(game_of(left));
        t.host.darts.push_back(0); // Cancel: the entry is loaded again
        const bool accepted = t.match.enter_visit(points);
        const int stored = outcome == kStored ? points : 0;
        EXPECT_EQ(strprintf("%d cell %d left %d ", accepted, t.leg().scores[0][0], t.player(0).left) +
                      joined(t.host.calls(outcome == kAsksDart ? "" : "ask_dart")),
                  strprintf("%d cell %d left %d ", outcome == kStored, stored, left - stored) +
                      (outcome == kAsksDart ? strprintf("ask_dart %d / reposition 0 1", left) : ""));
    }
}

TEST(EnterVisit, VisitsAndCorrections) {
    play_scenarios({
        // clang-format off
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
    const std::string rounds = "60 60 60 60 60 60 60 60 "; // round 5 (index 4) is next
    play_scenarios({
        // clang-format off
        {"the first thrower with the 2nd dart", game_of(301), {{rounds + "f2", {
            "leg 0: finished 1 by 0 in 14 from 61, round 4 left 0,61 darts 14,12; legs 1,0 high 61,0 short 14,0",
            "log finish_message: finish_message Finished by 2 Throw. (14 darts) | Player 1 | 0",
            "cells: ", "state: round 0/1 first 1 turn 1 sel 1,0 left 301,301 darts 0,0"}}}},
        {"the second thrower with the 2nd dart", game_of(301), {{rounds + "20 f2", {
            "leg 0: finished 1 by 1 in 14 from 61, round 5 left 41,0 darts 15,14; legs 0,1 high 0,61 short 0,14",
            "log finish_message: finish_message Finished by 2 Throw. (14 darts) | Player 2 | 0"}}}},
        {"the next leg follows the message", game_of(101), {{"f3", {
            "log: ask_dart 101 / reposition 0 0 / repaint -1 / notify 1 0 0 / notify 1 1 0 / finish_message "
            "Finished by 3 Throw. (3 darts) | Player 1 | 0 / scroll / repaint -1 / reposition 1 1 / notify 3 0 0 / "
            "notify 1 0 0 / notify 1 1 0 / notify 7 1 0"}}}},
        // clang-format on
    });
    Table t(game_of(301));
    t.play(rounds + "f2");
    t.match.show_leg(0);
    const int finished = t.leg().finished;
    t.match.show_leg(9); // stays inside the record
    EXPECT_EQ(strprintf("cell %d saved %d finished %d shown %d", t.record.leg(0).scores[0][4],
                        int(t.host.saved_csv.size()), finished, t.match.shown_leg()),
              "cell -2 saved 0 finished 1 shown 1")
        << "the finishing cell holds the dart; auto save is off";
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
    EXPECT_EQ(dump(t.record) + joined(t.host.log), dump(before)) << "nothing changed, nothing called";
}

// The figures every rule step refreshes, for the configurations that are not the default: player 2's
// side, a handicap start score, the second thrower finishing, finishes of a ton or more, round limits.
TEST(RuleFigures, EachStepRefreshesTheFiguresOfBothSides) {
    play_scenarios({
        // clang-format off
        {"player 2 with a handicap enters first, corrects and finishes", rules(501, 301), {
             {"right 140", {"figures: left 501,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 0.00,46.67 per leg 0.00,0.00 legs 0,0"}},
             {"60", {"figures: left 441,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,46.67 per leg 0.00,0.00 legs 0,0"}},
             {"100 60", {"figures: left 381,61 tons 0,2 180s 0,0 high 0,0 short 0,0 avg 20.00,40.00 per leg 0.00,0.00 legs 0,0"}},
             {"home =40 down esc", {"figures: left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"}},
             {"f3", {"figures: left 501,301 tons 0,2 180s 0,0 high 0,161 short 0,9 avg 20.00,33.44 per leg 0.00,9.00 legs 0,1"}},
             // Exchange: each player's remaining score comes from the player's own start score.
             {"100 40 esc 60", {}},
             {"y1 exchange", {"figures: left 461,141 tons 0,3 180s 0,0 high 0,161 short 0,9 avg 17.78,30.73 per leg 0.00,9.00 legs 0,1",
                                  "cells: 0,0=40 1,0=100 1,1=60",
                                  "state: round 1/2 first 1 turn 0 sel 0,1 left 461,141 darts 3,6",
                                  "log notify: notify 3 0 0 / notify 1 0 0 / notify 1 1 0 / notify 7 0 0"}},
         }},
        {"player 2 finishes second, with a ton; exchange and clear", game_of(301), {
             {"60 140 60 61 60", {"figures: left 121,100 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,33.50 per leg 0.00,0.00 legs 0,0"}},
             {"f2", {"figures: left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1"}},
             {"60 180 y1 exchange", {"figures: left 241,121 tons 0,3 180s 0,1 high 0,100 short 0,8 avg 20.00,43.73 per leg 0.00,8.00 legs 0,1"}},
             {"y1 clear", {"figures: left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 legs 0,1",
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
             {"a1 mfd", {"figures: left 501,501 tons 1,1 180s 0,0 high 0,0 short 0,4 avg 26.67,46.67 per leg 0.00,7.00 legs 0,1"}},
         }},
        {"the round limit against the COM player: a draw, then a won leg", rules(101, 0, 1, 1), {
             {"60 k45", {"figures: left 101,101 tons 0,0 180s 0,0 high 0,0 short 0,0 avg 20.00,15.00 per leg 0.00,0.00 legs 0,0"}},
             {"k0 f3", {"figures: left 101,101 tons 1,0 180s 0,0 high 101,0 short 3,0 avg 26.83,7.50 per leg 3.00,0.00 legs 1,0"}},
         }},
        // clang-format on
    });
}

TEST(RoundLimit, TheLastRoundAsksForMiddleForDiddleOrDrawsAgainstTheComPlayer) {
    std::string rounds; // up to the last visit of round 15
    for (int visit = 0; visit < 29; ++visit)
        rounds += "60 ";
    play_scenarios({
        // clang-format off
        {"Middle for Diddle decides", rules(10001, 0, 15), {{rounds, {}}, {"a1 60", {
            "start 4: notify 1 1 0 / repaint -1 / reposition 0 0 / ask_winner",
            "leg 0: finished 1 by 1 in 46 from 0, round 15 left 9101,9101 darts 45,45; legs 0,1 high 0,0 short 0,46",
            "state: round 0/15 first 1 turn 1 sel 1,0 left 10001,10001 darts 0,0"}}}},
        // Cancelled: the leg stays open with no round left until the menu decides it.
        {"Middle for Diddle cancelled", rules(10001, 0, 15), {
            {rounds, {}},
            {"a-1 60", {"log notify 7: notify 7 0 0"}}, // the visit was accepted
            {"esc down", {"state: round 15/15 first 0 turn 0 sel 1,14 left 9101,9101 darts 45,45"}}, // no next cell
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
    // Leg winners in order, played until the set ends, and the sets won.
    const std::tuple<int, int, std::string, const char*> rows[] = {
        {5, 0, "00011", "1,0"}, {5, 1, "01011", "0,1"}, {4, 1, "0101", "0,0"}, {4, 1, "000", "1,0"}};
    for (auto [max_leg, best_of, winners, sets] : rows) {
        SCOPED_TRACE(testing::Message() << max_leg << " legs, best of " << best_of << ", " << winners);
        GameSettings g = rules(101, 0, 0, 0, max_leg);
        g.best_of = best_of;
        Table t(g);
        for (char w : winners)
            t.win_leg(w - '0');
        // The set ends once, after the last leg played; the next starts at once with player 1 to throw.
        EXPECT_EQ(
            strprintf("%s; notified %d, %d legs; %s; legs %d; ", t.progress().c_str(),
                      t.host.count("notify 5 0 0"), t.history.records.at(0).leg_no,
                      joined(t.flow_host.log).c_str(), t.player(0).legs + t.player(1).legs) +
                t.state() + " / " + t.host.log.back(),
            strprintf("set 1 leg 0 sets %s archived 0 history 1; notified 1, %d legs; start_leg; legs 0; ",
                      sets, int(winners.size())) +
                "round 0/1 first 0 turn 0 sel 0,0 left 101,101 darts 0,0 / notify 7 0 0");
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
    // Typed, then player 1's remaining score, the selected player and what the sheet said.
    const std::tuple<int, std::string, const char*> rows[] = {
        {501, "501", "left 501 sel 1 "},     {501, "321", "left 321 sel 1 "},
        {501, "320", "left 501 sel 0 beep"}, {501, "", "left 501 sel 0 beep"},
        {501, "600", "left 501 sel 0 beep"}, {101, "0", "left 101 sel 0 ask_dart 101"},
    };
    for (auto [start, typed, want] : rows) {
        Table t(game_of(start));
        t.host.darts.push_back(0); // a finish is cancelled
        t.play("=" + typed + " lscore");
        EXPECT_EQ(strprintf("left %d sel %d ", t.player(0).left, t.match.sel_player()) +
                      joined(t.host.calls("beep")) + joined(t.host.calls("ask_dart")),
                  want)
            << '"' << typed << '"';
    }
}

TEST(ComResult, PointsFinishesAndStopsComeBackAsTheOperatorWouldEnterThem) {
    GameSettings g = rules(101, 0, 0, 1);
    g.p1_com = 1;
    play_scenarios({
        // clang-format off
        {"two COM players", g, {
            // start_leg started the timer; every visit starts it for the next
            {"k60 k0", {"log com_timer: com_timer 1 / com_timer 1", "com: 0,0", // set back once entered
                        "state: round 1/2 first 0 turn 0 sel 0,1 left 41,101 darts 3,3"}},
            {"k-2", {"leg 0: finished 1 by 0 in 5 from 41, round 1 left 0,101 darts 5,3; legs 1,0 high 41,0 short 5,0",
                     "log com_timer: com_timer 0"}}, // player 2 opens the next leg
            // Stopping leaves the leg finished with no winner, and nothing starts.
            {"k-5", {"leg 1: finished 1 by 0 in 0 from 0, round 0 left 101,101 darts 0,0; legs 1,0 high 41,0 short 5,0",
                     "log com_timer: ", "entry: "}},
            {"60", {"unchanged"}}}}, // a stopped leg takes no entries
        // clang-format on
    });
}

// Three full rounds: player 1 60, 61, 62; player 2 40, 41, 42; player 1 to throw in round 3.
const char* kThreeRounds = "esc 60 40 esc 61 41 esc 62 42 esc";

// In a leg with a round limit all its rows exist from the start: the keys stop at the current round.
TEST(Keys, CommitTheEntryThenMoveTheSelection) {
    const GameSettings g = rules(501, 0, 15);
    // The cell selected with its entry loaded, the keys, the selection and the entry's text afterwards,
    // and the one cell changed (player -1: none).
    const std::tuple<int, int, const char*, int, int, const char*, int, int, int> rows[] = {
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
    for (auto [player, round, keys, to_player, to_round, entry, cell_player, cell_round, cell_value] : rows) {
        SCOPED_TRACE(testing::Message() << "\"" << keys << "\" from " << player << ", " << round);
        Table t(g);
        t.play(kThreeRounds);
        std::array<std::vector<int>, 2> cells = t.leg().scores;
        if (cell_player >= 0) cells[size_t(cell_player)][size_t(cell_round)] = cell_value;
        t.match.select(player, round);
        t.host.entry = t.match.loaded_entry_text();
        t.play(keys);
        EXPECT_EQ(strprintf("%d,%d %s", t.match.sel_player(), t.match.sel_round(), t.host.entry.c_str()),
                  strprintf("%d,%d %s", to_player, to_round, entry));
        EXPECT_EQ(t.leg().scores, cells);
    }

    // The entry is loaded only where a visit was entered; the Check-Out starts from the selected round.
    Table t(g);
    t.play(kThreeRounds);
    t.match.select(1, 3);
    EXPECT_EQ(t.match.loaded_entry_text(), "") << "second thrower's cell before the first threw";
    t.play("esc 100");
    const std::tuple<int, int, std::string> loaded[] = {{0, 0, "60 441"}, {1, 1, "41 420"},
                                                        {0, 2, "62 318"}, {0, 3, "100 218"},
                                                        {1, 3, " 378"},   {1, 2, "42 378"}};
    for (auto [player, round, want] : loaded) {
        t.match.select(player, round);
        EXPECT_EQ(t.match.loaded_entry_text() + ' ' + std::to_string(t.match.checkout_score()), want)
            << player << ", " << round;
    }
}

const SheetGeometry kSheet{340, 220, 20, 20, 0}; // u = 20, 10 visible rows

TEST(Click, HitsTheCellUnderTheMouseAfterTheCommit) {
    LegRecord leg;
    leg.rows = 4, leg.cur_round = 3;
    const std::tuple<int, int, std::string> rows[] = {
        // clang-format off
        {0, 25, "0,-1"}, // the start row
        {139, 45, "0,0"}, {140, 45, "miss"}, {200, 45, "miss"}, {201, 45, "1,0"}, // round column
        {339, 65, "1,1"}, {340, 45, "miss"}, {10, 19, "miss"}, // header
        {10, 200, "0,3"}, // below the entered rounds
        // clang-format on
    };
    for (auto [x, y, cell] : rows) { // cell: player,round
        CellHit hit = hit_test_cell(kSheet, leg, x, y);
        EXPECT_EQ(hit.hit ? strprintf("%d,%d", hit.player, hit.round) : "miss", cell) << x << ", " << y;
    }
    leg.rows = 3; // at its round limit a leg has no row after the last
    EXPECT_FALSE(hit_test_cell(kSheet, leg, 10, 200).hit);

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

} // namespace
} // namespace tx9::test
