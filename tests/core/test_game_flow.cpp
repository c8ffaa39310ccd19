// The main window's part of a match: sets, the statistics carried between them, schedules,
// new games and the title.
#include "core/text.h"
#include "engine/statistics.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

namespace tx9::test {
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
        carry_over(record, game_of(row.entering_start));
        EXPECT_EQ(carried(p), row.carried)
            << "schedule " << row.schedule_mode << " into " << row.entering_start << ", short " << row.short_;
    }
}

TEST(Texts, TitleByLegsOrSetsAndTheResultOfASchedule) {
    ScopedFakeSystem fake;
    struct Title {
        int leg_limit, best_of, schedule_mode, set_no, leg_no, max_leg;
        const char* text;
    } titles[] = {
        {0, 0, 0, 0, 2, 0, "tx9 - 3 Legs"},
        {0, 1, 1, 4, 0, 7, "tx9 - 1 Legs - Schedule mode"},
        {1, 0, 0, 1, 0, 5, "tx9 - 2 Sets - (1 Legs / 5 Legs)"},
        {1, 1, 1, 2, 3, 5, "tx9 - 3 Sets - (4 Legs / Best of 5 Legs) - Schedule mode"},
    };
    for (const Title& row : titles) {
        GameRecord r;
        r.leg_limit = row.leg_limit, r.best_of = row.best_of, r.schedule_mode = row.schedule_mode;
        r.set_no = row.set_no, r.leg_no = row.leg_no, r.max_leg = row.max_leg;
        EXPECT_EQ(GameFlow::title_text(r), row.text);
    }
    // Results a schedule ends with (the draw and player 1's win are played below).
    GameRecord r;
    r.player[0].name = "Ann", r.player[1].name = "Bob";
    r.player[0].sets = 1, r.player[1].sets = 3;
    EXPECT_EQ(GameFlow::result_text(r), "1 - 3: Winner is \"Bob.\"");
    r.player[1].com = 1, r.player[1].com_level = 4;
    EXPECT_EQ(GameFlow::result_text(r), "1 - 3: Winner is \"COM (Lv.5).\"");
}

GameSettings one_leg_sets(int start_score) {
    GameSettings g = game_of(start_score);
    g.leg_limit = 1;
    g.max_leg = 1;
    return g;
}

TEST(SetOver, AScheduleEndsWithTheResultAfterItsLastEntry) {
    Table t(game_of(501));
    const GameRecord before = t.record;
    EXPECT_FALSE(t.flow.start_new_schedule()) << "a schedule needs an entry to start";
    EXPECT_EQ(t.record, before);
    t.settings.schedule = {one_leg_sets(101), one_leg_sets(101), one_leg_sets(201)};
    t.settings.schedule[2].p2_name = "Bob";
    ASSERT_TRUE(t.flow.start_new_schedule());
    EXPECT_EQ(t.flow_host.log, (Log{"leg_limit 1", "start_leg"}));
    EXPECT_EQ(t.record.schedule_mode, 1);
    EXPECT_EQ(t.record.start_score, 101);
    EXPECT_EQ(t.flow.title(), "tx9 - 1 Sets - (1 Legs / 1 Legs) - Schedule mode");

    t.play("w0"); // in 3 darts
    EXPECT_EQ(t.player(0).carried_short, 3);
    t.play("w1");
    EXPECT_EQ(t.player(0).carried_short, 0) << "another start score in a schedule";
    EXPECT_EQ(t.record.start_score, 201);
    EXPECT_EQ(t.player(1).name, "Bob");

    t.flow_host.log.clear();
    t.play("w0");
    EXPECT_EQ(t.flow_host.log, (Log{"panels", "info 2 - 1: Winner is \"Player 1.\""}));
    // No fourth set: the record stays, the sheet keeps showing the finished leg.
    EXPECT_EQ(t.progress(), "set 2 leg 1 sets 2,1 archived 1 history 3");
    EXPECT_EQ(t.match.shown_leg(), 0);
    t.host.clear();
    t.play("=60 esc enter tab");
    EXPECT_TRUE(t.host.log.empty()) << "play has stopped";

    // A new game after it does not archive the set twice and starts afresh.
    t.flow_host.log.clear();
    ASSERT_TRUE(t.flow.start_new_game());
    EXPECT_EQ(t.flow_host.log, (Log{"leg_limit 0", "start_leg"}));
    EXPECT_EQ(t.progress(), "set 0 leg 0 sets 0,0 archived 0 history 3");
    EXPECT_EQ(t.record.schedule_mode + t.player(0).carried_tons + t.leg().finished, 0);
    EXPECT_EQ(t.record.start_score, 501);
}

TEST(SetOver, AScheduleWithAComPlayerPlayedToEvenSetsIsADraw) {
    GameSettings com = one_leg_sets(101);
    com.p2_com = 1;
    Table t(game_of(501));
    t.settings.schedule = {one_leg_sets(101), com};
    ASSERT_TRUE(t.flow.start_new_schedule());
    t.play("w0");
    EXPECT_EQ(t.player(1).com, 1);
    t.flow_host.log.clear();
    t.play("0 k-3"); // the COM player wins the last set with its own visit
    EXPECT_EQ(t.flow_host.log, (Log{"panels", "info A game is a draw."}));
    EXPECT_EQ(t.progress(), "set 1 leg 1 sets 1,1 archived 1 history 2");
}

} // namespace
} // namespace tx9::test
