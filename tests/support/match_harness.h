// A score sheet and a main window without windows: a MatchHost that logs every call and answers the
// dialogs from a script, and a GameFlowHost that routes "set over" and "start leg" as the windows do.
#pragma once

#include "engine/game_flow.h"
#include "engine/game_record.h"
#include "engine/match.h"
#include "engine/match_host.h"
#include "records/csv_export.h"
#include "settings/settings.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace tx9::test {

using Log = std::vector<std::string>;

class FakeMatchHost : public MatchHost {
  public:
    // Scripted answers; a dialog asked with nothing scripted fails the test and cancels.
    std::deque<int> darts;       // Finish dialog: 1..3, 0 = Cancel
    std::deque<int> leg_winners; // Middle for Diddle: 0 or 1, -1 = Cancel
    std::deque<bool> yes_no;
    std::deque<bool> finish_oks; // finish message: true = OK
    bool auto_save_ok = true;

    // One line per call: "notify 1 0 0", "beep", "reposition 1 1", "repaint -1", "scroll"...
    std::vector<std::string> log;
    std::vector<std::string> saved_csv; // the file every auto save writes
    std::string entry;                  // the entry field's text
    Match* match = nullptr;             // loads the entry as the sheet does
    GameFlow* flow = nullptr;           // receives WM_APP+5

    int ask_finishing_dart(int finish) override {
        return answer(darts, 0, "ask_dart " + std::to_string(finish));
    }
    bool ask_leg_winner(GameRecord& record) override {
        const int w = answer(leg_winners, -1, std::string("ask_winner"));
        if (w >= 0) record.current_leg().winner = w;
        return w >= 0;
    }
    bool ask_yes_no(const std::string& text) override { return answer(yes_no, false, "ask " + text); }
    bool show_finish_message(const std::string& text, const std::string& title, bool ok_only) override {
        const std::string line = "finish_message " + text + " | " + title + " | " + (ok_only ? "1" : "0");
        if (ok_only) log.push_back(line);
        return ok_only || answer(finish_oks, true, line);
    }
    void show_information(const std::string& text) override { log.push_back("info " + text); }
    void show_error(const std::string& text) override { log.push_back("error " + text); }
    void beep() override { log.push_back("beep"); }
    void reposition_entry(bool scroll_into_view, bool load_cell) override {
        log.push_back(std::string("reposition ") + (scroll_into_view ? "1" : "0") +
                      (load_cell ? " 1" : " 0"));
        // As the sheet does: hidden and emptied on a finished leg, else loaded when asked.
        if (match && match->shown().finished == 1)
            entry.clear();
        else if (match && load_cell)
            entry = match->loaded_entry_text();
    }
    void repaint_from_round(int round) override { log.push_back("repaint " + std::to_string(round)); }
    void update_scroll_bar() override { log.push_back("scroll"); }
    std::string entry_text() override { return entry; }
    void set_entry_text(const std::string& text) override { entry = text; }
    long notify(int message, int wparam, int lparam) override {
        log.push_back("notify " + std::to_string(message) + ' ' + std::to_string(wparam) + ' ' +
                      std::to_string(lparam));
        return message == kNotifySetOver && flow && flow->set_over() ? 1 : 0;
    }
    void start_com_timer(bool disable_main_window) override {
        log.push_back(disable_main_window ? "com_timer 1" : "com_timer 0");
    }
    bool auto_save(const GameRecord& record) override {
        saved_csv.push_back(format_csv(record));
        return auto_save_ok;
    }

    // Log lines that start with prefix, in order; how often a line was logged.
    std::vector<std::string> calls(const std::string& prefix) const;
    int count(const std::string& line) const { return int(std::count(log.begin(), log.end(), line)); }
    void clear() { log.clear(); }

  private:
    // Logs the call and takes the next scripted answer (none: the test fails, `cancel`).
    template <typename T> T answer(std::deque<T>& answers, T cancel, const std::string& line) {
        log.push_back(line);
        if (answers.empty()) {
            ADD_FAILURE() << line << ": no answer scripted";
            return cancel;
        }
        T next = answers.front();
        answers.pop_front();
        return next;
    }
};

class FakeFlowHost : public GameFlowHost {
  public:
    Match* match = nullptr; // WM_APP+100 goes to its start_leg
    std::vector<std::string> log;

    void start_leg() override {
        log.push_back("start_leg");
        if (match) match->start_leg();
    }
    void refresh_player_panels() override { log.push_back("panels"); }
    void set_leg_limit(bool on) override { log.push_back(on ? "leg_limit 1" : "leg_limit 0"); }
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

    LegRecord& leg() { return match.shown(); }
    PlayerBlock& player(int p) { return record.player[static_cast<size_t>(p)]; }

    void visit(int points); // types the points and presses Tab
    // Steps separated by blanks: "60" types 60 and presses Tab, "=60" only types it, "wP" wins the leg
    // for player P (0 or 1), "fD" / "cD" enter the selected cell's remaining score, finish with dart D
    // and answer the message OK / Cancel, "aP" / "y1" / "y0" the answer the next Middle-for-Diddle
    // dialog (P, or -1 = Cancel) / question (Yes / No) gets, "kN" a COM visit of N (com_result), "tN"
    // the template score N; key names press the key: enter esc up down tab stab (Shift+Tab) home end
    // left right, and command names run the menu command: finish1..3 lscore mfd exchange clear.
    void play(const std::string& script);
    // Esc, then the round's two visits (first thrower's, then the other's).
    void round(int first_points, int second_points);
    // Wins the current leg for p from any open leg: the other scores 0, p finishes with the third dart.
    void win_leg(int p);
    std::string state();    // "round 1/2 first 0 turn 0 sel 0,1 left 441,456 darts 3,3"
    std::string progress(); // "set 1 leg 0 sets 0,1 archived 0 history 1"
};

GameSettings game_of(int start_score);
GameSettings rules(int start, int p2_start, int rounds = 0, int p2_com = 0, int max_leg = 0);

// Every field of the record, legs and cells included, for "exactly as before".
std::string dump(const GameRecord& record);

} // namespace tx9::test

namespace tx9 {
inline bool operator==(const GameRecord& a, const GameRecord& b) {
    return test::dump(a) == test::dump(b);
}
inline std::ostream& operator<<(std::ostream& out, const GameRecord& record) {
    return out << test::dump(record);
}
} // namespace tx9
