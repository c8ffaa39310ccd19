// Text helpers and paths. In code page 932, 0x95 0x5C is one character whose
// trail byte is a backslash, and it is never taken for a separator.
#include "core/text.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

const std::string kTable = "\x95\x5C"; // a kanji ending in the byte of a backslash

TEST(MenuTextCleaner, DropsMnemonicsParenthesesAndDots) {
    const std::pair<const char*, const char*> rows[] = {
        {"Salt && Pepper", "Salt & Pepper"},
        {"\xe6\x96\xb0\xe8\xa6\x8f(&N)...", "\xe6\x96\xb0\xe8\xa6\x8f"},
        {"Open (unclosed", "Open "},
        {"", ""},
    };
    for (auto [in, out] : rows)
        EXPECT_EQ(clean_menu_text(in), out) << "from " << in;
}

TEST(TextHelpers, Formatting) {
    EXPECT_EQ(strprintf(",%s,,%s,", std::string(600, 'x').c_str(), "Bob").size(), 607u)
        << "not cut at a fixed size";
    EXPECT_EQ(fill_number("%d Legs", 12), "12 Legs");
    EXPECT_EQ(fill_number("%d%% %d %s", 5), "5% %d %s") << "the first number only";
}

TEST(Paths, FolderJoinAndTrimStepOverDoubleByteCharacters) {
    test::ScopedFakeSystem fake;
    const std::pair<std::string, std::string> folders[] = {
        {"C:\\games\\tx9\\tx9.exe", "C:\\games\\tx9"},
        {"tx9.exe", ""},
        {"C:\\" + kTable + "\\tx9.exe", "C:\\" + kTable},
        {"C:\\" + kTable + "tx9.exe", "C:"},
    };
    const std::pair<std::string, std::string> joined[] = {
        {"D:\\scores", "D:\\scores\\a.csv"},
        {"D:/scores/", "D:/scores/a.csv"},
        {"C:\\" + kTable, "C:\\" + kTable + "\\a.csv"},
        {"C:\\" + kTable + "\\", "C:\\" + kTable + "\\a.csv"},
    };
    const std::pair<std::string, std::string> trimmed[] = {
        {"C:\\" + kTable + "\\\\", "C:\\" + kTable},
        {"C:\\" + kTable, "C:\\" + kTable},
        {"D:/x//", "D:/x"},
        {"\\", "\\"},
        {"", ""},
    };
    fake.sys.shift_jis = true;
    for (const auto& [path, want] : folders)
        EXPECT_EQ(folder_of(path), want) << path;
    for (const auto& [folder, want] : joined)
        EXPECT_EQ(join_path(folder, "a.csv"), want) << folder;
    for (const auto& [path, want] : trimmed)
        EXPECT_EQ(without_trailing_separators(path), want) << path;
}

} // namespace
} // namespace tx9
