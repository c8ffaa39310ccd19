// The real modal Game Option dialog on a record, answered from a thread timer.
#include "settings/win/game_option_dialog.h"

#include "core/text.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <imm.h>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// The open dialog, as a step of a test sees it.
struct Dialog {
    HWND hwnd;

    bool checked(int id) const { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }
    bool visible(int id) const { return IsWindowVisible(GetDlgItem(hwnd, id)) != FALSE; }
    bool enabled(int id) const { return IsWindowEnabled(GetDlgItem(hwnd, id)) != FALSE; }
    std::string text(int id) const { return dialog_item_text(hwnd, id); }
    void set_text(int id, const char* value) const { SetDlgItemTextA(hwnd, id, value); }
    // A click as the user makes it: auto buttons change their state and notify the dialog.
    void press(int id) const { SendDlgItemMessageA(hwnd, id, BM_CLICK, 0, 0); }
    std::string items(int id) const { // "a|b|c"
        std::string items;
        for (LRESULT i = 0, n = SendDlgItemMessageA(hwnd, id, CB_GETCOUNT, 0, 0); i < n; ++i) {
            char item[512] = "";
            SendDlgItemMessageA(hwnd, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            items += (i ? "|" : "") + std::string(item);
        }
        return items;
    }

    // The whole dialog as one line: a mismatch shows every control at once.
    std::string view() const {
        auto edit = [this](int id) { return "'" + text(id) + (enabled(id) ? "' on" : "' off"); };
        std::string view = "none";
        for (auto [id, name] : {std::pair{IDC_SCORE_301, "301"},
                                {IDC_SCORE_501, "501"},
                                {IDC_SCORE_1001, "1001"},
                                {IDC_SCORE_OTHER, "other"}})
            if (checked(id)) view = name;
        view += " " + edit(IDC_OTHER_SCORE) + strprintf(" | round limit %d ", checked(IDC_ROUND_LIMIT)) +
                edit(IDC_ROUND) + " | ";
        if (visible(IDC_LEG_LIMIT)) view += strprintf("leg limit %d", checked(IDC_LEG_LIMIT));
        if (visible(IDC_LEG_LABEL)) view += text(IDC_LEG_LABEL);
        view += " " + edit(IDC_MAX_LEG) + strprintf(", best of %d ", checked(IDC_BEST_OF)) +
                (enabled(IDC_BEST_OF) ? "on" : "off");
        const int sides[2][6] = {
            {IDC_NAME1_LABEL, IDC_COM1, IDC_NAME1, IDC_LEVEL1, IDC_HANDICAP1, IDC_HANDICAP_SCORE1},
            {IDC_NAME2_LABEL, IDC_COM2, IDC_NAME2, IDC_LEVEL2, IDC_HANDICAP2, IDC_HANDICAP_SCORE2}};
        for (int p = 0; p < 2; ++p) {
            const int* id = sides[p];
            view += strprintf(" | P%d %s%s", p + 1, text(id[0]).c_str(), checked(id[1]) ? " COM" : "");
            if (visible(id[2])) view += " '" + text(id[2]) + "'";
            if (visible(id[3])) view += " " + text(id[3]);
            view += strprintf(", handicap %d ", checked(id[4])) + edit(id[5]);
        }
        return view + (visible(IDC_SAVE_OPTION) ? " | Save Option" : "");
    }
};

std::string describe(const GameSettings& g) {
    return strprintf("start %d; round_limit %d round %d; leg_limit %d max_leg %d best_of %d; "
                     "p1 '%s' start %d com %d level %d; p2 '%s' start %d com %d level %d; schedule_entry %d",
                     g.start_score, g.round_limit, g.round, g.leg_limit, g.max_leg, g.best_of,
                     g.p1_name.c_str(), g.p1_start_score, g.p1_com, g.p1_com_level, g.p2_name.c_str(),
                     g.p2_start_score, g.p2_com, g.p2_com_level, g.schedule_entry);
}

// Start score, round limit, round, leg limit, max leg, best of, names, start scores, COM flags, COM
// levels, Schedule entry.
const GameSettings kDefaultGame{501, 1, 15, 0, 3, 1, "Player 1", "Player 2", 0, 0, 0, 0, 0, 0, 0};
const std::string kDefaultDescribed = describe(kDefaultGame);

// A step looks at or changes the dialog and returns the button to press, or 0
// to be called with the next step at a later tick.
using Step = std::function<int(Dialog)>;

struct Outcome {
    bool ok = false;
    std::vector<std::string> boxes; // message boxes and their icons, closed with OK
};

bool has_information_icon(HWND box) {
    HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == information) return true;
    return false;
}

class GameOptionDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        static WinSystem system(GetModuleHandleA(nullptr)); // the Name list compares through it
        set_system_services(&system);
        saved_ = settings();
        char folder[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, folder);
        settings().ini_path = ini_path_ = std::string(folder) + "tx9_game_option_test.ini";
        settings().name_list.clear();
        settings().game = kDefaultGame;
    }
    void TearDown() override {
        DeleteFileA(ini_path_.c_str());
        settings() = saved_;
    }

    Outcome run(GameSettings* record, std::vector<Step> steps) {
        Outcome outcome;
        size_t next = 0;
        DialogAnswerer answerer([&](const DialogInfo& info) -> int {
            if (info.title == kProgramTitle) {
                outcome.boxes.push_back(info.text +
                                        (has_information_icon(info.hwnd) ? " (information)" : ""));
                return IDOK;
            }
            if (next < steps.size()) return steps[next++](Dialog{info.hwnd});
            ADD_FAILURE() << "the dialog was still open after the last step";
            return IDCANCEL;
        });
        outcome.ok = run_game_option_dialog(owner_.hwnd(), record);
        return outcome;
    }

    Settings saved_;
    std::string ini_path_;
    TestWindow owner_{400, 300, "owner"};
};

// OK without changes gives the record back, "no handicap" as the start score and the Schedule entry
// flag cleared; Schedule entries keep empty names and their hidden Leg Limit state.
TEST_F(GameOptionDialog, OpensShowingTheRecordAndOkReadsItBack) {
    EXPECT_FALSE(run(nullptr, {}).ok) << "no record, no dialog"; // a dialog shown would find no step

    const std::tuple<GameSettings, std::string, std::string> cases[] = {
        {{777, 0, 40, 1, 5, 0, "", "Zed", 777, 1001, 0, 1, 0, 4, 0},
         "other '777' on | round limit 0 '40' off | leg limit 1 '5' on, best of 0 on | P1 Name: 'Player 1', "
         "handicap 0 '777' off | P2 Level: COM Level 5, handicap 1 '1001' on",
         "start 777; round_limit 0 round 40; leg_limit 1 max_leg 5 best_of 0; p1 'Player 1' start 777 com 0 "
         "level 0; p2 'Zed' start 1001 com 1 level 4; schedule_entry 0"},
        {{501, 1, 15, 1, 3, 1, "", "", 0, 0, 1, 0, 9, 0, 1}, // Schedule entries
         "501 '' off | round limit 1 '15' on | Leg: '3' on, best of 1 on | P1 Level: COM Level 6, handicap 0 "
         "'501' off | P2 Name: '', handicap 0 '501' off",
         "start 501; round_limit 1 round 15; leg_limit 1 max_leg 3 best_of 1; p1 '' start 501 com 1 level 5; "
         "p2 '' start 501 com 0 level 0; schedule_entry 0"},
        {{1001, 0, 15, 0, 7, 0, "Ann", "", 1200, 0, 0, 0, 0, 0, 1},
         "1001 '' off | round limit 0 '15' off | Leg: '7' off, best of 0 off | P1 Name: 'Ann', handicap 1 "
         "'1200' on | P2 Name: '', handicap 0 '1001' off",
         "start 1001; round_limit 0 round 15; leg_limit 0 max_leg 7 best_of 0; p1 'Ann' start 1200 com 0 "
         "level 0; p2 '' start 1001 com 0 level 0; schedule_entry 0"},
    };
    for (auto [record, shown, after] : cases) {
        SCOPED_TRACE("opened on " + describe(record));
        Step step = [&, shown = shown](Dialog d) {
            EXPECT_EQ(shown, d.view());
            // Focus on another button of the group would check it.
            HWND focus = GetFocus();
            EXPECT_TRUE(focus && GetParent(focus) == d.hwnd &&
                        SendMessageA(focus, BM_GETCHECK, 0, 0) == BST_CHECKED)
                << "focus is on control " << (focus ? GetDlgCtrlID(focus) : 0);
            return IDOK;
        };
        EXPECT_TRUE(run(&record, {step}).ok);
        EXPECT_EQ(after, describe(record));
    }
}

