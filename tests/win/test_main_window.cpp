// The main window driven with messages: creation, menus, layout, toggles,
// title, the moves from set to set, commands passed on, closing, and the
// Game Option dialog it opens by itself.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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

std::string text_of(int id) {
    return load_resource_string(id);
}

// Literal English texts are checked only when the English set is in use.
bool english_ui() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH;
}

std::string temp_file(const char* name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    DeleteFileA((std::string(temp) + name).c_str());
    return std::string(temp) + name;
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string menu_text(HMENU menu, UINT item, UINT by = MF_BYCOMMAND) {
    char text[256] = "";
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}

std::string bound_text(int command, int modifiers, int key) {
    return text_of(command) + "\t" + key_text(modifiers, key);
}

// A child's rectangle in its parent's client area, or the client area itself.
std::string place_of(HWND window, bool client = false) {
    RECT r{};
    if (client)
        GetClientRect(window, &r);
    else {
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    }
    return strprintf("(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
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

// Marks the record's current leg won by the player and opens the next one,
// so that the set can be archived.
void finish_leg_for(GameRecord& r, int winner) {
    r.current_leg().finished = 1;
    r.current_leg().winner = winner;
    r.player[static_cast<size_t>(winner)].legs += 1;
    r.leg_records.push_back(new_leg(r));
    r.leg_no += 1;
}

std::string sheet_entry(UINT message, WPARAM wparam, LPARAM lparam) {
    return strprintf("%s %u %ld",
                     message == WM_COMMAND ? "WM_COMMAND" : strprintf("WM_APP+%u", message - WM_APP).c_str(),
                     static_cast<unsigned>(wparam), static_cast<long>(lparam));
}

class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
        static bool registered = [] {
            INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
            InitCommonControlsEx(&controls);
            return register_window_classes(instance());
        }();
        ASSERT_TRUE(registered);
    }

    void SetUp() override {
        // The defaults of a first run, from an INI file that does not exist.
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
        hwnd_ = create_main_window(instance(), SW_SHOWNORMAL);
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

    Log sheet_log() { return std::exchange(sheet_log_, {}); }
    GameRecord& record() { return *main_window_record(hwnd_); }
    // The live record's place in the match, in one line.
    std::string match() {
        const GameRecord& r = record();
        return strprintf("schedule %d set %d leg %d start %d left %d sets %d-%d legs %d-%d", r.schedule_mode,
                         r.set_no, r.leg_no, r.start_score, r.player[0].left, r.player[0].sets,
                         r.player[1].sets, r.player[0].legs, r.player[1].legs);
    }
    const History& history() { return *main_window_history(hwnd_); }
    bool checked(int command) {
        return (GetMenuState(GetMenu(hwnd_), static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    HWND hwnd_ = nullptr;
    WNDPROC sheet_proc_ = nullptr;
    Log sheet_log_;
    static inline MainWindowTest* watched_ = nullptr;
};

// ---- Creation, menus, layout and toggles

TEST_F(MainWindowTest, CreatedWithTheDefaultSettings) {
    ASSERT_TRUE(create());
    EXPECT_EQ(strprintf(text_of(100).c_str(), "tx9", 1), window_text(hwnd_));
    EXPECT_TRUE(IsWindowVisible(hwnd_));

    HWND sheet = main_window_sheet(hwnd_);
    ASSERT_TRUE(sheet);
    char class_name[64] = "";
    GetClassNameA(sheet, class_name, sizeof class_name);
    EXPECT_STREQ("score_list_wnd", class_name);
    const LONG wanted = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    EXPECT_EQ(wanted, GetWindowLongA(sheet, GWL_STYLE) & wanted);
    EXPECT_EQ(0, GetDlgCtrlID(sheet));

    EXPECT_EQ("schedule 0 set 0 leg 0 start 501 left 501 sets 0-0 legs 0-0", match());
    EXPECT_EQ(text_of(103), record().player[0].name);
    EXPECT_EQ(&record(), history().live);
    EXPECT_EQ(nullptr, main_window_record(sheet)) << "only a tx9_wnd has the main window's state";
    EXPECT_EQ(nullptr, main_window_history(nullptr));

    SetFocus(nullptr);
    SetFocus(hwnd_);
    EXPECT_TRUE(GetFocus() == sheet || IsChild(sheet, GetFocus())) << "the focus goes on to the sheet";
}

TEST_F(MainWindowTest, MenuTextsAndTemplatesCarryTheKeysOfTheDefaultBindings) {
    ASSERT_TRUE(create());
    HMENU menu = GetMenu(hwnd_);
    const std::pair<int, char> ctrl_bound[] = {
        {IDM_NEW_GAME, 'N'}, {IDM_HISTORY, 'H'},  {IDM_FINISH_1, '1'},        {IDM_FINISH_3, '3'},
        {IDM_MIDDLE, 'M'},   {IDM_CHECKOUT, 'A'}, {IDM_LEFT_SCORE_INPUT, 'T'}};
    for (const auto& [command, key] : ctrl_bound)
        EXPECT_EQ(bound_text(command, kModCtrl, key), menu_text(menu, static_cast<UINT>(command))) << command;
    for (int command : {IDM_NEW_SCHEDULE, IDM_AUTO_SAVE, IDM_OPTION, IDM_EXIT, IDM_VIEW_PLAYER,
                        IDM_VIEW_THROW_COUNT, IDM_EXCHANGE, IDM_ABOUT})
        EXPECT_EQ(text_of(command), menu_text(menu, static_cast<UINT>(command))) << "unbound " << command;

    // The Template submenu in binding order: F1..F8, then Shift+F1..Shift+F8.
    const int values[] = {0, 26, 41, 45, 60, 81, 85, 100, 43, 55, 83, 95, 121, 125, 140, 180};
    std::string templates;
    for (int i = 0; i < 16; ++i)
        templates += template_line(values[i], i < 8 ? 0 : kModShift, VK_F1 + i % 8);
    EXPECT_EQ(templates, template_menu(hwnd_));
    if (english_ui()) {
        EXPECT_EQ("&New Game...\tCtrl+N", menu_text(menu, IDM_NEW_GAME));
        EXPECT_EQ("T&emplate", menu_text(GetSubMenu(menu, 2), 6, MF_BYPOSITION));
        EXPECT_NE(std::string::npos, templates.find("51043 43\tShift+F1\n"));
    }

    // No item is greyed.
    for (int top = 0; top < GetMenuItemCount(menu); ++top) {
        HMENU popup = GetSubMenu(menu, top);
        for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(popup)); ++i) {
            const UINT state = GetMenuState(popup, i, MF_BYPOSITION);
            EXPECT_FALSE(!(state & MF_SEPARATOR) && (state & MF_GRAYED))
                << "\"" << menu_text(popup, i, MF_BYPOSITION) << "\" is greyed";
        }
    }
}

TEST_F(MainWindowTest, ChangedOptionsAreSavedAndReachKeysMenusAndTheSheet) {
    Settings& s = settings();
    s.keys.bindings = {{IDM_NEW_GAME, kModCtrl, 'N'}};
    ASSERT_TRUE(create());
    const std::string nothing = strprintf("%d %s (grayed)\n", IDM_TEMPLATE_NOTHING, text_of(102).c_str());
    EXPECT_EQ(nothing, template_menu(hwnd_)) << "no template bindings";

    // A template without a key name is left out, and so is any later binding of
    // the same value; a command's text takes its first binding with a key name.
    watch_sheet();
    s.ini_path = temp_file("tx9_main_window_options.ini");
    s.keys.bindings = {{kTemplateBase + 60, 0, 0},
                       {kTemplateBase + 60, kModShift, VK_F5},
                       {kTemplateBase + 100, 0, VK_F8},
                       {kTemplateBase + 100, kModCtrl, VK_F9},
                       {IDM_NEW_GAME, 0, 0},
                       {IDM_NEW_GAME, kModAlt, 'G'}};
    s.keys.keys_customised = 1;
    main_window_options_changed(hwnd_);

    EXPECT_TRUE(file_exists(s.ini_path)) << "the Settings were not saved";
    DeleteFileA(s.ini_path.c_str());
    ASSERT_TRUE(user_accelerators());
    EXPECT_EQ(4, CopyAcceleratorTableA(user_accelerators(), nullptr, 0));
    destroy_user_accelerators();
    EXPECT_EQ(template_line(100, 0, VK_F8), template_menu(hwnd_));
    EXPECT_EQ(bound_text(IDM_NEW_GAME, kModAlt, 'G'), menu_text(GetMenu(hwnd_), IDM_NEW_GAME));
    EXPECT_EQ(text_of(IDM_HISTORY), menu_text(GetMenu(hwnd_), IDM_HISTORY)) << "a lost binding loses its key";
    EXPECT_EQ(Log{sheet_entry(WM_APP + 108, 0, 0)}, sheet_log()) << "colours and fonts changed";

    // Command 32778 rebuilds from the bindings as they are now.
    s.keys.bindings.clear();
    SendMessageA(hwnd_, WM_COMMAND, IDM_REFRESH_MENU, 0);
    EXPECT_EQ(nothing, template_menu(hwnd_));
}

std::string place(const ChildPlace& p) {
    return strprintf("%d,%d %dx%d", p.x, p.y, p.width, p.height);
}

TEST(MainLayout, ChildPlacesFromTheClientSize) {
    struct Case {
        int width, height, guide, left;
        bool players;
        const char *sheet, *player1, *player2, *left1, *left2, *bar; // nullptr: not placed
    };
    const Case cases[] = {
        {501, 400, -1, -1, true, "104,0 292x400", "0,0 100x400", "400,0 100x400", nullptr, nullptr, nullptr},
        // The sheet ends 4 pixels above the bar.
        {640, 480, 30, -1, false, "0,0 640x446", nullptr, nullptr, nullptr, nullptr, "0,450 640x30"},
        {600, 500, 20, 80, true, "124,0 352x392", "0,0 120x392", "480,0 120x392", "0,396 298x80",
         "302,396 298x80", "0,480 600x20"},
        {333, 222, -1, -1, false, "0,0 333x222", nullptr, nullptr, nullptr, nullptr, nullptr}};
    for (const Case& c : cases) {
        const MainLayout l = layout_main_window(c.width, c.height, c.guide, c.left, c.players);
        const std::pair<const char*, const ChildPlace*> checks[] = {
            {c.sheet, &l.sheet},   {c.player1, &l.player[0]}, {c.player2, &l.player[1]},
            {c.left1, &l.left[0]}, {c.left2, &l.left[1]},     {c.bar, &l.guide}};
        for (const auto& [expected, actual] : checks) {
            if (expected) {
                EXPECT_EQ(expected, place(*actual)) << c.width << "x" << c.height << " " << expected;
            }
        }
    }
}

TEST_F(MainWindowTest, ViewTogglesFollowTheSettingsFlipThemAndLayOutAgain) {
    Settings& s = settings();
    s.view_player = 0;
    s.view_left = 1;
    s.view_guide = 0;
    s.throw_count = 0;
    s.auto_save = 1;
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
    s.auto_save = 5; // any value but 0 counts as on
    SendMessageA(hwnd_, WM_COMMAND, IDM_AUTO_SAVE, 0);
    EXPECT_EQ(0, s.auto_save);
    EXPECT_EQ(Log(2, sheet_entry(WM_APP + 103, 0, 0)), sheet_log())
        << "Index of Throw redraws the rows each time";

    // All three view items off: the sheet fills the client area, also after resizing.
    SendMessageA(hwnd_, WM_COMMAND, IDM_VIEW_LEFT, 0);
    ASSERT_EQ(0, s.view_player + s.view_left + s.view_guide);
    EXPECT_EQ(place_of(hwnd_, true), place_of(main_window_sheet(hwnd_)));
    SetWindowPos(hwnd_, nullptr, 0, 0, 517, 389, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(place_of(hwnd_, true), place_of(main_window_sheet(hwnd_))) << "after resizing";
}

// ---- Title and the moves from set to set

TEST_F(MainWindowTest, TitleFollowsThePlayerChangedNotice) {
    settings().game.leg_limit = 1;
    settings().game.max_leg = 5;
    settings().game.best_of = 0;
    ASSERT_TRUE(create());
    const std::string first = strprintf(text_of(106).c_str(), "tx9", 1, 1, 5);
    EXPECT_EQ(first, window_text(hwnd_));
    GameRecord& r = record();
    r.best_of = 1;
    r.set_no = 1;
    r.leg_no = 2;
    SendMessageA(hwnd_, kMainPlayerChanged, 0, 1);
    EXPECT_EQ(first, window_text(hwnd_)) << "lParam 1 leaves the title";
    SendMessageA(hwnd_, kMainPlayerChanged, 1, 0);
    EXPECT_EQ(strprintf(text_of(107).c_str(), "tx9", 2, 3, 5), window_text(hwnd_));
}

TEST_F(MainWindowTest, SetOverStartsTheNextSetOfAnOrdinaryGame) {
    settings().game.leg_limit = 1;
    settings().game.max_leg = 3;
    ASSERT_TRUE(create());
    GameRecord& r = record();
    finish_leg_for(r, 0);
    r.player[0].sets = 1;

    EXPECT_EQ(1, SendMessageA(hwnd_, kMainSetOver, 0, 0));
    ASSERT_EQ(1u, history().records.size());
    EXPECT_EQ(1, history().records[0].leg_no);
    EXPECT_EQ("schedule 0 set 1 leg 0 start 501 left 501 sets 1-0 legs 0-0", match()) << "sets carry over";
    EXPECT_EQ(strprintf(text_of(107).c_str(), "tx9", 2, 1, 3), window_text(hwnd_));

    SendMessageA(hwnd_, kMainClearHistory, 0, 0);
    EXPECT_TRUE(history().records.empty());
}

TEST_F(MainWindowTest, ScheduleTakesEntryAfterEntryAndAnnouncesTheResultAfterTheLast) {
    settings().schedule.resize(3);
    for (size_t i = 0; i < 3; ++i) {
        settings().schedule[i].start_score = 301 + 100 * static_cast<int>(i);
        settings().schedule[i].leg_limit = settings().schedule[i].max_leg = 1;
    }
    ASSERT_TRUE(create());
    GameRecord& r = record();
    r.schedule_mode = 1;
    for (int set = 1; set <= 2; ++set) {
        finish_leg_for(r, 1);
        EXPECT_EQ(1, SendMessageA(hwnd_, kMainSetOver, 0, 0)) << "set " << set;
        const int start = 301 + 100 * set;
        EXPECT_EQ(strprintf("schedule 1 set %d leg 0 start %d left %d sets 0-0 legs 0-0", set, start, start),
                  match());
    }

    r.player[0].sets = 2;
    r.player[1].sets = 1;
    finish_leg_for(r, 0);
    const std::string before = match();
    DialogAnswerer answerer([](const DialogInfo&) { return IDOK; });
    EXPECT_EQ(0, SendMessageA(hwnd_, kMainSetOver, 0, 0)) << "no fourth set";
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ(kProgramTitle, answerer.seen()[0].title);
    EXPECT_EQ(strprintf(text_of(108).c_str(), 2, 1, text_of(103).c_str()), answerer.seen()[0].text);
    EXPECT_EQ(before, match()) << "the record stays as it is";
    EXPECT_EQ(3u, history().records.size()) << "the last set is archived once";
}

// ---- Commands

TEST_F(MainWindowTest, ScoreMenuAndNavigationCommandsGoToTheSheetUnchanged) {
    ASSERT_TRUE(create());
    watch_sheet();
    for (int command : {IDM_FINISH_1, IDM_FINISH_2, IDM_FINISH_3, IDM_MIDDLE, IDM_LEFT_SCORE_INPUT,
                        IDM_EXCHANGE, IDM_CLEAR_SCORES, IDM_CHECKOUT, IDM_ENTER, IDM_ESCAPE, IDM_UP, IDM_DOWN,
                        IDM_TAB, IDM_SHIFT_TAB, IDM_PAGE_UP, IDM_PAGE_DOWN, IDM_HOME, IDM_END}) {
        SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(command, 1), 0x1234);
        EXPECT_EQ(Log{sheet_entry(WM_COMMAND, MAKEWPARAM(command, 1), 0x1234)}, sheet_log());
    }
    // Templates become WM_APP+104 with the score; ids beyond 51180 are nothing.
    for (int score : {0, 60, 180}) {
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(kTemplateBase + score), 0);
        EXPECT_EQ(Log{sheet_entry(WM_APP + 104, static_cast<WPARAM>(score), 0)}, sheet_log());
    }
    DialogAnswerer answerer([](const DialogInfo&) { return IDCANCEL; });
    for (int command : {kTemplateBase + 181, IDM_TEMPLATE_NOTHING, 12345})
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    wintest::pump_for(60);
    EXPECT_EQ(Log{}, sheet_log());
    EXPECT_TRUE(answerer.seen().empty());

    SendMessageA(hwnd_, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ("About", answerer.seen()[0].title);
    EXPECT_EQ("tx9 Ver 0.0.6", answerer.seen()[0].text);
}

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

TEST_F(MainWindowTest, ContextMenuIsTheScoreMenuAtTheCursor) {
    ASSERT_TRUE(create());
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

TEST_F(MainWindowTest, MoveOrResizeEndStoresPlaceAndSizeOfANormalWindowOnly) {
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
}

// ---- Closing

TEST_F(MainWindowTest, CloseAsksAndNoKeepsTheWindowButLoggingOffDoesNotAsk) {
    ASSERT_TRUE(create());
    int answer = IDNO;
    DialogAnswerer answerer([&answer](const DialogInfo&) { return answer; });
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ(kProgramTitle, answerer.seen()[0].title);
    EXPECT_EQ(text_of(101), answerer.seen()[0].text);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_FALSE(drain_quit());

    // Exit asks the same question; Yes destroys the window and ends the loop with 0.
    answer = IDYES;
    SendMessageA(hwnd_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(2u, answerer.seen().size());
    EXPECT_FALSE(IsWindow(hwnd_));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);

    // Logging off saves at once (the process may end before the loop does) and asks nothing.
    ASSERT_TRUE(create());
    const std::string ini = settings().ini_path = temp_file("tx9_main_window_logoff.ini");
    EXPECT_EQ(TRUE, SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(hwnd_, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(hwnd_)) << "a cancelled log-off keeps the program";
    EXPECT_FALSE(file_exists(ini));
    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(2u, answerer.seen().size());
    EXPECT_TRUE(file_exists(ini)) << "the Settings must be saved before the session ends";
    DeleteFileA(ini.c_str());
}

// ---- The Game Option dialog

TEST_F(MainWindowTest, GameOptionOpensByItselfOnceAndOnlyOkChangesTheGame) {
    struct Case {
        int score_button, answer, expected_score;
    };
    for (const Case& c : {Case{IDC_SCORE_301, IDOK, 301}, Case{IDC_SCORE_1001, IDCANCEL, 501}}) {
        SetUp(); // the settings of a first run again
        ASSERT_TRUE(create(true));
        HWND owner = nullptr;
        DialogAnswerer answerer([&](const DialogInfo& dialog) {
            if (!GetDlgItem(dialog.hwnd, IDC_SCORE_301)) return 0; // not the Game Option dialog
            owner = GetWindow(dialog.hwnd, GW_OWNER);
            SendMessageA(GetDlgItem(dialog.hwnd, c.score_button), BM_CLICK, 0, 0);
            return c.answer;
        });
        ASSERT_TRUE(wintest::pump_until(
            [&] { return !answerer.seen().empty() && !IsWindow(answerer.seen()[0].hwnd); }));
        EXPECT_EQ(hwnd_, owner) << "the dialog belongs to the main window";
        EXPECT_EQ(c.expected_score, settings().game.start_score);
        EXPECT_EQ(strprintf("schedule 0 set 0 leg 0 start %d left %d sets 0-0 legs 0-0", c.expected_score,
                            c.expected_score),
                  match());
        EXPECT_TRUE(history().records.empty()) << "a set without a finished leg is not archived";
        wintest::pump_for(100);
        EXPECT_EQ(1u, answerer.seen().size()) << "it opens once only";
        DestroyWindow(hwnd_);
        drain_quit();
    }
}

TEST_F(MainWindowTest, NewGameArchivesASetWithFinishedLegs) {
    ASSERT_TRUE(create());
    finish_leg_for(record(), 1);
    record().schedule_mode = 1;
    record().set_no = 4;
    DialogAnswerer answerer(
        [](const DialogInfo& dialog) { return GetDlgItem(dialog.hwnd, IDC_SCORE_301) ? IDOK : 0; });
    SendMessageA(hwnd_, WM_COMMAND, IDM_NEW_GAME, 0);
    EXPECT_EQ(1u, history().records.size());
    EXPECT_EQ("schedule 0 set 0 leg 0 start 501 left 501 sets 0-0 legs 0-0", match());
}

} // namespace
} // namespace tx9
