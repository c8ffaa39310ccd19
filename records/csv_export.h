// A set written as CSV: one block per finished leg, each visit with the
// points scored and the score to go for both players.
#pragma once

#include "core/system.h"
#include "engine/game_record.h"

#include <string>

namespace tx9 {

// A player as the records show it: "COM (Lv.%d)" for the COM player, else the name.
std::string player_display_name(const PlayerBlock& player);

// Bytes of the CSV text of the record (no terminating NUL).
size_t measure_csv(const GameRecord& record);
// The CSV text; always exactly measure_csv(record) bytes.
std::string format_csv(const GameRecord& record);

// "%d_%s_%s.csv" with the start score, "yyyyMMdd" and the 24-hour "HHmmss".
std::string csv_file_name(int start_score, const LocalTime& when);

// Full path of the auto-save file of the record: in auto_save_path when set,
// else in "data" in the application folder. Creates missing folders.
// Empty (with error set) when the path would be longer than the platform allows.
std::string auto_save_path_for(const GameRecord& record, const std::string& auto_save_path,
                               const std::string& app_folder, std::string* error);

// Removes the temporary files that interrupted auto saves left in the
// auto-save folder (at start-up).
void remove_interrupted_auto_saves(const std::string& auto_save_path, const std::string& app_folder);

// Measure, format and write the record to path; false with error text on failure
// (a path longer than kMaxPath is refused, not cut).
bool write_csv_file(const GameRecord& record, const std::string& path, std::string* error);

// The auto save after a finished leg: auto_save_path_for, then write_csv_file.
// False with error text for the failure box; the match goes on either way.
bool auto_save_csv(const GameRecord& record, const std::string& auto_save_path, const std::string& app_folder,
                   std::string* error);

} // namespace tx9
