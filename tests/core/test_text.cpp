#include "core/text.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

TEST(MenuTextCleaner, DropsMnemonicsParenthesesAndDots) {
    const std::pair<const char*, const char*> rows[] = {
        {"&Option...", "Option"},
        {"Check-&Out...", "Check-Out"},
        {"Finish - &1st Throw", "Finish - 1st Throw"},
        {"Salt && Pepper", "Salt & Pepper"},
        {"\xe6\x96\xb0\xe8\xa6\x8f(&N)...", "\xe6\x96\xb0\xe8\xa6\x8f"},
        {"Open (unclosed", "Open "},
        {"", ""},
    };
    for (auto [in, out] : rows)
        EXPECT_EQ(clean_menu_text(in), out) << "from " << in;
}

TEST(TextHelpers, ParseIntSaturatesLikeTheStandardConversion) {
    const std::pair<const char*, int> rows[] = {{"  42abc", 42},
                                                {"-7", -7},
                                                {"+", 0},
                                                {"", 0},
                                                {"99999999999999999999", 2147483647},
                                                {"-99999999999999999999", -2147483647 - 1}};
    for (auto [text, want] : rows)
        EXPECT_EQ(parse_int(text), want) << text;
}

TEST(TextHelpers, PathsAndFormatting) {
    test::ScopedFakeSystem fake;
    EXPECT_EQ(folder_of("C:\\games\\tx9\\tx9.exe"), "C:\\games\\tx9");
    EXPECT_EQ(folder_of("tx9.exe"), "");
    fake.sys.shift_jis = true; // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash
    EXPECT_EQ(folder_of("C:\\\x95\x5C\\tx9.exe"), "C:\\\x95\x5C");
    EXPECT_EQ(folder_of("C:\\\x95\x5Ctx9.exe"), "C:");

    EXPECT_EQ(join_path("D:\\scores", "a.csv"), "D:\\scores\\a.csv");
    EXPECT_EQ(join_path("D:\\scores\\", "a.csv"), "D:\\scores\\a.csv");
    EXPECT_EQ(join_path("D:/scores/", "a.csv"), "D:/scores/a.csv");
    EXPECT_EQ(strprintf(",%s,,%s,", std::string(600, 'x').c_str(), "Bob").size(), 607u)
        << "not cut at a fixed size";
}

} // namespace
} // namespace tx9
