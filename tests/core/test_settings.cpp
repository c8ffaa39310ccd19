#include "settings/ini_store.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace tx9 {
namespace {

using test::read_test_file;
using test::ScopedFakeSystem;
using test::ScopedTempDir;
using test::write_test_file;

std::string crlf_lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string describe(const GameSettings& g) {
    std::ostringstream out;
    out << g.start_score << '/' << g.round_limit << '/' << g.round << '/' << g.leg_limit << '/' << g.max_leg
        << '/' << g.best_of << " [" << g.p1_name << "] " << g.p1_start_score << '/' << g.p1_com << '/'
        << g.p1_com_level << " [" << g.p2_name << "] " << g.p2_start_score << '/' << g.p2_com << '/'
        << g.p2_com_level << " entry " << g.schedule_entry;
    return out.str();
}

std::string describe(const std::vector<KeyBinding>& bindings) {
    std::ostringstream out;
    for (const KeyBinding& b : bindings)
        out << b.action << ':' << b.modifiers << ':' << b.key << ' ';
    return out.str();
}

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() {
        fake.sys.work_area_ = {10, 20, 1290, 1020};
        s.ini_path = dir.file("tx9.ini");
    }
    void write_ini(const std::string& text) { ASSERT_TRUE(write_test_file(s.ini_path, text)); }
    std::string ini_text() const { return read_test_file(s.ini_path); }
    Settings reloaded() const {
        Settings again;
        again.ini_path = s.ini_path;
        settings_load(again, fake.sys);
        return again;
    }

    ScopedFakeSystem fake;
    ScopedTempDir dir;
    Settings s;
};

TEST(SettingsPaths, FolderAndIniPathComeFromTheModulePath) {
    ScopedFakeSystem fake;
    struct Row {
        const char* module;
        const char* folder;
        const char* ini;
    } rows[] = {
        {"C:\\games\\tx9\\tx9.exe", "C:\\games\\tx9", "C:\\games\\tx9\\tx9.ini"},
        {"Z:/home/me/tx9.exe", "Z:/home/me", "Z:/home/me\\tx9.ini"},
        {"tx9.exe", "", "\\tx9.ini"},
    };
    for (const Row& row : rows) {
        fake.sys.module_path_ = row.module;
        Settings s;
        settings_build_paths(s, fake.sys);
        EXPECT_EQ(s.app_folder, row.folder) << row.module;
        EXPECT_EQ(s.ini_path, row.ini) << row.module;
    }
}

