// The Game Option dialog under Wine: each test opens the real modal dialog on
// a record and answers it from a thread timer (DialogAnswerer), setting the
// controls with messages and pressing its buttons.
#include "settings/win/game_option_dialog.h"

#include "core/text.h"
#include "res/resource.h"
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <imm.h>

using namespace tx9;
using namespace tx9::wintest;

namespace {

bool checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
bool visible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}
bool enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
std::string text(HWND dialog, int id) {
    return dialog_item_text(dialog, id);
}
void set_text(HWND dialog, int id, const std::string& value) {
    SetDlgItemTextA(dialog, id, value.c_str());
}
// A click as the user makes it: auto buttons change their state and notify the dialog.
void press(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}
void select_level(HWND dialog, int id, int index) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0);
}

std::vector<std::string> combo_items(HWND dialog, int id) {
    std::vector<std::string> items;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char item[512] = "";
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        items.push_back(item);
    }
    return items;
}

std::string describe(const GameSettings& g) {
    return strprintf(
        "start %d; round_limit %d round %d; leg_limit %d max_leg %d best_of %d; "
        "p1 \"%s\" start %d com %d level %d; p2 \"%s\" start %d com %d level %d; schedule_entry %d",
        g.start_score, g.round_limit, g.round, g.leg_limit, g.max_leg, g.best_of, g.p1_name.c_str(),
        g.p1_start_score, g.p1_com, g.p1_com_level, g.p2_name.c_str(), g.p2_start_score, g.p2_com,
        g.p2_com_level, g.schedule_entry);
}

GameSettings default_game() {
    GameSettings g;
    g.start_score = 501;
    g.round_limit = 1;
    g.round = 15;
    g.max_leg = 3;
    g.best_of = 1;
    g.p1_name = "Player 1";
    g.p2_name = "Player 2";
    return g;
}

// The dialog as one line of text, so that a case's expectation reads like the
// dialog and a mismatch shows every control at once.
std::string on_off(HWND dialog, int id) {
    return enabled(dialog, id) ? "on" : "off";
}

std::string player_view(HWND dialog, int n, int caption, int com, int names, int levels, int handicap,
                        int score) {
    std::string view = strprintf("P%d %s", n, text(dialog, caption).c_str());
    if (checked(dialog, com)) view += " COM";
    if (visible(dialog, names)) view += " '" + text(dialog, names) + "'";
    if (visible(dialog, levels)) view += " " + text(dialog, levels);
    return view + strprintf(", handicap %d '%s' %s", checked(dialog, handicap) ? 1 : 0,
                            text(dialog, score).c_str(), on_off(dialog, score).c_str());
}

std::string view_of(HWND dialog) {
    std::string view = "none";
    const std::pair<int, const char*> buttons[] = {
        {IDC_SCORE_301, "301"}, {IDC_SCORE_501, "501"}, {IDC_SCORE_1001, "1001"}, {IDC_SCORE_OTHER, "other"}};
    for (const auto& [id, name] : buttons)
        if (checked(dialog, id)) view = name;
    view += strprintf(" '%s' %s | round limit %d '%s' %s | ", text(dialog, IDC_OTHER_SCORE).c_str(),
                      on_off(dialog, IDC_OTHER_SCORE).c_str(), checked(dialog, IDC_ROUND_LIMIT) ? 1 : 0,
                      text(dialog, IDC_ROUND).c_str(), on_off(dialog, IDC_ROUND).c_str());
    if (visible(dialog, IDC_LEG_LIMIT))
        view += strprintf("leg limit %d", checked(dialog, IDC_LEG_LIMIT) ? 1 : 0);
    if (visible(dialog, IDC_LEG_LABEL)) view += text(dialog, IDC_LEG_LABEL);
    view += strprintf(" '%s' %s, best of %d %s | ", text(dialog, IDC_MAX_LEG).c_str(),
                      on_off(dialog, IDC_MAX_LEG).c_str(), checked(dialog, IDC_BEST_OF) ? 1 : 0,
                      on_off(dialog, IDC_BEST_OF).c_str());
    view += player_view(dialog, 1, IDC_NAME1_LABEL, IDC_COM1, IDC_NAME1, IDC_LEVEL1, IDC_HANDICAP1,
                        IDC_HANDICAP_SCORE1);
    view += " | " + player_view(dialog, 2, IDC_NAME2_LABEL, IDC_COM2, IDC_NAME2, IDC_LEVEL2, IDC_HANDICAP2,
                                IDC_HANDICAP_SCORE2);
    return view + (visible(dialog, IDC_SAVE_OPTION) ? " | Save Option" : "");
}

