// Per-set statistics recomputed from the legs, and their carry-over between sets.
#include "engine/game_rules.h"
#include "engine/statistics.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <array>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

LegRecord finished_leg(int winner, int win_darts, int checkout, std::array<int, 2> left,
                       std::array<int, 2> darts) {
    LegRecord leg;
    leg.capacity = leg.rows = 10;
    leg.scores = {std::vector<int>(11), std::vector<int>(11)};
    leg.finished = 1;
    leg.winner = winner;
    leg.win_darts = win_darts;
    leg.checkout = checkout;
    leg.left = left;
    leg.darts = darts;
    return leg;
}

TEST(UpdateStatistics, FinishingVisitsOfATonOrMoreCountAsTons) {
    struct Row {
        int finish;
        int tons;
        int one80s;
    } rows[] = {{99, 0, 0}, {100, 1, 0}, {170, 1, 0}, {180, 1, 1}};
    for (const Row& row : rows) {
        Table t(game_of(row.finish + 180));
        t.round(180, 0);
        t.finish(row.finish, 3);
        EXPECT_EQ(t.record.leg(0).scores[0][1], -3);
        EXPECT_EQ(t.record.leg(0).tons[0], 1) << "the finishing cell itself is not a ton";
        EXPECT_EQ(t.player(0).tons, 1 + row.tons) << "finish " << row.finish;
        EXPECT_EQ(t.player(0).one80s, 1 + row.one80s) << "finish " << row.finish;
        EXPECT_EQ(t.player(0).high_off, row.finish);
    }
}

TEST(UpdateStatistics, DartsPerLegCountsWonLegsOnly) {
    test::ScopedFakeSystem fake;
    GameRecord record;
    std::string error;
    ASSERT_TRUE(init_for_set(record, game_of(501), true, &error));
    record.leg_records = {
        finished_leg(0, 15, 96, {0, 100}, {15, 15}),
        finished_leg(0, 0, 0, {200, 300}, {30, 30}), // drawn at the round limit
        finished_leg(0, 18, 40, {0, 20}, {18, 18}),
        finished_leg(1, 12, 141, {33, 0}, {12, 12}),
    };
    record.leg_no = 3;
    update_statistics(record, 3, 0);
    EXPECT_EQ(record.player[0].avg_darts, 16.5f);
    // Won legs give the whole start score; the drawn and the lost leg what was scored.
    EXPECT_EQ(record.player[0].avg_score,
              static_cast<float>((501.0 + 301 + 501 + 468) / (15 + 30 + 18 + 12)));
    EXPECT_EQ(record.player[0].tons, 0);
    update_statistics(record, 3, 1);
    EXPECT_EQ(record.player[1].avg_darts, 12.0f);
    EXPECT_EQ(record.player[1].tons, 1) << "the 141 checkout";
    // Only legs up to the one given count.
    update_statistics(record, 1, 0);
    EXPECT_EQ(record.player[0].avg_darts, 15.0f);
}

TEST(CombineAverage, MeanOfBothOnlyWhenBothArePositive) {
    struct Row {
        float carried, current, combined;
    } rows[] = {{0, 0, 0}, {20, 0, 20}, {0, 30, 30}, {20, 30, 25}, {25, 40, 32.5f}, {-1, 5, 5}, {7, -2, 7}};
    for (const Row& row : rows)
        EXPECT_EQ(combine_average(row.carried, row.current), row.combined)
            << row.carried << ", " << row.current;
}

TEST(CarryOver, FoldsTheSetIntoTheCarriedValues) {
    struct Row {
        int schedule_mode, entering_start, short_, carried_short;
        int expected_short;
        float expected_avg_darts;
    } rows[] = {
        {0, 501, 0, 12, 12, 21}, {0, 501, 15, 0, 15, 21}, {0, 501, 15, 12, 12, 21}, {0, 501, 9, 12, 9, 21},
        {0, 501, 0, 0, 0, 21},   {0, 301, 9, 12, 9, 21}, // outside a schedule a new start score carries on
        {1, 501, 9, 12, 9, 21},  {1, 301, 9, 12, 0, 0},  // a schedule entry with another start score restarts
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "schedule " << row.schedule_mode << " into " << row.entering_start
                                        << ", short " << row.short_ << " over " << row.carried_short);
        GameRecord record;
        record.schedule_mode = row.schedule_mode;
        record.start_score = 501;
        PlayerBlock& p = record.player[1];
        p.tons = 3;
        p.one80s = 1;
        p.high_off = 80;
        p.short_ = row.short_;
        p.avg_score = 30;
        p.avg_darts = 24;
        p.carried_tons = 4;
        p.carried_180s = 2;
        p.carried_high_off = 100;
        p.carried_short = row.carried_short;
        p.carried_avg_score = 20;
        p.carried_avg_darts = 18;
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
    t.play("60 0");
    t.finish(60, 3);
    ASSERT_EQ(t.record.set_no, 1);
    EXPECT_EQ(t.player(0).carried_avg_score, 20.0f);
    EXPECT_EQ(t.player(0).avg_score, 0.0f);
    t.play("90 0");
    EXPECT_EQ(combine_average(t.player(0).carried_avg_score, t.player(0).avg_score), 25.0f)
        << "shown in set 2";
    t.settings.game.start_score = 240; // then 40 per dart
    t.finish(90, 3);
    ASSERT_EQ(t.record.set_no, 2);
    EXPECT_EQ(t.player(0).carried_avg_score, 25.0f);
    EXPECT_EQ(t.player(0).carried_short, 6);
    EXPECT_EQ(t.player(0).carried_avg_darts, 6.0f) << "outside a schedule a new start score carries darts on";
    t.play("120 0");
    t.finish(120, 3);
    EXPECT_EQ(t.player(0).carried_avg_score, 32.5f) << "(25 + 40) / 2, not weighted by darts";
    EXPECT_EQ(t.player(0).carried_high_off, 120);
    EXPECT_EQ(t.player(0).carried_tons, 2) << "120 scored and 120 finished";
    EXPECT_EQ(t.player(0).sets, 3);
    EXPECT_EQ(t.player(1).carried_avg_score, 0.0f) << "player 2 never scored";
}

} // namespace
} // namespace tx9
