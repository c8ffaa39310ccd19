// What a player panel shows, line by line, and where its columns stand: the
// name, "- First -", the Totals and Averages combined with the figures carried
// from the earlier sets, and the Check-Out routes for the remaining score.
// The window only measures and draws what this gives.
#pragma once

#include "checkout/checkout_table.h"
#include "engine/game_record.h"
#include "settings/settings.h"

#include <string>
#include <vector>

namespace tx9 {

// Texts whose widths size the value columns and the routes.
inline constexpr char kPanelTotalsWidest[] = "888";
inline constexpr char kPanelAveragesWidest[] = "88.88";
inline constexpr char kPanelRouteWidest[] = "S88-S88-S88";

// What the owner told the panel besides its block.
struct PlayerPanelView {
    bool is_first = false;  // this player throws first in the current leg
    bool show_sets = false; // the game counts sets
    bool full_view = false; // every statistics row, never the routes
};

enum class PanelLineKind {
    name,    // name font, name colours, centred
    first,   // centred; text_id 0 leaves the line empty
    heading, // title colour at the heading column
    figure,  // label at the column, value right-aligned in the value box
    route,   // at the routes column
};

enum class PanelColumnSet { totals, averages };

struct PanelLine {
    PanelLineKind kind = PanelLineKind::figure;
    int text_id = 0;       // label, heading or "- First -"; 0 for the name and routes
    std::string text;      // name, figure value or route
    bool half_gap = false; // half a line of space before it
    PanelColumnSet columns = PanelColumnSet::totals;
};

// The lines of the panel for a block, the Player page flags and the view, in
// drawing order.
std::vector<PanelLine> player_panel_lines(const PlayerBlock& block, const PlayerPanelFlags& flags,
                                          const PlayerPanelView& view, const CheckoutTable& table);

// The name row's text: "COM (Lv.%d)" with the level for the COM player, else the name.
std::string panel_player_name(const PlayerBlock& block);

// Shortest leg of the set and of the earlier sets: the one that is not 0, else the smaller.
int combined_short(int current, int carried);
// An average of the set with the carried one, as the panel prints it: "%.2f".
std::string combined_average_text(float current, float carried);
// A route's darts joined by "-".
std::string route_text(const Route& route);

// Font size in points: the owner's size, or a tenth of the width when 0 (automatic).
inline int panel_font_points(int font_size, int width) {
    return font_size != 0 ? font_size : width / 10;
}

// Horizontal places of one column set, from the widths measured in the info font.
struct PanelColumnPlace {
    int label_x = 0;    // x0: labels start here
    int heading_x = 0;  // xh: headings start here (taken from the totals set)
    int value_left = 0; // the value box, values right-aligned in it
    int value_right = 0;
};
PanelColumnPlace panel_columns(int width, int char_width, int label_width, int value_width);

// Where the routes start for the width of kPanelRouteWidest.
inline int panel_routes_x(int width, int route_width) {
    return width - route_width > 0 ? (width - route_width) / 2 : 0;
}

} // namespace tx9
