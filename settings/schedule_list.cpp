#include "settings/schedule_list.h"

#include "core/system.h"
#include "core/text.h"
#include "res/resource.h"

namespace tx9 {

namespace {

std::string player_column(const std::string& name, int com, int level) {
    if (com != 1) return name;
    return strprintf(system_services().load_string(IDS_COM_NAME).c_str(), level + 1);
}

} // namespace

std::vector<std::string> schedule_columns(const GameSettings& entry) {
    const std::string legs =
        entry.best_of == 1 ? strprintf(system_services().load_string(IDS_BEST_OF).c_str(), entry.max_leg)
                           : strprintf("%d", entry.max_leg);
    return {
        strprintf("%d", entry.start_score),
        entry.round_limit == 1 ? strprintf("%d", entry.round) : std::string(),
        legs,
        player_column(entry.p1_name, entry.p1_com, entry.p1_com_level),
        player_column(entry.p2_name, entry.p2_com, entry.p2_com_level),
    };
}

GameSettings new_schedule_entry(const GameSettings& game) {
    GameSettings entry = game;
    entry.schedule_entry = 1;
    entry.leg_limit = 1;
    return entry;
}

bool schedule_can_add(int count) {
    return count < kMaxScheduleEntries;
}

int list_move_target(int index, int step, int count) {
    const int target = index + step;
    if (step == 0 || index < 0 || index >= count || target < 0 || target >= count) return -1;
    return target;
}

bool save_schedule_list(const Settings& s, const std::vector<GameSettings>& list) {
    Settings stored = s;
    stored.schedule = list;
    return settings_save_schedule(stored);
}

} // namespace tx9