// One answer to the Game Option dialog: look at it, change it, and return the
// button to press, or 0 to be called with the next step at a later tick (the
// step may have pressed a button itself, such as Save Option).
using Step = std::function<int(HWND dialog)>;

struct Outcome {
    bool ok = false;
    int sightings = 0;                  // calls of the steps
    std::vector<std::string> box_texts; // message boxes, closed with OK
    bool box_information_icon = false;
};

bool has_information_icon(HWND box) {
    HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == information)
            return true;
    return false;
}

Outcome run_dialog(HWND owner, GameSettings* record, std::vector<Step> steps) {
    Outcome outcome;
    size_t next = 0;
    DialogAnswerer answerer([&](const DialogInfo& info) -> int {
        if (info.title == kProgramTitle) {
            outcome.box_texts.push_back(info.text);
            outcome.box_information_icon = has_information_icon(info.hwnd);
            return IDOK;
        }
        ++outcome.sightings;
        if (next < steps.size()) return steps[next++](info.hwnd);
        ADD_FAILURE() << "the dialog was still open after the last step";
        return IDCANCEL;
    });
    outcome.ok = run_game_option_dialog(owner, record);
    return outcome;
}

// Opens the dialog, looks at it once and cancels it.
void look_at(HWND owner, GameSettings* record, const std::function<void(HWND)>& look) {
    run_dialog(owner, record, {[&](HWND dialog) {
                   look(dialog);
                   return IDCANCEL;
               }});
}

class GameOptionDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = settings();
        char folder[MAX_PATH] = "";
        char file[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, folder);
        GetTempFileNameA(folder, "gop", 0, file);
        ini_path_ = file;
        settings().ini_path = ini_path_;
        settings().name_list.clear();
        settings().game = default_game();
    }
    void TearDown() override {
        DeleteFileA(ini_path_.c_str());
        settings() = saved_;
    }
    HWND owner() const { return owner_.hwnd(); }

    Settings saved_;
    std::string ini_path_;
    TestWindow owner_{400, 300, "owner"};
};

TEST_F(GameOptionDialog, WithoutRecordEndsAtOnceUnseen) {
    Outcome outcome = run_dialog(owner(), nullptr, {});
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(0, outcome.sightings) << "the dialog showed although there was no record";
}

TEST_F(GameOptionDialog, OpensShowingTheRecord) {
    GameSettings other = default_game();
    other.start_score = 777;
    other.round_limit = 0;
    other.round = 40;
    other.leg_limit = 1;
    other.max_leg = 5;
    other.best_of = 0;
    other.p1_name = "";
    other.p1_start_score = 777; // the start score itself: no handicap
    other.p2_name = "Zed";
    other.p2_com = 1;
    other.p2_com_level = 4;
    other.p2_start_score = 1001;

    GameSettings entry = default_game();
    entry.schedule_entry = 1;
    entry.leg_limit = 1;
    entry.p1_name = "";
    entry.p2_name = "";
    entry.p1_com = 1;
    entry.p1_com_level = 9; // beyond the list: the last level

    const std::pair<GameSettings*, std::string> cases[] = {
        {&settings().game, "501 '' off | round limit 1 '15' on | leg limit 0 '3' off, best of 1 off | "
                           "P1 Name: 'Player 1', handicap 0 '501' off | P2 Name: 'Player 2', handicap 0 "
                           "'501' off | Save Option"},
        {&other, "other '777' on | round limit 0 '40' off | leg limit 1 '5' on, best of 0 on | "
                 "P1 Name: 'Player 1', handicap 0 '777' off | P2 Level: COM Level 5, handicap 1 '1001' on"},
        {&entry, "501 '' off | round limit 1 '15' on | Leg: '3' on, best of 1 on | "
                 "P1 Level: COM Level 6, handicap 0 '501' off | P2 Name: '', handicap 0 '501' off"},
    };
    for (const auto& [record, expected] : cases) {
        std::string shown;
        look_at(owner(), record, [&](HWND dialog) { shown = view_of(dialog); });
        EXPECT_EQ(expected, shown) << "opened on " << describe(*record);
    }
}