// The dialog is centred over the owner, negative coordinates raised to 0.
TEST_F(GameOptionDialog, ControlsHaveTheirTextsKindsAndLimitsInBothLanguagesAndTheDialogIsCentred) {
    settings().name_list = {"Ann", "", "Bo"};
    const RECT& place = kOwnerPlaces[2]; // partly off the left of the screen
    ASSERT_TRUE(place_window(owner_.hwnd(), place));
    RECT dialog{};
    run(&settings().game, {[&](Dialog d) {
        GetWindowRect(d.hwnd, &dialog);
        EXPECT_EQ("Game Option", window_text(d.hwnd));
        for (int id : {IDC_OTHER_SCORE, IDC_ROUND, IDC_MAX_LEG, IDC_HANDICAP_SCORE1, IDC_HANDICAP_SCORE2}) {
            const int digits = id == IDC_ROUND || id == IDC_MAX_LEG ? 4 : 5;
            HWND edit = GetDlgItem(d.hwnd, id);
            HIMC context = ImmGetContext(edit); // numbers want no input method
            EXPECT_EQ(strprintf("digits only, %d of them, no input method", digits),
                      strprintf("%s, %d of them, %s",
                                GetWindowLongA(edit, GWL_STYLE) & ES_NUMBER ? "digits only" : "any text",
                                static_cast<int>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)),
                                context ? "an input method" : "no input method"))
                << "edit " << id;
            if (context) ImmReleaseContext(edit, context);
        }
        for (int p = 0; p < 2; ++p) {
            const int names = p ? IDC_NAME2 : IDC_NAME1, levels = p ? IDC_LEVEL2 : IDC_LEVEL1;
            EXPECT_EQ(CBS_DROPDOWN, GetWindowLongA(GetDlgItem(d.hwnd, names), GWL_STYLE) & 3) << p;
            EXPECT_TRUE(SendDlgItemMessageA(d.hwnd, names, CB_GETEXTENDEDUI, 0, 0)) << p;
            EXPECT_EQ("Ann|Bo", d.items(names)) << p;
            EXPECT_EQ(CBS_DROPDOWNLIST, GetWindowLongA(GetDlgItem(d.hwnd, levels), GWL_STYLE) & 3) << p;
            EXPECT_EQ("Level 1|Level 2|Level 3|Level 4|Level 5|Level 6", d.items(levels)) << p;
        }
        return IDCANCEL;
    }});
    const POINT expected = centred_on_screen(place, dialog);
    EXPECT_EQ(strprintf("%ld,%ld", expected.x, expected.y), strprintf("%ld,%ld", dialog.left, dialog.top));

    // The Japanese dialog has the English controls in their places.
    const LANGID japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    DialogTemplate en = read_dialog_template(IDD_GAME_OPTION, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    DialogTemplate ja = read_dialog_template(IDD_GAME_OPTION, japanese);
    ASSERT_EQ(29u, en.items.size());
    EXPECT_EQ(en.layout(), ja.layout());
    EXPECT_EQ(L"\u30b2\u30fc\u30e0 \u30aa\u30d7\u30b7\u30e7\u30f3", ja.caption); // ゲーム オプション

    ThreadLocaleScope locale(japanese);
    std::string title;
    run(&settings().game, {[&](Dialog d) { return title = window_text(d.hwnd), IDCANCEL; }});
    EXPECT_EQ(in_code_page(ja.caption), title) << "the dialog of the thread's language did not come up";
}

TEST_F(GameOptionDialog, ButtonsAndBoxesSwitchTheirControlsAndCancelOrCloseChangesNothing) {
    settings().name_list = {"Ann"};
    for (bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "Cancel");
        GameSettings record = kDefaultGame;
        Step step = [&](Dialog d) {
            // A start-score button sets its usual rounds whatever was typed and leaves Round Limit alone.
            std::string rounds;
            for (int button : {IDC_SCORE_OTHER, IDC_SCORE_301, IDC_SCORE_1001, IDC_SCORE_501}) {
                d.set_text(IDC_ROUND, "99");
                d.press(button);
                rounds += d.text(IDC_ROUND) + (d.enabled(IDC_OTHER_SCORE) ? " other, " : ", ");
            }
            EXPECT_EQ("60 other, 10, 30, 15, ", rounds);
            // Each box switches its controls, each COM box its side, on and off again.
            const std::string before = d.view();
            const int boxes[] = {IDC_ROUND_LIMIT, IDC_LEG_LIMIT, IDC_COM1,
                                 IDC_COM2,        IDC_HANDICAP1, IDC_HANDICAP2};
            for (int box : boxes)
                d.press(box);
            EXPECT_EQ("501 '' off | round limit 0 '15' off | leg limit 1 '3' on, best of 1 on | P1 Level: "
                      "COM Level 1, handicap 1 '501' on | P2 Level: COM Level 1, handicap 1 '501' on",
                      d.view());
            for (int box : boxes)
                d.press(box);
            EXPECT_EQ(before, d.view());
            d.set_text(IDC_NAME1, "Nobody");
            if (!close) return IDCANCEL;
            PostMessageA(d.hwnd, WM_CLOSE, 0, 0);
            return 0;
        };
        EXPECT_FALSE(run(&record, {step}).ok);
        EXPECT_EQ(kDefaultDescribed, describe(record));
        EXPECT_EQ(std::vector<std::string>{"Ann"}, settings().name_list);
    }
}

