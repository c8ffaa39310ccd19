// Hand-edited and damaged files: values no dialog could have written, read-only
// targets, and what an interrupted save leaves behind.
#include "records/csv_export.h"
#include "records/file_util.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tx9 {
namespace {

namespace fs = std::filesystem;

class HostileFiles : public ::testing::Test {
  protected:
    HostileFiles() { s.ini_path = dir.file("tx9.ini"); }
    void load(const std::string& ini) {
        ASSERT_TRUE(test::write_test_file(s.ini_path, ini));
        settings_load(s, fake.sys);
    }
    test::ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    Settings s;
};

TEST_F(HostileFiles, ColoursBeyondTwentyFourBitsTakeTheirDefaultAndAreNotWrittenBack) {
    const std::pair<const char*, bool> rows[] = {
        {"0xFFFFFFFFFF", false}, {"-1", false},      {"0x01FFFFFF", false},
        {"0x1000000", false},    {"0xFFFFFF", true},
    };
    for (auto [text, kept] : rows) {
        load(std::string("[color]\nbackground=") + text + "\ninput_background=" + text + "\n");
        EXPECT_EQ(s.colors[kColorBackground], kept ? 0xFFFFFFu : fake.sys.sys_color(5)) << text;
        EXPECT_EQ(s.colors[kColorInputBackground], kept ? 0xFFFFFFu : 0x80FFFFu) << text;
        if (kept) continue;
        ASSERT_TRUE(settings_save(s, fake.sys));
        EXPECT_NE(test::read_test_file(s.ini_path).find("\r\nbackground=\r\n"), std::string::npos) << text;
    }
}

TEST_F(HostileFiles, GameCountsAndLimitsTakeTheNearestValueTheDialogAllows) {
    struct Row {
        const char* line;
        int GameSettings::*field;
        int want;
    } rows[] = {
        {"max_leg=-2147483649", &GameSettings::max_leg, 1},
        {"max_leg=0", &GameSettings::max_leg, 1},
        {"max_leg=10000", &GameSettings::max_leg, 9999},
        {"round=0", &GameSettings::round, 1},
        {"round=3334", &GameSettings::round, 3333},
        {"start_score=-501", &GameSettings::start_score, 2},
        {"start_score=100000", &GameSettings::start_score, 99999},
        {"p1_start_score=1", &GameSettings::p1_start_score, 0},
        {"p2_start_score=-7", &GameSettings::p2_start_score, 0},
        {"p1_start_score=123456", &GameSettings::p1_start_score, 99999},
        {"p2_start_score=2", &GameSettings::p2_start_score, 2},
        {"p1_com_level=6", &GameSettings::p1_com_level, 5},
        {"p2_com_level=-1", &GameSettings::p2_com_level, 0},
        {"best_of=7", &GameSettings::best_of, 1},
    };
    for (const Row& row : rows) {
        std::string line = row.line;
        std::string numbered = line.substr(0, line.find('=')) + "_0" + line.substr(line.find('='));
        load("[game]\n" + line + "\n[schedule]\ncount=1\n" + numbered + "\n");
        EXPECT_EQ(s.game.*row.field, row.want) << "[game] " << line;
        ASSERT_EQ(s.schedule.size(), 1u);
        EXPECT_EQ(s.schedule[0].*row.field, row.want) << "[schedule] " << numbered;
    }
}

TEST_F(HostileFiles, KeyRowsWithNeitherKeyNorActionAreNotLoaded) {
    struct Row {
        const char* section;
        const char* want; // action:modifiers:key of every binding, or "defaults"
        int customised;
    } rows[] = {
        {"count=2147483647", "defaults", 0},
        {"count=3\naction_0=0\nkey_0=0\naction_1=12345\nkey_1=0", "defaults", 0},
        {"count=3\naction_0=40016\nctrl_0=255\naction_1=0\nkey_1=65\naction_2=7\nkey_2=300",
         "40016:28:0 0:0:65 ", 1},
        {"count=0", "", 1},
    };
    for (const Row& row : rows) {
        load(std::string("[key]\n") + row.section + "\n");
        std::string got;
        for (const KeyBinding& b : s.keys.bindings)
            got += std::to_string(b.action) + ":" + std::to_string(b.modifiers) + ":" +
                   std::to_string(b.key) + " ";
        if (s.keys.bindings.size() == default_key_bindings().size() && s.keys.bindings[0].key == kVkF1)
            got = "defaults";
        EXPECT_EQ(got, row.want) << row.section;
        EXPECT_EQ(s.keys.keys_customised, row.customised) << row.section;
    }
}

TEST_F(HostileFiles, ReadOnlyTargetsAreKeptUntouched) {
    const std::string ini = "[window]\r\nleft=1\r\n";
    const std::string csv = dir.file("set.csv");
    ASSERT_TRUE(test::write_test_file(s.ini_path, ini));
    ASSERT_TRUE(test::write_test_file(csv, "old"));
    for (const std::string& path : {s.ini_path, csv})
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    settings_load(s, fake.sys);
    EXPECT_FALSE(settings_save(s, fake.sys));
    GameRecord record;
    std::string error;
    EXPECT_FALSE(write_csv_file(record, csv, &error));
    EXPECT_FALSE(error.empty()) << "the failure box needs the system's text";
    EXPECT_EQ(test::read_test_file(s.ini_path), ini);
    EXPECT_EQ(test::read_test_file(csv), "old");
    for (const std::string& path : {s.ini_path, csv}) {
        EXPECT_FALSE(fs::exists(temp_path_for(path))) << path;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(HostileFiles, StartUpRemovesWhatInterruptedSavesLeft) {
    const std::string data = dir.file("data");
    fs::create_directory(data);
    const char* files[] = {"tx9.ini.tmp~", "data/501_20041105_130509.csv.tmp~",
                           "data/501_20041105_130509.csv", "data/notes.tmp~"};
    for (const char* name : files)
        ASSERT_TRUE(test::write_test_file(dir.file(name), "x"));
    settings_load(s, fake.sys);
    remove_interrupted_auto_saves("", dir.path());
    std::string left;
    for (const char* name : files)
        left += fs::exists(dir.file(name)) ? std::string(name) + " " : "";
    EXPECT_EQ(left, "data/501_20041105_130509.csv data/notes.tmp~ ");
}

} // namespace
} // namespace tx9
