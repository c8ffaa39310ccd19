#include "engine/com_player.h"

#include "core/system.h"
#include "core/text.h"
#include "engine/game_record.h"

#include <algorithm>
#include <utility>

namespace tx9 {

namespace {

// Percent by com_level 0..6: double, treble, single accuracy.
constexpr ComAccuracy kAccuracy[kComLevels] = {
    {3, 1, 10}, {10, 10, 50}, {30, 10, 60}, {40, 20, 75}, {50, 30, 90}, {80, 60, 90}, {100, 100, 100},
};

// First and second neighbour of 1..20 around the board (index 0 unused).
constexpr BoardNeighbours kNeighbours[21] = {
    {0, 0},   {20, 18}, {15, 17}, {17, 19}, {18, 13}, {12, 20}, {13, 10},
    {19, 16}, {16, 11}, {14, 12}, {6, 15},  {8, 14},  {9, 5},   {4, 6},
    {11, 9},  {10, 2},  {7, 8},   {2, 3},   {1, 4},   {3, 7},   {5, 1},
};

const Dart kTreble20{20, 3};

bool on_board(int segment) {
    return (segment >= 1 && segment <= 20) || segment == kBull;
}

Dart throw_at_bull(const ComAccuracy& acc, const Dart& aim, ComRandom& rng) {
    if (rng.roll() > acc.p_double) {
        int k = rng.next() % 21;
        if (k != 0) return Dart{k, 1};
    }
    // In the bull. A "T25" from a hand-written route is taken as the 50.
    if (aim.multiplier == 1) return rng.roll() > acc.p_double ? Dart{kBull, 2} : Dart{kBull, 1};
    return rng.roll() <= acc.p_treble ? Dart{kBull, 2} : Dart{kBull, 1};
}

} // namespace

std::string Dart::text() const {
    if (segment == 0) return "0";
    char ring = multiplier == 2 ? 'D' : multiplier == 3 ? 'T' : 'S';
    return strprintf("%c%d", ring, segment);
}

ComAccuracy com_accuracy(int com_level) {
    return kAccuracy[std::clamp(com_level, 0, kComLevels - 1)];
}

BoardNeighbours board_neighbours(int number) {
    if (number < 1 || number > 20) return BoardNeighbours{0, 0};
    return kNeighbours[number];
}

Dart dart_from_text(std::string_view text) {
    Dart dart;
    if (text.empty()) return Dart{0, 1};
    dart.multiplier = text[0] == 'D' ? 2 : text[0] == 'T' ? 3 : 1;
    size_t pos = text.find_first_of("0123456789");
    long long segment = 0;
    if (pos != std::string_view::npos)
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && segment <= kBull; ++pos)
            segment = segment * 10 + (text[pos] - '0');
    if (!on_board(static_cast<int>(segment))) return Dart{0, 1};
    dart.segment = static_cast<int>(segment);
    return dart;
}

Dart choose_aim(int remaining, const CheckoutTable& table) {
    const Route* route = table.first_route(remaining);
    if (!route) return kTreble20;
    Dart aim = dart_from_text(route->dart[0]);
    // A hand-written route whose first dart names nothing on the board would
    // leave nothing to aim at; play it like a score without a route.
    return aim.segment == 0 ? kTreble20 : aim;
}

Dart throw_dart(int com_level, const Dart& aim, std::uint32_t seed) {
    ComRandom rng(seed);
    const ComAccuracy acc = com_accuracy(com_level);
    if (aim.segment == kBull) return throw_at_bull(acc, aim, rng);
    if (!on_board(aim.segment)) return Dart{0, 1};

    // The side the dart drifts to is chosen once; it keeps drifting that way
    // around the board until it lands. Every roll is a new number.
    const int side = rng.next() % 2;
    int n = aim.segment;
    for (;;) {
        switch (aim.multiplier) {
        case 2:
            if (rng.roll() <= acc.p_double) return Dart{n, 2};
            if (rng.roll() <= acc.p_single) return rng.roll() > 50 ? Dart{0, 1} : Dart{n, 1};
            break;
        case 3:
            if (rng.roll() <= acc.p_treble) return Dart{n, 3};
            if (rng.roll() <= acc.p_single) return Dart{n, 1};
            break;
        default:
            if (rng.roll() <= acc.p_single) return Dart{n, 1};
            if (rng.roll() <= acc.p_single) break;
            if (rng.roll() <= acc.p_treble) return Dart{n, 3};
            if (rng.roll() <= acc.p_double) return Dart{n, 2};
            break;
        }
        const BoardNeighbours next = kNeighbours[n];
        n = side == 0 ? next.first : next.second;
    }
}

SeedSource tick_count_seed() {
    return [] { return system_services().tick_count(); };
}

ComVisit::ComVisit(int player, int left, int com_level, const CheckoutTable& table, SeedSource seeds)
    : player_(player), left_(left), level_(com_level), table_(&table), seeds_(std::move(seeds)) {
    if (!seeds_) seeds_ = tick_count_seed();
}

ComVisit::ComVisit(int player, const PlayerBlock& block, const CheckoutTable& table, SeedSource seeds)
    : ComVisit(player, block.left, block.com_level, table, std::move(seeds)) {}

int ComVisit::scored() const {
    int sum = 0;
    for (int i = 0; i < thrown_; ++i)
        sum += darts_[static_cast<size_t>(i)].points();
    return sum;
}

ComStep ComVisit::finish(int result) {
    done_ = true;
    result_ = result;
    ComStep step;
    step.kind = ComStep::kDone;
    step.com_result = result;
    return step;
}

ComStep ComVisit::tick() {
    if (done_) return finish(result_);
    const int s = scored();
    const int r = left_ - s;
    if (r == 0 && thrown_ > 0 && darts_[static_cast<size_t>(thrown_ - 1)].is_double())
        return finish(-thrown_);
    if (r >= 2) {
        if (thrown_ == 3) return finish(s);
        const Dart landed = throw_dart(level_, choose_aim(r, *table_), seeds_());
        ComStep step;
        step.kind = ComStep::kThrew;
        step.index = thrown_;
        step.dart = landed;
        step.text = landed.text();
        darts_[static_cast<size_t>(thrown_++)] = landed;
        return step;
    }
    // 1 left, 0 without a double, or below 0: a bust scores nothing.
    return finish(0);
}

ComStep ComVisit::stop() {
    return finish(done_ ? result_ : kComStopped);
}

int ComVisit::play_out() {
    while (tick().kind == ComStep::kThrew) {
    }
    return result_;
}

} // namespace tx9
