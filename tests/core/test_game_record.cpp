// Setting up a set, remaining scores, the history, and what happens when memory runs out.
#include "core/text.h"
#include "engine/game_rules.h"
#include "support/match_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

// Every allocation goes through here, so a test can make the n-th allocation from now fail once.
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

namespace tx9::test {
namespace {

const char* kOutOfMemory = "Not enough memory resources are available to process this command.";

// The record as init_for_set leaves it: the set, both players and the first leg.
std::string set_up(const GameRecord& r) {
    const PlayerBlock &a = r.player[0], &b = r.player[1];
    const LegRecord& l = r.leg_records.at(0);
    return strprintf("%s legs %d/%d best %d rounds %d archived %d | %s %d sets %d legs %d tons %d high %d "
                     "short %d avg %g carried %d,%d,%d | %s %d/%d com %d,%d | legs %d rows %d/%d cells %d,%d",
                     r.csv_name.c_str(), r.leg_limit, r.max_leg, r.best_of, r.round, r.archived,
                     a.name.c_str(), a.start_score, a.sets, a.legs, a.tons, a.high_off, a.short_,
                     double(a.avg_score), a.carried_tons, a.carried_high_off, a.carried_short, b.name.c_str(),
                     b.start_score, b.left, b.com, b.com_level, int(r.leg_records.size()), l.rows, l.capacity,
                     int(l.scores[0].size()), int(l.scores[1].size()));
}

TEST(InitForSet, FreshSetFromTheGameSettingsAndTheNextSetOfTheGame) {
    ScopedFakeSystem fake;
    GameSettings g = game_of(501);
    g.round = 15, g.leg_limit = 1, g.max_leg = 5, g.best_of = 1;
    g.p1_name = "Ann", g.p2_com = 1, g.p2_com_level = 4;
    GameRecord record;
    record.schedule_mode = 1, record.set_no = 3, record.archived = 1;
    PlayerBlock& ann = record.player[0];
    ann.sets = 2, ann.carried_tons = 9, ann.carried_short = 8;
    ASSERT_TRUE(init_for_set(record, g, true, nullptr));
    EXPECT_EQ(record.schedule_mode + record.set_no, 4) << "left as the caller set them";
    // A new game clears the players; the file name has a 24-hour clock.
    EXPECT_EQ(set_up(record), "501_20041105_130509.csv legs 1/5 best 1 rounds 15 archived 0 | Ann 501 sets 0 "
                              "legs 0 tons 0 high 0 short 0 avg 0 carried 0,0,0 | Player 2 501/501 com 1,4 | "
                              "legs 1 rows 1/10 cells 11,11");

    // The next set keeps sets, names and the COM player unless the settings give new ones.
    ann.sets = 2, ann.legs = 3, ann.tons = 4, ann.high_off = 100, ann.short_ = 12, ann.avg_score = 25;
    GameSettings next = game_of(301); // no names, no COM flags
    next.round_limit = 1, next.round = 15;
    fake.sys.now_ = LocalTime{2004, 11, 5, 0, 30, 0};
    ASSERT_TRUE(init_for_set(record, next, false, nullptr));
    EXPECT_EQ(set_up(record),
              "301_20041105_003000.csv legs 0/0 best 0 rounds 15 archived 0 | Ann 301 sets 2 "
              "legs 0 tons 0 high 0 short 0 avg 0 carried 4,100,0 | Player 2 301/301 com 1,4 | "
              "legs 1 rows 15/15 cells 16,16");
    next.p1_name = "Cy", next.p2_com = 1, next.p2_com_level = 5;
    ASSERT_TRUE(init_for_set(record, next, false, nullptr));
    EXPECT_EQ(ann.name + " | " + record.player[1].name + " " + std::to_string(record.player[1].com_level),
              "Cy | Player 2 5")
        << "COM flag given: the empty name is taken and defaulted";

    // Handicap start scores of 1 or more only.
    for (auto [handicap, start] : {std::pair(-5, 501), std::pair(1, 1), std::pair(701, 701)}) {
        g.p2_start_score = handicap;
        ASSERT_TRUE(init_for_set(record, g, true, nullptr));
        EXPECT_EQ(strprintf("%d %d/%d", ann.start_score, record.player[1].start_score, record.player[1].left),
                  strprintf("501 %d/%d", start, start));
    }
}

TEST(Remaining, StartScoreMinusTheCellsUpToTheRound) {
    Table t(rules(501, 301));
    std::vector<int>& cells = t.leg().scores[1];
    cells[0] = 100, cells[1] = 60, cells[2] = -2, cells[10] = 5; // a finishing cell holds the dart number
    const std::pair<int, int> rows[] = {{-1, 301}, {0, 201},  {1, 141},  {2, 143},
                                        {9, 143},  {10, 138}, {500, 138}};
    for (auto [round, left] : rows)
        EXPECT_EQ(remaining(t.record, 0, round, 1), left) << round;
    EXPECT_EQ(remaining(t.record, 0, 500, 0), 501);
}

// Fails the n-th allocation of the step for n = 0, 1, ... until it gets through:
// every failure must be noticed, leave `state` as it was and show the error `said`.
void fail_each_allocation(const std::function<bool()>& step, const std::function<std::string()>& state,
                          const std::function<std::string()>& said, int at_least) {
    const std::string before = state();
    int n = 0;
    for (; n < 100; ++n) {
        g_fail_in = n;
        const bool ok = step();
        const bool failed = g_fail_in < 0;
        g_fail_in = -1;
        if (!failed) break;
        EXPECT_FALSE(ok) << "allocation " << n << " failed unnoticed";
        EXPECT_EQ(state(), before) << "after allocation " << n << " failed";
        EXPECT_EQ(said(), std::string("error ") + kOutOfMemory) << "after allocation " << n << " failed";
    }
    EXPECT_GE(n, at_least);
    EXPECT_LT(n, 100) << "the step never got through";
}

TEST(History, TheArchivedCopyHasNoCarriedValuesAndAFailedStepLeavesEverythingAsItWas) {
    Table t(game_of(101));
    t.play("w0");
    t.player(0).carried_tons = 5;
    t.player(1).carried_avg_score = 12.5f;
    GameRecord archived = t.record;
    for (PlayerBlock& p : archived.player) {
        p.carried_tons = p.carried_180s = p.carried_high_off = p.carried_short = 0;
        p.carried_avg_score = p.carried_avg_darts = 0;
    }
    ASSERT_TRUE(append_to_history(t.history, t.record, nullptr));
    EXPECT_EQ(t.history.records.at(0), archived);
    EXPECT_EQ(strprintf("archived %d carried %d", t.record.archived, t.player(0).carried_tons),
              "archived 1 carried 5")
        << "the live record keeps its carried values";
    t.play("w1");
    t.record.archived = 0;
    std::string error;
    auto state = [&] { return dump(t.record) + "\nhistory " + std::to_string(t.history.records.size()); };
    auto said = [&] { return "error " + error; }; // as the window shows it
    fail_each_allocation([&] { return error.clear(), append_to_history(t.history, t.record, &error); }, state,
                         said, 3);
    EXPECT_EQ(t.history.records.size(), 2u);

    t.record.current_leg().finished = 1;
    fail_each_allocation([&] { return t.host.clear(), t.match.leg_over() == 1; }, state,
                         [&] { return t.host.log.empty() ? std::string() : t.host.log.back(); }, 2);
    EXPECT_EQ(t.record.leg_no, 3);

    GameSettings next = game_of(301);
    next.p1_name = "A name long enough to need memory of its own";
    fail_each_allocation([&] { return error.clear(), init_for_set(t.record, next, false, &error); }, state,
                         said, 3);
    EXPECT_EQ(t.record.start_score, 301);

    // A finish that could not be undone on Cancel is not made.
    Table f(game_of(101));
    const GameRecord before = f.record;
    g_fail_in = 0;
    f.match.finish_leg(3, false);
    g_fail_in = -1;
    EXPECT_EQ(f.record, before);
    EXPECT_EQ(f.host.log, Log{std::string("error ") + kOutOfMemory});
}

// Room for the next rows of a leg without a round limit comes before the round is completed: when it
// cannot be had the visit is refused and the leg stays open for it.
TEST(OutOfMemory, ALegThatCannotGrowTakesTheVisitOnceMemoryIsBack) {
    Table t(game_of(1001));
    for (int r = 0; r < 9; ++r)
        t.round(0, 0);
    t.play("esc 60");
    const GameRecord before = t.record;
    t.host.clear();
    g_fail_in = 0;
    t.visit(45);
    g_fail_in = -1;
    EXPECT_EQ(t.record, before);
    EXPECT_EQ(t.host.calls("error"), Log{std::string("error ") + kOutOfMemory});
    t.visit(45);
    EXPECT_EQ(t.state() + " capacity " + std::to_string(t.leg().capacity),
              "round 10/11 first 0 turn 0 sel 0,10 left 941,956 darts 30,30 capacity 20");
}

} // namespace
} // namespace tx9::test
