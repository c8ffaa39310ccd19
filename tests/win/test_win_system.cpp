// The system services on the Win32 calls, in the code page the process runs
// with (1252 or, in the Japanese run, 932): names folded by the system's own
// compare, and files saved through a folder whose double-byte name ends in the
// byte of a backslash.
#include "core/win/win_system.h"
#include "records/csv_export.h"
#include "records/file_util.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tx9 {
namespace {

class WinSystemTest : public ::testing::Test {
  protected:
    void SetUp() override { set_system_services(&system_); }
    void TearDown() override { set_system_services(nullptr); }
    WinSystem system_{GetModuleHandleA(nullptr)};
};

TEST_F(WinSystemTest, NameListFoldsLettersAsTheSystemDoes) {
    // One name in two letter cases that ASCII folding alone does not join.
    std::string lower, upper;
    if (GetACP() == 932)
        lower = "\x82\x81\x82\x82", upper = "\x82\x60\x82\x61"; // full-width "ab" and "AB"
    else if (GetACP() == 1252)
        lower = "Jos\xE9", upper = "JOS\xC9";
    else
        GTEST_SKIP() << "no case for code page " << GetACP();
    std::vector<std::string> names = {"Ann", lower, "Bo"};
    name_list_update(names, upper);
    EXPECT_EQ(names, (std::vector<std::string>{upper, "Ann", "Bo"}));
}

TEST_F(WinSystemTest, AutoSaveIntoTheDataFolderOfADoubleByteFolder) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    char temp[MAX_PATH] = "";
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string app = std::string(temp) + "tx9_\x95\x5C"; // 0x95 0x5C is one kanji
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    GameRecord record;
    record.csv_name = "501_20041105_010509.csv";
    record.player[0].name = "Ann";
    record.player[1].name = "Bob";
    std::string error, text;
    const bool saved = auto_save_csv(record, "", app, &error);
    const std::string file = app + "\\data\\" + record.csv_name;
    EXPECT_TRUE(read_whole_file(file, text, nullptr)) << "nothing at " << file;
    DeleteFileA(file.c_str());
    RemoveDirectoryA((app + "\\data").c_str());
    RemoveDirectoryA(app.c_str());
    EXPECT_TRUE(saved) << error;
    EXPECT_EQ(text, ",Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n");
}

} // namespace
} // namespace tx9
