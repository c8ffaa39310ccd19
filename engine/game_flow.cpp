#include "engine/game_flow.h"
#include "res/resource.h"

#include "core/system.h"
#include "core/text.h"
#include "engine/game_rules.h"

namespace tx9 {

namespace {

std::string text_of(int id) {
    return system_services().load_string(id);
}

} // namespace

GameFlow::GameFlow(GameRecord& live, History& history, const Settings& settings, GameFlowHost& host)
    : live_(live), history_(history), settings_(settings), host_(host) {}

bool GameFlow::archive() {
    std::string error;
    if (append_to_history(history_, live_, &error)) return true;
    host_.show_error(error);
    return false;
}

// Sets the live record up for a set; a failure is shown here.
bool GameFlow::init_set(const GameSettings& game, bool fresh) {
    std::string error;
    if (init_for_set(live_, game, fresh, &error)) return true;
    host_.show_error(error);
    return false;
}

bool GameFlow::start_first_set() {
    return init_set(settings_.game, true);
}

bool GameFlow::next_set(const GameSettings& game) {
    if (!archive()) return false;
    live_.set_no += 1;
    if (!init_set(game, false)) return false;
    host_.start_leg();
    return true;
}

bool GameFlow::set_over() {
    if (live_.schedule_mode != 1) return next_set(settings_.game);

    const int entries = static_cast<int>(settings_.schedule.size());
    if (live_.set_no + 1 < entries)
        return next_set(settings_.schedule[static_cast<size_t>(live_.set_no + 1)]);

    host_.refresh_player_panels();
    if (!archive()) return false;
    host_.show_information(result_text(live_));
    return false;
}

bool GameFlow::start_game(const GameSettings& game, int schedule_mode) {
    if (!archive()) return false;
    live_.schedule_mode = schedule_mode;
    live_.set_no = 0;
    if (!init_set(game, true)) return false;
    host_.set_leg_limit(live_.leg_limit == 1);
    host_.start_leg();
    return true;
}

bool GameFlow::start_new_game() {
    return start_game(settings_.game, 0);
}

bool GameFlow::start_new_schedule() {
    if (settings_.schedule.empty()) return false;
    return start_game(settings_.schedule.front(), 1);
}

std::string GameFlow::title_text(const GameRecord& record) {
    std::string title;
    if (record.leg_limit == 1)
        title = strprintf(text_of(record.best_of == 1 ? IDS_TITLE_SETS_BEST_OF : IDS_TITLE_SETS).c_str(), kProgramName,
                          record.set_no + 1, record.leg_no + 1, record.max_leg);
    else
        title = strprintf(text_of(IDS_TITLE_LEGS).c_str(), kProgramName, record.leg_no + 1);
    if (record.schedule_mode == 1) title += text_of(IDS_SCHEDULE_MODE);
    return title;
}

std::string GameFlow::result_text(const GameRecord& record) {
    const PlayerBlock& p1 = record.player[0];
    const PlayerBlock& p2 = record.player[1];
    if (p1.sets == p2.sets) return text_of(IDS_DRAW);
    const PlayerBlock& winner = p1.sets > p2.sets ? p1 : p2;
    std::string name =
        winner.com == 1 ? strprintf(text_of(IDS_COM_NAME).c_str(), winner.com_level + 1) : winner.name;
    return strprintf(text_of(IDS_WINNER).c_str(), p1.sets, p2.sets, name.c_str());
}

} // namespace tx9
