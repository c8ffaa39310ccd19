// Each player's statistics: the current set's values recomputed from the
// legs, and the values carried from the earlier sets of the game.
#pragma once

#include "engine/game_record.h"
#include "settings/game_settings.h"

namespace tx9 {

// Recomputes leg n's tons and 180s of player p and p's set values tons,
// one80s, avg_score and avg_darts from legs 0 to n.
void update_statistics(GameRecord& record, int n, int p);

// Folds both players' set values into their carried values. Call before the
// record takes the entering set's settings: a schedule entry with another
// start score than the record's restarts the carried short leg and darts.
void carry_over(GameRecord& record, const GameSettings& entering);

// Mean of the two when both are above 0, else current when above 0, else carried.
float combine_average(float carried, float current);

} // namespace tx9