TEST_F(GameOptionDialog, ControlsHaveTheirTextsKindsAndLimits) {
    settings().name_list = {"Ann", "", "Bo"};
    look_at(owner(), &settings().game, [&](HWND dialog) {
        EXPECT_EQ("Game Option", window_text(dialog));
        const std::pair<int, const char*> texts[] = {{IDC_SCORE_301, "301"},
                                                     {IDC_SCORE_501, "501"},
                                                     {IDC_SCORE_1001, "1001"},
                                                     {IDC_SCORE_OTHER, "other:"},
                                                     {IDC_ROUND_LIMIT, "Round Limit:"},
                                                     {IDC_LEG_LIMIT, "Leg Limit:"},
                                                     {IDC_LEG_LABEL, "Leg:"},
                                                     {IDC_BEST_OF, "Best of ..."},
                                                     {IDC_COM1, "COM"},
                                                     {IDC_COM2, "COM"},
                                                     {IDC_HANDICAP1, "Handicap"},
                                                     {IDC_HANDICAP2, "Handicap"},
                                                     {IDC_SAVE_OPTION, "Save Option"},
                                                     {IDOK, "OK"},
                                                     {IDCANCEL, "Cancel"}};
        for (const auto& [id, expected] : texts)
            EXPECT_EQ(expected, text(dialog, id)) << "control " << id;

        const std::pair<int, int> edits[] = {{IDC_OTHER_SCORE, 5},
                                             {IDC_ROUND, 4},
                                             {IDC_MAX_LEG, 4},
                                             {IDC_HANDICAP_SCORE1, 5},
                                             {IDC_HANDICAP_SCORE2, 5}};
        for (const auto& [id, digits] : edits) {
            HWND edit = GetDlgItem(dialog, id);
            EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_NUMBER) << "edit " << id << " takes any text";
            EXPECT_EQ(digits, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)) << "edit " << id;
            HIMC context = ImmGetContext(edit);
            EXPECT_EQ(nullptr, context) << "edit " << id << " still has an input method";
            if (context) ImmReleaseContext(edit, context);
        }
        for (int id : {IDC_NAME1, IDC_NAME2}) {
            EXPECT_EQ(CBS_DROPDOWN, GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & 3) << id;
            EXPECT_TRUE(SendDlgItemMessageA(dialog, id, CB_GETEXTENDEDUI, 0, 0)) << id;
            EXPECT_EQ((std::vector<std::string>{"Ann", "Bo"}), combo_items(dialog, id)) << id;
        }
        for (int id : {IDC_LEVEL1, IDC_LEVEL2}) {
            EXPECT_EQ(CBS_DROPDOWNLIST, GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & 3) << id;
            EXPECT_EQ(
                (std::vector<std::string>{"Level 1", "Level 2", "Level 3", "Level 4", "Level 5", "Level 6"}),
                combo_items(dialog, id))
                << id;
            EXPECT_EQ(0, SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)) << id;
        }
    });
}

TEST_F(GameOptionDialog, StartScoreButtonsSetTheUsualRoundsAndLeaveRoundLimitAlone) {
    struct Case {
        int button;
        int rounds;
        bool other_on;
        int start_score; // after OK; "other:" reads its empty edit
    };
    const Case cases[] = {{IDC_SCORE_301, 10, false, 301},
                          {IDC_SCORE_501, 15, false, 501},
                          {IDC_SCORE_1001, 30, false, 1001},
                          {IDC_SCORE_OTHER, 60, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start_score);
        GameSettings record = default_game();
        record.start_score = 1001;
        record.round_limit = 0;
        Outcome outcome = run_dialog(owner(), &record, {[&](HWND dialog) {
                                         set_text(dialog, IDC_ROUND, "99");
                                         press(dialog, c.button);
                                         EXPECT_EQ(std::to_string(c.rounds), text(dialog, IDC_ROUND));
                                         EXPECT_FALSE(checked(dialog, IDC_ROUND_LIMIT));
                                         EXPECT_EQ(c.other_on, enabled(dialog, IDC_OTHER_SCORE));
                                         return IDOK;
                                     }});
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(c.start_score, record.start_score);
        EXPECT_EQ(c.rounds, record.round);
        EXPECT_EQ(0, record.round_limit);
    }
}

