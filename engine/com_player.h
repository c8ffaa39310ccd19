// The COM player: where its darts are aimed, how they land at each level, and
// the dart-by-dart visit that the COM visit window plays one timer tick at a time.
#pragma once

#include "checkout/checkout_table.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tx9 {

struct PlayerBlock;

inline constexpr int kBull = 25;

// One dart: segment 0 (off the board), 1..20 or 25 (bull); multiplier 1 single,
// 2 double, 3 treble (the bull's double is the 50).
struct Dart {
    int segment = 0;
    int multiplier = 1;

    int points() const { return segment * multiplier; }
    bool is_double() const { return segment != 0 && multiplier == 2; }
    // "S%d", "D%d" or "T%d" with the segment; "0" for a miss.
    std::string text() const;

    friend bool operator==(const Dart& a, const Dart& b) {
        return a.segment == b.segment && a.multiplier == b.multiplier;
    }
    friend bool operator!=(const Dart& a, const Dart& b) { return !(a == b); }
};

// Accuracy of one level, in percent.
struct ComAccuracy {
    int p_double;
    int p_treble;
    int p_single;
};

inline constexpr int kComLevels = 7; // rows 0..6

// The row of com_level; a level outside 0..6 (a hand-edited INI) uses the nearest row.
ComAccuracy com_accuracy(int com_level);

struct BoardNeighbours {
    int first;
    int second;
};

// Neighbours of a board number 1..20; {0, 0} for anything else.
BoardNeighbours board_neighbours(int number);

// The C library's classic generator, kept here so every platform throws alike:
// state = state * 214013 + 2531011 (mod 2^32), result = bits 16..30.
class ComRandom {
  public:
    explicit ComRandom(std::uint32_t seed = 1) : state_(seed) {}
    void seed(std::uint32_t seed) { state_ = seed; }
    // 0..32767.
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    // 1..100; "within X" means roll() <= X.
    int roll() { return next() % 100 + 1; }

  private:
    std::uint32_t state_;
};

// The dart a route text names: 'D' double, 'T' treble, else single; the segment
// is the number from the first digit on. A segment that is not on the board
// (0, 21..24, 26...) gives a miss {0, 1}.
Dart dart_from_text(std::string_view text);

// Where the COM player aims with `remaining` still to score: the first dart of
// the table's first route for it, or treble 20 when there is none (or when that
// dart names nothing on the board).
Dart choose_aim(int remaining, const CheckoutTable& table);

// Throw one dart at `aim` for the level, from a generator freshly seeded with `seed`.
Dart throw_dart(int com_level, const Dart& aim, std::uint32_t seed);

// Called once before every dart for the generator's seed: the tick count in the
// program, anything repeatable in tests.
using SeedSource = std::function<std::uint32_t()>;
// The system tick count (system_services().tick_count()).
SeedSource tick_count_seed();

// What the COM visit window does after a tick.
struct ComStep {
    enum Kind {
        kThrew, // show `text` in field 1030 + `index`, start the 1000 ms timer again
        kDone,  // store `com_result` in the player and close
    };
    Kind kind = kDone;
    int index = 0; // dart 0..2 (kThrew)
    Dart dart;     // (kThrew)
    std::string text;
    int com_result = 0; // (kDone) points, -1..-3 finished with that dart, or kComStopped
};

// One COM visit, as the window's timer plays it.
class ComVisit {
  public:
    // The table must outlive the visit.
    ComVisit(int player, int left, int com_level, const CheckoutTable& table, SeedSource seeds);
    ComVisit(int player, const PlayerBlock& block, const CheckoutTable& table, SeedSource seeds);

    // One timer tick: throw the next dart or end the visit. After the visit has
    // ended every further tick answers the same kDone.
    ComStep tick();
    // The Stop command confirmed: the visit ends with kComStopped.
    ComStep stop();
    // Tick until done; the com_result.
    int play_out();

    int player() const { return player_; }
    int darts_thrown() const { return thrown_; }
    const Dart& dart(int index) const { return darts_[static_cast<size_t>(index)]; }
    // Points of the darts thrown so far, and the player's left minus them.
    int scored() const;
    int remaining() const { return left_ - scored(); }
    // Where the next dart would be aimed now.
    Dart next_aim() const { return choose_aim(remaining(), *table_); }
    bool done() const { return done_; }
    int com_result() const { return result_; }

  private:
    ComStep finish(int result);

    int player_;
    int left_;
    int level_;
    const CheckoutTable* table_;
    SeedSource seeds_;
    std::array<Dart, 3> darts_{};
    int thrown_ = 0;
    bool done_ = false;
    int result_ = 0;
};

} // namespace tx9
