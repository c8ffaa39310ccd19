// The COM visit window (dialog 114): plays one visit of the COM player dart by
// dart on a timer and shows each dart as it lands.
#pragma once

#include "engine/game_record.h"

#include <windows.h>

namespace tx9 {

inline constexpr UINT kComDartInterval = 1000; // milliseconds between darts

// Runs the modal window for the player over the owner, stores the outcome in
// the player's com_result and returns it: points scored, -1..-3 for a finish
// with that dart, or kComStopped when the operator stopped the game.
int run_com_visit(HWND owner, GameRecord& record, int player, UINT dart_interval = kComDartInterval);

} // namespace tx9
