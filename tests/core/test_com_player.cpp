#include "engine/com_player.h"
#include "engine/game_record.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <algorithm>
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
const ComAccuracy kDocumented[kComLevels] = {{3, 1, 10},   {10, 10, 50}, {30, 10, 60},   {40, 20, 75},
                                             {50, 30, 90}, {80, 60, 90}, {100, 100, 100}};

// The next number from `number` going anticlockwise (side 0) or clockwise (side 1) round the board.
int board_step(int number, int side) {
    static const int kClockwise[20] = {20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5};
    int i = static_cast<int>(std::find(kClockwise, kClockwise + 20, number) - kClockwise);
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
        return [this] { return used < list.size() ? list[used++] : 7u * static_cast<std::uint32_t>(used++); };
    }
};

// The first seed that lands a dart at `aim` on `want`.
std::uint32_t seed_landing(int level, Dart aim, Dart want) {
    for (std::uint32_t seed = 1; seed < 2000000; ++seed)
        if (throw_dart(level, aim, seed) == want) return seed;
    ADD_FAILURE() << "no seed lands " << want << " when aiming " << aim << " at level " << level;
    return 0;
}

const auto S = [](int n) { return Dart{n, 1}; };
const auto D = [](int n) { return Dart{n, 2}; };
const auto T = [](int n) { return Dart{n, 3}; };
const Dart kMiss{0, 1};

TEST(ComTables, NeighboursAndLevelsOutsideTheTable) {
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(board_neighbours(n).first, board_step(n, 0)) << "first neighbour of " << n;
        EXPECT_EQ(board_neighbours(n).second, board_step(n, 1)) << "second neighbour of " << n;
    }
    for (int n : {0, -1, 21, 25, 50})
        EXPECT_EQ(board_neighbours(n).first + board_neighbours(n).second, 0) << n;

    // A level outside 0..6 uses the nearest row, and its throws follow that row exactly.
    for (int level : {-1, INT_MIN, 7, INT_MAX}) {
        ComAccuracy got = com_accuracy(level), want = kDocumented[level < 0 ? 0 : 6];
        EXPECT_EQ(std::vector<int>({got.p_double, got.p_treble, got.p_single}),
                  std::vector<int>({want.p_double, want.p_treble, want.p_single}))
            << "level " << level;
    }
    for (std::uint32_t seed = 1; seed < 500; ++seed) {
        EXPECT_EQ(throw_dart(-3, T(20), seed), throw_dart(0, T(20), seed)) << seed;
        EXPECT_EQ(throw_dart(9, D(16), seed), D(16)) << seed;
    }
}

