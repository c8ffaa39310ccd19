// The main window driven with messages: creation with the default settings,
// menu texts and the Template submenu, layout, view toggles, title, the moves
// from set to set, commands passed on to the score sheet, closing, and the
// Game Option dialog it opens by itself.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "app/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace tx9 {
namespace {

using wintest::DialogAnswerer;
using wintest::DialogInfo;

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

// The Game Option dialog, known by its controls whatever the language.
bool is_game_option(const DialogInfo& dialog) {
    return GetDlgItem(dialog.hwnd, IDC_SCORE_301) != nullptr;
}

std::string window_text(HWND hwnd) {
    char text[512] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string menu_text(HMENU menu, UINT item, UINT by = MF_BYCOMMAND) {
    char text[256] = "";
    GetMenuStringA(menu, item, text, sizeof text, by);
    return text;
}

bool is_checked(HWND hwnd, int command) {
    return (GetMenuState(GetMenu(hwnd), static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

RECT rect_in_parent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expect_rect(const RECT& expected, const RECT& actual, const char* what) {
    EXPECT_TRUE(EqualRect(&expected, &actual))
        << what << ": expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
        << expected.bottom << "), got (" << actual.left << "," << actual.top << ")-(" << actual.right << ","
        << actual.bottom << ")";
}

// Messages the score sheet received from the main window while it was watched.
struct SheetMessage {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

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
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        s.ini_path = std::string(temp) + "tx9_main_window_test_missing.ini";
        DeleteFileA(s.ini_path.c_str());
        settings_load(s, system_services());
        s.left = 30;
        s.top = 30;
        s.right = 640;
        s.bottom = 480;
    }

    void TearDown() override {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        drain_quit();
    }

    // The window without its start-up Game Option dialog.
    HWND create() {
        hwnd_ = create_main_window(instance(), SW_SHOWNORMAL);
        if (hwnd_) KillTimer(hwnd_, kNewGameTimer);
        wintest::pump_pending();
        return hwnd_;
    }

    static bool drain_quit() {
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            quit = true;
        return quit;
    }

    // Swallows what the main window passes on to the sheet, and records it.
    void watch_sheet() {
        sheet_ = main_window_sheet(hwnd_);
        ASSERT_TRUE(sheet_);
        watched_ = this;
        sheet_proc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(sheet_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindowTest::sheet_spy)));
    }

    static LRESULT CALLBACK sheet_spy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        MainWindowTest* self = watched_;
        if (message == WM_COMMAND || message == WM_APP + 103 || message == WM_APP + 104 ||
            message == WM_APP + 108) {
            self->sheet_messages_.push_back({message, wparam, lparam});
            return 0;
        }
        return CallWindowProcA(self->sheet_proc_, hwnd, message, wparam, lparam);
    }

    GameRecord& record() { return *main_window_record(hwnd_); }

    HWND hwnd_ = nullptr;
    HWND sheet_ = nullptr;
    WNDPROC sheet_proc_ = nullptr;
    std::vector<SheetMessage> sheet_messages_;
    static inline MainWindowTest* watched_ = nullptr;
};

// ---- Creation with the default settings

TEST_F(MainWindowTest, CreatedWithTheDefaultSettings) {
    ASSERT_TRUE(create());
    EXPECT_EQ(strprintf(text_of(100).c_str(), "tx9", 1), window_text(hwnd_));
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    EXPECT_TRUE(GetMenu(hwnd_));

    HWND sheet = main_window_sheet(hwnd_);
    ASSERT_TRUE(sheet);
    char class_name[64] = "";
    GetClassNameA(sheet, class_name, sizeof class_name);
    EXPECT_STREQ("score_list_wnd", class_name);
    const LONG style = GetWindowLongA(sheet, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
              style & (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP));
    EXPECT_EQ(0, GetDlgCtrlID(sheet));

    const GameRecord& r = record();
    EXPECT_EQ(501, r.start_score);
    EXPECT_EQ(0, r.schedule_mode);
    EXPECT_EQ(text_of(103), r.player[0].name);
    EXPECT_EQ(&record(), main_window_history(hwnd_)->live);
}

TEST_F(MainWindowTest, MenuTextsCarryTheKeyOfTheFirstBinding) {
    ASSERT_TRUE(create());
    HMENU menu = GetMenu(hwnd_);
    struct Case {
        int command;
        int modifiers;
        int key; // 0: no binding, the text stays as in the string table
    };
    const Case cases[] = {
        {IDM_NEW_GAME, kModCtrl, 'N'},
        {IDM_NEW_SCHEDULE, 0, 0},
        {IDM_HISTORY, kModCtrl, 'H'},
        {IDM_AUTO_SAVE, 0, 0},
        {IDM_OPTION, 0, 0},
        {IDM_EXIT, 0, 0},
        {IDM_VIEW_PLAYER, 0, 0},
        {IDM_VIEW_THROW_COUNT, 0, 0},
        {IDM_FINISH_1, kModCtrl, '1'},
        {IDM_FINISH_3, kModCtrl, '3'},
        {IDM_MIDDLE, kModCtrl, 'M'},
        {IDM_LEFT_SCORE_INPUT, kModCtrl, 'T'},
        {IDM_EXCHANGE, 0, 0},
        {IDM_CHECKOUT, kModCtrl, 'A'},
    };
    for (const Case& c : cases) {
        std::string expected = text_of(c.command);
        if (c.key) expected += "\t" + key_text(c.modifiers, c.key);
        EXPECT_EQ(expected, menu_text(menu, static_cast<UINT>(c.command))) << "command " << c.command;
    }
    if (english_ui()) {
        EXPECT_EQ("&New Game...\tCtrl+N", menu_text(menu, IDM_NEW_GAME));
    }
    EXPECT_EQ(text_of(IDM_ABOUT), menu_text(menu, IDM_ABOUT));

    // No item is greyed but the Template submenu's "(Nothing)".
    for (int top = 0; top < GetMenuItemCount(menu); ++top) {
        HMENU popup = GetSubMenu(menu, top);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
            if (state & MF_SEPARATOR) continue;
            EXPECT_FALSE(state & MF_GRAYED) << "menu " << top << " item " << i << " \""
                                            << menu_text(popup, static_cast<UINT>(i), MF_BYPOSITION) << "\"";
        }
    }
}

