// Everything the match rules ask of the operator or tell the windows goes
// through this interface. The score sheet implements it; tests fake it.
#pragma once

#include "engine/game_record.h"

#include <string>

namespace tx9 {

// Notifications to the main window, numbered from WM_APP.
enum AppNotify : int {
    kNotifyPlayerChanged = 1, // wParam player, lParam 0 = also rebuild the title
    kNotifyContextMenu = 2,
    kNotifyFirstThrower = 3, // wParam 1 = also refresh both player panels
    kNotifyModifierKey = 4,
    kNotifySetOver = 5, // answer 1 = a next set was started
    kNotifyClearHistory = 6,
    kNotifyActivePlayer = 7, // wParam player
};

class MatchHost {
public:
    virtual ~MatchHost() = default;

    // Finish dialog: 1, 2 or 3, or 0 when cancelled.
    virtual int ask_finishing_dart(int finish) = 0;
    // Middle-for-Diddle dialog: true after it stored the winner in the current leg.
    virtual bool ask_leg_winner(GameRecord& record) = 0;
    // Yes/No question with the question icon and the program title.
    virtual bool ask_yes_no(const std::string& text) = 0;
    // The finish message: OK and Cancel, or OK alone; true for OK.
    virtual bool show_finish_message(const std::string& text, const std::string& title, bool ok_only) = 0;
    // Information box titled with the program title.
    virtual void show_information(const std::string& text) = 0;
    // Stop-icon box titled with the program title (failures).
    virtual void show_error(const std::string& text) = 0;
    // The plain system beep of a refused command.
    virtual void beep() = 0;

    // Place the entry field over the selected cell (hidden on a finished leg).
    virtual void reposition_entry(bool scroll_into_view, bool load_cell) = 0;
    // Render again and repaint from the given round down; a negative round repaints all.
    virtual void repaint_from_round(int round) = 0;
    virtual void update_scroll_bar() = 0;
    // The entry field's text, and replacing it.
    virtual std::string entry_text() = 0;
    virtual void set_entry_text(const std::string& text) = 0;

    // Send WM_APP + message to the main window; returns its answer.
    virtual long notify(int message, int wparam, int lparam) = 0;
    // Start the one-shot COM timer (disabling the main window first when asked).
    virtual void start_com_timer(bool disable_main_window) = 0;
    // Write the set's CSV file; false after the failure was shown.
    virtual bool auto_save(const GameRecord& record) = 0;
};

} // namespace tx9
