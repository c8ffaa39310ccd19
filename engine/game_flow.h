// The match as the main window moves it on: the next set, the end of a
// Schedule, starting a new game or schedule, and the title bar text.
#pragma once

#include "engine/game_record.h"
#include "settings/settings.h"

#include <string>

namespace tx9 {

// What the main window does for the game flow; the Win32 window implements
// it with messages to its children, tests fake it.
class GameFlowHost {
  public:
    virtual ~GameFlowHost() = default;
    // WM_APP+100 to the score sheet: show the first leg of the set just set up.
    virtual void start_leg() = 0;
    // WM_APP+300 to both player panels.
    virtual void refresh_player_panels() = 0;
    // WM_APP+304 to both player panels: the game is played in limited sets of legs.
    virtual void set_leg_limit(bool leg_limit) = 0;
    // Information box titled with the program title.
    virtual void show_information(const std::string& text) = 0;
    // Stop-icon box titled with the program title (failures).
    virtual void show_error(const std::string& text) = 0;
};

class GameFlow {
  public:
    // live and history belong to the main window; settings is read at each step,
    // so changes from the Game Option and Schedule dialogs are seen.
    GameFlow(GameRecord& live, History& history, const Settings& settings, GameFlowHost& host);
    GameFlow(const GameFlow&) = delete;
    GameFlow& operator=(const GameFlow&) = delete;

    // Main window creation: the live record set up fresh from the game settings
    // (no notifications; the window sends them once its children exist).
    bool start_first_set();
    // WM_APP+5: archive the set and start the next one (1), or announce the
    // result after the last Schedule entry (0); 0 also after a failure.
    bool set_over();
    // The Game Option dialog was confirmed: archive, then a fresh game from the game settings.
    bool start_new_game();
    // The Schedule dialog starts: archive, then a fresh game from Schedule entry 0.
    bool start_new_schedule();
    // Window text for the live record.
    std::string title() const { return title_text(live_); }

    // "tx9 - %d Legs", or the sets form with a leg limit, plus the schedule mark.
    static std::string title_text(const GameRecord& record);
    // The message after the last Schedule entry: a draw, or the winner by sets.
    static std::string result_text(const GameRecord& record);

  private:
    bool archive();
    bool init_set(const GameSettings& game, bool fresh);
    bool start_game(const GameSettings& game, int schedule_mode);
    bool next_set(const GameSettings& game);

    GameRecord& live_;
    History& history_;
    const Settings& settings_;
    GameFlowHost& host_;
};

} // namespace tx9
