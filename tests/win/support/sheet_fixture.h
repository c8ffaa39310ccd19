// Setting up the score sheet and the match dialogs for the Win32 tests: the
// system services, the window classes, the route table, records to play on.
#pragma once

#include "engine/game_record.h"
#include "settings/game_settings.h"

#include <string>
#include <vector>

#include <windows.h>

namespace tx9::wintest {

// Real system services, the entry and sheet classes and the built-in routes;
// safe to call from every test.
void prepare_match_windows();

// A two-player game of 501 with the given changes already made by the caller.
GameSettings plain_game(int start_score = 501);
// A record set up fresh for a set of the game (leg 0 open, player 1 first).
GameRecord record_for(const GameSettings& game);

// Texts the dialogs of this thread put into their controls (WM_SETTEXT to a
// child of a "#32770" window), in order, while the object lives.
class DialogTextLog {
  public:
    struct Entry {
        int id;
        std::string text;
    };
    DialogTextLog();
    ~DialogTextLog();
    DialogTextLog(const DialogTextLog&) = delete;
    DialogTextLog& operator=(const DialogTextLog&) = delete;

    const std::vector<Entry>& entries() const;

  private:
    HHOOK hook_ = nullptr;
};

} // namespace tx9::wintest
