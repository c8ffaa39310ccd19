#include "checkout/checkout_table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tx9 {
namespace {

std::string describe(const Route& r) {
    return std::to_string(r.score) + "[" + r.dart[0] + "|" + r.dart[1] + "|" + r.dart[2] + "] ";
}

std::string describe(const CheckoutTable& table, int score = -1) {
    std::string out;
    for (const Route& r : table.routes())
        if (score < 0 || r.score == score) out += describe(r);
    return out;
}

CheckoutTable built_in_table() {
    CheckoutTable table;
    EXPECT_TRUE(table.load_from_file(TX9_ROUTES_FILE)) << TX9_ROUTES_FILE;
    return table;
}

TEST(BuiltInRoutes, FileHasTheDocumentedShape) {
    bool ok = false;
    std::string bytes = test::read_test_file(TX9_ROUTES_FILE, &ok);
    ASSERT_TRUE(ok) << TX9_ROUTES_FILE;
    EXPECT_EQ(bytes.size(), 4886u);
    size_t crlf = 0, lone = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes.compare(i, 2, "\r\n") == 0)
            ++crlf, ++i;
        else if (bytes[i] == '\r' || bytes[i] == '\n')
            ++lone;
    }
    EXPECT_EQ(crlf, 354u);
    EXPECT_EQ(lone, 0u);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

TEST(BuiltInRoutes, CountsScoresAndDarts) {
    CheckoutTable table = built_in_table();
    ASSERT_EQ(table.size(), 354u);
    std::map<int, int> per_score;
    int by_darts[4] = {}, previous = 0;
    for (const Route& r : table.routes()) {
        EXPECT_GE(r.score, previous) << "lines are sorted by score: " << describe(r);
        previous = r.score;
        ++per_score[r.score];
        int darts = 0, sum = 0; // every built-in route really finishes its score on a double
        for (const std::string& d : r.dart)
            darts += d.empty() ? 0 : 1, sum += dart_value(d);
        ++by_darts[darts];
        EXPECT_EQ(sum, r.score) << describe(r);
        EXPECT_EQ(r.dart[darts - 1][0], 'D') << describe(r);
    }
    EXPECT_EQ(per_score.size(), 162u);
    EXPECT_EQ(std::vector<int>(by_darts, by_darts + 4), std::vector<int>({0, 21, 153, 180}));
    std::set<int> missing;
    for (int score = 2; score <= 170; ++score)
        if (!per_score.count(score)) missing.insert(score);
    EXPECT_EQ(missing, (std::set<int>{159, 162, 163, 165, 166, 168, 169}));
    EXPECT_EQ(per_score.begin()->first, 2);
    EXPECT_EQ(per_score.rbegin()->first, 170);
    std::vector<int> with_most;
    for (auto [score, n] : per_score)
        if (n >= 8) with_most.push_back(score);
    EXPECT_EQ(with_most, std::vector<int>{108}) << "only 108 has as many as eight routes";
}

TEST(BuiltInRoutes, TellingRowsStandWhereDocumented) {
    CheckoutTable table = built_in_table();
    const std::pair<int, const char*> rows[] = {
        {2, "2[D1||] "},
        {3, "3[S1|D1|] "},
        {40, "40[D20||] "},
        {50, "50[D25||] 50[S25|S17|D4] "},
        {170, "170[T20|T20|D25] "},
        {108, "108[T20|S16|D16] 108[T20|S8|D20] 108[S20|T20|D14] 108[T19|S19|D16] 108[S19|T19|D16] "
              "108[T18|S18|D18] 108[T18|S4|D25] 108[S18|T18|D18] "},
    };
    for (auto [score, want] : rows)
        EXPECT_EQ(describe(table, score).substr(0, std::string(want).size()), want)
            << "the first routes of " << score;
    std::vector<const Route*> found = table.routes_for(100);
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(describe(*found[0]) + describe(*found[1]), "100[T20|D20|] 100[S20|T20|D10] ");
    ASSERT_GE(table.routes_for(125).size(), 4u);
    EXPECT_EQ(describe(*table.routes_for(125)[3]), "125[D25|S25|D25] ");
    EXPECT_EQ(describe(table.routes().back()), "170[T20|T20|D25] ");
    EXPECT_EQ(table.first_route(108), table.routes_for(108).front());
    ASSERT_NE(table.first_route(32), nullptr);
    EXPECT_EQ(table.first_route(32)->dart[0], "D16");
    for (int score : {0, 1, 159, 162, 163, 165, 166, 168, 169, 171, 501, -2}) {
        EXPECT_TRUE(table.routes_for(score).empty()) << score;
        EXPECT_EQ(table.first_route(score), nullptr) << score;
    }
}

