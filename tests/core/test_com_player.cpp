#include "engine/com_player.h"
#include "engine/game_record.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace tx9 {

std::ostream& operator<<(std::ostream& out, const Dart& d) {
    return out << d.text() << "{" << d.segment << "x" << d.multiplier << "}";
}

namespace {

// The accuracy rows as the program documents them: double, treble, single.
const ComAccuracy kDocumented[kComLevels] = {
    {3, 1, 10}, {10, 10, 50}, {30, 10, 60}, {40, 20, 75}, {50, 30, 90}, {80, 60, 90}, {100, 100, 100},
};

const int kClockwise[20] = {20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5};

int clockwise_index(int number) {
    for (int i = 0; i < 20; ++i)
        if (kClockwise[i] == number) return i;
    return -1;
}

// The next number the drift reaches from `number` on `side`, read off the board order.
int board_step(int number, int side) {
    int i = clockwise_index(number);
    return kClockwise[(i + (side == 0 ? 19 : 1)) % 20];
}

const CheckoutTable& built_in() {
    static const CheckoutTable table = [] {
        CheckoutTable t;
        t.load_from_file(TX9_ROUTES_FILE);
        return t;
    }();
    return table;
}

// Seeds handed out in order, counting how many were asked for.
struct Seeds {
    std::vector<std::uint32_t> list;
    size_t used = 0;
    SeedSource source() {
        return [this] {
            std::uint32_t s = used < list.size() ? list[used] : 7u * static_cast<std::uint32_t>(used);
            ++used;
            return s;
        };
    }
};

// The first seed that lands a dart at `aim` on `want`.
std::uint32_t seed_landing(int level, Dart aim, Dart want) {
    for (std::uint32_t seed = 1; seed < 2000000; ++seed)
        if (throw_dart(level, aim, seed) == want) return seed;
    ADD_FAILURE() << "no seed lands " << want << " when aiming " << aim << " at level " << level;
    return 0;
}

const Dart S(int n) {
    return Dart{n, 1};
}
const Dart D(int n) {
    return Dart{n, 2};
}
const Dart T(int n) {
    return Dart{n, 3};
}
const Dart kMiss{0, 1};

// ---- Tables and generator ----

TEST(ComTables, LevelsOutsideTheTableUseTheNearestRow) {
    struct Row {
        int level;
        int row;
    } rows[] = {{-1, 0}, {-100, 0}, {INT_MIN, 0}, {7, 6}, {42, 6}, {INT_MAX, 6}};
    for (const Row& row : rows) {
        ComAccuracy got = com_accuracy(row.level), want = com_accuracy(row.row);
        EXPECT_EQ(got.p_double, want.p_double) << "level " << row.level;
        EXPECT_EQ(got.p_treble, want.p_treble) << "level " << row.level;
        EXPECT_EQ(got.p_single, want.p_single) << "level " << row.level;
    }
    // And the throws follow that row exactly.
    for (std::uint32_t seed = 1; seed < 500; ++seed) {
        EXPECT_EQ(throw_dart(-3, T(20), seed), throw_dart(0, T(20), seed)) << seed;
        EXPECT_EQ(throw_dart(9, D(16), seed), D(16)) << seed;
    }
}

TEST(ComTables, NeighboursFollowTheBoardOrder) {
    for (int n = 1; n <= 20; ++n) {
        BoardNeighbours got = board_neighbours(n);
        EXPECT_EQ(got.first, board_step(n, 0)) << "first neighbour of " << n;
        EXPECT_EQ(got.second, board_step(n, 1)) << "second neighbour of " << n;
    }
    for (int n : {0, -1, 21, 25, 50}) {
        EXPECT_EQ(board_neighbours(n).first, 0) << n;
        EXPECT_EQ(board_neighbours(n).second, 0) << n;
    }
}

TEST(ComRandomGenerator, IsTheClassicLibraryGenerator) {
    ComRandom rng(1);
    const int want[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int w : want)
        EXPECT_EQ(rng.next(), w);
    // The state wraps modulo 2^32: 0xFFFFFFFF * 214013 + 2531011 = 2316998 (mod 2^32).
    ComRandom wrap(0xFFFFFFFFu);
    EXPECT_EQ(wrap.next(), 2316998 >> 16);
    rng.seed(1);
    EXPECT_EQ(rng.roll(), 41 % 100 + 1);
    EXPECT_EQ(rng.roll(), 18467 % 100 + 1);
}

// ---- Aim ----

TEST(ComAim, DartTextsAndAimsFromRoutes) {
    struct Text {
        Dart dart;
        const char* want;
    } texts[] = {{S(20), "S20"}, {D(16), "D16"}, {T(20), "T20"},
                 {S(25), "S25"}, {D(25), "D25"}, {kMiss, "0"}};
    for (const Text& t : texts)
        EXPECT_EQ(t.dart.text(), t.want);

    struct Row {
        const char* text;
        Dart want;
    } rows[] = {{"D16", D(16)}, {"T20", T(20)}, {"S1", S(1)},   {"S25", S(25)}, {"D25", D(25)},
                {"25", S(25)},  {"d20", S(20)}, {"T07", T(7)},  {"", kMiss},    {"X", kMiss},
                {"D0", kMiss},  {"D21", kMiss}, {"T26", kMiss}, {"S24", kMiss}, {"D2500000000000", kMiss}};
    for (const Row& row : rows)
        EXPECT_EQ(dart_from_text(row.text), row.want) << '"' << row.text << '"';
}

TEST(ComAim, FirstDartOfTheFirstRouteElseTreble20) {
    struct Row {
        int remaining;
        Dart want;
    } rows[] = {
        {32, D(16)},  {16, D(8)},   {2, D(1)},    {3, S(1)},    {50, D(25)},  {75, T(17)},  {82, D(25)},
        {170, T(20)}, {100, T(20)}, {167, T(20)}, {159, T(20)}, {162, T(20)}, {163, T(20)}, {165, T(20)},
        {166, T(20)}, {168, T(20)}, {169, T(20)}, {171, T(20)}, {501, T(20)}, {1, T(20)},   {0, T(20)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(choose_aim(row.remaining, built_in()), row.want) << row.remaining;

    // Hand-written tables: the first route counts, and a first dart naming
    // nothing on the board is played like a score without a route.
    CheckoutTable table;
    table.parse("40,S25\n40,D20\n41,,D20\n42,X,D21\n43,D30,S3\n44,25\n");
    EXPECT_EQ(choose_aim(40, table), S(25));
    EXPECT_EQ(choose_aim(41, table), T(20));
    EXPECT_EQ(choose_aim(42, table), T(20));
    EXPECT_EQ(choose_aim(43, table), T(20));
    EXPECT_EQ(choose_aim(44, table), S(25));
    CheckoutTable empty;
    EXPECT_EQ(choose_aim(32, empty), T(20));
}

// ---- Throwing ----

TEST(ComThrow, TopLevelLandsWhereItAims) {
    std::vector<Dart> aims = {S(25), D(25)};
    for (int n = 1; n <= 20; ++n)
        for (int m = 1; m <= 3; ++m)
            aims.push_back(Dart{n, m});
    for (const Dart& aim : aims)
        for (std::uint32_t seed : {0u, 1u, 2u, 1000u, 65535u, 123456789u, 0xFFFFFFFFu})
            EXPECT_EQ(throw_dart(6, aim, seed), aim) << "seed " << seed;
}

// P(roll <= x) for the generator's roll: rand % 100 favours 0..67 by one in 32768.
double within(int x) {
    x = std::clamp(x, 0, 100);
    return (328.0 * std::min(x, 68) + 327.0 * std::max(0, x - 68)) / 32768.0;
}

// Landing frequencies worked out from the level's row: every pass either lands
// (by ring) or drifts one number along the side chosen for the dart.
std::map<std::pair<int, int>, double> expected_landings(int level, const Dart& aim) {
    const ComAccuracy acc = kDocumented[level];
    const double pd = within(acc.p_double), pt = within(acc.p_treble), ps = within(acc.p_single);
    std::map<std::pair<int, int>, double> out;
    if (aim.segment == 25) {
        double off = 1 - pd;
        for (int k = 1; k <= 20; ++k)
            out[{k, 1}] = off * (k <= 7 ? 1561.0 : 1560.0) / 32768.0;
        double bull = 1 - off * (1 - 1561.0 / 32768.0);
        double fifty = aim.multiplier == 1 ? 1 - pd : pt;
        out[{25, 2}] = bull * fifty;
        out[{25, 1}] = bull * (1 - fifty);
        return out;
    }
    double land[4] = {}; // by multiplier; [0] = off the board
    double drift = 0;
    if (aim.multiplier == 3) {
        land[3] = pt;
        land[1] = (1 - pt) * ps;
        drift = (1 - pt) * (1 - ps);
    } else if (aim.multiplier == 2) {
        land[2] = pd;
        land[0] = (1 - pd) * ps * (1 - within(50));
        land[1] = (1 - pd) * ps * within(50);
        drift = (1 - pd) * (1 - ps);
    } else {
        land[1] = ps;
        double rest = (1 - ps) * (1 - ps);
        land[3] = rest * pt;
        land[2] = rest * (1 - pt) * pd;
        drift = (1 - ps) * ps + rest * (1 - pt) * (1 - pd);
    }
    for (int side = 0; side < 2; ++side) {
        int n = aim.segment;
        for (int j = 0; j < 20; ++j) {
            double reach = 0.5 * std::pow(drift, j) / (1 - std::pow(drift, 20));
            for (int m = 1; m <= 3; ++m)
                if (land[m] > 0) out[{n, m}] += reach * land[m];
            n = board_step(n, side);
        }
    }
    if (land[0] > 0) out[{0, 1}] = land[0] / (1 - drift);
    return out;
}

TEST(ComThrow, LandingsFollowTheAccuracyTables) {
    struct Row {
        int level;
        Dart aim;
    } rows[] = {
        {0, T(20)}, {4, T(20)}, {5, T(19)}, {2, D(16)}, {5, D(20)}, {0, D(1)},
        {1, S(20)}, {3, S(5)},  {1, S(25)}, {4, D(25)}, {0, D(25)}, {3, S(25)},
    };
    const int kThrows = 20000;
    std::mt19937 seeds(20041105u);
    for (const Row& row : rows) {
        std::map<std::pair<int, int>, int> counts;
        for (int i = 0; i < kThrows; ++i) {
            Dart d = throw_dart(row.level, row.aim, static_cast<std::uint32_t>(seeds()));
            ++counts[{d.segment, d.multiplier}];
        }
        auto want = expected_landings(row.level, row.aim);
        double total = 0;
        for (auto [where, p] : want) {
            total += p;
            double seen = counts.count(where) ? counts[where] / double(kThrows) : 0.0;
            double tolerance = 5 * std::sqrt(p * (1 - p) / kThrows) + 0.003;
            EXPECT_NEAR(seen, p, tolerance) << "level " << row.level << " aiming " << row.aim << ": landing "
                                            << Dart{where.first, where.second};
            if (p < 1e-7) {
                EXPECT_EQ(counts[where], 0) << "level " << row.level << " aiming " << row.aim
                                            << " cannot drift as far as " << Dart{where.first, where.second};
            }
        }
        EXPECT_NEAR(total, 1.0, 1e-9);
        for (auto [where, n] : counts)
            EXPECT_TRUE(want.count(where)) << "level " << row.level << " aiming " << row.aim << " landed "
                                           << n << " times on " << Dart{where.first, where.second};
    }
}

// ---- The visit ----

struct StepWant {
    ComStep::Kind kind;
    const char* text; // kThrew
    int com_result;   // kDone
};

void expect_visit(ComVisit& visit, const std::vector<StepWant>& want, const std::string& what) {
    int index = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        ComStep step = visit.tick();
        ASSERT_EQ(step.kind, want[i].kind) << what << ", tick " << i + 1;
        if (step.kind == ComStep::kThrew) {
            EXPECT_EQ(step.index, index++) << what << ", tick " << i + 1;
            EXPECT_EQ(step.text, want[i].text) << what << ", tick " << i + 1;
            EXPECT_EQ(step.dart.text(), step.text);
        } else {
            EXPECT_EQ(step.com_result, want[i].com_result) << what;
        }
    }
    EXPECT_TRUE(visit.done()) << what;
}

TEST(ComVisitTicks, TopLevelScoresAndFinishes) {
    const auto threw = [](const char* t) { return StepWant{ComStep::kThrew, t, 0}; };
    const auto done = [](int r) { return StepWant{ComStep::kDone, nullptr, r}; };
    struct Row {
        int left;
        std::vector<StepWant> steps;
    } rows[] = {
        {501, {threw("T20"), threw("T20"), threw("T20"), done(180)}},
        {170, {threw("T20"), threw("T20"), threw("D25"), done(-3)}},
        {100, {threw("T20"), threw("D20"), done(-2)}},
        {40, {threw("D20"), done(-1)}},
        {50, {threw("D25"), done(-1)}},
        {3, {threw("S1"), threw("D1"), done(-2)}},
        {169,
         {threw("T20"), threw("T20"), threw("S17"), done(137)}}, // no route: T20, then 109 and 49 have routes
    };
    for (Row& row : rows) {
        Seeds seeds;
        ComVisit visit(1, row.left, 6, built_in(), seeds.source());
        expect_visit(visit, row.steps, "level 6 on " + std::to_string(row.left));
        EXPECT_EQ(seeds.used, static_cast<size_t>(visit.darts_thrown())) << "one seed before every dart";
        EXPECT_EQ(visit.player(), 1);
    }
}

TEST(ComVisitTicks, OneLeftBustsWithoutThrowing) {
    for (int level : {0, 3, 6}) {
        Seeds seeds;
        ComVisit visit(0, 1, level, built_in(), seeds.source());
        ComStep step = visit.tick();
        EXPECT_EQ(step.kind, ComStep::kDone);
        EXPECT_EQ(step.com_result, 0);
        EXPECT_EQ(visit.darts_thrown(), 0);
        EXPECT_EQ(seeds.used, 0u);
    }
}

TEST(ComVisitTicks, ThirtyTwoAimsD16ThenD8AfterASingle16) {
    const int level = 3;
    Seeds seeds;
    seeds.list = {seed_landing(level, D(16), S(16)), seed_landing(level, D(8), D(8))};
    ComVisit visit(0, 32, level, built_in(), seeds.source());
    EXPECT_EQ(visit.next_aim(), D(16));
    ComStep first = visit.tick();
    EXPECT_EQ(first.text, "S16");
    EXPECT_EQ(visit.remaining(), 16);
    EXPECT_EQ(visit.next_aim(), D(8));
    EXPECT_EQ(visit.tick().text, "D8");
    ComStep end = visit.tick();
    EXPECT_EQ(end.kind, ComStep::kDone);
    EXPECT_EQ(end.com_result, -2) << "finished with the second dart";
}

TEST(ComVisitTicks, BustsScoreNothing) {
    struct Row {
        const char* what;
        int left;
        int level;
        std::vector<std::pair<Dart, Dart>> darts; // aim, landing
    } rows[] = {
        {"0 left without a double", 32, 3, {{D(16), S(16)}, {D(8), S(16)}}},
        {"1 left", 21, 0, {{S(5), S(20)}}},
        {"below 0", 32, 3, {{D(16), S(16)}, {D(8), D(16)}}},
        {"1 left after the third dart", 7, 1, {{S(3), S(3)}, {D(2), S(2)}, {D(1), S(1)}}},
    };
    for (const Row& row : rows) {
        Seeds seeds;
        for (auto [aim, landing] : row.darts)
            seeds.list.push_back(seed_landing(row.level, aim, landing));
        ComVisit visit(0, row.left, row.level, built_in(), seeds.source());
        for (auto [aim, landing] : row.darts) {
            EXPECT_EQ(visit.next_aim(), aim) << row.what;
            ComStep step = visit.tick();
            ASSERT_EQ(step.kind, ComStep::kThrew) << row.what;
            EXPECT_EQ(step.dart, landing) << row.what;
        }
        ComStep end = visit.tick();
        EXPECT_EQ(end.kind, ComStep::kDone) << row.what;
        EXPECT_EQ(end.com_result, 0) << row.what;
    }
}

TEST(ComVisitTicks, AMissShowsZeroAndAimsAgain) {
    Seeds seeds;
    seeds.list = {seed_landing(2, D(16), kMiss)};
    ComVisit visit(0, 32, 2, built_in(), seeds.source());
    ComStep step = visit.tick();
    EXPECT_EQ(step.kind, ComStep::kThrew);
    EXPECT_EQ(step.text, "0");
    EXPECT_EQ(visit.remaining(), 32);
    EXPECT_EQ(visit.next_aim(), D(16));
}

TEST(ComVisitTicks, EveryVisitEndsWithAValidResult) {
    // Any remaining score at any level: at most three darts, and the result is
    // the points, a bust, or a finish on a double that leaves exactly 0.
    std::uint32_t n = 99;
    for (int left = 1; left <= 200; ++left)
        for (int level = 0; level <= 6; ++level) {
            ComVisit visit(0, left, level, built_in(), [&n] { return n = n * 69069u + 1u; });
            int result = visit.play_out();
            ASSERT_LE(visit.darts_thrown(), 3);
            if (result < 0) {
                ASSERT_EQ(result, -visit.darts_thrown()) << left;
                EXPECT_EQ(visit.remaining(), 0) << left;
                EXPECT_TRUE(visit.dart(visit.darts_thrown() - 1).is_double()) << left;
            } else if (result > 0) {
                EXPECT_EQ(result, visit.scored()) << left;
                EXPECT_GE(visit.remaining(), 2) << left;
            } else {
                int r = visit.remaining();
                bool bust = r == 1 || r < 0 || (r == 0 && !visit.dart(visit.darts_thrown() - 1).is_double());
                EXPECT_TRUE(bust || visit.scored() == 0)
                    << "left " << left << ": 0 only for a bust or three misses";
            }
        }
}

TEST(ComVisitTicks, StopAndTicksAfterTheEnd) {
    ComVisit visit(1, 501, 6, built_in(), [] { return 5u; });
    visit.tick();
    ComStep stopped = visit.stop();
    EXPECT_EQ(stopped.kind, ComStep::kDone);
    EXPECT_EQ(stopped.com_result, kComStopped);
    EXPECT_EQ(visit.tick().com_result, kComStopped) << "nothing is thrown after a stop";
    EXPECT_EQ(visit.darts_thrown(), 1);

    ComVisit finished(0, 40, 6, built_in(), [] { return 5u; });
    EXPECT_EQ(finished.play_out(), -1);
    EXPECT_EQ(finished.tick().com_result, -1);
    EXPECT_EQ(finished.stop().com_result, -1) << "a stop after the end changes nothing";
}

TEST(ComVisitTicks, PlayerBlockAndTickCountSeeds) {
    test::ScopedFakeSystem fake;
    fake.sys.ticks_ = 424242;
    EXPECT_EQ(tick_count_seed()(), 424242u);

    PlayerBlock block;
    block.left = 32;
    block.com_level = 2;
    ComVisit visit(1, block, built_in(), SeedSource());
    ComStep step = visit.tick();
    EXPECT_EQ(step.dart, throw_dart(2, D(16), 424242u))
        << "without a seed source the tick count seeds the dart";
    EXPECT_EQ(visit.player(), 1);
}

} // namespace
} // namespace tx9