std::vector<std::pair<UINT, std::string>> template_items(HWND hwnd, std::vector<UINT>* states = nullptr) {
    HMENU templates = GetSubMenu(GetSubMenu(GetMenu(hwnd), 2), 6);
    std::vector<std::pair<UINT, std::string>> out;
    for (int i = 0; templates && i < GetMenuItemCount(templates); ++i) {
        out.push_back(
            {GetMenuItemID(templates, i), menu_text(templates, static_cast<UINT>(i), MF_BYPOSITION)});
        if (states) states->push_back(GetMenuState(templates, static_cast<UINT>(i), MF_BYPOSITION));
    }
    return out;
}

TEST_F(MainWindowTest, TemplateSubmenuListsTheBoundTemplatesInBindingOrder) {
    ASSERT_TRUE(create());
    if (english_ui()) {
        EXPECT_EQ("T&emplate", menu_text(GetSubMenu(GetMenu(hwnd_), 2), 6, MF_BYPOSITION));
    }
    const int values[] = {0, 26, 41, 45, 60, 81, 85, 100, 43, 55, 83, 95, 121, 125, 140, 180};
    const auto items = template_items(hwnd_);
    ASSERT_EQ(16u, items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const int key = VK_F1 + static_cast<int>(i % 8);
        const int modifiers = i < 8 ? 0 : kModShift;
        EXPECT_EQ(static_cast<UINT>(kTemplateBase + values[i]), items[i].first) << "item " << i;
        EXPECT_EQ(strprintf("%d\t%s", values[i], key_text(modifiers, key).c_str()), items[i].second)
            << "item " << i;
    }
    EXPECT_EQ("43\tShift+F1", items[8].second);
}

