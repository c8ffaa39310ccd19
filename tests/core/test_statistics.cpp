// The statistics carried from set to set, and how two averages combine.
#include "engine/statistics.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

TEST(CombineAverage, MeanOfBothOnlyWhenBothArePositive) {
    struct Row {
        float carried, current, combined;
    } rows[] = {{0, 0, 0}, {20, 0, 20}, {0, 30, 30}, {25, 40, 32.5f}, {-1, 5, 5}, {7, -2, 7}};
    for (const Row& row : rows)
        EXPECT_EQ(combine_average(row.carried, row.current), row.combined)
            << row.carried << ", " << row.current;
}

TEST(CarryOver, FoldsTheSetIntoTheCarriedValues) {
    struct Row {
        int schedule_mode, entering_start, short_, carried_short, expected_short;
        float expected_avg_darts;
    } rows[] = {
        {0, 501, 0, 12, 12, 21}, {0, 501, 15, 0, 15, 21}, {0, 501, 15, 12, 12, 21},
        {0, 501, 9, 12, 9, 21},  {0, 301, 9, 12, 9, 21}, // outside a schedule a new start score carries on
        {1, 501, 9, 12, 9, 21},  {1, 301, 9, 12, 0, 0},  // a schedule entry with another start score restarts
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "schedule " << row.schedule_mode << " into " << row.entering_start
                                        << ", short " << row.short_ << " over " << row.carried_short);
        GameRecord record;
        record.schedule_mode = row.schedule_mode;
        record.start_score = 501;
        PlayerBlock& p = record.player[1];
        p.tons = 3, p.one80s = 1, p.high_off = 80, p.short_ = row.short_, p.avg_score = 30, p.avg_darts = 24;
        p.carried_tons = 4, p.carried_180s = 2, p.carried_high_off = 100, p.carried_short = row.carried_short;
        p.carried_avg_score = 20, p.carried_avg_darts = 18;
        carry_over(record, game_of(row.entering_start));
        EXPECT_EQ(p.carried_tons, 7);
        EXPECT_EQ(p.carried_180s, 3);
        EXPECT_EQ(p.carried_high_off, 100);
        EXPECT_EQ(p.carried_short, row.expected_short);
        EXPECT_EQ(p.carried_avg_score, 25.0f);
        EXPECT_EQ(p.carried_avg_darts, row.expected_avg_darts);
    }
}

TEST(CarryOver, AveragesGiveEachNewSetHalfTheWeight) {
    GameSettings g = game_of(120); // one-leg sets, won in two visits: 20 points per dart
    g.leg_limit = 1;
    g.max_leg = 1;
    Table t(g);
    t.settings.game.start_score = 180; // the next set: 30 per dart
    t.play("60 0 f3");
    ASSERT_EQ(t.record.set_no, 1);
    EXPECT_EQ(t.player(0).carried_avg_score, 20.0f);
    EXPECT_EQ(t.player(0).avg_score, 0.0f);
    t.play("90 0");
    EXPECT_EQ(combine_average(t.player(0).carried_avg_score, t.player(0).avg_score), 25.0f)
        << "shown in set 2";
    t.settings.game.start_score = 240; // then 40 per dart
    t.play("f3");
    ASSERT_EQ(t.record.set_no, 2);
    EXPECT_EQ(t.player(0).carried_avg_score, 25.0f);
    EXPECT_EQ(t.player(0).carried_short, 6);
    EXPECT_EQ(t.player(0).carried_avg_darts, 6.0f) << "outside a schedule a new start score carries darts on";
    t.play("120 0 f3");
    EXPECT_EQ(t.player(0).carried_avg_score, 32.5f) << "(25 + 40) / 2, not weighted by darts";
    EXPECT_EQ(t.player(0).carried_high_off, 120);
    EXPECT_EQ(t.player(0).carried_tons, 2) << "120 scored and 120 finished";
    EXPECT_EQ(t.player(0).sets, 3);
    EXPECT_EQ(t.player(1).carried_avg_score, 0.0f) << "player 2 never scored";
}

} // namespace
} // namespace tx9