TEST_F(GameOptionDialog, ComAndCheckBoxesShowAndEnableTheirControls) {
    look_at(owner(), &settings().game, [&](HWND dialog) {
        const std::pair<int, int> sides[] = {{IDC_COM1, 1}, {IDC_COM2, 2}};
        for (const auto& [com, n] : sides) {
            press(dialog, com);
            std::string view = view_of(dialog);
            EXPECT_NE(std::string::npos, view.find(strprintf("P%d Level: COM Level 1,", n))) << view;
            EXPECT_NE(std::string::npos, view.find(strprintf("P%d Name: 'Player %d'", 3 - n, 3 - n))) << view;
            press(dialog, com);
            view = view_of(dialog);
            EXPECT_NE(std::string::npos, view.find(strprintf("P%d Name: 'Player %d',", n, n))) << view;
        }

        const std::pair<int, std::vector<int>> boxes[] = {{IDC_ROUND_LIMIT, {IDC_ROUND}},
                                                          {IDC_LEG_LIMIT, {IDC_MAX_LEG, IDC_BEST_OF}},
                                                          {IDC_HANDICAP1, {IDC_HANDICAP_SCORE1}},
                                                          {IDC_HANDICAP2, {IDC_HANDICAP_SCORE2}}};
        for (const auto& [box, dependents] : boxes)
            for (int click = 0; click < 3; ++click, press(dialog, box))
                for (int id : dependents)
                    EXPECT_EQ(checked(dialog, box), enabled(dialog, id))
                        << "control " << id << " after " << click << " clicks on " << box;
        press(dialog, IDC_SCORE_OTHER);
        EXPECT_TRUE(enabled(dialog, IDC_OTHER_SCORE));
        press(dialog, IDC_SCORE_301);
        EXPECT_FALSE(enabled(dialog, IDC_OTHER_SCORE));
    });
}

TEST_F(GameOptionDialog, OkBringsNumbersIntoRange) {
    struct Case {
        const char *other, *rounds, *legs, *handicap1, *handicap2;
        int start_score, round, max_leg, p1_start_score, p2_start_score;
    };
    const Case cases[] = {
        {"1", "0", "", "0", "1", 2, 1, 0, 2, 2},
        {"", "", "0007", "2", "99999", 2, 1, 7, 2, 99999},
        {"4000", "9999", "9999", "100000", "", 4000, 3333, 9999, 4000, 4000},
        {"99999", "3333", "0", "abc", "301", 99999, 3333, 0, 99999, 301},
    };
    for (const Case& c : cases) {
        GameSettings record = default_game();
        Outcome outcome = run_dialog(owner(), &record, {[&](HWND dialog) {
                                         press(dialog, IDC_SCORE_OTHER);
                                         set_text(dialog, IDC_OTHER_SCORE, c.other);
                                         set_text(dialog, IDC_ROUND, c.rounds);
                                         press(dialog, IDC_LEG_LIMIT);
                                         set_text(dialog, IDC_MAX_LEG, c.legs);
                                         press(dialog, IDC_HANDICAP1);
                                         set_text(dialog, IDC_HANDICAP_SCORE1, c.handicap1);
                                         press(dialog, IDC_HANDICAP2);
                                         set_text(dialog, IDC_HANDICAP_SCORE2, c.handicap2);
                                         return IDOK;
                                     }});
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(
            strprintf("start %d; round_limit 1 round %d; leg_limit 1 max_leg %d best_of 1; p1 \"Player 1\" "
                      "start %d com 0 level 0; p2 \"Player 2\" start %d com 0 level 0; schedule_entry 0",
                      c.start_score, c.round, c.max_leg, c.p1_start_score, c.p2_start_score),
            describe(record))
            << "typed other '" << c.other << "', rounds '" << c.rounds << "', legs '" << c.legs
            << "', handicaps '" << c.handicap1 << "' and '" << c.handicap2 << "'";
    }
}