TEST_F(MainWindowTest, WithoutTemplateBindingsOnlyTheGrayedNothingItem) {
    settings().keys.bindings = {{IDM_NEW_GAME, kModCtrl, 'N'}};
    ASSERT_TRUE(create());
    std::vector<UINT> states;
    auto items = template_items(hwnd_, &states);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(static_cast<UINT>(IDM_TEMPLATE_NOTHING), items[0].first);
    EXPECT_EQ(text_of(102), items[0].second);
    EXPECT_TRUE(states[0] & MF_GRAYED);

    // 32778 rebuilds from the bindings as they are now: a template without a
    // key name is left out, and so is any later binding of the same value.
    settings().keys.bindings = {
        {kTemplateBase + 60, 0, 0},
        {kTemplateBase + 60, kModShift, VK_F5},
        {kTemplateBase + 100, 0, VK_F8},
        {kTemplateBase + 100, kModCtrl, VK_F9},
        {IDM_NEW_GAME, 0, 0},
        {IDM_NEW_GAME, kModAlt, 'G'},
    };
    SendMessageA(hwnd_, WM_COMMAND, IDM_REFRESH_MENU, 0);
    states.clear();
    items = template_items(hwnd_, &states);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(static_cast<UINT>(kTemplateBase + 100), items[0].first);
    EXPECT_EQ("100\t" + key_text(0, VK_F8), items[0].second);
    EXPECT_FALSE(states[0] & MF_GRAYED);
    EXPECT_EQ(text_of(IDM_NEW_GAME) + "\t" + key_text(kModAlt, 'G'), menu_text(GetMenu(hwnd_), IDM_NEW_GAME));
    // A command that lost its binding loses its key text.
    EXPECT_EQ(text_of(IDM_HISTORY), menu_text(GetMenu(hwnd_), IDM_HISTORY));

    settings().keys.bindings.clear();
    SendMessageA(hwnd_, WM_COMMAND, IDM_REFRESH_MENU, 0);
    items = template_items(hwnd_);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(static_cast<UINT>(IDM_TEMPLATE_NOTHING), items[0].first);
}

// ---- Layout

TEST(MainLayout, ChildPlacesFromTheClientSize) {
    // Player panels only, the client 501 wide.
    MainLayout l = layout_main_window(501, 400, -1, -1, true);
    EXPECT_EQ(0, l.player[0].x);
    EXPECT_EQ(100, l.player[0].width);
    EXPECT_EQ(400, l.player[1].x);
    EXPECT_EQ(100, l.player[1].width);
    EXPECT_EQ(400, l.player[1].height);
    EXPECT_EQ(104, l.sheet.x);
    EXPECT_EQ(292, l.sheet.width);
    EXPECT_EQ(400, l.sheet.height);

    // Key guide bar only: the sheet ends 4 pixels above the bar.
    l = layout_main_window(640, 480, 30, -1, false);
    EXPECT_EQ(0, l.sheet.x);
    EXPECT_EQ(640, l.sheet.width);
    EXPECT_EQ(480 - 34, l.sheet.height);
    EXPECT_EQ(480 - 30, l.guide.y);
    EXPECT_EQ(30, l.guide.height);
    EXPECT_EQ(640, l.guide.width);
    EXPECT_EQ(4, l.guide.y - (l.sheet.y + l.sheet.height));

    // Everything: left panels above the bar, the sheet and player panels above them.
    l = layout_main_window(600, 500, 20, 80, true);
    EXPECT_EQ(500 - 24 - 80, l.left[0].y);
    EXPECT_EQ(0, l.left[0].x);
    EXPECT_EQ(298, l.left[0].width);
    EXPECT_EQ(302, l.left[1].x);
    EXPECT_EQ(298, l.left[1].width);
    EXPECT_EQ(80, l.left[1].height);
    EXPECT_EQ(500 - 24 - 84, l.sheet.height);
    EXPECT_EQ(l.sheet.height, l.player[0].height);
    EXPECT_EQ(480, l.player[1].x);
    EXPECT_EQ(124, l.sheet.x);
    EXPECT_EQ(352, l.sheet.width);
    EXPECT_EQ(500 - 20, l.guide.y);

    // Nothing but the sheet.
    l = layout_main_window(333, 222, -1, -1, false);
    EXPECT_EQ(0, l.sheet.x);
    EXPECT_EQ(0, l.sheet.y);
    EXPECT_EQ(333, l.sheet.width);
    EXPECT_EQ(222, l.sheet.height);
}

