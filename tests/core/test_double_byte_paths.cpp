// Paths through folders whose names hold double-byte characters of code page
// 932: 0x95 0x5C is one character whose trail byte is a backslash, and it is
// never taken for a separator.
#include "core/text.h"
#include "records/csv_export.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

const std::string kTable = "\x95\x5C"; // a kanji ending in the byte of a backslash

TEST(DoubleBytePaths, TrailByteIsNoSeparator) {
    test::ScopedFakeSystem fake;
    fake.sys.shift_jis = true;
    const std::pair<std::string, std::string> joined[] = {
        {"C:\\" + kTable, "C:\\" + kTable + "\\a.csv"},
        {"C:\\" + kTable + "\\", "C:\\" + kTable + "\\a.csv"},
        {"C:\\" + kTable + "/", "C:\\" + kTable + "/a.csv"},
    };
    for (const auto& [folder, want] : joined)
        EXPECT_EQ(join_path(folder, "a.csv"), want) << folder;

    const std::pair<std::string, std::string> trimmed[] = {{"C:\\" + kTable + "\\\\", "C:\\" + kTable},
                                                           {"C:\\" + kTable, "C:\\" + kTable},
                                                           {"D:/x//", "D:/x"},
                                                           {"\\", "\\"},
                                                           {"", ""}};
    for (const auto& [path, want] : trimmed)
        EXPECT_EQ(without_trailing_separators(path), want) << path;
}

TEST(DoubleBytePaths, IniFileAndDataFolderBesideTheProgram) {
    test::ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    fake.sys.shift_jis = true;
    fake.sys.module_path_ = "C:\\games\\" + kTable + "\\tx9.exe";
    Settings s;
    settings_build_paths(s, fake.sys);
    EXPECT_EQ(s.app_folder, "C:\\games\\" + kTable);
    EXPECT_EQ(s.ini_path, "C:\\games\\" + kTable + "\\tx9.ini");

    GameRecord record;
    record.csv_name = "501_20041105_010509.csv";
    const std::string app = dir.path() + "\\" + kTable;
    std::string error;
    EXPECT_EQ(auto_save_path_for(record, "", app, &error), app + "\\data\\" + record.csv_name);
    EXPECT_EQ(auto_save_path_for(record, app, "", &error), app + "\\" + record.csv_name);
    EXPECT_EQ(error, "");
}

} // namespace
} // namespace tx9
