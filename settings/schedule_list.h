// The rules of the Schedule dialog's list of set definitions, and of moving
// items in the report lists that share its operations.
#pragma once

#include "settings/settings.h"

#include <string>
#include <vector>

namespace tx9 {

// Column texts of an entry: start score, round (when limited), legs ("Best of
// %d" with best of), and each player's name or "COM (Lv.%d)".
std::vector<std::string> schedule_columns(const GameSettings& entry);

// A new entry: the game settings, names included, with the leg limit on,
// edited as a Schedule entry.
GameSettings new_schedule_entry(const GameSettings& game);

// Another entry fits while the list holds fewer than kMaxScheduleEntries.
bool schedule_can_add(int count);

// Where an item of a list of `count` moves by `step` (-1 up, +1 down); -1 when
// there is no item at `index` or no place to go.
int list_move_target(int index, int step, int count);

// "Sa&ve Option": section `schedule` written from the list; the Schedule in
// memory stays as it is.
bool save_schedule_list(const Settings& s, const std::vector<GameSettings>& list);

} // namespace tx9