TEST_F(GameOptionDialog, OkWithoutChangesKeepsTheGame) {
    GameSettings com_game = default_game();
    com_game.start_score = 1001;
    com_game.round_limit = 0;
    com_game.leg_limit = 1;
    com_game.max_leg = 7;
    com_game.best_of = 0;
    com_game.p1_name = "Ann";
    com_game.p1_com = 1;
    com_game.p1_com_level = 5;
    com_game.p2_start_score = 1200;
    GameSettings com_game_after = com_game;
    com_game_after.p1_start_score = 1001; // "no handicap" reads back as the start score

    GameSettings entry = default_game();
    entry.start_score = 301;
    entry.p1_name = "";
    entry.schedule_entry = 1;
    entry.leg_limit = 1;
    GameSettings entry_after = entry;
    entry_after.p1_start_score = entry_after.p2_start_score = 301;
    entry_after.schedule_entry = 0;

    GameSettings unnamed = default_game();
    unnamed.start_score = 777;
    unnamed.p1_name = unnamed.p2_name = "";
    GameSettings unnamed_after = default_game();
    unnamed_after.start_score = unnamed_after.p1_start_score = unnamed_after.p2_start_score = 777;

    const std::pair<GameSettings, GameSettings> cases[] = {
        {com_game, com_game_after}, {entry, entry_after}, {unnamed, unnamed_after}};
    for (const auto& [before, after] : cases) {
        GameSettings record = before;
        Outcome outcome = run_dialog(owner(), &record, {[](HWND dialog) {
                                         // Focus on another button of the group would check it.
                                         HWND focus = GetFocus();
                                         EXPECT_TRUE(focus && GetParent(focus) == dialog &&
                                                     SendMessageA(focus, BM_GETCHECK, 0, 0) == BST_CHECKED)
                                             << "focus is on control " << (focus ? GetDlgCtrlID(focus) : 0);
                                         return IDOK;
                                     }});
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(describe(after), describe(record)) << "opened on " << describe(before);
    }
}

