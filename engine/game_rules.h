// Operations on the Game record and the History list: setting up a set,
// remaining scores, archiving finished sets.
#pragma once

#include "engine/game_record.h"
#include "settings/game_settings.h"

#include <string>

namespace tx9 {

// Player's start score minus the player's cells of rounds 0 to round in the
// given leg; round -1 gives the start score. Cells past the array are taken as 0.
int remaining(const GameRecord& record, int leg, int round, int player);

// Fills the record from a game settings block for a set and starts leg 0.
// fresh = a new game (player data cleared); otherwise the next set of the same
// game (sets and statistics carried over). The record's schedule_mode and
// set_no are left as the caller set them. On an allocation failure the record
// is left as it was and error (when given) receives the text to show.
bool init_for_set(GameRecord& record, const GameSettings& game, bool fresh, std::string* error);

// Rounds allocated at a time for a leg without a round limit.
inline constexpr int kRoundsPerBlock = 10;

// Capacity and rows of a new leg from the round limit: the limit's rounds,
// or one row within a first block when there is no limit.
void size_new_leg(LegRecord& leg, const GameRecord& record);

// A zero-filled leg of a set with the given rules: capacity and rows from the
// round limit, both score arrays capacity + 1 cells.
LegRecord new_leg(const GameRecord& record);

// Appends a deep copy of the record (carried statistics zeroed) unless it is
// archived already or no leg of the set is finished. The history is unchanged
// on failure, with the text to show in error.
bool append_to_history(History& history, GameRecord& record, std::string* error);

// Releases the legs; leg_no becomes 0.
void free_legs(GameRecord& record);
// Releases every archived record; the count becomes 0.
void free_history(History& history);

// What the system says when memory runs out (shown with the stop icon).
std::string out_of_memory_text();

} // namespace tx9