TEST(ComRandomGenerator, IsTheClassicLibraryGenerator) {
    ComRandom rng(1);
    for (int want : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(rng.next(), want);
    ComRandom wrap(0xFFFFFFFFu); // 0xFFFFFFFF * 214013 + 2531011 = 2316998 (mod 2^32)
    EXPECT_EQ(wrap.next(), 2316998 >> 16);
    rng.seed(1);
    EXPECT_EQ(rng.roll(), 42);
    EXPECT_EQ(rng.roll(), 68);
}

TEST(ComAim, DartTextsAndAimsFromRoutes) {
    for (auto [dart, text] : std::vector<std::pair<Dart, const char*>>{
             {S(20), "S20"}, {D(16), "D16"}, {T(20), "T20"}, {S(25), "S25"}, {D(25), "D25"}, {kMiss, "0"}})
        EXPECT_EQ(dart.text(), text);

    struct Row {
        const char* text;
        Dart want;
    } rows[] = {
        // clang-format off
        {"D16", D(16)}, {"T20", T(20)}, {"S1", S(1)}, {"S25", S(25)}, {"D25", D(25)}, {"25", S(25)}, {"d20", S(20)},
        {"T07", T(7)}, {"", kMiss}, {"X", kMiss}, {"D0", kMiss}, {"D21", kMiss}, {"T26", kMiss}, {"S24", kMiss},
        {"D2500000000000", kMiss},
        // clang-format on
    };
    for (const Row& row : rows)
        EXPECT_EQ(dart_from_text(row.text), row.want) << '"' << row.text << '"';
}

TEST(ComAim, FirstDartOfTheFirstRouteElseTreble20) {
    struct Row {
        int remaining;
        Dart want;
    } rows[] = {
        // clang-format off
        {32, D(16)}, {16, D(8)}, {2, D(1)}, {3, S(1)}, {50, D(25)}, {75, T(17)}, {82, D(25)}, {170, T(20)},
        {100, T(20)}, {159, T(20)}, {169, T(20)}, {171, T(20)}, {501, T(20)}, {1, T(20)}, {0, T(20)},
        // clang-format on
    };
    for (const Row& row : rows)
        EXPECT_EQ(choose_aim(row.remaining, built_in()), row.want) << row.remaining;

    // The first route counts; a first dart naming nothing on the board is played like no route.
    CheckoutTable table;
    table.parse("40,S25\n40,D20\n41,,D20\n42,X,D21\n43,D30,S3\n44,25\n");
    for (auto [left, want] : std::vector<std::pair<int, Dart>>{
             {40, S(25)}, {41, T(20)}, {42, T(20)}, {43, T(20)}, {44, S(25)}, {32, T(20)}})
        EXPECT_EQ(choose_aim(left, table), want) << left;
}

TEST(ComThrow, TopLevelLandsWhereItAims) {
    std::vector<Dart> aims = {S(25), D(25)};
    for (int n = 1; n <= 20; ++n)
        for (int m = 1; m <= 3; ++m)
            aims.push_back(Dart{n, m});
    for (const Dart& aim : aims)
        for (std::uint32_t seed : {0u, 1u, 2u, 1000u, 65535u, 123456789u, 0xFFFFFFFFu})
            EXPECT_EQ(throw_dart(6, aim, seed), aim) << "seed " << seed;
}

// Aimed at a single, a dart that misses the single twice and the treble lands
// in the double on a roll of exactly p_double; one more and it drifts on.
TEST(ComThrow, SingleAimedDartTakesTheDoubleOnItsBoundaryRoll) {
    const ComAccuracy a = kDocumented[2];
    for (int last : {a.p_double, a.p_double + 1}) {
        std::uint32_t seed = 0;
        for (std::uint32_t s = 1; s < 1000000 && seed == 0; ++s) {
            ComRandom r(s);
            r.next(); // the side
            if (r.roll() > a.p_single && r.roll() > a.p_single && r.roll() > a.p_treble && r.roll() == last)
                seed = s;
        }
        ASSERT_NE(seed, 0u) << "no seed rolls " << last;
        EXPECT_EQ(throw_dart(2, S(20), seed) == D(20), last == a.p_double) << "roll " << last;
    }
}

// Landing frequencies worked out from the level's row (roll <= p: the ring is hit): every pass either
// lands or drifts one number along the side chosen for the dart. A miss off the bull lands on any of
// the 20 numbers or back in the bull with one chance in 21 each.
std::map<std::pair<int, int>, double> expected_landings(int level, const Dart& aim) {
    const ComAccuracy a = kDocumented[level];
    const double pd = a.p_double / 100.0, pt = a.p_treble / 100.0, ps = a.p_single / 100.0;
    std::map<std::pair<int, int>, double> out;
    if (aim.segment == 25) {
        double off = 1 - pd, bull = 1 - off * 20 / 21, fifty = aim.multiplier == 1 ? 1 - pd : pt;
        for (int k = 1; k <= 20; ++k)
            out[{k, 1}] = off / 21;
        out[{25, 2}] = bull * fifty;
        out[{25, 1}] = bull * (1 - fifty);
        return out;
    }
    double land[4] = {}, drift; // by multiplier; [0]: off the board
    if (aim.multiplier == 3) {
        land[3] = pt, land[1] = (1 - pt) * ps, drift = (1 - pt) * (1 - ps);
    } else if (aim.multiplier == 2) {
        land[2] = pd, land[0] = land[1] = (1 - pd) * ps / 2, drift = (1 - pd) * (1 - ps);
    } else {
        double rest = (1 - ps) * (1 - ps);
        land[1] = ps, land[3] = rest * pt, land[2] = rest * (1 - pt) * pd;
        drift = (1 - ps) * ps + rest * (1 - pt) * (1 - pd);
    }
    for (int side = 0; side < 2; ++side)
        for (int j = 0, n = aim.segment; j < 20; ++j, n = board_step(n, side))
            for (int m = 1; m <= 3; ++m)
                out[{n, m}] += 0.5 * std::pow(drift, j) / (1 - std::pow(drift, 20)) * land[m];
    if (land[0] > 0) out[{0, 1}] = land[0] / (1 - drift);
    return out;
}

TEST(ComThrow, LandingsFollowTheAccuracyTables) {
    const std::pair<int, Dart> rows[] = {{0, T(20)}, {4, T(20)}, {5, T(19)}, {2, D(16)},
                                         {5, D(20)}, {0, D(1)},  {1, S(20)}, {3, S(5)},
                                         {1, S(25)}, {4, D(25)}, {0, D(25)}, {3, S(25)}};
    const int kThrows = 20000;
    std::mt19937 seeds(20041105u);
    for (auto [level, aim] : rows) {
        std::map<std::pair<int, int>, int> counts;
        for (int i = 0; i < kThrows; ++i) {
            Dart d = throw_dart(level, aim, static_cast<std::uint32_t>(seeds()));
            ++counts[{d.segment, d.multiplier}];
        }
        auto want = expected_landings(level, aim);
        for (auto [where, p] : want) {
            double seen = counts.count(where) ? counts[where] / double(kThrows) : 0.0;
            EXPECT_NEAR(seen, p, 5 * std::sqrt(p * (1 - p) / kThrows) + 0.003)
                << "level " << level << " aiming " << aim << ": landing " << Dart{where.first, where.second};
            if (p < 1e-7) {
                EXPECT_EQ(seen, 0.0) << "level " << level << " aiming " << aim << " cannot drift as far as "
                                     << Dart{where.first, where.second};
            }
        }
        for (auto [where, n] : counts)
            EXPECT_TRUE(want.count(where)) << "level " << level << " aiming " << aim << " landed " << n
                                           << " times on " << Dart{where.first, where.second};
    }
}

TEST(ComVisitTicks, TopLevelScoresAndFinishes) {
    const std::pair<int, const char*> rows[] = {
        {501, "T20 T20 T20 =180"},
        {170, "T20 T20 D25 =-3"},
        {100, "T20 D20 =-2"},
        {40, "D20 =-1"},
        {50, "D25 =-1"},
        {3, "S1 D1 =-2"},
        {169, "T20 T20 S17 =137"}, // no route: T20, then the routes for 109 and 49
        {1, "=0"},                 // one left busts without a throw
    };
    for (auto [left, want] : rows) {
        Seeds seeds;
        ComVisit visit(1, left, 6, built_in(), seeds.source());
        std::string got;
        for (int index = 0; !visit.done() && index < 4; ++index) {
            ComStep step = visit.tick();
            if (step.kind == ComStep::kDone) {
                got += "=" + std::to_string(step.com_result);
            } else {
                EXPECT_EQ(step.index, index) << left;
                EXPECT_EQ(step.dart.text(), step.text) << left;
                got += step.text + " ";
            }
        }
        EXPECT_EQ(got, want) << "left " << left;
        EXPECT_EQ(seeds.used, static_cast<size_t>(visit.darts_thrown())) << "one seed before every dart";
        EXPECT_EQ(visit.player(), 1);
    }
}

TEST(ComVisitTicks, AimsFollowTheRemainingScoreAndBustsScoreNothing) {
    struct Row {
        const char* what;
        int left, level;
        std::vector<std::pair<Dart, Dart>> darts; // aim, landing
        int result;
    } rows[] = {
        {"a miss shows 0 and aims again, a single 16 leaves D8",
         32,
         2,
         {{D(16), kMiss}, {D(16), S(16)}, {D(8), D(8)}},
         -3},
        {"0 left without a double", 32, 3, {{D(16), S(16)}, {D(8), S(16)}}, 0},
        {"1 left", 21, 0, {{S(5), S(20)}}, 0},
        {"below 0", 32, 3, {{D(16), S(16)}, {D(8), D(16)}}, 0},
        {"1 left after the third dart", 7, 1, {{S(3), S(3)}, {D(2), S(2)}, {D(1), S(1)}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Seeds seeds;
        for (auto [aim, landing] : row.darts)
            seeds.list.push_back(seed_landing(row.level, aim, landing));
        ComVisit visit(0, row.left, row.level, built_in(), seeds.source());
        for (auto [aim, landing] : row.darts) {
            EXPECT_EQ(visit.next_aim(), aim);
            ComStep step = visit.tick();
            ASSERT_EQ(step.kind, ComStep::kThrew);
            EXPECT_EQ(step.dart, landing);
            EXPECT_EQ(step.text, landing.text());
        }
        ComStep end = visit.tick();
        EXPECT_EQ(end.kind, ComStep::kDone);
        EXPECT_EQ(end.com_result, row.result);
    }
}

TEST(ComVisitTicks, EveryVisitEndsWithAValidResult) {
    // Any remaining score at any level: at most three darts, and the result is the points, a bust,
    // or a finish on a double that leaves exactly 0.
    std::uint32_t n = 99;
    for (int left = 1; left <= 200; ++left)
        for (int level = 0; level <= 6; ++level) {
            ComVisit visit(0, left, level, built_in(), [&n] { return n = n * 69069u + 1u; });
            int result = visit.play_out(), r = visit.remaining();
            ASSERT_LE(visit.darts_thrown(), 3);
            bool last_double = visit.darts_thrown() > 0 && visit.dart(visit.darts_thrown() - 1).is_double();
            if (result < 0) {
                ASSERT_EQ(result, -visit.darts_thrown()) << left;
                EXPECT_TRUE(r == 0 && last_double) << left;
            } else if (result > 0) {
                EXPECT_EQ(result, visit.scored()) << left;
                EXPECT_GE(r, 2) << left;
            } else {
                bool bust = r == 1 || r < 0 || (r == 0 && !last_double);
                EXPECT_TRUE(bust || visit.scored() == 0)
                    << "left " << left << ": 0 only for a bust or misses";
            }
        }
}

TEST(ComVisitTicks, StopTicksAfterTheEndAndTheTickCountSeed) {
    ComVisit visit(1, 501, 6, built_in(), [] { return 5u; });
    visit.tick();
    EXPECT_EQ(visit.stop().com_result, kComStopped);
    EXPECT_EQ(visit.tick().com_result, kComStopped) << "nothing is thrown after a stop";
    EXPECT_EQ(visit.darts_thrown(), 1);

    ComVisit finished(0, 40, 6, built_in(), [] { return 5u; });
    EXPECT_EQ(finished.play_out(), -1);
    EXPECT_EQ(finished.tick().com_result, -1);
    EXPECT_EQ(finished.stop().com_result, -1) << "a stop after the end changes nothing";

    test::ScopedFakeSystem fake;
    fake.sys.ticks_ = 424242;
    EXPECT_EQ(tick_count_seed()(), 424242u);
    PlayerBlock block;
    block.left = 32;
    block.com_level = 2;
    ComVisit from_block(1, block, built_in(), SeedSource());
    EXPECT_EQ(from_block.tick().dart, throw_dart(2, D(16), 424242u)) << "without seeds the tick count seeds";
    EXPECT_EQ(from_block.player(), 1);
}

} // namespace
} // namespace tx9