TEST_F(SettingsTest, FirstRunGivesTheDefaultsAndSavesNoKeysOrGameSettings) {
    settings_load(s, fake.sys);
    EXPECT_EQ(s.left, 10);
    EXPECT_EQ(s.top, 20);
    EXPECT_EQ(s.right, 1280) << "width of the work area";
    EXPECT_EQ(s.bottom, 1000) << "height of the work area";
    EXPECT_EQ(s.state, 10);
    EXPECT_EQ(describe(s.game), "501/1/15/0/3/1 [Player 1] 0/0/0 [Player 2] 0/0/0 entry 0");
    EXPECT_TRUE(s.name_list.empty());
    EXPECT_EQ(s.font_name, "Arial");
    EXPECT_EQ(s.keys.keys_customised, 0);
    EXPECT_EQ(describe(s.keys.bindings), describe(default_key_bindings()));
    EXPECT_EQ(s.keys.bindings.size(), 29u);
    ASSERT_EQ(s.schedule.size(), 7u);
    EXPECT_EQ(describe(s.schedule[0]), "1001/1/30/1/1/1 [Player 1] 0/0/0 [Player 2] 0/0/0 entry 0");
    for (size_t i = 1; i < 7; ++i)
        EXPECT_EQ(describe(s.schedule[i]), "501/1/15/1/3/1 [] 0/0/0 [] 0/0/0 entry 0") << "entry " << i;
    EXPECT_EQ(s.colors[kColorBackground], fake.sys.sys_color(5));
    EXPECT_EQ(s.colors[kColorLast3NumberText], 0x000080u);
    EXPECT_EQ(s.colors[kColorInputBackground], 8454143u);
    EXPECT_EQ(s.colors[kColorInputText], 0u);
    EXPECT_EQ(s.colors[kColorPlayerNameBackground], fake.sys.sys_color(2));
    EXPECT_EQ(s.player.total_180s, 0);
    EXPECT_EQ(s.player.avg_darts, 1);

    ASSERT_TRUE(settings_save(s, fake.sys));
    EXPECT_EQ(ini_text(), crlf_lines({"[window]",
                                      "left=10",
                                      "top=20",
                                      "right=1280",
                                      "bottom=1000",
                                      "state=10",
                                      "",
                                      "[view]",
                                      "player=1",
                                      "left=1",
                                      "guide=1",
                                      "throw_count=1",
                                      "",
                                      "[game]",
                                      "auto_save=0",
                                      "auto_save_path=",
                                      "name_list_count=0",
                                      "",
                                      "[history]",
                                      "left=0",
                                      "top=0",
                                      "right=0",
                                      "bottom=0",
                                      "",
                                      "[score_list]",
                                      "left=0",
                                      "top=0",
                                      "right=0",
                                      "bottom=0",
                                      "",
                                      "[color]",
                                      "background=",
                                      "odd_background=",
                                      "text=",
                                      "header_background=",
                                      "header_text=",
                                      "last3number_text=",
                                      "line=",
                                      "separate=",
                                      "ton_circle=",
                                      "input_background=",
                                      "input_text=",
                                      "input_select_background=",
                                      "input_select_text=",
                                      "left_background=",
                                      "left_text=",
                                      "left_active_border=",
                                      "player_name_background=",
                                      "player_name_text=",
                                      "player_background=",
                                      "player_text=",
                                      "player_info_title=",
                                      "",
                                      "[font]",
                                      "name=\"Arial\"",
                                      "",
                                      "[player]",
                                      "name=1",
                                      "first=1",
                                      "total_sets=1",
                                      "total_legs=1",
                                      "total_tons=1",
                                      "total_180s=0",
                                      "total_high_off=1",
                                      "total_short=0",
                                      "avg_score=1",
                                      "avg_darts=1",
                                      "arrange=0",
                                      ""}));
}

TEST_F(SettingsTest, DefaultNamesComeFromTheStringTable) {
    fake.sys.strings[103] = "Spieler 1";
    fake.sys.strings[104] = "Spieler 2";
    settings_load(s, fake.sys);
    EXPECT_EQ(s.game.p1_name, "Spieler 1");
    EXPECT_EQ(s.game.p2_name, "Spieler 2");
    EXPECT_EQ(s.schedule[0].p1_name, "Spieler 1");
}

TEST_F(SettingsTest, PositionsBeyondTheWorkAreaComeBackAtTheOrigin) {
    struct Row {
        int left, top;
        int want_left, want_top;
    } rows[] = {
        {1291, 30, 0, 0},         // beyond the right edge
        {30, 1021, 0, 0},         // beyond the bottom edge
        {1290, 1020, 1290, 1020}, // on the edges still counts as inside
        {-500, -400, -500, -400}, // left or above is not tested
        {100, 200, 100, 200},
    };
    for (const Row& row : rows) {
        std::string where = "left=" + std::to_string(row.left) + "\ntop=" + std::to_string(row.top) + "\n";
        write_ini("[window]\n" + where + "right=640\nbottom=480\n[history]\n" + where +
                  "right=300\nbottom=200\n" + "[score_list]\n" + where + "right=0\nbottom=0\n");
        settings_load(s, fake.sys);
        SCOPED_TRACE(where);
        EXPECT_EQ(s.left, row.want_left);
        EXPECT_EQ(s.top, row.want_top);
        EXPECT_EQ(s.right, 640) << "the size stays";
        EXPECT_EQ(s.bottom, 480);
        EXPECT_EQ(s.history.left, row.want_left);
        EXPECT_EQ(s.history.top, row.want_top);
        EXPECT_EQ(s.history.right, 300);
        EXPECT_EQ(s.score_list.left, row.want_left);
        EXPECT_EQ(s.score_list.top, row.want_top);
    }
}

