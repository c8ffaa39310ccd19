// The settings in tx9.ini: defaults, the file as saved, values a hand edit
// can leave, and what an interrupted save leaves beside the file.
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace tx9 {
namespace {

using test::describe;
using test::ScopedFakeSystem;

// The text with every "\n" turned into the "\r\n" the store writes.
std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() {
        fake.sys.work_area_ = {10, 20, 1290, 1020};
        s.ini_path = dir.file("tx9.ini");
    }
    void load(const std::string& text) {
        ASSERT_TRUE(test::write_test_file(s.ini_path, text));
        settings_load(s, fake.sys);
    }
    std::string ini_text() const { return test::read_test_file(s.ini_path); }
    Settings reloaded() const {
        Settings again;
        again.ini_path = s.ini_path;
        settings_load(again, fake.sys);
        return again;
    }

    ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    Settings s;
};

TEST(SettingsPaths, IniFileBesideTheProgramInADoubleByteFolder) {
    ScopedFakeSystem fake;
    fake.sys.shift_jis = true; // 0x95 0x5C is one character whose trail byte is a backslash
    fake.sys.module_path_ = "C:\\games\\\x95\x5C\\tx9.exe";
    Settings s;
    settings_build_paths(s, fake.sys);
    EXPECT_EQ(s.app_folder, "C:\\games\\\x95\x5C");
    EXPECT_EQ(s.ini_path, "C:\\games\\\x95\x5C\\tx9.ini");
}

TEST_F(SettingsTest, FirstRunGivesTheDefaultsAndColoursAtTheirDefaultFollowTheSystem) {
    fake.sys.strings[103] = "Spieler 1"; // the default names come from the string table
    fake.sys.strings[104] = "Spieler 2";
    settings_load(s, fake.sys);
    EXPECT_EQ(describe(s.game), "501/1/15/0/3/1 [Spieler 1] 0/0/0 [Spieler 2] 0/0/0 entry 0");
    EXPECT_EQ(describe(s.keys.bindings), describe(default_key_bindings()));
    ASSERT_EQ(s.schedule.size(), 7u);
    EXPECT_EQ(describe(s.schedule[0]), "1001/1/30/1/1/1 [Spieler 1] 0/0/0 [Spieler 2] 0/0/0 entry 0");
    for (size_t i = 1; i < 7; ++i)
        EXPECT_EQ(describe(s.schedule[i]), "501/1/15/1/3/1 [] 0/0/0 [] 0/0/0 entry 0") << "entry " << i;
    auto sys = [this](int index) { return fake.sys.sys_color(index); };
    EXPECT_EQ(std::vector<Color>(s.colors.begin(), s.colors.end()),
              std::vector<Color>({sys(5),  sys(5),  sys(8),  sys(15), sys(18), 128,     sys(16),
                                  sys(18), sys(16), 8454143, 0,       sys(13), sys(14), sys(5),
                                  sys(8),  sys(13), sys(2),  sys(9),  sys(15), sys(18), sys(13)}));

    // The window takes the work area; colours at their defaults are stored empty, chosen ones as
    // they are; no keys and no game settings are saved.
    s.colors[kColorText] = 0x0000FF;
    s.colors[kColorLast3NumberText] = 0x00FF00; // away from a fixed default
    ASSERT_TRUE(settings_save(s, fake.sys));
    EXPECT_EQ(
        ini_text(),
        crlf("[window]\nleft=10\ntop=20\nright=1280\nbottom=1000\nstate=10\n\n"
             "[view]\nplayer=1\nleft=1\nguide=1\nthrow_count=1\n\n"
             "[game]\nauto_save=0\nauto_save_path=\nname_list_count=0\n\n"
             "[history]\nleft=0\ntop=0\nright=0\nbottom=0\n\n"
             "[score_list]\nleft=0\ntop=0\nright=0\nbottom=0\n\n"
             "[color]\nbackground=\nodd_background=\ntext=\"0x0000FF\"\nheader_background=\nheader_text=\n"
             "last3number_text=\"0x00FF00\"\nline=\nseparate=\nton_circle=\ninput_background=\ninput_text=\n"
             "input_select_background=\ninput_select_text=\nleft_background=\nleft_text=\n"
             "left_active_border=\nplayer_name_background=\nplayer_name_text=\nplayer_background=\n"
             "player_text=\nplayer_info_title=\n\n"
             "[font]\nname=\"Arial\"\n\n"
             "[player]\nname=1\nfirst=1\ntotal_sets=1\ntotal_legs=1\ntotal_tons=1\ntotal_180s=0\n"
             "total_high_off=1\ntotal_short=0\navg_score=1\navg_darts=1\narrange=0\n\n"));

    fake.sys.sys_colors[5] = 0x00303030; // a new colour scheme before the next run
    fake.sys.sys_colors[8] = 0x00EEEEEE;
    Settings next = reloaded();
    EXPECT_EQ(std::vector<Color>({next.colors[kColorOddBackground], next.colors[kColorLeftText],
                                  next.colors[kColorText], next.colors[kColorLast3NumberText]}),
              std::vector<Color>({0x303030, 0xEEEEEE, 0x0000FF, 0x00FF00}));
}

TEST_F(SettingsTest, ColoursAreReadWithAutomaticBaseAndOnlyRgbValuesAreKept) {
    const std::pair<const char*, Color> parsed[] = {
        {"", 0xABCDEF}, {"0377", 255}, {"  12abc", 12},     {"0x1G", 1},
        {"09", 0},      {"junk", 0},   {"-1", 0xFFFFFFFFu}, {"0x1FFFFFFFF", 0xFFFFFFFFu},
        {"+0x10", 16},
    };
    for (auto [text, want] : parsed)
        EXPECT_EQ(color_parse(text, 0xABCDEF), want) << "text [" << text << "]";

    // 0: the key's default; a value beyond 24 bits would paint black, so it takes the default too.
    const std::pair<const char*, Color> in_file[] = {
        // clang-format off
        {"", 0}, {"\"\"", 0}, {"\"0xFF\"", 0x0000FF}, {"255", 0x0000FF}, {" \"0x00FF00\" ", 0x00FF00}, {"-1", 0},
        {"0x1000000", 0}, {"0xFFFFFFFFFF", 0}, {"0xFFFFFF", 0xFFFFFF},
        // clang-format on
    };
    for (auto [raw, want] : in_file) {
        load(std::string("[color]\nbackground=") + raw + "\nlast3number_text=" + raw + "\n");
        EXPECT_EQ(s.colors[kColorBackground], want ? want : fake.sys.sys_color(5)) << raw;
        EXPECT_EQ(s.colors[kColorLast3NumberText], want ? want : 0x000080u) << raw;
    }
}

TEST_F(SettingsTest, CountsAreBoundedByTheTables) {
    const std::tuple<const char*, size_t, size_t> rows[] = {
        // count for both tables, names and schedule entries loaded
        {"1000", 30, 256}, {"31", 30, 31}, {"2", 2, 2}, {"0", 0, 0}, {"", 0, 0}, {"-2", 0, 0},
    };
    for (auto [count, names, entries] : rows) {
        std::string text = std::string("[game]\nname_list_count=") + count + "\n";
        for (int i = 0; i < 40; ++i)
            text += "name_list_" + std::to_string(i) + "=\"n" + std::to_string(i) + "\"\n";
        load(text + "[schedule]\ncount=" + count + "\nround_1=7\n");
        ASSERT_EQ(std::make_pair(s.name_list.size(), s.schedule.size()), std::make_pair(names, entries))
            << count;
        EXPECT_TRUE(names < 30 || s.name_list[29] == "n29") << count;
        EXPECT_TRUE(entries < 2 || s.schedule[1].round == 7) << count;
    }
}

TEST_F(SettingsTest, KeyRowsWithNeitherKeyNorActionAreNotLoaded) {
    const std::tuple<const char*, const char*, int> rows[] = {
        // the [key] section, then action:modifiers:key of every binding (or "defaults"), customised
        {"count=1000\naction_1=40016\nctrl_1=8\nkey_1=78", "40016:8:78 ", 1},
        {"count=3\naction_0=40016\nctrl_0=255\naction_1=0\nkey_1=65\naction_2=7\nkey_2=300",
         "40016:28:0 0:0:65 ", 1},
        {"count=2147483647", "defaults", 0},
        {"count=3\naction_0=0\nkey_0=0\naction_1=12345\nkey_1=0", "defaults", 0},
        {"count=0", "", 1},
    };
    for (auto [section, want, customised] : rows) {
        load(std::string("[key]\n") + section + "\n");
        std::string got = describe(s.keys.bindings);
        EXPECT_EQ(got == describe(default_key_bindings()) ? "defaults" : got, want) << section;
        EXPECT_EQ(s.keys.keys_customised, customised) << section;
    }
}

TEST_F(SettingsTest, GameCountsAndLimitsTakeTheNearestValueTheDialogAllows) {
    const std::pair<const char*, const char*> rows[] = {
        {"max_leg=-2147483649\nround=0\nstart_score=-501\np1_start_score=1\np2_start_score=-7\n"
         "p1_com_level=-1\np2_com_level=-1\nbest_of=7\nleg_limit=7\n",
         "2/1/1/1/1/1 [] 0/0/0 [] 0/0/0 entry 0"},
        {"max_leg=10000\nround=3334\nstart_score=100000\np1_start_score=123456\np2_start_score=2\n"
         "p1_com_level=6\np2_com_level=6\nleg_limit=1\n",
         "99999/1/3333/1/9999/1 [] 99999/0/5 [] 2/0/5 entry 0"},
    };
    for (auto [lines, want] : rows) {
        std::string numbered = std::string("count=1\n") + lines;
        for (size_t at = numbered.find('=', 6); at != std::string::npos; at = numbered.find('=', at + 3))
            numbered.insert(at, "_0");
        load(std::string("[game]\np1_name=\np2_name=\n") + lines + "[schedule]\n" + numbered);
        EXPECT_EQ(describe(s.game), want) << lines;
        EXPECT_EQ(describe(s.schedule), std::string(want) + "\n") << numbered;
    }
}

TEST_F(SettingsTest, ScheduleEntriesTakeTheirOwnDefaults) {
    load("[schedule]\ncount=2\nstart_score_0=301\nround_limit_0=0\np1_name_0=\"Ann\"\np2_com_0=1\n"
         "p2_com_level_0=5\nbest_of_1=0\np2_start_score_1=401\n");
    EXPECT_EQ(describe(s.schedule), "301/0/15/1/3/1 [Ann] 501/0/0 [] 0/1/5 entry 0\n"
                                    "501/1/15/1/3/0 [] 501/0/0 [] 401/0/0 entry 0\n");
}

TEST_F(SettingsTest, SaveGameAddsItsKeysToTheExistingSection) {
    load("[game]\r\nauto_save=1\r\nround=99\r\n# mine\r\n[view]\r\nplayer=0\r\n");
    EXPECT_EQ(s.game.round, 99);
    s.game = {1001, 1, 99, 0, 3, 1, "Ann", "", 0, 0, 0, 1, 0, 4, 1};
    s.auto_save = 0; // not a game setting: stays as in the file
    EXPECT_TRUE(settings_save_game(s));
    EXPECT_EQ(ini_text(),
              crlf("[game]\nauto_save=1\nround=99\n# mine\nstart_score=1001\nround_limit=1\n"
                   "leg_limit=0\nmax_leg=3\nbest_of=1\np1_name=\"Ann\"\np1_start_score=0\np1_com=0\n"
                   "p1_com_level=0\np2_name=\np2_start_score=0\np2_com=1\np2_com_level=4\n\n"
                   "[view]\nplayer=0\n\n"));
}

TEST_F(SettingsTest, SaveScheduleLeavesOldEntriesBehindUnread) {
    settings_load(s, fake.sys);
    ASSERT_TRUE(settings_save_schedule(s));
    EXPECT_EQ(ini_text().find(crlf("[schedule]\ncount=7\nstart_score_0=1001\n")), 0u) << "only the Schedule";
    EXPECT_EQ(ini_text().find("leg_limit"), std::string::npos);

    s.schedule.resize(1);
    s.schedule[0].p2_name = "Bo";
    ASSERT_TRUE(settings_save_schedule(s));
    EXPECT_NE(ini_text().find("start_score_6=501\r\n"), std::string::npos) << "old entries stay in the file";
    EXPECT_EQ(describe(reloaded().schedule), "1001/1/30/1/1/1 [Player 1] 0/0/0 [Bo] 0/0/0 entry 0\n");
}

TEST_F(SettingsTest, EverythingSavedComesBack) {
    settings_load(s, fake.sys);
    s.left = 15, s.top = 26, s.right = 700, s.bottom = 500, s.state = 3;
    s.view_player = 0, s.view_left = 0, s.view_guide = 0, s.throw_count = 0;
    s.auto_save = 1;
    s.auto_save_path = "D:\\scores";
    s.name_list = {"  Ann  ", "Bo \"B\"", ""}; // blanks and quotes inside a name survive
    s.history = {11, 22, 300, 400};
    s.score_list = {13, 24, 500, 600};
    for (int i = 0; i < kColorCount; ++i)
        s.colors[i] = 0x010203u * static_cast<Color>(i);
    s.font_name = "Courier New";
    s.keys.bindings = {{51180, 28, 0x24}, {40017, 0, 0}};
    s.keys.keys_customised = 1;
    s.player.name = 0, s.player.total_180s = 1, s.player.arrange = 1;
    s.game = {301, 0, 10, 1, 5, 0, "P one", "P two", 401, 0, 1, 0, 2, 3, 0};
    s.schedule = {s.game, s.game};
    s.schedule[1].p1_name = "";

    ASSERT_TRUE(settings_save(s, fake.sys));
    ASSERT_TRUE(settings_save_game(s));
    ASSERT_TRUE(settings_save_schedule(s));
    Settings next = reloaded();
    EXPECT_EQ(std::vector<int>({next.left, next.top, next.right, next.bottom, next.state, next.view_player,
                                next.view_left, next.view_guide, next.throw_count, next.auto_save,
                                next.history.bottom, next.score_list.left, next.player.name,
                                next.player.total_180s, next.player.arrange, next.keys.keys_customised}),
              std::vector<int>({15, 26, 700, 500, 3, 0, 0, 0, 0, 1, 400, 13, 0, 1, 1, 1}));
    EXPECT_EQ(next.auto_save_path, "D:\\scores");
    EXPECT_EQ(next.name_list, s.name_list);
    EXPECT_EQ(next.colors, s.colors);
    EXPECT_EQ(next.font_name, "Courier New");
    EXPECT_EQ(describe(next.keys.bindings), describe(s.keys.bindings));
    EXPECT_EQ(describe(next.game), describe(s.game));
    EXPECT_EQ(describe(next.schedule), describe(s.schedule));
}

TEST_F(SettingsTest, TextsAreCutTo255Characters) {
    load("[game]\np1_name=\"" + std::string(300, 'a') + "\"\n[font]\nname=" + std::string(256, 'f') + "\n");
    EXPECT_EQ(s.game.p1_name, std::string(255, 'a'));
    EXPECT_EQ(s.font_name, std::string(255, 'f'));
}

TEST_F(SettingsTest, StartUpRemovesWhatAnInterruptedSaveLeftAndAReadOnlyFileIsKept) {
    ASSERT_TRUE(test::write_test_file(s.ini_path + ".tmp~", "x"));
    load("[window]\r\nleft=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(s.ini_path + ".tmp~"));

    namespace fs = std::filesystem;
    fs::permissions(s.ini_path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(settings_save(s, fake.sys));
    EXPECT_FALSE(settings_save_game(s)) << "Save Option must not be told the file was written";
    EXPECT_FALSE(settings_save_schedule(s));
    fs::permissions(s.ini_path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ini_text(), "[window]\r\nleft=1\r\n");
}

TEST(NameListUpdate, MovesTheNameToTheFrontOnce) {
    ScopedFakeSystem fake; // folds as the system does, accented letters of code page 1252 too
    using Names = std::vector<std::string>;
    const std::tuple<Names, const char*, Names> rows[] = {
        // the list, the name added, the list after
        {{"Ann", "Bo"}, "", {"Ann", "Bo"}},
        {{"Ann", "Bo"}, "Cy", {"Cy", "Ann", "Bo"}},
        {{"Ann", "Bo", "Cy"}, "bO", {"bO", "Ann", "Cy"}},
        {{"Ann", "", "Bo"}, "Bo", {"Bo", "Ann", ""}},
        {{"Ann", "Jos\xE9"}, "JOS\xC9", {"JOS\xC9", "Ann"}},
    };
    for (auto [names, name, after] : rows) {
        name_list_update(names, name);
        EXPECT_EQ(names, after) << "adding [" << name << "]";
    }

    // A 31st new name pushes the oldest out; a name already there moves up.
    Names names;
    for (int i = 0; i < 31; ++i)
        name_list_update(names, "n" + std::to_string(i));
    name_list_update(names, "n15");
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(names[0] + "/" + names[1] + "/" + names.back(), "n15/n30/n1");
}

} // namespace
} // namespace tx9
