// The statistics carried from set to set.
#include "core/text.h"
#include "engine/statistics.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

std::string carried(const PlayerBlock& p) {
    return strprintf("tons %d 180s %d high %d short %d avg %g darts %g", p.carried_tons, p.carried_180s,
                     p.carried_high_off, p.carried_short, double(p.carried_avg_score),
                     double(p.carried_avg_darts));
}

TEST(CarryOver, FoldsTheSetIntoTheCarriedValues) {
    struct Row {
        int schedule_mode, entering_start, short_, carried_short;
        const char* carried;
    } rows[] = {
        // clang-format off
        {0, 501, 0, 12, "tons 7 180s 3 high 100 short 12 avg 25 darts 21"},
        {0, 501, 15, 0, "tons 7 180s 3 high 100 short 15 avg 25 darts 21"},
        {0, 501, 15, 12, "tons 7 180s 3 high 100 short 12 avg 25 darts 21"},
        {0, 501, 9, 12, "tons 7 180s 3 high 100 short 9 avg 25 darts 21"},
        {0, 301, 9, 12, "tons 7 180s 3 high 100 short 9 avg 25 darts 21"}, // a new start score carries on
        {1, 501, 9, 12, "tons 7 180s 3 high 100 short 9 avg 25 darts 21"},
        {1, 301, 9, 12, "tons 7 180s 3 high 100 short 0 avg 25 darts 0"}, // a schedule entry restarts
        // clang-format on
    };
    for (const Row& row : rows) {
        GameRecord record;
        record.schedule_mode = row.schedule_mode;
        record.start_score = 501;
        PlayerBlock& p = record.player[1];
        p.tons = 3, p.one80s = 1, p.high_off = 80, p.short_ = row.short_, p.avg_score = 30, p.avg_darts = 24;
        p.carried_tons = 4, p.carried_180s = 2, p.carried_high_off = 100, p.carried_short = row.carried_short;
        p.carried_avg_score = 20, p.carried_avg_darts = 18;
        carry_over(record, test::game_of(row.entering_start));
        EXPECT_EQ(carried(p), row.carried)
            << "schedule " << row.schedule_mode << " into " << row.entering_start << ", short " << row.short_;
    }
}

TEST(CarryOver, AveragesGiveEachNewSetHalfTheWeight) {
    GameSettings g = test::game_of(120); // one-leg sets, won in two visits: 20 points per dart
    g.leg_limit = 1;
    g.max_leg = 1;
    test::Table t(g);
    t.settings.game.start_score = 180; // the next set: 30 per dart
    t.play("60 0 f3");
    EXPECT_EQ(carried(t.player(0)), "tons 0 180s 0 high 60 short 6 avg 20 darts 6");
    t.play("90 0");
    EXPECT_EQ(combine_average(t.player(0).carried_avg_score, t.player(0).avg_score), 25.0f)
        << "shown in set 2";
    t.settings.game.start_score = 240; // then 40 per dart
    t.play("f3 120 0 f3");
    // (25 + 40) / 2, not weighted by darts; 120 scored and 120 finished.
    EXPECT_EQ(carried(t.player(0)), "tons 2 180s 0 high 120 short 6 avg 32.5 darts 6");
    EXPECT_EQ(carried(t.player(1)), "tons 0 180s 0 high 0 short 0 avg 0 darts 0");
    EXPECT_EQ(t.player(0).sets, 3);
}

} // namespace
} // namespace tx9
