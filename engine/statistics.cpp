#include "engine/statistics.h"

#include <algorithm>

namespace tx9 {

void update_statistics(GameRecord& record, int n, int p) {
    LegRecord& shown = record.leg(n);
    const std::vector<int>& cells = shown.scores[static_cast<size_t>(p)];
    int last = std::min(shown.cur_round, static_cast<int>(cells.size()) - 1);
    int leg_tons = 0, leg_180s = 0;
    for (int r = 0; r <= last; ++r) {
        int v = cells[static_cast<size_t>(r)];
        if (v >= 100) ++leg_tons;
        if (v == 180) ++leg_180s;
    }
    shown.tons[static_cast<size_t>(p)] = leg_tons;
    shown.one80s[static_cast<size_t>(p)] = leg_180s;

    PlayerBlock& player = record.player[static_cast<size_t>(p)];
    int tons = 0, one80s = 0;
    long long scored = 0, darts = 0, won_darts = 0, won_legs = 0;
    for (int k = 0; k <= n; ++k) {
        const LegRecord& leg = record.leg(k);
        tons += leg.tons[static_cast<size_t>(p)];
        one80s += leg.one80s[static_cast<size_t>(p)];
        bool won = leg.finished == 1 && leg.winner == p;
        // The finishing cell holds the dart number, so the finish itself counts here.
        if (won && leg.checkout >= 100) ++tons;
        if (won && leg.checkout == 180) ++one80s;
        if (won && leg.win_darts != 0) {
            won_darts += leg.win_darts;
            ++won_legs;
        }
        scored += player.start_score - leg.left[static_cast<size_t>(p)];
        darts += leg.darts[static_cast<size_t>(p)];
    }
    player.tons = tons;
    player.one80s = one80s;
    player.avg_score =
        darts > 0 ? static_cast<float>(static_cast<double>(scored) / static_cast<double>(darts)) : 0.0f;
    player.avg_darts =
        won_legs > 0 ? static_cast<float>(static_cast<double>(won_darts) / static_cast<double>(won_legs))
                     : 0.0f;
}

float combine_average(float carried, float current) {
    if (carried > 0 && current > 0) return static_cast<float>((static_cast<double>(carried) + current) * 0.5);
    if (current > 0) return current;
    return carried;
}

void carry_over(GameRecord& record, const GameSettings& entering) {
    // Short legs and darts per leg only compare between sets of one start score.
    bool new_distance = record.schedule_mode == 1 && entering.start_score != record.start_score;
    for (PlayerBlock& p : record.player) {
        p.carried_tons += p.tons;
        p.carried_180s += p.one80s;
        p.carried_high_off = std::max(p.carried_high_off, p.high_off);
        if (new_distance)
            p.carried_short = 0;
        else if (p.short_ > 0 && (p.carried_short == 0 || p.short_ < p.carried_short))
            p.carried_short = p.short_;
        p.carried_avg_score = combine_average(p.carried_avg_score, p.avg_score);
        p.carried_avg_darts = new_distance ? 0.0f : combine_average(p.carried_avg_darts, p.avg_darts);
    }
}

} // namespace tx9
