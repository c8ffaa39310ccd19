#include "core/system.h"
#include "res/resource.h"
#include "engine/game_rules.h"
#include "engine/statistics.h"
#include "records/csv_export.h"

#include <algorithm>
#include <new>

namespace tx9 {

namespace {

// The record without its legs, so that the header can be changed on a copy
// and put back whole.
GameRecord header_of(GameRecord& record) {
    std::vector<LegRecord> legs = std::move(record.leg_records);
    GameRecord header;
    try {
        header = record;
    } catch (...) {
        record.leg_records = std::move(legs);
        throw;
    }
    record.leg_records = std::move(legs);
    return header;
}

} // namespace

std::string out_of_memory_text() {
    return "Not enough memory resources are available to process this command.";
}

int remaining(const GameRecord& record, int leg, int round, int player) {
    const std::vector<int>& cells = record.leg(leg).scores[static_cast<size_t>(player)];
    int last = std::min(round, static_cast<int>(cells.size()) - 1);
    int left = record.player[static_cast<size_t>(player)].start_score;
    for (int r = 0; r <= last; ++r)
        left -= cells[static_cast<size_t>(r)];
    return left;
}

void size_new_leg(LegRecord& leg, const GameRecord& record) {
    leg.capacity = record.round_limit ? std::max(record.round, 0) : kRoundsPerBlock;
    leg.rows = record.round_limit ? std::max(record.round, 0) : 1;
}

LegRecord new_leg(const GameRecord& record) {
    LegRecord leg;
    size_new_leg(leg, record);
    for (std::vector<int>& cells : leg.scores)
        cells.assign(static_cast<size_t>(leg.capacity) + 1, 0);
    return leg;
}

bool init_for_set(GameRecord& record, const GameSettings& game, bool fresh, std::string* error) {
    try {
        GameRecord next = header_of(record);
        if (!fresh) carry_over(next, game);

        next.archived = 0;
        next.start_score = game.start_score;
        next.round_limit = game.round_limit;
        next.round = game.round;
        next.leg_limit = game.leg_limit;
        next.max_leg = game.max_leg;
        next.best_of = game.best_of;

        const std::string* names[2] = {&game.p1_name, &game.p2_name};
        const int coms[2] = {game.p1_com, game.p2_com};
        const int levels[2] = {game.p1_com_level, game.p2_com_level};
        const int handicaps[2] = {game.p1_start_score, game.p2_start_score};
        for (size_t i = 0; i < 2; ++i) {
            PlayerBlock& p = next.player[i];
            if (fresh) p = PlayerBlock{};
            p.tons = 0;
            p.one80s = 0;
            p.high_off = 0;
            p.short_ = 0;
            p.avg_score = 0;
            p.avg_darts = 0;
            if (fresh || !names[i]->empty() || coms[i] == 1) {
                p.name = *names[i];
                p.com = coms[i];
                p.com_level = levels[i];
            }
            p.start_score = handicaps[i] >= 1 ? handicaps[i] : next.start_score;
            p.left = p.start_score;
            p.legs = 0;
            if (p.name.empty()) p.name = system_services().load_string(i == 0 ? IDS_PLAYER1 : IDS_PLAYER2);
        }

        next.csv_name = csv_file_name(next.start_score, system_services().local_time());

        next.leg_no = 0;
        next.leg_records.clear();
        next.leg_records.push_back(new_leg(next));
        record = std::move(next);
        return true;
    } catch (const std::bad_alloc&) {
        if (error) *error = out_of_memory_text();
        return false;
    }
}

bool append_to_history(History& history, GameRecord& record, std::string* error) {
    if (record.archived == 1 || record.leg_no < 1) return true;
    try {
        GameRecord copy = record;
        for (PlayerBlock& p : copy.player) {
            p.carried_tons = 0;
            p.carried_180s = 0;
            p.carried_high_off = 0;
            p.carried_short = 0;
            p.carried_avg_score = 0;
            p.carried_avg_darts = 0;
        }
        history.records.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        if (error) *error = out_of_memory_text();
        return false;
    }
    record.archived = 1;
    return true;
}

void free_legs(GameRecord& record) {
    std::vector<LegRecord>().swap(record.leg_records);
    record.leg_no = 0;
}

void free_history(History& history) {
    std::vector<GameRecord>().swap(history.records);
}

} // namespace tx9
