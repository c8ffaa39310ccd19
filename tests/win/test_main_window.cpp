// The main window driven with messages, and the figures of its layout.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <tuple>
#include <utility>
#include <vector>

namespace tx9 {
namespace {

using wintest::DialogAnswerer;
using wintest::DialogInfo;
using wintest::window_text;
using Log = std::vector<std::string>;

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

std::string temp_file(const char* name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    DeleteFileA((std::string(temp) + name).c_str());
    return std::string(temp) + name;
}

std::string menu_text(HMENU menu, UINT item, UINT by = MF_BYCOMMAND) {
    char text[256] = "";
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}

std::string bound_text(int command, int modifiers, int key) {
    return load_resource_string(command) + "\t" + key_text(modifiers, key);
}

// The Template submenu: "id text" per item, " (grayed)" after a greyed one.
std::string template_menu(HWND hwnd) {
    HMENU templates = GetSubMenu(GetSubMenu(GetMenu(hwnd), 2), 6);
    std::string out;
    for (UINT i = 0; templates && i < static_cast<UINT>(GetMenuItemCount(templates)); ++i)
        out += strprintf("%u %s%s\n", GetMenuItemID(templates, static_cast<int>(i)),
                         menu_text(templates, i, MF_BYPOSITION).c_str(),
                         GetMenuState(templates, i, MF_BYPOSITION) & MF_GRAYED ? " (grayed)" : "");
    return out;
}

std::string template_line(int value, int modifiers, int key) {
    return strprintf("%d %d\t%s\n", kTemplateBase + value, value, key_text(modifiers, key).c_str());
}

bool drain_quit() {
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        quit = true;
    return quit;
}

std::string sheet_entry(UINT message, WPARAM wparam, LPARAM lparam) {
    return strprintf("%u %u %ld", message, static_cast<unsigned>(wparam), static_cast<long>(lparam));
}

class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(register_window_classes(instance()));
    }

    void SetUp() override {
        Settings& s = settings();
        s = Settings{};
        s.ini_path = temp_file("tx9_main_window_test_missing.ini");
        settings_load(s, system_services());
        s.left = s.top = 30;
        s.right = 640;
        s.bottom = 480;
    }

    void TearDown() override {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        drain_quit();
    }

    // The window; without its start-up Game Option dialog unless asked for.
    HWND create(bool with_game_option = false) {
        hwnd_ = create_main_window(instance(), SW_SHOWNORMAL, &start_);
        if (with_game_option) return hwnd_; // it opens once messages are pumped
        if (hwnd_) KillTimer(hwnd_, kNewGameTimer);
        wintest::pump_pending();
        return hwnd_;
    }

