// The COM player: its aims, how its darts land at each level, and its visits.
#include "engine/com_player.h"
#include "engine/game_record.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

namespace tx9 {

std::ostream& operator<<(std::ostream& out, const Dart& d) {
    return out << d.text() << "{" << d.segment << "x" << d.multiplier << "}";
}

namespace {

// The accuracy rows: double, treble, single.
const ComAccuracy kLevels[kComLevels] = {{3, 1, 10},   {10, 10, 50}, {30, 10, 60},   {40, 20, 75},
                                         {50, 30, 90}, {80, 60, 90}, {100, 100, 100}};
const int kClockwise[20] = {20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5};

// The next number from `number` going anticlockwise (side 0) or clockwise (side 1) round the board.
int board_step(int number, int side) {
    int i = static_cast<int>(std::find(kClockwise, kClockwise + 20, number) - kClockwise);
    return kClockwise[(i + (side == 0 ? 19 : 1)) % 20];
}

const CheckoutTable& built_in() {
    static CheckoutTable table;
    static const bool loaded = table.load_from_file(TX9_ROUTES_FILE);
    EXPECT_TRUE(loaded) << TX9_ROUTES_FILE;
    return table;
}

const auto S = [](int n) { return Dart{n, 1}; };
const auto D = [](int n) { return Dart{n, 2}; };
const auto T = [](int n) { return Dart{n, 3}; };
const Dart kMiss{0, 1};

// Where a dart thrown at `aim` by a player of accuracy `a` lands, from the generator seeded with `seed`:
// every pass over a number lands or drifts one number along the side picked for the dart.
Dart expected_landing(const ComAccuracy& a, Dart aim, std::uint32_t seed) {
    ComRandom r(seed);
    if (aim.segment == 25) {
        if (r.roll() > a.p_double) {
            int k = r.next() % 21;
            if (k > 0) return S(k);
        }
        bool fifty = aim.multiplier == 1 ? r.roll() > a.p_double : r.roll() <= a.p_treble;
        return fifty ? D(25) : S(25);
    }
    const int side = r.next() % 2;
    for (int n = aim.segment, pass = 0; pass < 100000; ++pass, n = board_step(n, side)) {
        if (aim.multiplier == 3) {
            if (r.roll() <= a.p_treble) return T(n);
            if (r.roll() <= a.p_single) return S(n);
        } else if (aim.multiplier == 2) {
            if (r.roll() <= a.p_double) return D(n);
            if (r.roll() <= a.p_single) return r.roll() > 50 ? kMiss : S(n);
        } else {
            if (r.roll() <= a.p_single) return S(n);
            if (r.roll() <= a.p_single) continue;
            if (r.roll() <= a.p_treble) return T(n);
            if (r.roll() <= a.p_double) return D(n);
        }
    }
    ADD_FAILURE() << "no landing for seed " << seed;
    return kMiss;
}

// The first seed that lands a dart at `aim` on `want`.
std::uint32_t seed_landing(int level, Dart aim, Dart want) {
    for (std::uint32_t seed = 1; seed < 2000000; ++seed)
        if (throw_dart(level, aim, seed) == want) return seed;
    ADD_FAILURE() << "no seed lands " << want << " when aiming " << aim << " at level " << level;
    return 0;
}

// The generator every landing depends on: the C runtime's rand() sequence.
TEST(ComRandom, GivesTheRuntimesSequence) {
    ComRandom rng(1);
    for (int want : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(rng.next(), want);
    ComRandom wrap(0xFFFFFFFFu); // 0xFFFFFFFF * 214013 + 2531011 = 2316998 (mod 2^32)
    EXPECT_EQ(wrap.next(), 2316998 >> 16);
    rng.seed(1);
    EXPECT_EQ(rng.roll(), 42);
}

TEST(ComAim, DartTextsAndAimsFromRoutes) {
    for (auto [dart, text] : std::vector<std::pair<Dart, const char*>>{
             {S(20), "S20"}, {D(16), "D16"}, {T(20), "T20"}, {S(25), "S25"}, {D(25), "D25"}, {kMiss, "0"}})
        EXPECT_EQ(dart.text(), text);
    const std::pair<const char*, Dart> rows[] = {
        {"D16", D(16)}, {"T20", T(20)}, {"S1", S(1)},   {"S25", S(25)}, {"D25", D(25)},
        {"25", S(25)},  {"d20", S(20)}, {"T07", T(7)},  {"", kMiss},    {"X", kMiss},
        {"D0", kMiss},  {"D21", kMiss}, {"T26", kMiss}, {"S24", kMiss}, {"D2500000000000", kMiss},
    };
    for (auto [text, want] : rows)
        EXPECT_EQ(dart_from_text(text), want) << '"' << text << '"';
}

// More aims of the built-in routes are played through in ComVisitTicks.
TEST(ComAim, FirstDartOfTheFirstRouteElseTreble20) {
    const std::pair<int, Dart> rows[] = {{50, D(25)},  {75, T(17)}, {82, D(25)}, {159, T(20)},
                                         {171, T(20)}, {1, T(20)},  {0, T(20)}};
    for (auto [left, want] : rows)
        EXPECT_EQ(choose_aim(left, built_in()), want) << left;

    // The first route counts; a first dart naming nothing on the board is played like no route.
    CheckoutTable table;
    table.parse("40,S25\n40,D20\n41,,D20\n42,X,D21\n43,D30,S3\n44,25\n");
    for (auto [left, want] : std::vector<std::pair<int, Dart>>{
             {40, S(25)}, {41, T(20)}, {42, T(20)}, {43, T(20)}, {44, S(25)}, {32, T(20)}})
        EXPECT_EQ(choose_aim(left, table), want) << left;
}

// Thousands of seeds per aim and level: every roll lands on each boundary of the accuracy rows (a
// single-aimed dart rolling exactly p_double takes the double).
TEST(ComThrow, EveryDartLandsAsTheLevelsAccuracyDecides) {
    const Dart aims[] = {T(20), T(19), D(16), D(20), D(1), S(20), S(5), S(25), D(25)};
    for (int level : {INT_MIN, -3, 0, 1, 2, 3, 4, 5, 6, 9, INT_MAX})
        for (const Dart& aim : aims) {
            int wrong = 0;
            for (std::uint32_t seed = 1; seed <= 3000 && wrong < 3; ++seed) {
                const Dart want = expected_landing(kLevels[std::clamp(level, 0, 6)], aim, seed);
                const Dart got = throw_dart(level, aim, seed);
                EXPECT_EQ(got, want) << "level " << level << " aiming " << aim << " with seed " << seed;
                wrong += got != want;
            }
        }
}

TEST(ComVisitTicks, AimsFollowTheRemainingScoreAndBustsScoreNothing) {
    const auto hit = [](Dart d) { return std::pair<Dart, Dart>{d, d}; };
    // What, the remaining score, the level, each dart's aim and landing, the result.
    const std::tuple<const char*, int, int, std::vector<std::pair<Dart, Dart>>, int> rows[] = {
        // clang-format off
        {"501 at the top level: no route, treble 20 three times", 501, 6, {hit(T(20)), hit(T(20)), hit(T(20))}, 180},
        {"170: the first route", 170, 6, {hit(T(20)), hit(T(20)), hit(D(25))}, -3},
        {"169: no route, then the routes for 109 and 49", 169, 6, {hit(T(20)), hit(T(20)), hit(S(17))}, 137},
        {"3: S1 then D1", 3, 6, {hit(S(1)), hit(D(1))}, -2},
        {"1 left busts without a throw", 1, 6, {}, 0},
        {"a miss shows 0 and aims again, a single 16 leaves D8", 32, 2, {{D(16), kMiss}, {D(16), S(16)}, {D(8), D(8)}}, -3},
        {"0 left without a double", 32, 3, {{D(16), S(16)}, {D(8), S(16)}}, 0},
        {"1 left", 21, 0, {{S(5), S(20)}}, 0},
        {"below 0", 32, 3, {{D(16), S(16)}, {D(8), D(16)}}, 0},
        {"three darts scored, two drifted", 501, 1, {{T(20), S(20)}, {T(20), S(5)}, {T(20), T(1)}}, 28},
        // clang-format on
    };
    for (const auto& [what, left, level, darts, result] : rows) {
        SCOPED_TRACE(what);
        std::vector<std::uint32_t> seeds; // handed out in order, counting how many were asked for
        for (auto [aim, landing] : darts)
            seeds.push_back(seed_landing(level, aim, landing));
        size_t used = 0;
        ComVisit visit(1, left, level, built_in(),
                       [&] { return ++used <= seeds.size() ? seeds[used - 1] : 7u; });
        for (size_t i = 0; i < darts.size(); ++i) {
            EXPECT_EQ(visit.next_aim(), darts[i].first);
            ComStep step = visit.tick();
            ASSERT_EQ(step.kind, ComStep::kThrew);
            const Dart want = darts[i].second;
            EXPECT_EQ(std::tuple(step.index, step.text, step.dart), std::tuple(int(i), want.text(), want));
        }
        ComStep end = visit.tick();
        EXPECT_EQ(std::tuple(end.kind == ComStep::kDone, end.com_result, used),
                  std::tuple(true, result, darts.size()))
            << "done with the result, one seed before every dart";
    }
}

TEST(ComVisitTicks, StopTicksAfterTheEndAndTheTickCountSeed) {
    ComVisit visit(1, 501, 6, built_in(), [] { return 5u; });
    visit.tick();
    EXPECT_EQ(visit.stop().com_result, kComStopped);
    EXPECT_EQ(visit.tick().com_result, kComStopped) << "nothing is thrown after a stop";
    EXPECT_EQ(visit.darts_thrown(), 1);

    ComVisit finished(0, 40, 6, built_in(), [] { return 5u; });
    EXPECT_EQ((std::tuple{finished.play_out(), finished.tick().com_result, finished.stop().com_result}),
              std::tuple(-1, -1, -1))
        << "a tick or a stop after the end changes nothing";

    test::ScopedFakeSystem fake;
    fake.sys.ticks_ = 424242;
    PlayerBlock block;
    block.left = 32, block.com_level = 2;
    ComVisit from_block(1, block, built_in(), tick_count_seed());
    EXPECT_EQ(from_block.tick().dart, expected_landing(kLevels[2], D(16), 424242u))
        << "seeded by the tick count";
}

} // namespace
} // namespace tx9
