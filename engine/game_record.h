// The whole state of one set of a match: its rules, both players with their
// running statistics, and every leg with every visit.
#pragma once

#include "settings/game_settings.h"

#include <array>
#include <string>
#include <vector>

namespace tx9 {

// Score cells: 0..180 points of a visit; -1, -2, -3 the finishing visit, won
// with that dart; a cell not entered yet holds 0.
struct LegRecord {
    int cur_round = 0; // round being entered; after a finish, the rounds the loser threw
    int turn = 0;      // player to throw next
    int rows = 0;      // rounds shown for the leg
    int capacity = 0;  // rounds allocated; each score array holds capacity + 1 cells
    std::array<std::vector<int>, 2> scores;
    int first = 0; // player who throws first in this leg
    int finished = 0;
    int winner = 0;
    int win_darts = 0;
    int checkout = 0;
    std::array<int, 2> tons{};
    std::array<int, 2> one80s{};
    std::array<int, 2> left{};
    std::array<int, 2> darts{};
};

struct PlayerBlock {
    std::string name;
    int start_score = 0;
    int left = 0;
    int sets = 0;
    int legs = 0;
    int tons = 0;
    int one80s = 0;
    int high_off = 0;
    int short_ = 0; // fewest darts to win a leg in the set; 0 = none
    float avg_score = 0;
    float avg_darts = 0;
    int carried_tons = 0;
    int carried_180s = 0;
    int carried_high_off = 0;
    int carried_short = 0;
    float carried_avg_score = 0;
    float carried_avg_darts = 0;
    int com = 0;
    int com_level = 0;
    int com_result = 0; // 0..180 points; -1..-3 finished with that dart; -5 stopped
};

inline constexpr int kComStopped = -5;

struct GameRecord {
    int schedule_mode = 0;
    int archived = 0;
    int start_score = 0;
    int set_no = 0;
    int leg_no = 0;
    int leg_limit = 0;
    int max_leg = 0;
    int best_of = 0;
    int round_limit = 0;
    int round = 0;
    std::string csv_name;
    std::array<PlayerBlock, 2> player;
    std::vector<LegRecord> leg_records; // leg_no + 1 legs

    LegRecord& leg(int index) { return leg_records[static_cast<size_t>(index)]; }
    const LegRecord& leg(int index) const { return leg_records[static_cast<size_t>(index)]; }
    LegRecord& current_leg() { return leg(leg_no); }
    const LegRecord& current_leg() const { return leg(leg_no); }
};

// The archive of finished sets for the run, oldest first, and the live record.
struct History {
    std::vector<GameRecord> records;
    GameRecord* live = nullptr;
};

} // namespace tx9