TEST_F(GameOptionDialog, OkPutsBothNamesAtTheFrontOfTheNameList) {
    std::vector<std::string> thirty;
    for (int i = 0; i < kMaxNameList; ++i)
        thirty.push_back(strprintf("Name %d", i));
    std::vector<std::string> pushed{"Name 5", "Newcomer"};
    for (int i = 0; i < kMaxNameList - 1; ++i)
        if (i != 5) pushed.push_back(strprintf("Name %d", i));

    struct Case {
        const char* what;
        std::vector<std::string> before;
        const char *name1, *name2;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"player 2 ends up first", {"Ann", "Bo"}, "Cy", "ann", {"ann", "Cy", "Bo"}},
        {"same name for both", {"Ann", "Robin", "Cy"}, "robin", "Robin", {"Robin", "Ann", "Cy"}},
        {"a 31st name", thirty, "Newcomer", "Name 5", pushed},
        {"empty names change nothing", {"Ann"}, "", "", {"Ann"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings().name_list = c.before;
        GameSettings record = default_game();
        run_dialog(owner(), &record, {[&](HWND dialog) {
                       set_text(dialog, IDC_NAME1, c.name1);
                       set_text(dialog, IDC_NAME2, c.name2);
                       press(dialog, IDC_COM1); // a COM player keeps the name typed for it
                       select_level(dialog, IDC_LEVEL1, 3);
                       return IDOK;
                   }});
        EXPECT_EQ(c.after, settings().name_list);
        EXPECT_EQ(c.name1, record.p1_name);
        EXPECT_EQ(c.name2, record.p2_name);
        EXPECT_EQ(1, record.p1_com);
        EXPECT_EQ(3, record.p1_com_level);
    }
}

TEST_F(GameOptionDialog, SaveOptionStoresTheShownValuesAndKeepsTheGame) {
    for (int closing : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(closing == IDOK ? "then OK" : "then Cancel");
        DeleteFileA(ini_path_.c_str());
        settings().game = default_game();
        settings().name_list = {"Old"};
        const std::string before = describe(settings().game);
        std::string after_save;
        Outcome outcome = run_dialog(owner(), &settings().game,
                                     {[&](HWND dialog) {
                                          press(dialog, IDC_SCORE_301);
                                          set_text(dialog, IDC_NAME1, "Saver");
                                          press(dialog, IDC_COM2);
                                          select_level(dialog, IDC_LEVEL2, 2);
                                          press(dialog, IDC_HANDICAP1);
                                          set_text(dialog, IDC_HANDICAP_SCORE1, "250");
                                          press_button(dialog, IDC_SAVE_OPTION);
                                          return 0;
                                      },
                                      [&](HWND dialog) {
                                          // Back from the message box: still open, still showing what was
                                          // saved.
                                          after_save = view_of(dialog);
                                          EXPECT_EQ(before, describe(settings().game))
                                              << "changed by Save Option";
                                          return closing;
                                      }});
        EXPECT_EQ(std::vector<std::string>{"The present setup was saved."}, outcome.box_texts);
        EXPECT_TRUE(outcome.box_information_icon);
        EXPECT_EQ(
            "301 '' off | round limit 1 '10' on | leg limit 0 '3' off, best of 1 off | P1 Name: 'Saver', "
            "handicap 1 '250' on | P2 Level: COM Level 3, handicap 0 '501' off | Save Option",
            after_save);

        IniDocument ini;
        ASSERT_TRUE(ini.load(ini_path_));
        const std::pair<const char*, int> numbers[] = {
            {"start_score", 301},    {"round_limit", 1}, {"round", 10},           {"leg_limit", 0},
            {"max_leg", 3},          {"best_of", 1},     {"p1_start_score", 250}, {"p1_com", 0},
            {"p2_start_score", 301}, {"p2_com", 1},      {"p2_com_level", 2}};
        for (const auto& [key, value] : numbers)
            EXPECT_EQ(value, ini.get_int("game", key, -1)) << key;
        EXPECT_EQ("Saver", ini.get_string("game", "p1_name", "?"));
        EXPECT_EQ("Player 2", ini.get_string("game", "p2_name", "?"));

        EXPECT_EQ(closing == IDOK, outcome.ok);
        GameSettings expected = default_game();
        if (closing == IDOK) {
            expected.start_score = expected.p2_start_score = 301;
            expected.round = 10;
            expected.p1_name = "Saver";
            expected.p1_start_score = 250;
            expected.p2_com = 1;
            expected.p2_com_level = 2;
        }
        EXPECT_EQ(describe(expected), describe(settings().game));
        EXPECT_EQ((std::vector<std::string>{"Player 2", "Saver", "Old"}), settings().name_list);
    }
}

TEST_F(GameOptionDialog, SaveOptionIsOnlyForTheSettingsOwnGame) {
    GameSettings record = default_game();
    Outcome outcome =
        run_dialog(owner(), &record, {[&](HWND dialog) {
                       EXPECT_FALSE(visible(dialog, IDC_SAVE_OPTION));
                       SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVE_OPTION, BN_CLICKED), 0);
                       return IDCANCEL;
                   }});
    EXPECT_TRUE(outcome.box_texts.empty());
    IniDocument ini;
    ini.load(ini_path_);
    EXPECT_EQ(-1, ini.get_int("game", "start_score", -1)) << "a record of its own went into the INI file";
}

TEST_F(GameOptionDialog, ScheduleEntryKeepsItsLegLimitAndEmptyNames) {
    for (int leg_limit : {1, 0}) {
        SCOPED_TRACE(leg_limit);
        GameSettings entry = default_game();
        entry.schedule_entry = 1;
        entry.leg_limit = leg_limit;
        entry.p1_name = entry.p2_name = "";
        Outcome outcome = run_dialog(owner(), &entry, {[&](HWND dialog) {
                                         EXPECT_EQ(leg_limit == 1, enabled(dialog, IDC_MAX_LEG));
                                         set_text(dialog, IDC_MAX_LEG, "5");
                                         return IDOK;
                                     }});
        EXPECT_TRUE(outcome.ok);
        GameSettings expected = default_game();
        expected.leg_limit = leg_limit;
        expected.max_leg = 5;
        expected.p1_name = expected.p2_name = "";
        expected.p1_start_score = expected.p2_start_score = 501;
        EXPECT_EQ(describe(expected), describe(entry));
        EXPECT_TRUE(settings().name_list.empty());
    }
}

