// The Schedule Option dialog under Wine, driven with messages while a thread
// timer answers the Game Option dialog and the message boxes it opens.
#include "settings/win/schedule_dialog.h"

#include "core/text.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

const auto text_of = &load_resource_string;

GameSettings entry(int start, int max_leg, int best_of, int p2_com, const char* p1_name) {
    GameSettings g = plain_game(start);
    g.round_limit = g.leg_limit = 1;
    g.round = 15;
    g.max_leg = max_leg;
    g.best_of = best_of;
    g.p1_name = p1_name;
    g.p2_name = "";
    g.p2_com = p2_com;
    g.p2_com_level = 2;
    return g;
}

HWND list_of(HWND dialog) {
    return GetDlgItem(dialog, IDC_SCHEDULE_LIST);
}
// Every row of the list, its columns joined by '|', one row a line.
std::string rows(HWND dialog) {
    std::string out;
    for (int i = 0, n = ListView_GetItemCount(list_of(dialog)); i < n; ++i)
        for (int column = 0; column < 5; ++column) {
            char text[64] = "";
            ListView_GetItemText(list_of(dialog), i, column, text, sizeof text);
            out += text + std::string(column < 4 ? "|" : "\n");
        }
    return out;
}
void select_row(HWND dialog, int index) {
    ListView_SetItemState(list_of(dialog), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
// "+" for each enabled button of Game Start, up, down, Edit and Delete, "-" for a disabled one.
std::string buttons(HWND dialog) {
    std::string out;
    for (int id : {IDOK, IDC_LIST_UP, IDC_LIST_DOWN, IDC_LIST_EDIT, IDC_LIST_DELETE})
        out += IsWindowEnabled(GetDlgItem(dialog, id)) ? "+" : "-";
    return out;
}
const char* icon_of(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        if (icon && icon == LoadIconA(nullptr, IDI_HAND)) return "stop";
        if (icon && icon == LoadIconA(nullptr, IDI_INFORMATION)) return "information";
        if (icon && icon == LoadIconA(nullptr, IDI_QUESTION)) return "question";
    }
    return "none";
}

class ScheduleDialog : public ::testing::Test {
  protected:
    // A step acts on the Schedule dialog and returns the button to press, or 0.
    using Step = std::function<int(HWND)>;

    void SetUp() override {
        prepare_match_windows();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        saved_ = settings();
        char folder[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, folder);
        settings().ini_path = std::string(folder) + "tx9_schedule_test.ini";
        DeleteFileA(settings().ini_path.c_str());
        settings().game = entry(701, 3, 0, 0, "Ann");
        settings().game.leg_limit = 0;
        settings().schedule = {entry(501, 5, 1, 0, "Ann"), entry(301, 3, 0, 1, "Bob")};
    }
    void TearDown() override {
        DeleteFileA(settings().ini_path.c_str());
        settings() = saved_;
    }

    // Runs the dialog through the steps; a step runs only while the dialog is
    // the one to answer (no Game Option dialog or message box over it).
    bool run(std::vector<Step> steps) {
        size_t next = 0;
        DialogAnswerer answerer([&](const DialogInfo& info) -> int {
            if (info.title == kProgramTitle) {
                boxes.push_back(info.text + " (" + icon_of(info.hwnd) + ")");
                const int answer = box_answers.empty() ? IDOK : box_answers.front();
                if (!box_answers.empty()) box_answers.pop_front();
                return answer;
            }
            if (GetDlgItem(info.hwnd, IDC_ROUND_LIMIT)) { // the Game Option dialog
                ++game_options;
                return game_option ? game_option(info.hwnd) : IDCANCEL;
            }
            if (!IsWindowEnabled(info.hwnd)) return 0;
            if (next < steps.size()) return steps[next++](info.hwnd);
            ADD_FAILURE() << "the dialog was still open after the last step";
            return IDCANCEL;
        });
        const bool started = run_schedule_dialog(owner_.hwnd());
        EXPECT_EQ(steps.size(), next) << "the dialog closed before its last step";
        return started;
    }
    // Selects the row (unless it is -1), then presses the button.
    static Step press(int id, int row = -1) {
        return [id, row](HWND d) {
            if (row >= 0) select_row(d, row);
            return press_button(d, id), 0;
        };
    }

    std::vector<std::string> boxes;
    std::deque<int> box_answers;
    std::function<int(HWND)> game_option; // answers the Game Option dialog
    int game_options = 0;

  private:
    Settings saved_;
    TestWindow owner_{400, 300, "owner"};
};

TEST_F(ScheduleDialog, ShowsTheListThenAddEditMoveDeleteAndGameStartReplaceTheSchedule) {
    // Add and Edit: the Game Option dialog edits an entry made from the game settings, or the selected one.
    game_option = [&](HWND d) {
        SendDlgItemMessageA(d, game_options == 1 ? IDC_SCORE_1001 : IDC_COM2, BM_CLICK, 0, 0);
        return IDOK;
    };
    std::vector<std::string> shown;
    int focus = 0, selection = -2;
    box_answers = {IDNO, IDYES};
    auto look_then = [&](int button, int row) -> Step {
        return [&, row, button](HWND d) {
            focus = GetDlgCtrlID(GetFocus());
            shown.push_back(rows(d));
            return press(button, row)(d);
        };
    };
    std::string headers, enabled;
    EXPECT_TRUE(
        run({[&](HWND d) {
                 for (int column = 0; column < 5; ++column) {
                     char text[64] = "";
                     LVCOLUMNA c{};
                     c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, c.pszText = text, c.cchTextMax = sizeof text;
                     ListView_GetColumn(list_of(d), column, &c);
                     headers += strprintf("%s %d %s|", text, c.cx, (c.fmt & LVCFMT_RIGHT) ? "right" : "left");
                 }
                 EXPECT_TRUE(ListView_GetExtendedListViewStyle(list_of(d)) & LVS_EX_FULLROWSELECT);
                 EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(GetDlgItem(d, IDC_LIST_UP), GWL_STYLE) & BS_TYPEMASK);
                 enabled = buttons(d);
                 select_row(d, 1);
                 enabled += " " + buttons(d);
                 return press(IDC_LIST_ADD)(d);
             },
             look_then(IDC_LIST_EDIT, 0), look_then(IDC_LIST_UP, 2),
             look_then(IDC_LIST_DELETE, -1), // the moved entry stays selected; answered No
             press(IDC_LIST_DELETE),         // answered Yes
             [&](HWND d) {
                 shown.push_back(rows(d));
                 selection = ListView_GetNextItem(list_of(d), -1, LVNI_SELECTED);
                 return IDOK;
             }}));
    EXPECT_EQ(strprintf("%s 80 left|%s 70 right|%s 90 right|%s 120 left|%s 120 left|",
                        text_of(IDS_COLUMN_START_SCORE).c_str(), text_of(IDS_COLUMN_ROUND).c_str(),
                        text_of(IDS_COLUMN_LEGS).c_str(), text_of(IDS_COLUMN_PLAYER1).c_str(),
                        text_of(IDS_COLUMN_PLAYER2).c_str()),
              headers);
    EXPECT_EQ("+---- +++++", enabled) << "Game Start alone until an entry is selected";
    const std::string best_of_5 = strprintf(text_of(IDS_BEST_OF).c_str(), 5);
    const std::string com_3 = strprintf(text_of(IDS_COM_NAME).c_str(), 3);
    const std::string com_1 = strprintf(text_of(IDS_COM_NAME).c_str(), 1);
    const std::string ann = "501|15|" + best_of_5 + "|Ann|\n", bob = "301|15|3|Bob|" + com_3 + "\n";
    const std::string added = "1001|30|3|Ann|\n", edited = "501|15|" + best_of_5 + "|Ann|" + com_1 + "\n";
    EXPECT_EQ((std::vector<std::string>{ann + bob + added, edited + bob + added, edited + added + bob,
                                        edited + bob}),
              shown);
    EXPECT_EQ(IDC_LIST_UP, focus);
    EXPECT_EQ(1, selection) << "the item now standing where the deleted one stood";
    EXPECT_EQ(2u, boxes.size());
    ASSERT_EQ(2u, settings().schedule.size());
    EXPECT_EQ("com 1, start 301", strprintf("com %d, start %d", settings().schedule[0].p2_com,
                                            settings().schedule[1].start_score));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings().ini_path.c_str())) << "nothing saved";
}

