// The journal of the live game: everything needed to put an interrupted
// evening back as it was (the game settings in use, the Schedule being
// played, the finished sets of the run, the live set with every leg and the
// selected cell), as versioned plain text.
//
//   tx9 journal 1
//   game <game settings>
//   schedule <n>, then n lines: entry <game settings>
//   history <n>, then n record blocks
//   live, then one record block
//   selection <player> <round>
//   end <FNV-1a 32 of every byte before this line, 8 hex digits>
//
// A record block is a "record" line, two "player" lines and, per leg, a "leg"
// line and two "cells" lines (player 1, player 2; trailing zero cells left
// out). Numbers are decimal, averages as "%.9g" (exact for a float); texts
// are one token "=" + the bytes with controls, blanks, '%' and 0x7F written
// as %HH. Every line ends in CR LF. A file that is cut short, edited, or
// breaks a rule the program relies on is refused as a whole.
#pragma once

#include "engine/game_record.h"
#include "settings/game_settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace tx9 {

inline constexpr int kJournalVersion = 1;

// The selected cell of the score sheet.
struct SheetSelection {
    int player = 0;
    int round = 0;
};

// What a journal is written from: the live state where it lives.
struct JournalSource {
    const GameSettings& game;
    const std::vector<GameSettings>& schedule;
    const std::vector<GameRecord>& history;
    const GameRecord& live;
    SheetSelection selection;
};

// What a journal gives back.
struct JournalState {
    GameSettings game;
    std::vector<GameSettings> schedule;
    std::vector<GameRecord> history;
    GameRecord live;
    SheetSelection selection;
};

enum class JournalRead {
    ok,
    damaged, // cut short, edited, or inconsistent
    newer,   // written by a later version of the program
};

std::string format_journal(const JournalSource& source);

// Formats the journal, reusing the text of history records formatted by an
// earlier call (finished sets do not change; a shorter history starts over).
class JournalWriter {
  public:
    const std::string& format(const JournalSource& source);

  private:
    std::string history_text_;
    size_t history_done_ = 0;
    std::string last_name_; // csv_name of the last set in history_text_
    std::string text_;
};

// Reads a journal; out is changed only when the result is ok. With
// check_sum false the checksum is not verified (for fuzzing the rules behind it).
JournalRead parse_journal(std::string_view text, JournalState& out, bool check_sum = true);

} // namespace tx9