TEST_F(GameOptionDialog, OkBringsNumbersIntoRangeAndPutsBothNamesAtTheFrontOfTheNameList) {
    // Typed into the other-score, round, leg and handicap edits; read back from the record.
    const std::pair<std::array<const char*, 5>, const char*> rows[] = {
        {{"1", "0", "", "0", "1"}, "2 1 0 2 2"},
        {{"", "", "0007", "3", "99999"}, "2 1 7 3 99999"},
        {{"4000", "9999", "9999", "2", "100000"}, "4000 3333 9999 2 4000"},
        {{"99999", "3333", "0", "abc", "301"}, "99999 3333 0 99999 301"},
    };
    settings().name_list = {"Bo", "player 1"};
    for (const auto& [typed, read] : rows) {
        GameSettings record = kDefaultGame;
        Step step = [&, typed = typed](Dialog d) {
            for (int box : {IDC_SCORE_OTHER, IDC_LEG_LIMIT, IDC_HANDICAP1, IDC_HANDICAP2})
                d.press(box);
            const int edits[] = {IDC_OTHER_SCORE, IDC_ROUND, IDC_MAX_LEG, IDC_HANDICAP_SCORE1,
                                 IDC_HANDICAP_SCORE2};
            for (size_t i = 0; i < typed.size(); ++i)
                d.set_text(edits[i], typed[i]);
            return IDOK;
        };
        EXPECT_TRUE(run(&record, {step}).ok);
        EXPECT_EQ(read, strprintf("%d %d %d %d %d", record.start_score, record.round, record.max_leg,
                                  record.p1_start_score, record.p2_start_score));
    }
    EXPECT_EQ((std::vector<std::string>{"Player 2", "Player 1", "Bo"}), settings().name_list)
        << "player 1's name goes in first, matched whatever its case";
}

TEST_F(GameOptionDialog, SaveOptionStoresTheShownValuesAndKeepsTheGame) {
    settings().name_list = {"Old"};
    std::string after_save;
    Step change_and_save = [](Dialog d) {
        d.press(IDC_SCORE_301);
        d.set_text(IDC_NAME1, "Saver");
        d.press(IDC_COM2);
        SendDlgItemMessageA(d.hwnd, IDC_LEVEL2, CB_SETCURSEL, 2, 0);
        d.press(IDC_HANDICAP1);
        d.set_text(IDC_HANDICAP_SCORE1, "250");
        press_button(d.hwnd, IDC_SAVE_OPTION);
        return 0;
    };
    Step look_and_cancel = [&](Dialog d) { // back from the message box
        after_save = d.view();
        EXPECT_EQ(kDefaultDescribed, describe(settings().game)) << "changed by Save Option";
        return IDCANCEL;
    };
    Outcome outcome = run(&settings().game, {change_and_save, look_and_cancel});
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(std::vector<std::string>{"The present setup was saved. (information)"}, outcome.boxes);
    EXPECT_EQ("301 '' off | round limit 1 '10' on | leg limit 0 '3' off, best of 1 off | P1 Name: 'Saver', "
              "handicap 1 '250' on | P2 Level: COM Level 3, handicap 0 '501' off | Save Option",
              after_save);
    Settings stored;
    stored.ini_path = ini_path_;
    settings_load(stored, system_services());
    EXPECT_EQ(
        "start 301; round_limit 1 round 10; leg_limit 0 max_leg 3 best_of 1; p1 'Saver' start 250 com 0 "
        "level 0; p2 'Player 2' start 301 com 1 level 2; schedule_entry 0",
        describe(stored.game))
        << "a COM player keeps its name";
    EXPECT_EQ(kDefaultDescribed, describe(settings().game));
    EXPECT_EQ((std::vector<std::string>{"Player 2", "Saver", "Old"}), settings().name_list);

    // A read-only file is kept, and the box gives the reason instead of "saved".
    SetFileAttributesA(ini_path_.c_str(), FILE_ATTRIBUTE_READONLY);
    outcome = run(&settings().game, {[](Dialog d) { return press_button(d.hwnd, IDC_SAVE_OPTION), 0; },
                                     [](Dialog) { return IDCANCEL; }});
    SetFileAttributesA(ini_path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::vector<std::string>{system_error_text(ERROR_ACCESS_DENIED)}, outcome.boxes);
}

} // namespace
