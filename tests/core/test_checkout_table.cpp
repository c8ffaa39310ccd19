#include "checkout/checkout_table.h"
#include "checkout/checkout_tree.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <tuple>
#include <set>
#include <string>
#include <vector>

namespace tx9 {
namespace {

std::string describe(const Route& r) {
    return std::to_string(r.score) + "[" + r.dart[0] + "|" + r.dart[1] + "|" + r.dart[2] + "] ";
}

std::string describe(const CheckoutTable& table) {
    std::string out;
    for (const Route& r : table.routes())
        out += describe(r);
    return out;
}

// The outline of the route tree, two spaces a level, down to `depth` levels.
std::string outline(const CheckoutTable& table, int score, int depth = 99) {
    std::string out;
    std::function<void(const std::vector<RouteNode>&, int)> walk = [&](const auto& nodes, int level) {
        for (const RouteNode& node : nodes) {
            if (level >= depth) return;
            out += std::string(static_cast<size_t>(level) * 2, ' ') +
                   route_item_text(table.routes()[node.route]) + "\n";
            walk(node.children, level + 1);
        }
    };
    walk(checkout_tree(table, score), 0);
    return out;
}

// Every built-in route finishes its score on a double, in order of score.
TEST(BuiltInRoutes, EveryRouteFinishesItsScore) {
    bool ok = false;
    CheckoutTable table;
    table.parse(test::read_test_file(TX9_ROUTES_FILE, &ok));
    ASSERT_TRUE(ok) << TX9_ROUTES_FILE;
    std::set<int> scores;
    int by_darts[4] = {}, previous = 0;
    for (const Route& r : table.routes()) {
        EXPECT_GE(r.score, previous) << describe(r);
        previous = r.score;
        scores.insert(r.score);
        int darts = 0, sum = 0;
        for (const std::string& d : r.dart)
            darts += d.empty() ? 0 : 1, sum += dart_value(d);
        ++by_darts[darts];
        EXPECT_EQ(sum, r.score) << describe(r);
        EXPECT_EQ(r.dart[darts - 1][0], 'D') << describe(r);
    }
    EXPECT_EQ(std::vector<int>(by_darts, by_darts + 4), std::vector<int>({0, 21, 153, 180}));
    // Every score from 2 to 170 but the seven that no three darts finish.
    EXPECT_EQ(scores.size(), 162u);
    EXPECT_EQ(*scores.begin(), 2);
    for (int score : {159, 162, 163, 165, 166, 168, 169})
        EXPECT_TRUE(table.routes_for(score).empty()) << score;
    // The tree under each first dart, in table order: routes that repeat a first-dart value are left out
    // of a level.
    const std::tuple<int, int, const char*> trees[] = {
        {108, 2,
         "T20 - S16 - D16\n  S8  - D20\nS20 - T20 - D14\n  S20 - S18 - D25\nT19 - S19 - D16\n  S11 - D20\n"
         "S19 - T19 - D16\n  S19 - S20 - D25\nT18 - S18 - D18\n  S14 - D20\n  S4  - D25\n"
         "S18 - T18 - D18\n  S20 - S20 - D25\n  S18 - T12 - D18\n"},
        {170, 3, "T20 - T20 - D25\n  S20 - T18 - D18\n    S20 - S20 - D25\n    S18 - T12 - D18\n"},
        {1000, 99, ""},
    };
    for (auto [score, depth, want] : trees)
        EXPECT_EQ(outline(table, score, depth), want) << score;
}

TEST(CheckoutTree, ExclusionsGoByDartValueAndItemTexts) {
    // The empty first dart scores 0 and is left out at the top; "2" scores
    // what S2 scores and comes after it; under S2 the route starting with the
    // value of its own second dart D4 is left out.
    CheckoutTable table;
    table.parse("10,,D5\n10,S2,D4\n10,2,D4\n8,D4\n8,S4,D2\n");
    EXPECT_EQ("S2  - D4 \n  S4  - D2 \n", outline(table, 10));

    const std::pair<Route, const char*> items[] = {
        {{100, {"T20", "D20", ""}}, "T20 - D20"},
        {{50, {"", "D25", ""}}, "D25"},
        {{9, {"T3long", "", ""}}, "T3long"},
    };
    for (const auto& [route, text] : items)
        EXPECT_EQ(text, route_item_text(route)) << text;
}

TEST(RouteParser, ReadsLinesAsDocumented) {
    const std::tuple<const char*, std::string, const char*> rows[] = {
        // what, text, routes read
        {"only blanks and line ends", " \t\r\n\r\n\n\r  ", ""},
        {"last line without line end", "100,T20,D20\r\n170,T20,T20,D25", "100[T20|D20|] 170[T20|T20|D25] "},
        {"LF, CR and CR LF line ends", "2,D1\n4,D2\r6,D3\r\n8,D4", "2[D1||] 4[D2||] 6[D3||] 8[D4||] "},
        {"leading blanks and blank lines", "\r\n\r\n  \t 40,D20\r\n\r\n", "40[D20||] "},
        {"text after a blank in a field", "50,\t S25 outer bull,S17 x y,D4\t", "50[S25|S17|D4] "},
        {"empty field keeps position", "50,,D25", "50[|D25|] "},
        {"blank field at line end", "40, \r\n", "40[||] "},
        {"fourth and fifth fields ignored", "60,S20,S20,D10,T20,D5\r\n", "60[S20|S20|D10] "},
        {"hash before the score", "#40,D20", "0[D20||] "},
        {"no commas", "100", "100[||] "},
        {"text between score and first comma", "40 is double top,D20", "40[D20||] "},
        {"dart cut to 10 characters", "60,ABCDEFGHIJKLMNOP,D10", "60[ABCDEFGHIJ|D10|] "},
        {"exactly 10 characters kept", "60,0123456789,D10", "60[0123456789|D10|] "},
        {"NUL ends the text", std::string("40,D20\r\n50,D25\0\r\n60,S20,D20\r\n", 27),
         "40[D20||] 50[D25||] "},
        {"NUL inside a dart", std::string("40,D2\0", 6) + "0,X", "40[D2||] "},
        // Scores too large for an int saturate and never wrap; the darts and the next line are read.
        {"300 nines", std::string(300, '9') + ",T20\n40,D20", "2147483647[T20||] 40[D20||] "},
        {"2^32 + 40 would wrap to 40", "4294967336,T20\n40,D20", "2147483647[T20||] 40[D20||] "},
        {"largest ordinary", "2147483646,T20", "2147483646[T20||] "},
        {"300 zeros then 40", std::string(300, '0') + "40,D20", "40[D20||] "},
    };
    for (const auto& [what, text, want] : rows) {
        CheckoutTable table;
        table.parse(text);
        EXPECT_EQ(describe(table), want) << what;
    }
}

TEST(DartValue, ReadsRingAndNumber) {
    const std::pair<const char*, int> rows[] = {
        // clang-format off
        {"T20", 60}, {"D25", 50}, {"S25", 25}, {"25", 25}, {"d20", 20}, {"t20", 20}, {"", 0}, {"X", 0}, {"T", 0},
        {"D", 0}, {"S1", 1}, {"D-5", 10}, {"S1a2", 1}, {"Dx16", 32}, {"T007", 21}, {"D0", 0},
        {"T9999999999", INT_MAX}, {"D1073741824", INT_MAX}, {"D1073741823", 2147483646},
        // clang-format on
    };
    for (auto [dart, want] : rows)
        EXPECT_EQ(dart_value(dart), want) << '"' << dart << '"';
}

TEST(RouteFile, LoadsReplacesAndKeepsTheTableOnFailure) {
    test::ScopedTempDir dir;
    std::string path = dir.file("arrange.txt"), error;
    CheckoutTable table;
    table.parse("32,D16\n");
    EXPECT_FALSE(table.load_from_file(dir.file("missing.txt"), &error));
    EXPECT_FALSE(error.empty()) << "a failed read explains itself";
    EXPECT_EQ(describe(table), "32[D16||] ") << "a failed load leaves the table as it was";

    // An empty arrange.txt is a successful load of no routes, not a reason to use the built-in copy.
    ASSERT_TRUE(test::write_test_file(path, ""));
    EXPECT_TRUE(table.load_from_file(path));
    EXPECT_TRUE(table.empty());
}

} // namespace
} // namespace tx9