TEST(RouteParser, ReadsLinesAsDocumented) {
    struct Row {
        const char* what;
        std::string text;
        const char* want;
    } rows[] = {
        {"empty text", "", ""},
        {"only blanks and line ends", " \t\r\n\r\n\n\r  ", ""},
        {"last line without line end", "100,T20,D20\r\n170,T20,T20,D25", "100[T20|D20|] 170[T20|T20|D25] "},
        {"LF, CR and CR LF line ends", "2,D1\n4,D2\r6,D3\r\n8,D4", "2[D1||] 4[D2||] 6[D3||] 8[D4||] "},
        {"leading blanks and blank lines", "\r\n\r\n  \t 40,D20\r\n\r\n", "40[D20||] "},
        {"blanks around a dart", "50, S25 ,S17,D4", "50[S25|S17|D4] "},
        {"text after a blank in a field", "50,\t S25 outer bull,S17 x y,D4\t", "50[S25|S17|D4] "},
        {"empty field keeps position", "50,,D25", "50[|D25|] "},
        {"empty last fields", "50,D25,,", "50[D25||] "},
        {"blank field at line end", "40, \r\n", "40[||] "},
        {"fourth and fifth fields ignored", "60,S20,S20,D10,T20,D5\r\n", "60[S20|S20|D10] "},
        {"hash before the score", "#40,D20", "0[D20||] "},
        {"letter before the score", "D20", "0[||] "},
        {"no commas", "100", "100[||] "},
        {"text between score and first comma", "40 is double top,D20", "40[D20||] "},
        {"dart cut to 10 characters", "60,ABCDEFGHIJKLMNOP,D10", "60[ABCDEFGHIJ|D10|] "},
        {"exactly 10 characters kept", "60,0123456789,D10", "60[0123456789|D10|] "},
        {"long dart rest up to comma ignored", "60,ABCDEFGHIJKL MN,D10", "60[ABCDEFGHIJ|D10|] "},
        {"leading zeros", "0040,D20", "40[D20||] "},
        {"duplicates keep line order", "40,D20\n40,S20,D10\n", "40[D20||] 40[S20|D10|] "},
        {"NUL ends the text", std::string("40,D20\r\n50,D25\0\r\n60,S20,D20\r\n", 27),
         "40[D20||] 50[D25||] "},
        {"NUL inside a dart", std::string("40,D2\0", 6) + "0,X", "40[D2||] "},
    };
    for (const Row& row : rows) {
        CheckoutTable table;
        table.parse(row.text);
        EXPECT_EQ(describe(table), row.want) << row.what;
    }
}

TEST(RouteParser, HugeScoresSaturateAndNeverWrap) {
    struct Row {
        const char* what;
        std::string score_text;
        int want;
    } rows[] = {
        {"300 nines", std::string(300, '9'), INT_MAX},
        {"256 digits", "1" + std::string(255, '0'), INT_MAX},
        {"2^32 + 40 would wrap to 40", "4294967336", INT_MAX},
        {"INT_MAX + 1", "2147483648", INT_MAX},
        {"INT_MAX itself", "2147483647", INT_MAX},
        {"largest ordinary", "2147483646", INT_MAX - 1},
        {"300 zeros then 40", std::string(300, '0') + "40", 40},
    };
    for (const Row& row : rows) {
        CheckoutTable table;
        table.parse(row.score_text + ",T20,D25\r\n40,D20\r\n");
        EXPECT_EQ(describe(table), std::to_string(row.want) + "[T20|D25|] 40[D20||] ")
            << row.what << ": the darts and the next line are still read";
    }
}

TEST(DartValue, ReadsRingAndNumber) {
    struct Row {
        const char* dart;
        int want;
    } rows[] = {
        // clang-format off
        {"T20", 60}, {"D25", 50}, {"S25", 25}, {"25", 25}, {"d20", 20}, {"t20", 20}, {"", 0}, {"X", 0}, {"T", 0},
        {"D", 0}, {"S1", 1}, {"D-5", 10}, {"S1a2", 1}, {"Dx16", 32}, {"T007", 21}, {"D0", 0},
        {"T9999999999", INT_MAX}, {"D1073741824", INT_MAX}, {"D1073741823", 2147483646},
        // clang-format on
    };
    for (const Row& row : rows)
        EXPECT_EQ(dart_value(row.dart), row.want) << '"' << row.dart << '"';
}

TEST(RouteFile, LoadsReplacesAndKeepsTheTableOnFailure) {
    test::ScopedTempDir dir;
    std::string path = dir.file("arrange.txt");
    CheckoutTable table;
    ASSERT_TRUE(test::write_test_file(path, "100,T20,D20\r\n170,T20,T20,D25"));
    ASSERT_TRUE(table.load_from_file(path));
    EXPECT_EQ(describe(table), "100[T20|D20|] 170[T20|T20|D25] ");

    ASSERT_TRUE(test::write_test_file(path, "32,D16\n"));
    ASSERT_TRUE(table.load_from_file(dir.file("arrange.txt", '\\'))) << "backslash paths work too";
    EXPECT_EQ(describe(table), "32[D16||] ") << "a second load replaces the first table";

    std::string error;
    EXPECT_FALSE(table.load_from_file(dir.file("missing.txt"), &error));
    EXPECT_FALSE(error.empty()) << "a failed read explains itself";
    EXPECT_EQ(describe(table), "32[D16||] ") << "a failed load leaves the table as it was";

    // An empty arrange.txt is a successful load of no routes, not a reason to use the built-in copy.
    ASSERT_TRUE(test::write_test_file(path, ""));
    EXPECT_TRUE(table.load_from_file(path));
    EXPECT_TRUE(table.empty());

    table.parse("40,D20\n50,D25\n");
    table.parse("32,D16\n");
    EXPECT_EQ(describe(table), "32[D16||] ") << "a parse replaces the whole table";
    table.clear();
    EXPECT_EQ(table.first_route(32), nullptr);
}

TEST(ProcessWideTable, IsOneSharedTable) {
    checkout_table().parse("40,D20\n");
    const CheckoutTable& again = checkout_table();
    ASSERT_NE(again.first_route(40), nullptr);
    EXPECT_EQ(again.first_route(40)->dart[0], "D20");
    checkout_table().clear();
    EXPECT_TRUE(checkout_table().empty());
}

} // namespace
} // namespace tx9
