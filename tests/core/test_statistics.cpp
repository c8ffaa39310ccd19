// Per-set statistics recomputed from the legs, and their carry-over between sets.
#include "engine/game_rules.h"
#include "engine/statistics.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

float as_stored(double value) {
    return static_cast<float>(value);
}

// A finished leg of a record by hand: winner's darts, checkout, and both lefts.
LegRecord finished_leg(int winner, int win_darts, int checkout, int loser_left, int loser_darts) {
    LegRecord leg;
    leg.capacity = 10;
    leg.rows = 10;
    for (auto& cells : leg.scores)
        cells.assign(11, 0);
    leg.finished = 1;
    leg.winner = winner;
    leg.win_darts = win_darts;
    leg.checkout = checkout;
    leg.left[static_cast<size_t>(winner)] = 0;
    leg.darts[static_cast<size_t>(winner)] = win_darts;
    leg.left[static_cast<size_t>(1 - winner)] = loser_left;
    leg.darts[static_cast<size_t>(1 - winner)] = loser_darts;
    return leg;
}

TEST(UpdateStatistics, ScoreAverageIsPointsPerDartOfTheOpenLeg) {
    Table t(game_of(501));
    EXPECT_EQ(t.player(0).avg_score, 0.0f);
    EXPECT_EQ(t.player(0).avg_darts, 0.0f);
    t.round(100, 60);
    t.round(0, 60);
    t.round(41, 60);
    EXPECT_EQ(t.player(0).avg_score, as_stored(141.0 / 9.0));
    EXPECT_NEAR(t.player(0).avg_score, 15.67, 0.005);
    EXPECT_EQ(t.player(0).tons, 1);
    EXPECT_EQ(t.player(1).avg_score, 20.0f);
    EXPECT_EQ(t.player(1).tons, 0);
    EXPECT_EQ(t.leg().tons[0], 1);
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
        t.host.darts.push_back(3);
        t.host.finish_oks.push_back(true);
        t.visit(row.finish);
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
        finished_leg(0, 15, 96, 100, 15),
        finished_leg(0, 0, 0, 300, 30), // drawn at the round limit: no winner, no darts
        finished_leg(0, 18, 40, 20, 18),
        finished_leg(1, 12, 141, 33, 12),
    };
    record.leg_records[1].left[0] = 200;
    record.leg_records[1].darts[0] = 30;
    record.leg_no = 3;
    update_statistics(record, 3, 0);
    EXPECT_EQ(record.player[0].avg_darts, 16.5f);
    // Won legs give the whole start score; the drawn and the lost leg what was scored.
    EXPECT_EQ(record.player[0].avg_score, as_stored((501.0 + 301 + 501 + 468) / (15 + 30 + 18 + 12)));
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
    EXPECT_EQ(combine_average(0.1f, 0.2f),
              as_stored((static_cast<double>(0.1f) + static_cast<double>(0.2f)) * 0.5));
}

TEST(CarryOver, FoldsTheSetIntoTheCarriedValues) {
    struct Row {
        int short_, carried_short, expected;
    } rows[] = {{0, 12, 12}, {15, 0, 15}, {15, 12, 12}, {9, 12, 9}, {0, 0, 0}};
    for (const Row& row : rows) {
        GameRecord record;
        record.start_score = 501;
        PlayerBlock& p = record.player[0];
        p.tons = 3;
        p.one80s = 1;
        p.high_off = 80;
        p.short_ = row.short_;
        p.avg_score = 30;
        p.avg_darts = 0;
        p.carried_tons = 4;
        p.carried_180s = 2;
        p.carried_high_off = 100;
        p.carried_short = row.carried_short;
        p.carried_avg_score = 20;
        p.carried_avg_darts = 18;
        carry_over(record, game_of(501));
        EXPECT_EQ(p.carried_tons, 7);
        EXPECT_EQ(p.carried_180s, 3);
        EXPECT_EQ(p.carried_high_off, 100);
        EXPECT_EQ(p.carried_short, row.expected) << row.short_ << " over " << row.carried_short;
        EXPECT_EQ(p.carried_avg_score, 25.0f);
        EXPECT_EQ(p.carried_avg_darts, 18.0f);
    }
}

// A one-leg set won by player 1 in 6 darts (two visits of half the start
// score); the set after it is set up with next_start.
void win_set_in_two_visits(Table& t, int next_start) {
    int half = t.record.start_score / 2;
    t.visit(half);
    t.visit(0);
    t.settings.game.start_score = next_start;
    t.host.darts.push_back(3);
    t.host.finish_oks.push_back(true);
    t.visit(half);
}

TEST(CarryOver, AveragesGiveEachNewSetHalfTheWeight) {
    GameSettings g = game_of(120); // 20 per dart
    g.leg_limit = 1;
    g.max_leg = 1;
    Table t(g);
    win_set_in_two_visits(t, 180);
    ASSERT_EQ(t.record.set_no, 1);
    EXPECT_EQ(t.player(0).carried_avg_score, 20.0f);
    EXPECT_EQ(t.player(0).avg_score, 0.0f);

    t.visit(90);
    t.visit(0);
    EXPECT_EQ(t.player(0).avg_score, 30.0f);
    EXPECT_EQ(combine_average(t.player(0).carried_avg_score, t.player(0).avg_score), 25.0f)
        << "shown during set 2";
    t.settings.game.start_score = 240;
    t.host.darts.push_back(3);
    t.host.finish_oks.push_back(true);
    t.visit(90);
    ASSERT_EQ(t.record.set_no, 2);
    EXPECT_EQ(t.player(0).carried_avg_score, 25.0f);
    EXPECT_EQ(t.player(0).carried_short, 6);
    EXPECT_EQ(t.player(0).carried_avg_darts, 6.0f) << "outside a schedule a new start score carries darts on";

    win_set_in_two_visits(t, 240);
    EXPECT_EQ(t.player(0).carried_avg_score, 32.5f) << "(25 + 40) / 2, not weighted by darts";
    EXPECT_EQ(t.player(0).carried_high_off, 120);
    EXPECT_EQ(t.player(0).carried_tons, 2) << "120 scored and 120 finished";
    EXPECT_EQ(t.player(0).sets, 3);
    EXPECT_EQ(t.player(1).carried_avg_score, 0.0f) << "player 2 never scored";
}

TEST(CarryOver, AScheduleEntryWithAnotherStartScoreRestartsShortAndDarts) {
    test::ScopedFakeSystem fake;
    GameRecord record;
    record.schedule_mode = 1;
    std::string error;
    ASSERT_TRUE(init_for_set(record, game_of(501), true, &error));
    PlayerBlock& p = record.player[1];
    p.tons = 2;
    p.one80s = 1;
    p.high_off = 121;
    p.short_ = 15;
    p.avg_score = 30;
    p.avg_darts = 18;
    GameRecord same = record;

    record.set_no = 1;
    ASSERT_TRUE(init_for_set(record, game_of(301), false, &error));
    EXPECT_EQ(p.carried_short, 0);
    EXPECT_EQ(p.carried_avg_darts, 0.0f);
    EXPECT_EQ(p.carried_tons, 2);
    EXPECT_EQ(p.carried_180s, 1);
    EXPECT_EQ(p.carried_high_off, 121);
    EXPECT_EQ(p.carried_avg_score, 30.0f);

    same.set_no = 1;
    ASSERT_TRUE(init_for_set(same, game_of(501), false, &error));
    EXPECT_EQ(same.player[1].carried_short, 15);
    EXPECT_EQ(same.player[1].carried_avg_darts, 18.0f);
}

} // namespace
} // namespace tx9
