// Setting up a set, remaining scores, the history, and what happens when memory runs out.
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// Every allocation of this program goes through here, so a test can make the
// n-th allocation from now fail once.
namespace {
int g_fail_in = -1;
}

void* operator new(std::size_t size) {
    if (g_fail_in >= 0 && g_fail_in-- == 0) throw std::bad_alloc();
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
// new and delete are malloc and free underneath; the compiler cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace tx9 {
namespace {

using test::game_of;
using test::Table;

const char* kOutOfMemory = "Not enough memory resources are available to process this command.";

TEST(InitForSet, FreshSetFromTheGameSettings) {
    test::ScopedFakeSystem fake;
    GameSettings g = game_of(501);
    g.round_limit = 0;
    g.round = 15;
    g.leg_limit = 1;
    g.max_leg = 5;
    g.best_of = 1;
    g.p2_name = "Bob";
    g.p2_com = 1;
    g.p2_com_level = 4;
    GameRecord record;
    record.schedule_mode = 1;
    record.set_no = 3;
    record.archived = 1;
    record.player[0].sets = 2;
    record.player[0].carried_tons = 9;
    std::string error;
    ASSERT_TRUE(init_for_set(record, g, true, &error));

    EXPECT_EQ(record.schedule_mode, 1);
    EXPECT_EQ(record.set_no, 3);
    EXPECT_EQ(record.archived, 0);
    EXPECT_EQ(record.start_score, 501);
    EXPECT_EQ(record.leg_limit, 1);
    EXPECT_EQ(record.max_leg, 5);
    EXPECT_EQ(record.best_of, 1);
    EXPECT_EQ(record.round, 15);
    EXPECT_EQ(record.player[0].name, "Player 1");
    EXPECT_EQ(record.player[1].name, "Bob");
    EXPECT_EQ(record.player[1].com, 1);
    EXPECT_EQ(record.player[1].com_level, 4);
    EXPECT_EQ(record.player[0].sets, 0) << "a new game clears the player";
    EXPECT_EQ(record.player[0].carried_tons, 0);
    EXPECT_EQ(record.csv_name, "501_20041105_130509.csv") << "24-hour clock";

    ASSERT_EQ(record.leg_no, 0);
    ASSERT_EQ(record.leg_records.size(), 1u);
    const LegRecord& leg = record.leg(0);
    EXPECT_EQ(leg.capacity, 10);
    EXPECT_EQ(leg.rows, 1);
    EXPECT_EQ(leg.scores[0].size(), 11u);
    EXPECT_EQ(leg.scores[1].size(), 11u);
    EXPECT_EQ(leg.first + leg.turn + leg.cur_round + leg.finished, 0);

    g.round_limit = 1;
    fake.sys.now_ = LocalTime{2004, 11, 5, 0, 30, 0};
    ASSERT_TRUE(init_for_set(record, g, true, &error));
    EXPECT_EQ(record.leg(0).capacity, 15);
    EXPECT_EQ(record.leg(0).rows, 15);
    EXPECT_EQ(record.leg(0).scores[0].size(), 16u);
    EXPECT_EQ(record.csv_name, "501_20041105_003000.csv");
}

TEST(InitForSet, HandicapStartScoresOfOneOrMoreOnly) {
    test::ScopedFakeSystem fake;
    struct Row {
        int handicap, start;
    } rows[] = {{0, 501}, {-5, 501}, {1, 1}, {301, 301}, {701, 701}};
    for (const Row& row : rows) {
        GameSettings g = game_of(501);
        g.p2_start_score = row.handicap;
        GameRecord record;
        ASSERT_TRUE(init_for_set(record, g, true, nullptr));
        EXPECT_EQ(record.player[1].start_score, row.start) << row.handicap;
        EXPECT_EQ(record.player[1].left, row.start) << row.handicap;
        EXPECT_EQ(record.player[0].start_score, 501);
    }
}

TEST(InitForSet, NextSetKeepsSetsAndNamesUnlessTheSettingsGiveNew) {
    test::ScopedFakeSystem fake;
    GameSettings first = game_of(501);
    first.p1_name = "Ann";
    first.p2_com = 1;
    first.p2_com_level = 2;
    GameRecord record;
    ASSERT_TRUE(init_for_set(record, first, true, nullptr));
    record.player[0].sets = 2;
    record.player[0].legs = 3;
    record.player[0].tons = 4;
    record.player[0].high_off = 100;
    record.player[0].short_ = 12;
    record.player[0].avg_score = 25;
    record.player[1].avg_darts = 21;

    GameSettings next = game_of(301); // no names, no COM flags
    record.set_no = 1;
    ASSERT_TRUE(init_for_set(record, next, false, nullptr));
    EXPECT_EQ(record.player[0].name, "Ann");
    EXPECT_EQ(record.player[1].com, 1) << "a COM player stays one when the settings say nothing";
    EXPECT_EQ(record.player[1].com_level, 2);
    EXPECT_EQ(record.player[0].sets, 2);
    EXPECT_EQ(record.player[0].legs, 0);
    EXPECT_EQ(record.player[0].tons, 0);
    EXPECT_EQ(record.player[0].high_off, 0);
    EXPECT_EQ(record.player[0].short_, 0);
    EXPECT_EQ(record.player[0].avg_score, 0.0f);
    EXPECT_EQ(record.player[1].avg_darts, 0.0f);
    EXPECT_EQ(record.player[0].carried_tons, 4);
    EXPECT_EQ(record.player[0].carried_high_off, 100);
    EXPECT_EQ(record.player[0].start_score, 301);
    EXPECT_EQ(record.csv_name.substr(0, 4), "301_");

    next.p1_name = "Cy";
    next.p2_com = 1;
    next.p2_com_level = 5;
    ASSERT_TRUE(init_for_set(record, next, false, nullptr));
    EXPECT_EQ(record.player[0].name, "Cy");
    EXPECT_EQ(record.player[1].name, "Player 2") << "COM flag given: the empty name is taken and defaulted";
    EXPECT_EQ(record.player[1].com_level, 5);
}

TEST(Remaining, StartScoreMinusTheCellsUpToTheRound) {
    test::ScopedFakeSystem fake;
    GameRecord record;
    GameSettings g = game_of(501);
    g.p2_start_score = 301;
    ASSERT_TRUE(init_for_set(record, g, true, nullptr));
    std::vector<int>& cells = record.leg(0).scores[1];
    cells[0] = 100;
    cells[1] = 60;
    cells[2] = -2; // a finishing cell holds the dart number
    cells[10] = 5;
    struct Row {
        int round, left;
    } rows[] = {{-1, 301}, {0, 201}, {1, 141}, {2, 143}, {9, 143}, {10, 138}, {500, 138}};
    for (const Row& row : rows)
        EXPECT_EQ(remaining(record, 0, row.round, 1), row.left) << row.round;
    EXPECT_EQ(remaining(record, 0, 500, 0), 501);
}

TEST(History, OnlyFinishedSetsAreArchivedAndOnlyOnce) {
    Table t(game_of(101));
    std::string error;
    ASSERT_TRUE(append_to_history(t.history, t.record, &error));
    EXPECT_TRUE(t.history.records.empty()) << "no leg was finished";

    t.win_leg(0);
    t.player(0).carried_tons = 5;
    t.player(1).carried_avg_score = 12.5f;
    ASSERT_TRUE(append_to_history(t.history, t.record, &error));
    ASSERT_TRUE(append_to_history(t.history, t.record, &error));
    ASSERT_EQ(t.history.records.size(), 1u);
    EXPECT_EQ(t.record.archived, 1);

    const GameRecord& copy = t.history.records[0];
    EXPECT_EQ(copy.leg_no, 1);
    EXPECT_EQ(copy.leg_records.size(), 2u);
    EXPECT_EQ(copy.player[0].carried_tons, 0);
    EXPECT_EQ(copy.player[1].carried_avg_score, 0.0f);
    EXPECT_EQ(t.player(0).carried_tons, 5) << "the live record keeps its carried values";
    EXPECT_EQ(copy.player[0].legs, 1);

    // The copy has visits of its own.
    t.visit(60);
    EXPECT_EQ(copy.leg(1).scores[1][0], 0);
    EXPECT_EQ(copy.leg(0).scores[0][0], -3);
    t.record.leg(0).scores[0][0] = 77;
    EXPECT_EQ(copy.leg(0).scores[0][0], -3);

    free_legs(t.record);
    EXPECT_EQ(t.record.leg_no, 0);
    EXPECT_TRUE(t.record.leg_records.empty());
    free_history(t.history);
    EXPECT_TRUE(t.history.records.empty());
}

// Fails each allocation of the step in turn; every failure must leave things
// as they were and say so. Returns how many failures were tried.
template <typename Step, typename Check> int fail_each_allocation(Step step, Check check) {
    for (int n = 0; n < 100; ++n) {
        g_fail_in = n;
        bool ok = step();
        bool failed = g_fail_in < 0;
        g_fail_in = -1;
        if (!failed) {
            EXPECT_TRUE(ok) << "no allocation failed and yet the step failed";
            return n;
        }
        EXPECT_FALSE(ok) << "allocation " << n << " failed unnoticed";
        check(n);
    }
    ADD_FAILURE() << "the step never got through";
    return 0;
}

TEST(OutOfMemory, InitialisingASetLeavesTheRecordAsItWas) {
    Table t(game_of(501));
    t.round(100, 100);
    const GameRecord before = t.record;
    GameSettings next = game_of(301);
    next.p1_name = "A name long enough to need memory of its own";
    std::string error;
    int tried = fail_each_allocation([&] { return init_for_set(t.record, next, false, &error); },
                                     [&](int n) {
                                         EXPECT_EQ(t.record, before) << "after allocation " << n << " failed";
                                         EXPECT_EQ(error, kOutOfMemory);
                                     });
    EXPECT_GE(tried, 3);
    EXPECT_EQ(t.record.start_score, 301);
}

TEST(OutOfMemory, AppendingLeavesTheHistoryAsItWas) {
    Table t(game_of(101));
    t.win_leg(0);
    ASSERT_TRUE(append_to_history(t.history, t.record, nullptr));
    t.win_leg(1);
    t.record.archived = 0;
    const GameRecord before = t.record;
    std::string error;
    int tried = fail_each_allocation([&] { return append_to_history(t.history, t.record, &error); },
                                     [&](int n) {
                                         EXPECT_EQ(t.history.records.size(), 1u) << "after allocation " << n;
                                         EXPECT_EQ(t.record, before);
                                         EXPECT_EQ(error, kOutOfMemory);
                                     });
    EXPECT_GE(tried, 3);
    EXPECT_EQ(t.history.records.size(), 2u);
    EXPECT_EQ(t.record.archived, 1);
}

TEST(OutOfMemory, LegOverShowsTheErrorAndKeepsTheLegNumber) {
    Table t(game_of(101));
    t.win_leg(0);
    t.record.current_leg().finished = 1;
    const GameRecord before = t.record;
    t.host.clear();
    int tried = fail_each_allocation([&] { return t.match.leg_over() == 1; },
                                     [&](int n) {
                                         EXPECT_EQ(t.record, before) << "after allocation " << n;
                                         ASSERT_FALSE(t.host.log.empty());
                                         EXPECT_EQ(t.host.log.back(), std::string("error ") + kOutOfMemory);
                                         t.host.clear();
                                     });
    EXPECT_GE(tried, 2);
    EXPECT_EQ(t.record.leg_no, 2);
    EXPECT_EQ(t.record.leg_records.size(), 3u);
}

TEST(OutOfMemory, AFinishThatCannotBeUndoneIsNotMade) {
    Table t(game_of(101));
    const GameRecord before = t.record;
    t.host.clear();
    g_fail_in = 0;
    t.match.finish_leg(3, false);
    g_fail_in = -1;
    EXPECT_EQ(t.record, before);
    EXPECT_EQ(t.host.log, std::vector<std::string>{std::string("error ") + kOutOfMemory});
}

} // namespace
} // namespace tx9
