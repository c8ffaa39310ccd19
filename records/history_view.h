// What the Game History and Score List dialogs show, worked out apart from
// the windows: the rows of the sets played, the texts and marks of each row,
// which buttons work, the pages of the Score List and the dialogs' layouts.
#pragma once

#include "core/system.h"
#include "engine/game_record.h"
#include "settings/settings.h"

#include <array>
#include <string>
#include <vector>

namespace tx9 {

enum class HistoryRowKind { set = 0, leg = 1 };

// One row of the Game History list. The record is an archived copy or the
// live record; the dialog borrows it.
struct HistoryEntry {
    HistoryRowKind kind = HistoryRowKind::set;
    GameRecord* record = nullptr;
    int leg_number = 0; // one-based for a leg row; 0 for a set row
};

// Archived sets oldest first, each followed by its finished legs; then the
// live set the same way while it has a finished leg and is not archived yet.
std::vector<HistoryEntry> history_entries(History& history);

// The text the list keeps for a row: the start score, or "%d Legs".
std::string history_row_text(const HistoryEntry& entry);

// A set row: start score, "%d Sets" under a leg limit, both players' names,
// the one with more legs underlined.
struct SetRowView {
    std::string start_score;
    std::string sets;
    std::array<std::string, 2> names;
    std::array<bool, 2> underlined{};
};
SetRowView set_row_view(const GameRecord& record);

// A leg row: "%d Legs" and one box per player; the winner's box holds the
// darts he needed and is framed in the text colour, the other stays empty.
struct LegRowView {
    std::string legs;
    std::array<std::string, 2> darts;
    std::array<bool, 2> won{};
};
LegRowView leg_row_view(const GameRecord& record, int leg_number);

// View and Save As need a selected row; Clear needs an archived set (the live
// set alone cannot be cleared away).
struct HistoryButtons {
    bool view = false, save_as = false, clear = false;
};
HistoryButtons history_buttons(bool has_selection, const History& history);

// The Score List's combo box: "Player Information", then "%d Legs" for each finished leg.
std::vector<std::string> score_list_items(const GameRecord& record);

// What the Score List shows for a combo item: the player panels (item 0) or
// the sheet at a leg, with "%d Darts" under the winner of that leg.
struct ScoreListPage {
    bool panels = true;
    int leg_index = -1;   // shown on the sheet when the panels are not
    int darts_label = -1; // 0 under player 1, 1 under player 2, -1 none
    std::string darts;    // its text; the other label is emptied
};
ScoreListPage score_list_page(const GameRecord& record, int item);

// Pixel rectangles of the controls as the dialogs lay them out.
struct ControlPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ControlPlace& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// Client w x h: the list above, View, Save As and Clear in a row, Close below Clear.
struct HistoryLayout {
    ControlPlace list, view, save_as, clear, close;
};
HistoryLayout history_layout(int width, int height);

// Client w x h: the sheet and the two panels under the combo box, the darts
// labels under them, Close at the bottom right.
struct ScoreListLayout {
    ControlPlace sheet;
    std::array<ControlPlace, 2> panels;
    std::array<ControlPlace, 2> labels;
    ControlPlace close;
};
ScoreListLayout score_list_layout(int width, int height);

// Smallest window size each dialog can be sized to or reopened at.
inline constexpr int kHistoryMinWidth = 340, kHistoryMinHeight = 200;
inline constexpr int kScoreListMinWidth = 400, kScoreListMinHeight = 320;

// A row of the history list, item rectangle left..right, top..bottom:
// the four columns, each player's box (box_width wide) and the line between
// the boxes at the row's middle.
struct HistoryRowGeometry {
    std::array<ScreenRect, 4> columns;
    std::array<ScreenRect, 2> boxes;
    int line_y = 0;
};
HistoryRowGeometry history_row_geometry(const ScreenRect& item, int box_width);

} // namespace tx9
