// The match as one score sheet sees it: the Game record it shows, the
// selected cell, and the rules and sheet commands that change them. Every
// dialog, message, repaint and notification goes through the MatchHost, so the
// Win32 sheet stays a thin shell and tests can play whole games without windows.
#pragma once

#include "engine/game_record.h"
#include "engine/match_host.h"
#include "settings/settings.h"

#include <string>

namespace tx9 {

// Command ids the sheet handles (low word of WM_COMMAND).
enum SheetCommand : int {
    kCmdEnter = 40001,
    kCmdEscape = 40002,
    kCmdUp = 40006,
    kCmdDown = 40007,
    kCmdTab = 40008,
    kCmdShiftTab = 40009,
    kCmdPageUp = 40011,
    kCmdPageDown = 40012,
    kCmdFinish1 = 40018,
    kCmdFinish2 = 40019,
    kCmdFinish3 = 40020,
    kCmdMiddleForDiddle = 40021,
    kCmdHome = 40022,
    kCmdEnd = 40023,
    kCmdLeftScore = 40026,
    kCmdExchange = 40027,
    kCmdClear = 40033,
    kCmdCheckOut = 40034,
    kCmdCellLeft = 32873,
    kCmdCellRight = 32874,
};

// Pixel layout of the sheet that a mouse hit test needs.
struct SheetGeometry {
    int client_width = 0;
    int client_height = 0;
    int header_height = 0;
    int row_height = 0;
    int top_row = 0; // sheet row shown first (0 = the start row)
};

struct CellHit {
    bool hit = false;
    int player = 0;
    int round = 0; // -1 = the start row (the window shows round 0 then)
};

// Which cell a click at client pixel (x, y) lands on in the shown leg:
// player 1's columns 0..7u, player 2's past 10u (u = width / 17), rows below
// the header; rounds past cur_round are lowered to it; misses the round
// column, the header and rows past the leg's rows.
CellHit hit_test_cell(const SheetGeometry& geometry, const LegRecord& leg, int x, int y);

// Full sheet rows that fit below the header.
int visible_rows(const SheetGeometry& geometry);

// top_row after scrolling the selected round into view (round -1 = the top).
int scroll_into_view(int sel_round, int top_row, int visible, int max_top_row);

// Scroll bar of a leg with the given rows: max_top_row 0 and disabled when
// everything fits, else rows - visible + 1; top_row lowered to it.
struct SheetScroll {
    bool enabled = false;
    int max_top_row = 0;
    int top_row = 0;
    int range_max = 1; // scroll range 0..range_max
    int page = 0;
};
SheetScroll sheet_scroll(int rows, int visible, int top_row);

// The entry field's rectangle over the selected "Scored" cell.
struct EntryRect {
    int x = 0, y = 0, width = 0, height = 0;
};
EntryRect entry_rect(const SheetGeometry& geometry, int player, int round);

// Out of memory inside a step that must stay whole (a set, a new leg, the
// copy a cancelled finish goes back to) is shown through the host and the
// step is not taken; small text formatting can still throw std::bad_alloc,
// which the window procedure catches.
class Match {
  public:
    Match(GameRecord& record, MatchHost& host, const Settings& settings);
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // --- state the window reads -------------------------------------------
    // The record shown (the live one, or a history copy in the Score List).
    GameRecord& record() { return *record_; }
    const GameRecord& record() const { return *record_; }
    // The leg on the sheet (normally the record's current leg).
    LegRecord& shown() { return record_->leg(shown_leg_); }
    const LegRecord& shown() const { return record_->leg(shown_leg_); }
    int shown_leg() const { return shown_leg_; }
    int sel_player() const { return sel_player_; }
    // -1 (the top) can be seen only inside MatchHost::reposition_entry after
    // start_leg, Home or Up from round 0: scroll to the top and place the entry
    // on round 0; the Match makes it 0 as soon as the host returns.
    int sel_round() const { return sel_round_; }
    bool disabled() const { return disabled_; }

    // WM_APP+110: show another record (not owned); its last leg is shown.
    void set_record(GameRecord& record);
    // WM_APP+102: show leg index of the record (clamped to the legs there are).
    void show_leg(int index);
    // WM_APP+109: while disabled every command and click is ignored.
    void set_disabled(bool disabled) { disabled_ = disabled; }

    // Text the entry gets when it is placed with loading: empty on the cell to
    // be entered next, or on the second thrower's cell before the first threw;
    // else the cell's value.
    std::string loaded_entry_text() const;
    // Whether the selected player is the COM player (the entry is read-only then).
    bool selected_is_com() const;

    // --- the rules ----------------------------------------------------------
    // A visit for the selected cell; true when accepted (the sheet may move on).
    bool enter_visit(int points);
    // Finishes the shown leg for the selected cell with dart 1..3; undone on Cancel.
    void finish_leg(int dart, bool by_com);
    // Score-menu finish (40018-40020): refused with a beep for COM or a finish too high.
    void finish_by_menu(int dart);
    // Middle for Diddle on the shown leg: 1 when a winner was chosen, else 0.
    int middle_for_diddle();
    // WM_APP+100: restart the record's current leg and show it.
    void start_leg();
    // WM_APP+111: the record was put back as an interrupted run left it: show
    // its current leg with the cell that was selected (brought inside the
    // leg), tell the panels, and let a COM player to throw go on.
    void resume(int player, int round);
    // WM_APP+101: advance after a finished or drawn leg; 1 while the set goes on.
    int leg_over();
    // 40027: swap the visits of the two players after a Yes.
    void exchange_scores();
    // 40033: restart the current leg after a Yes.
    void clear_scores();
    // 40026: the entry holds the remaining score after the visit; commit the points.
    void left_score_input();

    // --- sheet commands -----------------------------------------------------
    // Runs a command of the table above; false for ids the window handles itself
    // (page keys, Check-Out) or does not know. Ignored (true) while disabled.
    bool run_command(int id);
    // Commits the entry text for the selected cell; false when the command stops.
    bool commit_entry();
    void enter_key();     // 40001
    void escape_key();    // 40002
    void up_key();        // 40006
    void down_key();      // 40007
    void tab_key();       // 40008
    void shift_tab_key(); // 40009
    void home_key();      // 40022
    void end_key();       // 40023
    void cell_left();     // 32873
    void cell_right();    // 32874
    // Selects a cell; false when refused (bad player, round outside -1..cur_round
    // or past the rows, or already selected).
    bool select(int player, int round);
    // WM_APP+104: put a template score into the entry; Enter follows when then_enter.
    void enter_template(int points, bool then_enter);
    // 40034: score the Check-Out dialog starts from for the selected cell.
    int checkout_score() const;
    // Mouse button pressed at client pixel (x, y) on an open leg: commit, hit
    // test, select, reposition. Returns false when the leg is finished (the
    // window then only takes the focus).
    bool click(const SheetGeometry& geometry, int x, int y);
    // After the COM visit window for player closed: apply its com_result.
    void apply_com_result(int player);

  private:
    void reposition(bool scroll_into_view, bool load_cell);
    void notify(int message, int wparam, int lparam = 0);
    void notify_both_players();
    void recompute(int player);
    bool either_com() const;
    void after_leg_end();
    void show_live_leg();
    void move_after_commit(int player, int round);

    GameRecord* record_;
    MatchHost& host_;
    const Settings& settings_;
    int sel_player_ = 0;
    int sel_round_ = 0;
    int shown_leg_ = 0;
    bool disabled_ = false;
};

} // namespace tx9
