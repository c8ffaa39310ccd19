#include "core/text.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

TEST(MenuTextCleaner, DropsMnemonicsParenthesesAndDots)
{
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"&Option...", "Option"},
        {"Check-&Out...", "Check-Out"},
        {"Finish - &1st Throw", "Finish - 1st Throw"},
        {"Salt && Pepper", "Salt & Pepper"},
        {"\xe6\x96\xb0\xe8\xa6\x8f(&N)...", "\xe6\x96\xb0\xe8\xa6\x8f"},
        {"Open (unclosed", "Open "},
        {"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(clean_menu_text(row.in), row.out) << "from " << row.in;
}

TEST(TextHelpers, ParseIntFollowsTheStandardConversion)
{
    EXPECT_EQ(parse_int("  42abc"), 42);
    EXPECT_EQ(parse_int("-7"), -7);
    EXPECT_EQ(parse_int("+"), 0);
    EXPECT_EQ(parse_int(""), 0);
    EXPECT_EQ(parse_int("99999999999999999999"), 2147483647);
    EXPECT_EQ(parse_int("-99999999999999999999"), -2147483647 - 1);
}

TEST(TextHelpers, FolderOfStepsOverDoubleByteTrailBytes)
{
    test::ScopedFakeSystem fake;
    EXPECT_EQ(folder_of("C:\\games\\tx9\\tx9.exe"), "C:\\games\\tx9");
    EXPECT_EQ(folder_of("tx9.exe"), "");
    // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash.
    fake.sys.shift_jis = true;
    EXPECT_EQ(folder_of("C:\\\x95\x5C\\tx9.exe"), "C:\\\x95\x5C");
    EXPECT_EQ(folder_of("C:\\\x95\x5Ctx9.exe"), "C:");
}

TEST(TextHelpers, JoinPathAddsOneSeparator)
{
    EXPECT_EQ(join_path("D:\\scores", "a.csv"), "D:\\scores\\a.csv");
    EXPECT_EQ(join_path("D:\\scores\\", "a.csv"), "D:\\scores\\a.csv");
    EXPECT_EQ(join_path("D:/scores/", "a.csv"), "D:/scores/a.csv");
}

TEST(TextHelpers, StrprintfIsNotCutAtAFixedSize)
{
    std::string name(600, 'x');
    EXPECT_EQ(strprintf(",%s,,%s,", name.c_str(), "Bob").size(), 600u + 7u);
}

} // namespace
} // namespace tx9
