// A score sheet and a main window without windows: a MatchHost that records
// every call and answers the dialogs from a script, and a GameFlowHost that
// routes "set over" and "start leg" the way the real windows do.
#pragma once

#include "engine/game_flow.h"
#include "engine/game_record.h"
#include "engine/match.h"
#include "engine/match_host.h"
#include "settings/settings.h"
#include "support/fake_system.h"

#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tx9::test {

class FakeMatchHost : public MatchHost {
  public:
    // Scripted answers; a dialog asked with nothing scripted fails the test and cancels.
    std::deque<int> darts;       // Finish dialog: 1..3, 0 = Cancel
    std::deque<int> leg_winners; // Middle for Diddle: 0 or 1, -1 = Cancel
    std::deque<bool> yes_no;     // confirmations
    std::deque<bool> finish_oks; // finish message: true = OK
    bool auto_save_ok = true;

    // Everything that was called, one line each, e.g. "notify 1 0 0", "beep",
    // "reposition 1 1", "repaint -1", "scroll", "info A game is a draw.".
    std::vector<std::string> log;
    std::vector<int> saved_leg_counts; // leg_no at every auto save
    std::string entry;                 // the entry field's text

    Match* match = nullptr;   // for the entry's loading and the hidden entry of a finished leg
    GameFlow* flow = nullptr; // WM_APP+5 goes here when set

    int ask_finishing_dart(int finish) override;
    bool ask_leg_winner(GameRecord& record) override;
    bool ask_yes_no(const std::string& text) override;
    bool show_finish_message(const std::string& text, const std::string& title, bool ok_only) override;
    void show_information(const std::string& text) override;
    void show_error(const std::string& text) override;
    void beep() override;
    void reposition_entry(bool scroll_into_view, bool load_cell) override;
    void repaint_from_round(int round) override;
    void update_scroll_bar() override;
    std::string entry_text() override { return entry; }
    void set_entry_text(const std::string& text) override;
    long notify(int message, int wparam, int lparam) override;
    void start_com_timer(bool disable_main_window) override;
    bool auto_save(const GameRecord& record) override;

    // Log lines that start with prefix, in order.
    std::vector<std::string> calls(const std::string& prefix) const;
    int count(const std::string& line) const;
    void clear() { log.clear(); }
};

class FakeFlowHost : public GameFlowHost {
  public:
    Match* match = nullptr; // WM_APP+100 goes to its start_leg
    std::vector<std::string> log;

    void start_leg() override;
    void refresh_player_panels() override { log.push_back("panels"); }
    void set_leg_limit(bool leg_limit) override {
        log.push_back(std::string("leg_limit ") + (leg_limit ? "1" : "0"));
    }
    void show_information(const std::string& text) override { log.push_back("info " + text); }
    void show_error(const std::string& text) override { log.push_back("error " + text); }
};

// A live game as the main window and its score sheet hold it.
struct Table {
    explicit Table(const GameSettings& game, int auto_save = 0);

    ScopedFakeSystem fake;
    Settings settings;
    GameRecord record;
    History history;
    FakeMatchHost host;
    FakeFlowHost flow_host;
    GameFlow flow;
    Match match;

    GameRecord& rec() { return record; }
    LegRecord& leg() { return match.shown(); }
    PlayerBlock& player(int p) { return record.player[static_cast<size_t>(p)]; }
    int left(int p) { return record.player[static_cast<size_t>(p)].left; }

    // Types the points and presses Tab.
    void visit(int points);
    // Wins the current leg for player p from any state of an open leg: the
    // others score 0, p finishes with the third dart and the message gets OK.
    void win_leg(int p);
    // Enters the round's two visits (first thrower's, then the other's).
    void round(int first_points, int second_points);
};

GameSettings game_of(int start_score);

} // namespace tx9::test

namespace tx9 {
// Field-by-field equality, for "exactly as before" (visible to the tests only).
bool operator==(const LegRecord& a, const LegRecord& b);
bool operator==(const PlayerBlock& a, const PlayerBlock& b);
bool operator==(const GameRecord& a, const GameRecord& b);
inline bool operator!=(const GameRecord& a, const GameRecord& b) {
    return !(a == b);
}
std::ostream& operator<<(std::ostream& out, const LegRecord& leg);
std::ostream& operator<<(std::ostream& out, const GameRecord& record);
} // namespace tx9
