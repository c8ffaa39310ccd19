// The figures every rule step refreshes, for the configurations that are not
// the default: player 2's side, a handicap start score, the second thrower
// finishing, and the endings at a round limit.
#include "core/text.h"
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

// Both players' figures as the panels show them.
std::string figures(Table& t) {
    const PlayerBlock &a = t.player(0), &b = t.player(1);
    return strprintf(
        "left %d,%d tons %d,%d 180s %d,%d high %d,%d short %d,%d avg %.2f,%.2f per leg %.2f,%.2f "
        "legs %d,%d",
        a.left, b.left, a.tons, b.tons, a.one80s, b.one80s, a.high_off, b.high_off, a.short_, b.short_,
        a.avg_score, b.avg_score, a.avg_darts, b.avg_darts, a.legs, b.legs);
}

// The steps of Table::play, and: "fD" finishes the selected cell with dart D
// (OK), "cD" the same cancelled, "mP" Middle for Diddle won by player P,
// "kN" a COM visit of N points, "X" Exchange of Scores and "C" Clear of
// Scores, answered Yes.
void run(Table& t, const std::string& script) {
    std::istringstream in(script);
    for (std::string step; in >> step;) {
        const int n = step.size() > 1 ? step[1] - '0' : 0;
        if (step[0] == 'f' || step[0] == 'c') {
            const int left =
                remaining(t.record, t.record.leg_no, t.match.sel_round() - 1, t.match.sel_player());
            t.finish(left, n, step[0] == 'f');
        } else if (step[0] == 'k') {
            t.match.escape_key();
            t.player(t.leg().turn).com_result = std::stoi(step.substr(1));
            t.match.apply_com_result(t.leg().turn);
        } else if (step[0] == 'm') {
            t.host.leg_winners.push_back(n);
            t.match.run_command(kCmdMiddleForDiddle);
        } else if (step == "X" || step == "C") {
            t.host.yes_no.push_back(true);
            t.match.run_command(step == "X" ? kCmdExchange : kCmdClear);
        } else {
            t.play(step);
        }
    }
}

struct Step {
    const char* script;
    const char* figures;
};

struct Scenario {
    const char* what;
    GameSettings game;
    std::vector<Step> steps;
};

GameSettings handicap(int start, int p2_start) {
    GameSettings g = game_of(start);
    g.p2_start_score = p2_start;
    return g;
}

GameSettings rounds(int start, int limit, int p2_com) {
    GameSettings g = game_of(start);
    g.round_limit = 1;
    g.round = limit;
    g.p2_com = p2_com;
    return g;
}

TEST(RuleFigures, EachStepRefreshesTheFiguresOfBothSides) {
    const Scenario scenarios[] = {
        {"player 2 with a handicap enters first, corrects and finishes",
         handicap(501, 301),
         {
             {"right 140",
              "left 501,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 0.00,46.67 per leg 0.00,0.00 legs 0,0"},
             {"60",
              "left 441,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,46.67 per leg 0.00,0.00 legs 0,0"},
             {"100 60",
              "left 381,61 tons 0,2 180s 0,0 high 0,0 short 0,0 avg 20.00,40.00 per leg 0.00,0.00 legs 0,0"},
             {"home =40 down esc",
              "left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"},
             {"c3",
              "left 381,161 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,23.33 per leg 0.00,0.00 legs 0,0"},
             {"f3", "left 501,301 tons 0,2 180s 0,0 high 0,161 short 0,9 avg 20.00,33.44 per leg 0.00,9.00 "
                    "legs 0,1"},
         }},
        {"player 2 finishes second, with a ton; exchange and clear",
         game_of(301),
         {
             {"60 140 60 61 60",
              "left 121,100 tons 0,1 180s 0,0 high 0,0 short 0,0 avg 20.00,33.50 per leg 0.00,0.00 legs 0,0"},
             {"f2", "left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 "
                    "legs 0,1"},
             {"60 180 X", "left 241,121 tons 0,3 180s 0,1 high 0,100 short 0,8 avg 20.00,43.73 per leg "
                          "0.00,8.00 legs 0,1"},
             {"C", "left 301,301 tons 0,2 180s 0,0 high 0,100 short 0,8 avg 20.00,37.62 per leg 0.00,8.00 "
                   "legs 0,1"},
         }},
        {"the round limit between two players: Middle for Diddle",
         rounds(501, 2, 0),
         {
             {"100 140 60",
              "left 341,361 tons 1,1 180s 0,0 high 0,0 short 0,0 avg 26.67,46.67 per leg 0.00,0.00 legs 0,0"},
             {"m1",
              "left 501,501 tons 1,1 180s 0,0 high 0,0 short 0,4 avg 26.67,46.67 per leg 0.00,7.00 legs 0,1"},
         }},
        {"the round limit against the COM player: a draw",
         rounds(501, 1, 1),
         {
             {"60 k45",
              "left 501,501 tons 0,0 180s 0,0 high 0,0 short 0,0 avg 20.00,15.00 per leg 0.00,0.00 legs 0,0"},
         }},
    };
    for (const Scenario& s : scenarios) {
        Table t(s.game);
        for (const Step& step : s.steps) {
            run(t, step.script);
            EXPECT_EQ(figures(t), step.figures) << s.what << ", after \"" << step.script << '"';
        }
    }
}

} // namespace
} // namespace tx9
