#include "checkout/checkout_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace tx9 {
namespace {

// The tree as an indented outline, two spaces a level, down to `depth` levels.
void outline(const CheckoutTable& table, const std::vector<RouteNode>& nodes, int level, int depth,
             std::string& out) {
    if (level >= depth) return;
    for (const RouteNode& node : nodes) {
        out += std::string(static_cast<size_t>(level) * 2, ' ') +
               route_item_text(table.routes()[node.route]) + "\n";
        outline(table, node.children, level + 1, depth, out);
    }
}

std::string outline(const CheckoutTable& table, int score, int depth = 99) {
    std::string out;
    outline(table, checkout_tree(table, score), 0, depth, out);
    return out;
}

TEST(CheckoutTree, BuiltInRoutes) {
    CheckoutTable table;
    ASSERT_TRUE(table.load_from_file(TX9_ROUTES_FILE));
    struct Case {
        int score;
        int depth;
        const char* outline;
    };
    const Case cases[] = {
        {100, 99, "T20 - D20\nS20 - T20 - D10\n  S20 - S20 - D20\n"},
        {3, 99, "S1  - D1 \n"},
        {108, 2,
         "T20 - S16 - D16\n  S8  - D20\nS20 - T20 - D14\n  S20 - S18 - D25\nT19 - S19 - D16\n  S11 - D20\n"
         "S19 - T19 - D16\n  S19 - S20 - D25\nT18 - S18 - D18\n  S14 - D20\n  S4  - D25\n"
         "S18 - T18 - D18\n  S20 - S20 - D25\n  S18 - T12 - D18\n"},
        {170, 3, "T20 - T20 - D25\n  S20 - T18 - D18\n    S20 - S20 - D25\n    S18 - T12 - D18\n"},
        {159, 99, ""},
        {162, 99, ""},
        {1000, 99, ""},
        {0, 99, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.outline, outline(table, c.score, c.depth)) << c.score;
}

TEST(CheckoutTree, ExclusionsGoByDartValue) {
    // The empty first dart scores 0 and is left out at the top; "2" scores
    // what S2 scores and comes after it; under S2 the route starting with the
    // value of its own second dart D4 is left out.
    CheckoutTable table;
    table.parse("10,,D5\n10,S2,D4\n10,2,D4\n8,D4\n8,S4,D2\n");
    EXPECT_EQ("S2  - D4 \n  S4  - D2 \n", outline(table, 10));
}

TEST(CheckoutTree, ItemText) {
    struct Case {
        Route route;
        const char* text;
    };
    const Case cases[] = {
        {{100, {"T20", "D20", ""}}, "T20 - D20"}, {{50, {"S25", "S17", "D4"}}, "S25 - S17 - D4 "},
        {{50, {"", "D25", ""}}, "D25"},           {{2, {"D1", "", ""}}, "D1 "},
        {{9, {"T3long", "", ""}}, "T3long"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, route_item_text(c.route)) << c.text;
}

} // namespace
} // namespace tx9