TEST_F(MainWindowTest, SheetFillsTheClientAreaAndFollowsResizing) {
    ASSERT_TRUE(create());
    HWND sheet = main_window_sheet(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    ASSERT_GT(client.right, 0);
    expect_rect(client, rect_in_parent(sheet), "sheet after creation");

    SetWindowPos(hwnd_, nullptr, 0, 0, 517, 389, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(hwnd_, &client);
    expect_rect(client, rect_in_parent(sheet), "sheet after resizing");

    // All three view items off: still the whole client area.
    for (int command : {IDM_VIEW_PLAYER, IDM_VIEW_LEFT, IDM_VIEW_GUIDE})
        SendMessageA(hwnd_, WM_COMMAND, command, 0);
    EXPECT_EQ(0, settings().view_player + settings().view_left + settings().view_guide);
    expect_rect(client, rect_in_parent(sheet), "sheet with all view items off");
}

TEST_F(MainWindowTest, ChangedOptionsAreSavedAndReachKeysMenusAndChildren) {
    ASSERT_TRUE(create());
    watch_sheet();
    Settings& s = settings();
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    s.ini_path = std::string(temp) + "tx9_main_window_options.ini";
    DeleteFileA(s.ini_path.c_str());
    s.keys.bindings = {{IDM_NEW_GAME, kModAlt, 'G'}, {kTemplateBase + 50, 0, VK_F2}};
    s.keys.keys_customised = 1;

    main_window_options_changed(hwnd_);

    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(s.ini_path.c_str()))
        << "the Settings were not saved";
    DeleteFileA(s.ini_path.c_str());
    ASSERT_TRUE(user_accelerators());
    EXPECT_EQ(2, CopyAcceleratorTableA(user_accelerators(), nullptr, 0));
    EXPECT_EQ(text_of(IDM_NEW_GAME) + "\t" + key_text(kModAlt, 'G'), menu_text(GetMenu(hwnd_), IDM_NEW_GAME));
    EXPECT_EQ(text_of(IDM_HISTORY), menu_text(GetMenu(hwnd_), IDM_HISTORY));
    const auto items = template_items(hwnd_);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ("50\t" + key_text(0, VK_F2), items[0].second);
    int appearance = 0;
    for (const SheetMessage& m : sheet_messages_)
        appearance += m.message == WM_APP + 108;
    EXPECT_EQ(1, appearance);
    destroy_user_accelerators();
}

// ---- Toggles

TEST_F(MainWindowTest, ViewTogglesFlipTheSettingAndTheCheckMark) {
    ASSERT_TRUE(create());
    watch_sheet();
    struct Toggle {
        int command;
        int Settings::*value;
    };
    const Toggle toggles[] = {
        {IDM_VIEW_PLAYER, &Settings::view_player}, {IDM_VIEW_LEFT, &Settings::view_left},
        {IDM_VIEW_GUIDE, &Settings::view_guide},   {IDM_VIEW_THROW_COUNT, &Settings::throw_count},
        {IDM_AUTO_SAVE, &Settings::auto_save},
    };
    for (const Toggle& t : toggles) {
        const int before = settings().*t.value;
        EXPECT_EQ(before != 0, is_checked(hwnd_, t.command)) << "command " << t.command << " at creation";
        SendMessageA(hwnd_, WM_COMMAND, t.command, 0);
        EXPECT_EQ(before ? 0 : 1, settings().*t.value) << "command " << t.command;
        EXPECT_EQ(before == 0, is_checked(hwnd_, t.command)) << "command " << t.command;
        SendMessageA(hwnd_, WM_COMMAND, t.command, 0);
        EXPECT_EQ(before ? 1 : 0, settings().*t.value) << "command " << t.command;
        EXPECT_EQ(before != 0, is_checked(hwnd_, t.command)) << "command " << t.command;
    }
    // Any value but 0 counts as on.
    settings().auto_save = 5;
    SendMessageA(hwnd_, WM_COMMAND, IDM_AUTO_SAVE, 0);
    EXPECT_EQ(0, settings().auto_save);

    // Index of Throw redraws the sheet's rows each time.
    int redraws = 0;
    for (const SheetMessage& m : sheet_messages_)
        redraws += m.message == WM_APP + 103;
    EXPECT_EQ(2, redraws);
}

TEST_F(MainWindowTest, CheckMarksAtCreationFollowTheSettings) {
    Settings& s = settings();
    s.view_player = 0;
    s.view_left = 1;
    s.view_guide = 0;
    s.throw_count = 0;
    s.auto_save = 1;
    ASSERT_TRUE(create());
    EXPECT_FALSE(is_checked(hwnd_, IDM_VIEW_PLAYER));
    EXPECT_TRUE(is_checked(hwnd_, IDM_VIEW_LEFT));
    EXPECT_FALSE(is_checked(hwnd_, IDM_VIEW_GUIDE));
    EXPECT_FALSE(is_checked(hwnd_, IDM_VIEW_THROW_COUNT));
    EXPECT_TRUE(is_checked(hwnd_, IDM_AUTO_SAVE));
}

// ---- Title

TEST_F(MainWindowTest, TitleForLegLimitsBestOfAndScheduleMode) {
    settings().game.leg_limit = 1;
    settings().game.max_leg = 5;
    settings().game.best_of = 0;
    ASSERT_TRUE(create());
    EXPECT_EQ(strprintf(text_of(106).c_str(), "tx9", 1, 1, 5), window_text(hwnd_));
    if (english_ui()) {
        EXPECT_EQ("tx9 - 1 Sets - (1 Legs / 5 Legs)", window_text(hwnd_));
    }

    GameRecord& r = record();
    r.best_of = 1;
    r.set_no = 1;
    r.leg_no = 2;
    SendMessageA(hwnd_, kMainPlayerChanged, 0, 1);
    EXPECT_EQ(strprintf(text_of(106).c_str(), "tx9", 1, 1, 5), window_text(hwnd_))
        << "lParam 1 leaves the title";
    SendMessageA(hwnd_, kMainPlayerChanged, 1, 0);
    EXPECT_EQ(strprintf(text_of(107).c_str(), "tx9", 2, 3, 5), window_text(hwnd_));

    r.leg_limit = 0;
    r.schedule_mode = 1;
    SendMessageA(hwnd_, kMainPlayerChanged, 0, 0);
    EXPECT_EQ(strprintf(text_of(100).c_str(), "tx9", 3) + text_of(110), window_text(hwnd_));
    if (english_ui()) {
        EXPECT_EQ("tx9 - 3 Legs - Schedule mode", window_text(hwnd_));
    }
}

// ---- Next set

// Marks the record's current leg won by the player and opens the next one,
// so that the set can be archived.
void finish_leg_for(GameRecord& r, int winner) {
    r.current_leg().finished = 1;
    r.current_leg().winner = winner;
    r.player[static_cast<size_t>(winner)].legs += 1;
    r.leg_records.push_back(new_leg(r));
    r.leg_no += 1;
}

TEST_F(MainWindowTest, SetOverStartsTheNextSetOfAnOrdinaryGame) {
    settings().game.leg_limit = 1;
    settings().game.max_leg = 3;
    ASSERT_TRUE(create());
    GameRecord& r = record();
    finish_leg_for(r, 0);
    r.player[0].sets = 1;

    EXPECT_EQ(1, SendMessageA(hwnd_, kMainSetOver, 0, 0));
    const History& history = *main_window_history(hwnd_);
    ASSERT_EQ(1u, history.records.size());
    EXPECT_EQ(1, history.records[0].leg_no);
    EXPECT_EQ(1, r.set_no);
    EXPECT_EQ(0, r.leg_no);
    EXPECT_EQ(1, r.player[0].sets) << "sets carry over to the next set";
    EXPECT_EQ(0, r.player[0].legs);
    EXPECT_EQ(strprintf(text_of(107).c_str(), "tx9", 2, 1, 3), window_text(hwnd_));
}

TEST_F(MainWindowTest, SetOverInAScheduleTakesTheNextEntry) {
    Settings& s = settings();
    s.schedule.resize(3);
    for (int i = 0; i < 3; ++i) {
        s.schedule[static_cast<size_t>(i)].start_score = 301 + 100 * i;
        s.schedule[static_cast<size_t>(i)].leg_limit = 1;
        s.schedule[static_cast<size_t>(i)].max_leg = 1;
    }
    ASSERT_TRUE(create());
    GameRecord& r = record();
    r.schedule_mode = 1;
    finish_leg_for(r, 1);
    EXPECT_EQ(1, SendMessageA(hwnd_, kMainSetOver, 0, 0));
    EXPECT_EQ(1, r.set_no);
    EXPECT_EQ(401, r.start_score);
    EXPECT_EQ(1u, main_window_history(hwnd_)->records.size());
}

TEST_F(MainWindowTest, SetOverAfterTheLastScheduleEntryAnnouncesTheResult) {
    struct Case {
        int sets1, sets2;
        int com2, level2;
        std::string text;
    };
    const Case cases[] = {
        {2, 1, 0, 0, strprintf(text_of(108).c_str(), 2, 1, text_of(103).c_str())},
        {1, 2, 1, 2, strprintf(text_of(108).c_str(), 1, 2, strprintf(text_of(109).c_str(), 3).c_str())},
        {1, 1, 0, 0, text_of(206)},
    };
    if (english_ui()) {
        EXPECT_EQ("2 - 1: Winner is \"Player 1.\"", cases[0].text);
        EXPECT_EQ("1 - 2: Winner is \"COM (Lv.3).\"", cases[1].text);
    }
    settings().schedule.resize(3);
    for (const Case& c : cases) {
        ASSERT_TRUE(create());
        GameRecord& r = record();
        r.schedule_mode = 1;
        r.set_no = 2;
        r.player[0].sets = c.sets1;
        r.player[1].sets = c.sets2;
        r.player[1].com = c.com2;
        r.player[1].com_level = c.level2;
        finish_leg_for(r, 0);

        DialogAnswerer answerer([](const DialogInfo&) { return IDOK; });
        EXPECT_EQ(0, SendMessageA(hwnd_, kMainSetOver, 0, 0));
        ASSERT_EQ(1u, answerer.seen().size()) << c.text;
        EXPECT_EQ(kProgramTitle, answerer.seen()[0].title);
        EXPECT_EQ(c.text, answerer.seen()[0].text);
        EXPECT_EQ(2, r.set_no) << "no fourth set";
        EXPECT_EQ(1, r.leg_no) << "the record stays as it is";
        EXPECT_EQ(1u, main_window_history(hwnd_)->records.size());

        DestroyWindow(hwnd_);
        drain_quit();
    }
}

TEST_F(MainWindowTest, ClearHistoryEmptiesTheList) {
    ASSERT_TRUE(create());
    finish_leg_for(record(), 0);
    SendMessageA(hwnd_, kMainSetOver, 0, 0);
    ASSERT_EQ(1u, main_window_history(hwnd_)->records.size());
    SendMessageA(hwnd_, kMainClearHistory, 0, 0);
    EXPECT_TRUE(main_window_history(hwnd_)->records.empty());
}

// ---- Commands passed on

TEST_F(MainWindowTest, ScoreMenuAndNavigationCommandsGoToTheSheetUnchanged) {
    ASSERT_TRUE(create());
    watch_sheet();
    const int passed[] = {IDM_FINISH_1,  IDM_FINISH_2,     IDM_FINISH_3, IDM_MIDDLE,    IDM_LEFT_SCORE_INPUT,
                          IDM_EXCHANGE,  IDM_CLEAR_SCORES, IDM_CHECKOUT, IDM_ENTER,     IDM_ESCAPE,
                          IDM_UP,        IDM_DOWN,         IDM_TAB,      IDM_SHIFT_TAB, IDM_PAGE_UP,
                          IDM_PAGE_DOWN, IDM_HOME,         IDM_END};
    for (int command : passed) {
        sheet_messages_.clear();
        const WPARAM wparam = MAKEWPARAM(command, 1);
        SendMessageA(hwnd_, WM_COMMAND, wparam, 0x1234);
        ASSERT_EQ(1u, sheet_messages_.size()) << "command " << command;
        EXPECT_EQ(static_cast<UINT>(WM_COMMAND), sheet_messages_[0].message);
        EXPECT_EQ(wparam, sheet_messages_[0].wparam);
        EXPECT_EQ(0x1234, sheet_messages_[0].lparam);
    }

    // Templates become WM_APP+104 with the score; ids beyond 51180 are nothing.
    for (int score : {0, 60, 180}) {
        sheet_messages_.clear();
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(kTemplateBase + score), 0);
        ASSERT_EQ(1u, sheet_messages_.size()) << "template " << score;
        EXPECT_EQ(static_cast<UINT>(WM_APP + 104), sheet_messages_[0].message);
        EXPECT_EQ(static_cast<WPARAM>(score), sheet_messages_[0].wparam);
        EXPECT_EQ(0, sheet_messages_[0].lparam);
    }

    // Not passed on, and no dialog of their own yet: nothing happens.
    DialogAnswerer answerer([](const DialogInfo&) { return IDCANCEL; });
    sheet_messages_.clear();
    for (int command :
         {kTemplateBase + 181, IDM_TEMPLATE_NOTHING, IDM_NEW_SCHEDULE, IDM_HISTORY, IDM_OPTION, 12345})
        SendMessageA(hwnd_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    wintest::pump_for(60);
    EXPECT_TRUE(sheet_messages_.empty());
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(MainWindowTest, AboutShowsTheProgramTitle) {
    ASSERT_TRUE(create());
    DialogAnswerer answerer([](const DialogInfo&) { return IDOK; });
    SendMessageA(hwnd_, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(1u, answerer.seen().size());
    EXPECT_EQ("About", answerer.seen()[0].title);
    EXPECT_EQ("tx9 Ver 0.0.6", answerer.seen()[0].text);
}

// The popup menu that TrackPopupMenu shows, found while it is up.
struct PopupSeen {
    HMENU menu = nullptr;
    RECT rect{};
};
PopupSeen g_popup;

void CALLBACK end_popup(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    g_popup.menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
    GetWindowRect(popup, &g_popup.rect);
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(MainWindowTest, ContextMenuIsTheScoreMenuAtTheCursor) {
    ASSERT_TRUE(create());
    SetCursorPos(200, 150);
    POINT cursor{};
    GetCursorPos(&cursor);
    g_popup = PopupSeen{};
    UINT_PTR timer = SetTimer(nullptr, 0, 30, end_popup);
    SendMessageA(hwnd_, kMainContextMenu, 0, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(GetSubMenu(GetMenu(hwnd_), 2), g_popup.menu);
    EXPECT_EQ(cursor.x, g_popup.rect.left);
    EXPECT_EQ(cursor.y, g_popup.rect.top);
}

// ---- Position and state

TEST_F(MainWindowTest, MoveOrResizeEndStoresPlaceAndSize) {
    ASSERT_TRUE(create());
    SetWindowPos(hwnd_, nullptr, 50, 60, 700, 500, SWP_NOZORDER);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.left, settings().left);
    EXPECT_EQ(r.top, settings().top);
    EXPECT_EQ(700, settings().right);
    EXPECT_EQ(500, settings().bottom);
    EXPECT_EQ(10, settings().state);

    ShowWindow(hwnd_, SW_MAXIMIZE);
    EXPECT_EQ(3, settings().state);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(700, settings().right) << "a maximised window keeps the size from before";
    EXPECT_EQ(500, settings().bottom);

    ShowWindow(hwnd_, SW_RESTORE);
    EXPECT_EQ(10, settings().state);
    ShowWindow(hwnd_, SW_MINIMIZE);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(hwnd_, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(700, settings().right) << "a minimised window stores nothing";
}

TEST_F(MainWindowTest, FocusGoesToTheSheet) {
    ASSERT_TRUE(create());
    HWND sheet = main_window_sheet(hwnd_);
    SetFocus(nullptr);
    SetFocus(hwnd_);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == sheet || IsChild(sheet, focus)) << "focus on " << focus;
}

// ---- Closing

TEST_F(MainWindowTest, CloseAsksAndNoKeepsTheWindow) {
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
}

TEST_F(MainWindowTest, EndOfSessionSavesAndDestroysWithoutAsking) {
    ASSERT_TRUE(create());
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    settings().ini_path = std::string(temp) + "tx9_main_window_logoff.ini";
    DeleteFileA(settings().ini_path.c_str());

    DialogAnswerer answerer([](const DialogInfo&) { return IDNO; });
    EXPECT_EQ(TRUE, SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(hwnd_, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(hwnd_)) << "a cancelled log-off keeps the program";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings().ini_path.c_str()));

    SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings().ini_path.c_str()))
        << "the Settings must be saved before the session ends";
    DeleteFileA(settings().ini_path.c_str());
}

// ---- The Game Option dialog at start-up

TEST_F(MainWindowTest, GameOptionOpensByItselfAndOkStartsTheNewGame) {
    hwnd_ = create_main_window(instance(), SW_SHOWNORMAL);
    ASSERT_TRUE(hwnd_);
    HWND owner = nullptr;
    DialogAnswerer answerer([&owner](const DialogInfo& dialog) {
        if (!is_game_option(dialog)) return 0;
        owner = GetWindow(dialog.hwnd, GW_OWNER);
        SendMessageA(GetDlgItem(dialog.hwnd, IDC_SCORE_301), BM_CLICK, 0, 0);
        return IDOK;
    });
    ASSERT_TRUE(
        wintest::pump_until([&] { return !answerer.seen().empty() && !IsWindow(answerer.seen()[0].hwnd); }));
    EXPECT_EQ(hwnd_, owner) << "the dialog belongs to the main window";
    EXPECT_EQ(301, settings().game.start_score);
    EXPECT_EQ(301, record().start_score);
    EXPECT_EQ(301, record().player[0].left);
    EXPECT_TRUE(main_window_history(hwnd_)->records.empty())
        << "a set without a finished leg is not archived";
    EXPECT_EQ(strprintf(text_of(100).c_str(), "tx9", 1), window_text(hwnd_));

    // It opens once only.
    wintest::pump_for(100);
    EXPECT_EQ(1u, answerer.seen().size());
}

TEST_F(MainWindowTest, GameOptionCancelledKeepsTheGameFromTheSettings) {
    hwnd_ = create_main_window(instance(), SW_SHOWNORMAL);
    ASSERT_TRUE(hwnd_);
    DialogAnswerer answerer([](const DialogInfo& dialog) {
        if (!is_game_option(dialog)) return 0;
        SendMessageA(GetDlgItem(dialog.hwnd, IDC_SCORE_1001), BM_CLICK, 0, 0);
        return IDCANCEL;
    });
    ASSERT_TRUE(
        wintest::pump_until([&] { return !answerer.seen().empty() && !IsWindow(answerer.seen()[0].hwnd); }));
    EXPECT_EQ(501, settings().game.start_score);
    EXPECT_EQ(501, record().start_score);
}

TEST_F(MainWindowTest, NewGameArchivesASetWithFinishedLegs) {
    ASSERT_TRUE(create());
    finish_leg_for(record(), 1);
    record().schedule_mode = 1;
    record().set_no = 4;
    DialogAnswerer answerer([](const DialogInfo& dialog) { return is_game_option(dialog) ? IDOK : 0; });
    SendMessageA(hwnd_, WM_COMMAND, IDM_NEW_GAME, 0);
    EXPECT_EQ(1u, main_window_history(hwnd_)->records.size());
    EXPECT_EQ(0, record().schedule_mode);
    EXPECT_EQ(0, record().set_no);
    EXPECT_EQ(0, record().leg_no);
    EXPECT_EQ(0, record().player[1].legs);
}

TEST(MainWindowAccess, OtherWindowsHaveNoMainWindowState) {
    wintest::TestWindow other;
    EXPECT_EQ(nullptr, main_window_record(other.hwnd()));
    EXPECT_EQ(nullptr, main_window_history(other.hwnd()));
    EXPECT_EQ(nullptr, main_window_sheet(other.hwnd()));
    EXPECT_EQ(nullptr, main_window_record(nullptr));
}

} // namespace
} // namespace tx9
