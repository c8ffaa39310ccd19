// The player panel's lines: which rows the Player page flags and the view
// switch on, the figures combined with the earlier sets, the routes, and the
// column places.
#include "records/player_panel.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tx9 {
namespace {

// One line per row: "kind text" with labels and headings by their English text.
std::string describe(const std::vector<PanelLine>& lines) {
    const SystemServices& sys = system_services();
    std::string out;
    for (const PanelLine& l : lines) {
        if (l.half_gap) out += "~";
        switch (l.kind) {
        case PanelLineKind::name: out += "[" + l.text + "]"; break;
        case PanelLineKind::first: out += l.text_id ? sys.load_string(l.text_id) : "(blank)"; break;
        case PanelLineKind::heading: out += "#" + sys.load_string(l.text_id); break;
        case PanelLineKind::figure: out += sys.load_string(l.text_id) + l.text; break;
        case PanelLineKind::route: out += l.text; break;
        }
        out += l.kind == PanelLineKind::figure && l.columns == PanelColumnSet::averages ? "a|" : "|";
    }
    return out;
}

const PlayerPanelFlags kNone{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(PlayerPanelLines, RowsFollowTheFlagsAndTheView) {
    test::ScopedFakeSystem fake;
    CheckoutTable table;
    ASSERT_TRUE(table.load_from_file(TX9_ROUTES_FILE));

    PlayerBlock b;
    b.name = "Ann";
    b.left = 100;
    b.sets = 2, b.legs = 3, b.tons = 3, b.carried_tons = 4, b.one80s = 1, b.carried_180s = 2;
    b.high_off = 60, b.carried_high_off = 121, b.short_ = 15, b.carried_short = 12;
    b.avg_score = 20.0f, b.carried_avg_score = 25.0f, b.avg_darts = 18.0f;

    const PlayerPanelFlags only_sets{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0},
        routes_only{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, everything{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

    // what, the Player page's flags, the view, the rows
    const std::tuple<const char*, PlayerPanelFlags, PlayerPanelView, const char*> cases[] = {
        {"defaults, second thrower, no sets",
         PlayerPanelFlags{},
         {false, false, false},
         "[Ann]|(blank)|#Totals|Legs:3|Tons:7|HighOff:121|~#Averages|Score:22.50a|Darts:18.00a|"},
        {"everything, first thrower, sets",
         everything,
         {true, true, false},
         "[Ann]|- First -|#Totals|Sets:2|Legs:3|Tons:7|180's:3|HighOff:121|Short:12|~#Averages|"
         "Score:22.50a|Darts:18.00a|~#Check-Out|T20-D20|S20-T20-D10|"},
        {"only Sets in a game without sets: the heading alone", only_sets, {false, false, false}, "#Totals|"},
        {"routes alone: no half line before the heading",
         routes_only,
         {false, false, false},
         "#Check-Out|T20-D20|S20-T20-D10|"},
        {"full view shows every row but the routes",
         routes_only,
         {false, true, true},
         "[Ann]|(blank)|#Totals|Sets:2|Legs:3|Tons:7|180's:3|HighOff:121|Short:12|~#Averages|"
         "Score:22.50a|Darts:18.00a|"},
        {"full view without sets",
         kNone,
         {true, false, true},
         "[Ann]|- First -|#Totals|Legs:3|Tons:7|180's:3|HighOff:121|Short:12|~#Averages|Score:22.50a|"
         "Darts:18.00a|"},
        {"nothing on", kNone, {true, true, false}, ""},
    };
    for (const auto& [what, flags, view, expected] : cases)
        EXPECT_EQ(expected, describe(player_panel_lines(b, flags, view, table))) << what;

    // Routes for the remaining score, in table order; a score without routes has the heading alone.
    const std::pair<int, const char*> routes[] = {{170, "#Check-Out|T20-T20-D25|"}, {169, "#Check-Out|"}};
    for (const auto& [left, expected] : routes) {
        b.left = left;
        EXPECT_EQ(expected, describe(player_panel_lines(b, routes_only, {}, table))) << left;
    }

    // The COM player is named by its level.
    b.com = 1;
    b.com_level = 2;
    EXPECT_EQ("[COM (Lv.3)]|", describe(player_panel_lines(b, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}, table)));
}

TEST(PlayerPanelFigures, ShortLegAndAveragesCombineWithTheCarriedOnes) {
    const int shorts[][3] = {{0, 12, 12}, {15, 12, 12}, {9, 12, 9}, {7, 0, 7}, {0, 0, 0}};
    for (const auto& s : shorts)
        EXPECT_EQ(s[2], combined_short(s[0], s[1])) << s[0] << " and " << s[1];

    const std::tuple<float, float, const char*> averages[] = {{20.0f, 25.0f, "22.50"},
                                                              {0.0f, 25.0f, "25.00"},
                                                              {20.0f, 0.0f, "20.00"},
                                                              {0.0f, 0.0f, "0.00"},
                                                              {16.666f, 0.0f, "16.67"}};
    for (auto [current, carried, shown] : averages)
        EXPECT_EQ(shown, combined_average_text(current, carried)) << current << " and " << carried;

    Route route;
    route.score = 40;
    route.dart[1] = "D20"; // darts left empty are skipped
    EXPECT_EQ("D20", route_text(route));
}

TEST(PlayerPanelColumns, CentredColumnsNeverStartLeftOfTheEdge) {
    const int cases[][8] = {
        // width, character width, label and value widths; label, heading, value left and right
        {200, 8, 60, 24, 54, 42, 114, 146},
        {120, 7, 60, 24, 14, 4, 74, 105},
        {90, 7, 60, 24, 0, 0, 60, 91}, // narrower than label, gap and value
        {93, 7, 60, 24, 1, 0, 61, 92}, // heading column stops at the edge
    };
    for (auto [width, char_width, label, value, x0, xh, left, right] : cases) {
        const PanelColumnPlace p = panel_columns(width, char_width, label, value);
        EXPECT_EQ((std::vector<int>{x0, xh, left, right}),
                  (std::vector<int>{p.label_x, p.heading_x, p.value_left, p.value_right}))
            << "width " << width;
    }
    EXPECT_EQ(20, panel_routes_x(140, 100));
    EXPECT_EQ(0, panel_routes_x(80, 100));
    EXPECT_EQ(12, panel_font_points(0, 129)) << "automatic: a tenth of the width";
    EXPECT_EQ(0, panel_font_points(0, 9));
}

} // namespace
} // namespace tx9