TEST_F(ScheduleDialog, AFullListRefusesAddSaveOptionStoresTheListAndAnEmptyOneCannotStart) {
    settings().schedule.assign(256, entry(501, 3, 1, 0, "Ann"));
    box_answers = {IDOK, IDYES, IDOK};
    EXPECT_FALSE(run({press(IDC_LIST_ADD), press(IDC_LIST_DELETE, 0), press(IDC_SAVE_OPTION),
                      [](HWND) { return IDCANCEL; }}));
    EXPECT_EQ(0, game_options);
    EXPECT_EQ((std::vector<std::string>{text_of(IDS_CANNOT_ADD) + " (stop)",
                                        text_of(IDS_DELETE_QUESTION) + " (question)",
                                        text_of(IDS_SETUP_SAVED) + " (information)"}),
              boxes);
    EXPECT_EQ(256u, settings().schedule.size()) << "Cancel keeps the Schedule in memory";

    // A read-only file is kept, and the box says why instead of "saved".
    boxes.clear();
    SetFileAttributesA(settings().ini_path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(run({press(IDC_SAVE_OPTION), [](HWND) { return IDCANCEL; }}));
    SetFileAttributesA(settings().ini_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::vector<std::string>{system_error_text(ERROR_ACCESS_DENIED) + " (stop)"}, boxes);

    settings().schedule.clear();
    std::string enabled;
    EXPECT_FALSE(run({[&](HWND d) {
                          enabled = buttons(d);
                          SendMessageA(d, WM_COMMAND, IDOK, 0); // Enter
                          return 0;
                      },
                      [](HWND) { return IDCANCEL; }}));
    EXPECT_EQ("-----", enabled);
}

} // namespace