TEST(ColorTable, KeysAndDefaultsInViewPageOrder) {
    ScopedFakeSystem fake;
    constexpr int kFixed = -1;
    struct Row {
        const char* key;
        int sys_index; // kFixed: the value
        Color value;
    } rows[] = {
        {"background", 5, 0},
        {"odd_background", 5, 0},
        {"text", 8, 0},
        {"header_background", 15, 0},
        {"header_text", 18, 0},
        {"last3number_text", kFixed, 128},
        {"line", 16, 0},
        {"separate", 18, 0},
        {"ton_circle", 16, 0},
        {"input_background", kFixed, 8454143},
        {"input_text", kFixed, 0},
        {"input_select_background", 13, 0},
        {"input_select_text", 14, 0},
        {"left_background", 5, 0},
        {"left_text", 8, 0},
        {"left_active_border", 13, 0},
        {"player_name_background", 2, 0},
        {"player_name_text", 9, 0},
        {"player_background", 15, 0},
        {"player_text", 18, 0},
        {"player_info_title", 13, 0},
    };
    ASSERT_EQ(std::size(rows), static_cast<size_t>(kColorCount));
    for (int i = 0; i < kColorCount; ++i) {
        const Row& row = rows[i];
        EXPECT_STREQ(color_key(i), row.key) << "colour " << i;
        Color want = row.sys_index == kFixed ? row.value : fake.sys.sys_color(row.sys_index);
        EXPECT_EQ(color_default(i, fake.sys), want) << "default of " << row.key;
    }
    EXPECT_EQ(color_key(kColorCount), nullptr);
}

TEST(ColorParse, FollowsStrtoulWithAutomaticBase) {
    struct Row {
        const char* text;
        Color want;
    } rows[] = {
        {"", 0xABCDEF},
        {"0xFF", 255},
        {"0XfF", 255},
        {"255", 255},
        {"0377", 255},
        {"  12abc", 12},
        {"0x", 0},
        {"0x1G", 1},
        {"09", 0},
        {"junk", 0},
        {"-1", 0xFFFFFFFFu},
        {"0x1FFFFFFFF", 0xFFFFFFFFu},
        {"0x100000000", 0xFFFFFFFFu},
        {"4294967295", 0xFFFFFFFFu},
        {"+0x10", 16},
        {"-0x100000000", 0xFFFFFFFFu},
        {"0x00FF00", 0x00FF00},
    };
    for (const Row& row : rows)
        EXPECT_EQ(color_parse(row.text, 0xABCDEF), row.want) << "text [" << row.text << "]";
}

TEST_F(SettingsTest, ColoursReadFromTheFile) {
    struct Row {
        const char* raw;
        Color want;
    } rows[] = {
        {"", 0},                // 0: the system colour
        {"\"\"", 0},            // quoted empty is empty too
        {"\"0xFF\"", 0x0000FF}, // pure red
        {"255", 0x0000FF},
        {" \"0x00FF00\" ", 0x00FF00},
        {"0x12345678", 0x12345678},
    };
    for (const Row& row : rows) {
        write_ini(std::string("[color]\nbackground=") + row.raw + "\nlast3number_text=" + row.raw + "\n");
        settings_load(s, fake.sys);
        bool empty = row.want == 0;
        EXPECT_EQ(s.colors[kColorBackground], empty ? fake.sys.sys_color(5) : row.want)
            << "raw [" << row.raw << "]";
        EXPECT_EQ(s.colors[kColorLast3NumberText], empty ? 0x000080u : row.want) << "raw [" << row.raw << "]";
    }
}