    // From now on the sheet swallows the commands and redraw requests the
    // main window passes on to it; sheet_log() tells them.
    void watch_sheet() {
        watched_ = this;
        sheet_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            main_window_sheet(hwnd_), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindowTest::sheet_spy)));
    }

    static LRESULT CALLBACK sheet_spy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message != WM_COMMAND && message != WM_APP + 103 && message != WM_APP + 104 &&
            message != WM_APP + 108)
            return CallWindowProcA(watched_->sheet_proc_, hwnd, message, wparam, lparam);
        watched_->sheet_log_.push_back(sheet_entry(message, wparam, lparam));
        return 0;
    }

    void visit(int points) {
        ScoreSheetInfo info;
        ASSERT_TRUE(score_sheet_info(main_window_sheet(hwnd_), &info));
        SetWindowTextA(info.entry, std::to_string(points).c_str());
        SendMessageA(hwnd_, WM_COMMAND, IDM_TAB, 0);
        wintest::pump_pending();
    }

    Log sheet_log() { return std::exchange(sheet_log_, {}); }
    GameRecord& record() { return *main_window_record(hwnd_); }
    const History& history() { return *main_window_history(hwnd_); }
    bool checked(int command) {
        return (GetMenuState(GetMenu(hwnd_), static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    HWND hwnd_ = nullptr;
    MainWindowStart start_;
    WNDPROC sheet_proc_ = nullptr;
    Log sheet_log_;
    static inline MainWindowTest* watched_ = nullptr;
};

// Where the popup menu of TrackPopupMenu came up, found while it is up.
HMENU g_popup_menu = nullptr;
RECT g_popup_rect{};

void CALLBACK end_popup(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    g_popup_menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
    GetWindowRect(popup, &g_popup_rect);
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(MainWindowTest, KeepsTitleMenusAndKeysInStepWithTheGameAndTheOptions) {
    ASSERT_TRUE(create());
    EXPECT_EQ(&record(), history().live);
    HWND sheet = main_window_sheet(hwnd_);
    SetFocus(nullptr);
    SetFocus(hwnd_);
    EXPECT_TRUE(GetFocus() == sheet || IsChild(sheet, GetFocus())) << "the focus goes on to the sheet";

    // The sheet's player-changed notice rebuilds the title unless its lParam is 1.
    const std::string first = strprintf(load_resource_string(100).c_str(), "tx9", 1);
    EXPECT_EQ(first, window_text(hwnd_));
    record().leg_no = 2;
    SendMessageA(hwnd_, kMainPlayerChanged, 0, 1);
    EXPECT_EQ(first, window_text(hwnd_)) << "lParam 1 leaves the title";
    SendMessageA(hwnd_, kMainPlayerChanged, 1, 0);
    EXPECT_EQ(strprintf(load_resource_string(100).c_str(), "tx9", 3), window_text(hwnd_));

    // Menu items show the key of their first binding, here the defaults.
    const std::pair<int, char> ctrl_bound[] = {
        {IDM_NEW_GAME, 'N'}, {IDM_HISTORY, 'H'}, {IDM_FINISH_1, '1'}, {IDM_FINISH_2, '2'},
        {IDM_FINISH_3, '3'}, {IDM_MIDDLE, 'M'},  {IDM_CHECKOUT, 'A'}, {IDM_LEFT_SCORE_INPUT, 'T'}};
    for (const auto& [command, key] : ctrl_bound)
        EXPECT_EQ(bound_text(command, kModCtrl, key), menu_text(GetMenu(hwnd_), static_cast<UINT>(command)));
    EXPECT_EQ(0u, template_menu(hwnd_).find(template_line(0, 0, VK_F1)));

    watch_sheet();
    Settings& s = settings();
    s.ini_path = temp_file("tx9_main_window_options.ini"); // saved on every change
    s.keys.bindings = {{kTemplateBase + 100, 0, VK_F8}, {IDM_NEW_GAME, kModAlt, 'G'}};
    main_window_options_changed(hwnd_);
    EXPECT_EQ(template_line(100, 0, VK_F8), template_menu(hwnd_));
    EXPECT_EQ(bound_text(IDM_NEW_GAME, kModAlt, 'G'), menu_text(GetMenu(hwnd_), IDM_NEW_GAME));
    EXPECT_EQ(load_resource_string(IDM_HISTORY), menu_text(GetMenu(hwnd_), IDM_HISTORY))
        << "a lost binding loses its key";
    EXPECT_EQ(Log{sheet_entry(WM_APP + 108, 0, 0)}, sheet_log()) << "colours and fonts changed";
    s.keys.bindings.clear();
    main_window_options_changed(hwnd_);
    EXPECT_EQ(strprintf("%d %s (grayed)\n", IDM_TEMPLATE_NOTHING, load_resource_string(102).c_str()),
              template_menu(hwnd_));
    DeleteFileA(s.ini_path.c_str());

    // The context menu is the Score menu at the cursor.
    SetCursorPos(200, 150);
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, end_popup);
    SendMessageA(hwnd_, kMainContextMenu, 0, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(GetSubMenu(GetMenu(hwnd_), 2), g_popup_menu);
    EXPECT_EQ(cursor.x, g_popup_rect.left);
    EXPECT_EQ(cursor.y, g_popup_rect.top);
}

std::string place(const ChildPlace& p) {
    return strprintf(" %d,%d %dx%d", p.x, p.y, p.width, p.height);
}

TEST(MainLayout, ChildPlacesFromTheClientSize) {
    // width, height, guide bar and left-score heights (-1: off), player panels on
    const std::tuple<int, int, int, int, bool, const char*> cases[] = {
        {501, 400, -1, -1, true, "sheet 104,0 292x400 players 0,0 100x400 400,0 100x400"},
        {640, 480, 30, -1, false, "sheet 0,0 640x446 bar 0,450 640x30"}, // 4 pixels above the bar
        {600, 500, 20, 80, true,
         "sheet 124,0 352x392 players 0,0 120x392 480,0 120x392 left 0,396 298x80 302,396 298x80 bar 0,480 "
         "600x20"}};
    for (const auto& [width, height, guide, left, players, expected] : cases) {
        const MainLayout l = layout_main_window(width, height, guide, left, players);
        std::string places = "sheet" + place(l.sheet);
        if (players) places += " players" + place(l.player[0]) + place(l.player[1]);
        if (left >= 0) places += " left" + place(l.left[0]) + place(l.left[1]);
        if (guide >= 0) places += " bar" + place(l.guide);
        EXPECT_EQ(expected, places);
    }
}

TEST_F(MainWindowTest, ViewTogglesFlipWithTheirCheckMarksAndScoreCommandsGoToTheSheetUnchanged) {
    Settings& s = settings();
    s.view_player = s.view_guide = s.throw_count = 0;
    s.view_left = s.auto_save = 1;
    ASSERT_TRUE(create());
    watch_sheet();
    const std::pair<int, int Settings::*> toggles[] = {{IDM_VIEW_PLAYER, &Settings::view_player},
                                                       {IDM_VIEW_LEFT, &Settings::view_left},
                                                       {IDM_VIEW_GUIDE, &Settings::view_guide},
                                                       {IDM_VIEW_THROW_COUNT, &Settings::throw_count},
                                                       {IDM_AUTO_SAVE, &Settings::auto_save}};
    for (const auto& [command, value] : toggles) {
        const int before = s.*value;
        EXPECT_EQ(before != 0, checked(command)) << "command " << command << " at creation";
        for (int expected : {before ? 0 : 1, before}) {
            SendMessageA(hwnd_, WM_COMMAND, command, 0);
            EXPECT_EQ(expected, s.*value) << "command " << command;
            EXPECT_EQ(expected != 0, checked(command)) << "command " << command;
        }
    }
    EXPECT_EQ(Log(2, sheet_entry(WM_APP + 103, 0, 0)), sheet_log()) << "Index of Throw redraws the rows";

    // Score menu and navigation commands go to the sheet unchanged.
    for (int command : {IDM_FINISH_1, IDM_FINISH_2, IDM_FINISH_3, IDM_MIDDLE, IDM_LEFT_SCORE_INPUT,
                        IDM_EXCHANGE, IDM_CLEAR_SCORES, IDM_CHECKOUT, IDM_ENTER, IDM_ESCAPE, IDM_UP, IDM_DOWN,
                        IDM_TAB, IDM_SHIFT_TAB, IDM_PAGE_UP, IDM_PAGE_DOWN, IDM_HOME, IDM_END}) {
        SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(command, 1), 0x1234);
        EXPECT_EQ(Log{sheet_entry(WM_COMMAND, MAKEWPARAM(command, 1), 0x1234)}, sheet_log());
    }
    // Templates become WM_APP+104 with the score; ids beyond 51180 are nothing.
    for (int score : {0, 180}) {
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(kTemplateBase + score), 0);
        EXPECT_EQ(Log{sheet_entry(WM_APP + 104, static_cast<WPARAM>(score), 0)}, sheet_log());
    }
    DialogAnswerer answerer([](const DialogInfo&) { return IDCANCEL; });
    for (int command : {kTemplateBase + 181, IDM_TEMPLATE_NOTHING, 12345})
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    wintest::pump_for(60);
    EXPECT_EQ(std::make_pair(Log{}, size_t{0}), std::make_pair(sheet_log(), answerer.seen().size()));

    SendMessageA(hwnd_, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ("About|tx9 Ver 0.0.6", answerer.seen()[0].title + "|" + answerer.seen()[0].text);
}

TEST_F(MainWindowTest, JournalIsWrittenOnceAChangeIsWholeNeverWhileAFinishIsAsked) {
    settings().game.start_score = 301;
    settings().game.round_limit = 0;
    start_.journal_path = temp_file("tx9_main_window.journal");
    const std::string& journal = start_.journal_path;
    auto kept = [&journal] {
        JournalState state;
        EXPECT_EQ(JournalFound::ok, read_journal_file(journal, state));
        return state;
    };
    ASSERT_TRUE(create());
    EXPECT_FALSE(path_exists(journal)) << "the game set up at start-up is nothing to keep";
    for (int points : {140, 100, 121})
        visit(points);

    // While the finish is asked for and announced, the journal still holds the leg before it.
    std::vector<std::string> seen;
    DialogAnswerer answerer([&](const DialogInfo& d) {
        const LegRecord leg = kept().live.current_leg();
        const bool finish = GetDlgItem(d.hwnd, IDC_FINISH_1) && GetDlgItem(d.hwnd, IDC_FINISH_3);
        seen.push_back(strprintf("%s finished %d cell %d", finish ? "Finish" : "message", leg.finished,
                                 leg.scores[0][2]));
        return finish ? IDC_FINISH_2 : IDOK;
    });
    visit(81);
    visit(40);
    EXPECT_EQ((Log{"Finish finished 0 cell 0", "message finished 0 cell 0"}), seen);
    EXPECT_EQ(1, kept().live.leg_no) << "the confirmed finish started the next leg";

    DeleteFileA(journal.c_str());
    SendMessageA(hwnd_, kMainClearHistory, 0, 0);
    EXPECT_TRUE(path_exists(journal)) << "clearing the history writes the journal again";
    DeleteFileA(journal.c_str());
}

TEST_F(MainWindowTest, RemembersItsPlaceAndAsksBeforeClosingButNotAtLogOff) {
    ASSERT_TRUE(create());
    const Settings& s = settings();
    auto stored = [&s] {
        return strprintf("%d,%d %dx%d state %d", s.left, s.top, s.right, s.bottom, s.state);
    };
    SetWindowPos(hwnd_, nullptr, 50, 60, 700, 500, SWP_NOZORDER);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const std::string normal = strprintf("%ld,%ld 700x500 state 10", r.left, r.top);
    EXPECT_EQ(normal, stored());

    ShowWindow(hwnd_, SW_MAXIMIZE);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(strprintf("%ld,%ld 700x500 state 3", r.left, r.top), stored()) << "the place from before";
    ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_MINIMIZE);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(normal, stored()) << "a minimised window stores nothing";

    DialogAnswerer answerer([](const DialogInfo&) { return IDNO; });
    SendMessageA(hwnd_, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ(std::string(kProgramTitle) + "|" + load_resource_string(101),
              answerer.seen()[0].title + "|" + answerer.seen()[0].text);
    EXPECT_TRUE(IsWindow(hwnd_) && !drain_quit()) << "No keeps the window";

    // Logging off saves at once, without asking.
    const std::string ini = settings().ini_path = temp_file("tx9_main_window_logoff.ini");
    EXPECT_EQ(TRUE, SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(hwnd_, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(hwnd_) && !path_exists(ini)) << "a cancelled log-off keeps the program";
    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(1u, answerer.seen().size());
    EXPECT_TRUE(path_exists(ini)) << "the Settings must be saved before the session ends";
    EXPECT_TRUE(start_.keep_journal) << "the end of the session keeps the game for the restart";
    DeleteFileA(ini.c_str());
}

TEST_F(MainWindowTest, GameOptionOpensByItselfOnceAndOnlyOkStartsANewGame) {
    ASSERT_TRUE(create(true));
    GameRecord& r = record(); // a set with a finished leg, to be archived
    r.current_leg().finished = 1;
    r.leg_records.push_back(new_leg(r));
    r.leg_no = 1;
    HWND owner = nullptr;
    int answer = IDCANCEL;
    DialogAnswerer answerer([&](const DialogInfo& dialog) {
        if (!GetDlgItem(dialog.hwnd, IDC_SCORE_301)) return 0; // not the Game Option dialog
        owner = GetWindow(dialog.hwnd, GW_OWNER);
        SendMessageA(GetDlgItem(dialog.hwnd, IDC_SCORE_301), BM_CLICK, 0, 0);
        return answer;
    });
    ASSERT_TRUE(
        wintest::pump_until([&] { return !answerer.seen().empty() && !IsWindow(answerer.seen()[0].hwnd); }));
    EXPECT_EQ(hwnd_, owner) << "the dialog belongs to the main window";
    // The game settings, the live set's start score and leg, the sets archived.
    auto game = [this] {
        return strprintf("%d %d %d %d", settings().game.start_score, record().start_score, record().leg_no,
                         static_cast<int>(history().records.size()));
    };
    EXPECT_EQ("501 501 1 0", game()) << "a cancelled dialog changes nothing";
    answer = IDOK;
    SendMessageA(hwnd_, WM_COMMAND, IDM_NEW_GAME, 0);
    EXPECT_EQ("301 301 0 1", game()) << "a new game of 301, the played set archived";
    wintest::pump_for(100);
    EXPECT_EQ(2u, answerer.seen().size()) << "it opens by itself once only";
    SendMessageA(hwnd_, kMainClearHistory, 0, 0);
    EXPECT_TRUE(history().records.empty());
}

} // namespace
} // namespace tx9
