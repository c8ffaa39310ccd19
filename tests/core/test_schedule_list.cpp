#include "settings/schedule_list.h"

#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <string>

namespace tx9 {
namespace {

std::string joined(const std::vector<std::string>& columns) {
    std::string out;
    for (const std::string& column : columns)
        out += "[" + column + "]";
    return out;
}

GameSettings entry(int start, int round_limit, int max_leg, int best_of, int p1_com, int p2_com) {
    GameSettings g;
    g.start_score = start;
    g.round_limit = round_limit;
    g.round = 15;
    g.leg_limit = 1;
    g.max_leg = max_leg;
    g.best_of = best_of;
    g.p1_name = "Ann";
    g.p2_name = "";
    g.p1_com = p1_com;
    g.p1_com_level = 0;
    g.p2_com = p2_com;
    g.p2_com_level = 2;
    return g;
}

TEST(ScheduleList, ColumnTexts) {
    test::ScopedFakeSystem fake;
    struct Case {
        GameSettings entry;
        const char* columns;
    };
    const Case cases[] = {
        {entry(501, 1, 5, 1, 0, 0), "[501][15][Best of 5][Ann][]"},
        {entry(301, 0, 3, 0, 0, 1), "[301][][3][Ann][COM (Lv.3)]"},
        {entry(1001, 1, 7, 0, 1, 0), "[1001][15][7][COM (Lv.1)][]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.columns, joined(schedule_columns(c.entry))) << c.columns;
}

TEST(ScheduleList, NewEntryCopiesTheGameWithTheLegLimitOn) {
    GameSettings game = entry(701, 1, 9, 0, 0, 1);
    game.leg_limit = 0;
    const GameSettings made = new_schedule_entry(game);
    EXPECT_EQ("Ann", made.p1_name);
    EXPECT_EQ(701, made.start_score);
    EXPECT_EQ(1, made.p2_com);
    EXPECT_EQ(1, made.leg_limit);
    EXPECT_EQ(1, made.schedule_entry);
}

TEST(ScheduleList, LimitAndMoves) {
    EXPECT_TRUE(schedule_can_add(255));
    EXPECT_FALSE(schedule_can_add(256));
    struct Case {
        int index, step, count, target;
    };
    const Case cases[] = {{1, -1, 3, 0},   {1, +1, 3, 2},  {0, -1, 3, -1}, {2, +1, 3, -1},
                          {-1, +1, 3, -1}, {3, -1, 3, -1}, {0, +1, 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.target, list_move_target(c.index, c.step, c.count))
            << c.index << " " << c.step << " " << c.count;
}

} // namespace
} // namespace tx9