TEST_F(SettingsTest, ColoursAtTheirDefaultFollowTheSystemAcrossRuns) {
    fake.sys.sys_colors[5] = 0x00FFFFFF;
    fake.sys.sys_colors[8] = 0x00000000;
    settings_load(s, fake.sys);
    s.colors[kColorText] = 0x0000FF;            // the user's own choice
    s.colors[kColorLast3NumberText] = 0x00FF00; // away from a fixed default
    s.colors[kColorInputText] = 0;              // still at its fixed default
    ASSERT_TRUE(settings_save(s, fake.sys));
    std::string text = ini_text();
    EXPECT_NE(text.find("\r\nbackground=\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\ntext=\"0x0000FF\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nlast3number_text=\"0x00FF00\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\ninput_text=\r\n"), std::string::npos);

    // A new colour scheme before the next run.
    fake.sys.sys_colors[5] = 0x00303030;
    fake.sys.sys_colors[8] = 0x00EEEEEE;
    Settings next = reloaded();
    EXPECT_EQ(next.colors[kColorBackground], 0x00303030u);
    EXPECT_EQ(next.colors[kColorOddBackground], 0x00303030u);
    EXPECT_EQ(next.colors[kColorLeftBackground], 0x00303030u);
    EXPECT_EQ(next.colors[kColorLeftText], 0x00EEEEEEu);
    EXPECT_EQ(next.colors[kColorText], 0x0000FFu) << "a chosen colour does not follow the system";
    EXPECT_EQ(next.colors[kColorLast3NumberText], 0x00FF00u);

    // A colour chosen equal to the system colour of the moment is stored empty.
    next.colors[kColorText] = 0x00EEEEEE;
    ASSERT_TRUE(settings_save(next, fake.sys));
    EXPECT_NE(ini_text().find("\r\ntext=\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ColourPutFormatsSixHexDigitsInQuotes) {
    struct Row {
        Color color, default_color;
        const char* line;
    } rows[] = {
        {0x0000FF, 0x000080, "c=\"0x0000FF\""},
        {0x000080, 0x000080, "c="},
        {0xABCDEF, 0, "c=\"0xABCDEF\""},
        {0x12345678, 0, "c=\"0x12345678\""},
    };
    for (const Row& row : rows) {
        ini_free();
        ASSERT_TRUE(color_put("c", row.color, row.default_color, s.ini_path));
        EXPECT_EQ(ini_document().text(), std::string("[color]\r\n") + row.line + "\r\n\r\n");
        ini_free();
    }
}

TEST_F(SettingsTest, EditingOneBindingPersistsTheWholeTable) {
    settings_load(s, fake.sys);
    ASSERT_EQ(s.keys.keys_customised, 0);
    s.keys.bindings[20].key = 'Y';
    s.keys.keys_customised = 1;
    ASSERT_TRUE(settings_save(s, fake.sys));

    std::string text = ini_text();
    EXPECT_NE(text.find("[key]\r\ncount=29\r\naction_0=51000\r\nctrl_0=0\r\nkey_0=112\r\naction_1=51026\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("action_28=40020\r\nctrl_28=0\r\nkey_28=123\r\n\r\n[player]"), std::string::npos);
    Settings next = reloaded();
    EXPECT_EQ(next.keys.keys_customised, 1);
    std::vector<KeyBinding> want = default_key_bindings();
    want[20].key = 'Y';
    EXPECT_EQ(describe(next.keys.bindings), describe(want));

    // Saved again without changes, the table stays in the file.
    ASSERT_TRUE(settings_save(next, fake.sys));
    EXPECT_EQ(ini_text(), text);
}

TEST_F(SettingsTest, CountsAreBoundedByTheTables) {
    struct Row {
        const char* count; // the same for all three tables
        size_t names, schedule, keys;
    } rows[] = {
        {"1000", 30, 256, 256}, {"31", 30, 31, 31}, {"2", 2, 2, 2},  {"0", 0, 0, 0},
        {"", 0, 0, 0},          {"-2", 0, 0, 0},    {"-5", 0, 0, 0},
    };
    for (const Row& row : rows) {
        std::string text = std::string("[game]\nname_list_count=") + row.count + "\n";
        for (int i = 0; i < 40; ++i)
            text += "name_list_" + std::to_string(i) + "=\"n" + std::to_string(i) + "\"\n";
        text += std::string("[schedule]\ncount=") + row.count + "\nround_1=7\n";
        text += std::string("[key]\ncount=") + row.count + "\naction_1=40016\nctrl_1=8\nkey_1=78\n";
        write_ini(text);
        settings_load(s, fake.sys);
        SCOPED_TRACE(std::string("count [") + row.count + "]");
        ASSERT_EQ(s.name_list.size(), row.names);
        ASSERT_EQ(s.schedule.size(), row.schedule);
        ASSERT_EQ(s.keys.bindings.size(), row.keys);
        EXPECT_EQ(s.keys.keys_customised, 1) << "a count in the file means the user's own table";
        if (row.names > 29) {
            EXPECT_EQ(s.name_list[29], "n29");
        }
        if (row.schedule > 1) {
            EXPECT_EQ(s.schedule[1].round, 7);
        }
        if (row.keys > 255) {
            EXPECT_EQ(describe({s.keys.bindings[1], s.keys.bindings[255]}), "40016:8:78 0:0:0 ");
        }
    }
}

TEST_F(SettingsTest, ScheduleEntriesTakeTheirOwnDefaults) {
    write_ini("[schedule]\n"
              "count=2\n"
              "start_score_0=301\n"
              "round_limit_0=0\n"
              "p1_name_0=\"Ann\"\n"
              "p2_com_0=1\n"
              "p2_com_level_0=5\n"
              "best_of_1=0\n"
              "p2_start_score_1=401\n");
    settings_load(s, fake.sys);
    ASSERT_EQ(s.schedule.size(), 2u);
    EXPECT_EQ(describe(s.schedule[0]), "301/0/15/1/3/1 [Ann] 501/0/0 [] 0/1/5 entry 0");
    EXPECT_EQ(describe(s.schedule[1]), "501/1/15/1/3/0 [] 501/0/0 [] 401/0/0 entry 0");
}

TEST_F(SettingsTest, SaveGameAddsItsKeysToTheExistingSection) {
    write_ini("[game]\r\nauto_save=1\r\nround=99\r\n# mine\r\n[view]\r\nplayer=0\r\n");
    settings_load(s, fake.sys);
    EXPECT_EQ(s.game.round, 99);
    s.game.start_score = 1001;
    s.game.p1_name = "Ann";
    s.game.p2_name = "";
    s.game.p2_com = 1;
    s.game.p2_com_level = 4;
    s.game.schedule_entry = 1;
    s.auto_save = 0; // not a game setting: stays as in the file
    EXPECT_TRUE(settings_save_game(s));
    EXPECT_EQ(ini_text(), crlf_lines({"[game]",          "auto_save=1",      "round=99",
                                      "# mine",          "start_score=1001", "round_limit=1",
                                      "leg_limit=0",     "max_leg=3",        "best_of=1",
                                      "p1_name=\"Ann\"", "p1_start_score=0", "p1_com=0",
                                      "p1_com_level=0",  "p2_name=",         "p2_start_score=0",
                                      "p2_com=1",        "p2_com_level=4",   "",
                                      "[view]",          "player=0",         ""}));
    EXPECT_TRUE(settings_save_game(s)) << "reports success even when nothing changed";
}

TEST_F(SettingsTest, SaveScheduleLeavesOldEntriesBehindUnread) {
    settings_load(s, fake.sys);
    ASSERT_TRUE(settings_save_schedule(s));
    std::string first = ini_text();
    EXPECT_EQ(first.find("[schedule]\r\ncount=7\r\nstart_score_0=1001\r\nround_limit_0=1\r\nround_0=30\r\n"
                         "max_leg_0=1\r\nbest_of_0=1\r\np1_name_0=\"Player 1\"\r\np1_start_score_0=0\r\n"
                         "p1_com_0=0\r\np1_com_level_0=0\r\np2_name_0=\"Player 2\"\r\np2_start_score_0=0\r\n"
                         "p2_com_0=0\r\np2_com_level_0=0\r\nstart_score_1=501\r\n"),
              0u);
    EXPECT_EQ(first.find("leg_limit"), std::string::npos) << "Schedule entries have no leg-limit key";
    EXPECT_EQ(first.find("[window]"), std::string::npos) << "only the Schedule is saved";

    s.schedule.resize(1);
    s.schedule[0].p2_name = "Bo";
    ASSERT_TRUE(settings_save_schedule(s));
    std::string second = ini_text();
    EXPECT_NE(second.find("count=1\r\n"), std::string::npos);
    EXPECT_NE(second.find("p2_name_0=\"Bo\"\r\n"), std::string::npos);
    EXPECT_NE(second.find("start_score_6=501\r\n"), std::string::npos) << "old entries stay in the file";
    Settings next = reloaded();
    ASSERT_EQ(next.schedule.size(), 1u);
    EXPECT_EQ(next.schedule[0].p2_name, "Bo");
}

TEST_F(SettingsTest, EverythingSavedComesBack) {
    settings_load(s, fake.sys);
    s.left = 5, s.top = 6, s.right = 700, s.bottom = 500, s.state = 3;
    s.view_player = 0, s.view_left = 0, s.view_guide = 0, s.throw_count = 0;
    s.auto_save = 1;
    s.auto_save_path = "D:\\scores";
    s.name_list = {"  Ann  ", "Bo \"B\"", ""};
    s.history = {1, 2, 300, 400};
    s.score_list = {3, 4, 500, 600};
    for (int i = 0; i < kColorCount; ++i)
        s.colors[i] = 0x010203u * static_cast<Color>(i);
    s.font_name = "Courier New";
    s.keys.bindings = {{51180, 28, 0x24}, {40017, 0, 0}};
    s.keys.keys_customised = 1;
    s.player.name = 0, s.player.total_180s = 1, s.player.arrange = 1;
    s.game = {301, 0, 10, 1, 5, 0, "P one", "P two", 401, 0, 1, 0, 2, 3, 0};
    s.schedule = {s.game, s.game};
    s.schedule[1].p1_name = "";
    s.schedule[1].leg_limit = 1;
    s.schedule[0].leg_limit = 1;

    ASSERT_TRUE(settings_save(s, fake.sys));
    ASSERT_TRUE(settings_save_game(s));
    ASSERT_TRUE(settings_save_schedule(s));
    Settings next = reloaded();
    EXPECT_EQ(next.left, 5);
    EXPECT_EQ(next.top, 6);
    EXPECT_EQ(next.right, 700);
    EXPECT_EQ(next.bottom, 500);
    EXPECT_EQ(next.state, 3);
    EXPECT_EQ(next.view_player + next.view_left + next.view_guide + next.throw_count, 0);
    EXPECT_EQ(next.auto_save, 1);
    EXPECT_EQ(next.auto_save_path, "D:\\scores");
    EXPECT_EQ(next.name_list, s.name_list) << "blanks and quotes inside the name survive";
    EXPECT_EQ(next.history.bottom, 400);
    EXPECT_EQ(next.score_list.left, 3);
    EXPECT_EQ(next.colors, s.colors);
    EXPECT_EQ(next.font_name, "Courier New");
    EXPECT_EQ(describe(next.keys.bindings), describe(s.keys.bindings));
    EXPECT_EQ(next.player.name, 0);
    EXPECT_EQ(next.player.total_180s, 1);
    EXPECT_EQ(next.player.arrange, 1);
    EXPECT_EQ(describe(next.game), describe(s.game));
    ASSERT_EQ(next.schedule.size(), 2u);
    EXPECT_EQ(describe(next.schedule[0]), describe(s.schedule[0]));
    EXPECT_EQ(describe(next.schedule[1]), describe(s.schedule[1]));
}

TEST_F(SettingsTest, TextsAreCutTo255Characters) {
    write_ini("[game]\np1_name=\"" + std::string(300, 'a') + "\"\n[font]\nname=" + std::string(256, 'f') +
              "\n");
    settings_load(s, fake.sys);
    EXPECT_EQ(s.game.p1_name, std::string(255, 'a'));
    EXPECT_EQ(s.font_name, std::string(255, 'f'));
}

TEST(NameListUpdate, MovesTheNameToTheFrontOnce) {
    using Names = std::vector<std::string>;
    struct Row {
        Names before;
        const char* name;
        Names after;
    } rows[] = {
        {{"Ann", "Bo"}, "", {"Ann", "Bo"}},           {{}, "Ann", {"Ann"}},
        {{"Ann", "Bo"}, "Cy", {"Cy", "Ann", "Bo"}},   {{"Ann", "Bo", "Cy"}, "bO", {"bO", "Ann", "Cy"}},
        {{"Ann", "", "Bo"}, "Bo", {"Bo", "Ann", ""}}, {{"Ann", "Bo"}, "Ann", {"Ann", "Bo"}},
    };
    for (const Row& row : rows) {
        Names names = row.before;
        name_list_update(names, row.name);
        EXPECT_EQ(names, row.after) << "adding [" << row.name << "]";
    }

    // Both players with the same name leave it once, at the front.
    Names names = {"Ann"};
    name_list_update(names, "Dee");
    name_list_update(names, "DEE");
    EXPECT_EQ(names, (Names{"DEE", "Ann"}));

    // A 31st new name pushes the oldest out.
    names.clear();
    for (int i = 0; i < 31; ++i)
        name_list_update(names, "n" + std::to_string(i));
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(names.front(), "n30");
    EXPECT_EQ(names.back(), "n1");
    name_list_update(names, "n15");
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(names[0], "n15");
    EXPECT_EQ(names[1], "n30");
    EXPECT_EQ(names.back(), "n1");
}

} // namespace
} // namespace tx9