TEST_F(GameOptionDialog, CancelOrCloseLeavesEverythingAsItWas) {
    settings().name_list = {"Ann"};
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "Cancel");
        GameSettings record = default_game();
        Outcome outcome = run_dialog(owner(), &record, {[&](HWND dialog) {
                                         press(dialog, IDC_SCORE_1001);
                                         set_text(dialog, IDC_NAME1, "Nobody");
                                         press(dialog, IDC_COM2);
                                         press(dialog, IDC_LEG_LIMIT);
                                         if (!close) return IDCANCEL;
                                         PostMessageA(dialog, WM_CLOSE, 0, 0);
                                         return 0;
                                     }});
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(describe(default_game()), describe(record));
        EXPECT_EQ(std::vector<std::string>{"Ann"}, settings().name_list);
    }
}

TEST_F(GameOptionDialog, CentresOverTheOwnerAndStaysOffNegativeCoordinates) {
    const RECT owners[] = {
        {100, 80, 700, 530}, {-700, -600, -400, -400}, {-300, 200, 100, 500}, {300, -500, 900, -100}};
    for (const RECT& wanted : owners) {
        SCOPED_TRACE(strprintf("owner at %ld,%ld", wanted.left, wanted.top));
        SetWindowPos(owner(), nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                     wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT placed{};
        GetWindowRect(owner(), &placed);
        ASSERT_TRUE(placed.left == wanted.left && placed.top == wanted.top)
            << "the owner could not be placed";

        GameSettings record = default_game();
        RECT dialog{};
        look_at(owner(), &record, [&](HWND window) { GetWindowRect(window, &dialog); });
        long left = wanted.left + (wanted.right - wanted.left - (dialog.right - dialog.left)) / 2;
        long top = wanted.top + (wanted.bottom - wanted.top - (dialog.bottom - dialog.top)) / 2;
        EXPECT_NEAR(left < 0 ? 0 : left, dialog.left, 1);
        EXPECT_NEAR(top < 0 ? 0 : top, dialog.top, 1);
    }
}

// The system picks the resource set by the user's language; the thread
// locale stands in for it here.
class ThreadLocaleScope {
  public:
    explicit ThreadLocaleScope(LANGID language) : saved_(GetThreadLocale()) {
        SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
    }
    ~ThreadLocaleScope() { SetThreadLocale(saved_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

  private:
    LCID saved_;
};

// Each control as id, class and style, and its place in dialog units.
std::vector<std::string> shapes_of(HWND dialog) {
    RECT base{0, 0, 400, 800};
    MapDialogRect(dialog, &base);
    auto units_x = [&](long pixels) { return std::lround(pixels * 400.0 / base.right); };
    auto units_y = [&](long pixels) { return std::lround(pixels * 800.0 / base.bottom); };
    std::vector<std::string> shapes;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[64] = "";
        GetClassNameA(child, kind, sizeof kind);
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        // Combo boxes take their closed height from the font, so the bottom is left out.
        shapes.push_back(strprintf("id %d %s %08lx at %ld,%ld width %ld", GetDlgCtrlID(child), kind,
                                   GetWindowLongA(child, GWL_STYLE) & ~WS_VISIBLE, units_x(r.left),
                                   units_y(r.top), units_x(r.right - r.left)));
    }
    return shapes;
}

TEST_F(GameOptionDialog, JapaneseDialogHasTheEnglishControlsInTheirPlaces) {
    const LANGID languages[] = {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)};
    std::vector<std::string> shapes[2];
    std::string titles[2];
    for (int i = 0; i < 2; ++i) {
        ThreadLocaleScope locale(languages[i]);
        look_at(owner(), &settings().game, [&](HWND dialog) {
            shapes[i] = shapes_of(dialog);
            titles[i] = window_text(dialog);
        });
    }
    EXPECT_EQ("Game Option", titles[0]);
    // The ANSI window shows the UTF-16 resource text through the system code page.
    const wchar_t japanese_title[] =
        L"\u30b2\u30fc\u30e0 \u30aa\u30d7\u30b7\u30e7\u30f3"; // ゲーム オプション
    char expected[64] = "";
    WideCharToMultiByte(CP_ACP, 0, japanese_title, -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_EQ(expected, titles[1]);
    ASSERT_EQ(29u, shapes[0].size());
    EXPECT_EQ(shapes[0], shapes[1]);
}

} // namespace
