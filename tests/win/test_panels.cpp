// The displays beside the score sheet as real windows: the left-score panels,
// the player panels and the key guide bar, alone and in the main window.
// What they drew is read back from their buffers; every colour they use is
// set to a value of its own, so a pixel tells which step drew it.
#include "app/key_bindings.h"
#include "app/main_layout.h"
#include "app/win/key_guide_bar.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/left_score_panel.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace tx9 {
namespace {

using wintest::Image;
using wintest::print_client;

const COLORREF kLeftBackground = RGB(250, 250, 200), kLeftText = RGB(0, 0, 160), kLeftBorder = RGB(220, 0, 0);
const COLORREF kNameBackground = RGB(30, 60, 90), kNameText = RGB(255, 255, 0);
const COLORREF kPlayerBackground = RGB(240, 240, 250), kPlayerText = RGB(0, 100, 0),
               kInfoTitle = RGB(160, 0, 160);

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

// A child sized so that its client area is width x height (the border takes a pixel a side).
void size_client(HWND child, int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), FALSE, 0);
    MoveWindow(child, 0, 0, frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

// Runs of pixel rows holding a colour: one per line of text (the parts of a
// glyph are never more than 3 rows apart; lines are 5), as their top rows.
std::vector<int> bands(const Image& image, COLORREF color) {
    std::vector<int> out;
    for (int y = 0, last = -10; y < image.height; ++y)
        if (image.count(color, RECT{0, y, image.width, y + 1}) > 0) {
            if (last + 4 < y) out.push_back(y);
            last = y;
        }
    return out;
}

class Panels : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        static const bool registered = register_window_classes(instance());
        ASSERT_TRUE(registered);
        checkout_table().load_from_file(TX9_SOURCE_DIR "/res/routes.txt");
    }
    void SetUp() override {
        Settings& s = settings();
        s = Settings{};
        const std::pair<int, COLORREF> colors[] = {
            {kColorLeftBackground, kLeftBackground}, {kColorLeftText, kLeftText},
            {kColorLeftActiveBorder, kLeftBorder},   {kColorPlayerNameBackground, kNameBackground},
            {kColorPlayerNameText, kNameText},       {kColorPlayerBackground, kPlayerBackground},
            {kColorPlayerText, kPlayerText},         {kColorPlayerInfoTitle, kInfoTitle}};
        for (auto [item, color] : colors)
            s.colors[static_cast<size_t>(item)] = color;
        s.keys.bindings = default_key_bindings();
    }
    wintest::TestWindow host_{700, 500};
};

// ---- Left-score panel

TEST_F(Panels, LeftScoreFontFrameAndActiveBorder) {
    PlayerBlock block;
    block.left = 12;
    EXPECT_FALSE(create_left_score_panel(host_.hwnd(), nullptr)) << "no block, no panel";
    HWND panel = create_left_score_panel(host_.hwnd(), &block);
    ASSERT_TRUE(panel);
    EXPECT_FALSE(IsWindowVisible(panel)) << "created hidden";
    ShowWindow(panel, SW_SHOW);
    size_client(panel, 300, 60);

    LeftScorePanelInfo info;
    ASSERT_TRUE(left_score_panel_info(panel, &info));
    EXPECT_EQ(font_height_for_points(60), info.font.lfHeight) << "the smaller of 60 and 300 / 4 points";
    EXPECT_EQ(FW_BOLD, info.font.lfWeight);
    EXPECT_STREQ("Arial", info.font.lfFaceName);

    const Image plain = print_client(panel);
    EXPECT_EQ(0, plain.count(kLeftBorder)) << "no frame while the other player throws";
    const RECT digits = plain.bounds_of(kLeftText);
    EXPECT_LT(std::abs((digits.left + digits.right) / 2 - 150), 6) << "centred across";

    SendMessageA(panel, kLeftScoreActive, 1, 0);
    const Image active = print_client(panel);
    EXPECT_EQ(300 * 60 - 296 * 56, active.count(kLeftBorder, RECT{0, 0, 300, 60})) << "a 2-pixel frame";
    EXPECT_EQ(kLeftBackground, active.at(2, 2));

    // A negative remaining score keeps its minus sign: the digits grow to the left.
    block.left = -12;
    SendMessageA(panel, kLeftScoreRefresh, 0, 0);
    const RECT negative = print_client(panel).bounds_of(kLeftText);
    EXPECT_GT(negative.right - negative.left, digits.right - digits.left + 8);

    // New colours take effect with the appearance message.
    settings().colors[kColorLeftBackground] = RGB(1, 2, 3);
    SendMessageA(panel, kLeftScoreAppearance, 0, 0);
    EXPECT_EQ(RGB(1, 2, 3), print_client(panel).at(5, 5));

    // The height it asks for is the text height of Arial at a quarter of the width in points.
    WindowDC screen(nullptr);
    Font font(CreateFontA(-(80 * GetDeviceCaps(screen.get(), LOGPIXELSY) / 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                          ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    SelectScope selected(screen.get(), font.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(screen.get(), &tm);
    EXPECT_EQ(tm.tmHeight, SendMessageA(panel, kLeftScoreWantedHeight, 320, 0));
    DestroyWindow(panel);
}

// ---- Player panel

TEST_F(Panels, PlayerPanelRowsFontsAndViews) {
    settings().player.arrange = 1;
    PlayerBlock block;
    block.name = "Ann";
    block.left = 100;
    block.legs = 2;
    HWND panels[2];
    for (int p = 0; p < 2; ++p) {
        panels[p] = create_player_panel(instance(), host_.hwnd(), 0, &block);
        ASSERT_TRUE(panels[p]);
        size_client(panels[p], 200, 480);
        SendMessageA(panels[p], kPlayerPanelFirst, p == 0 ? 1 : 0, 0);
        SendMessageA(panels[p], kPlayerPanelRefresh, 0, 0);
    }
    PlayerPanelInfo info;
    ASSERT_TRUE(player_panel_info(panels[0], &info));
    EXPECT_EQ(font_height_for_points(20), info.info_font.lfHeight) << "automatic: a tenth of the width";
    EXPECT_STREQ("Arial", info.info_font.lfFaceName);
    EXPECT_EQ(font_height_for_points(20), info.name_font.lfHeight);
    EXPECT_EQ(FW_BOLD, info.name_font.lfWeight);
    // Japanese labels and names need a character set of the user's language.
    EXPECT_EQ(DEFAULT_CHARSET, info.name_font.lfCharSet);
    EXPECT_EQ(DEFAULT_CHARSET, info.info_font.lfCharSet);

    const Image first = print_client(panels[0]), second = print_client(panels[1]);
    const RECT name = first.bounds_of(kNameBackground);
    EXPECT_EQ("0,0-200", strprintf("%ld,%ld-%ld", name.left, name.top, name.right)) << "the name row on top";
    EXPECT_GT(first.count(kNameText, name), 0);
    // Totals, Averages and Check-Out headings at the same heights in both
    // panels: the second thrower keeps the "- First -" line empty.
    const std::vector<int> headings = bands(first, kInfoTitle);
    ASSERT_EQ(3u, headings.size());
    EXPECT_EQ(headings, bands(second, kInfoTitle));
    const RECT first_line{0, name.bottom, 200, headings[0]};
    EXPECT_GT(first.count(kPlayerText, first_line), 0);
    EXPECT_EQ(0, second.count(kPlayerText, first_line));
    const std::vector<int> texts = bands(first, kPlayerText);
    EXPECT_EQ(2, std::count_if(texts.begin(), texts.end(), [&](int top) { return top > headings[2]; }))
        << "T20-D20 and S20-T20-D10 for 100";

    // Full view: every statistics row, no routes; a size of the owner's.
    SendMessageA(panels[0], kPlayerPanelFullView, 1, 0);
    SendMessageA(panels[0], kPlayerPanelFontSize, 0, 12);
    ASSERT_TRUE(player_panel_info(panels[0], &info));
    EXPECT_EQ(font_height_for_points(12), info.info_font.lfHeight);
    const Image full = print_client(panels[0]);
    EXPECT_EQ(2u, bands(full, kInfoTitle).size());
    EXPECT_EQ(1u + 5 + 2, bands(full, kPlayerText).size()) << "first, five totals, two averages";
    SendMessageA(panels[0], kPlayerPanelShowSets, 1, 0);
    EXPECT_EQ(1u + 6 + 2, bands(print_client(panels[0]), kPlayerText).size()) << "and Sets";

    // No block: the background alone, in the colour of the last appearance change.
    SendMessageA(panels[1], kPlayerPanelSetBlock, 0, 0);
    settings().colors[kColorPlayerBackground] = RGB(1, 2, 3);
    SendMessageA(panels[1], kPlayerPanelAppearance, 0, 0);
    EXPECT_EQ(200 * 480, print_client(panels[1]).count(RGB(1, 2, 3)));
    for (HWND panel : panels)
        DestroyWindow(panel);
}

// ---- Key guide bar

class GuideBar : public Panels {
  protected:
    void SetUp() override {
        Panels::SetUp();
        bar_ = create_key_guide_bar(host_.hwnd());
        ASSERT_TRUE(bar_);
        ShowWindow(bar_, SW_SHOW);
        height_ = static_cast<int>(SendMessageA(bar_, kKeyGuideWantedHeight, 600, 0));
        MoveWindow(bar_, 0, 0, 600, height_, TRUE);
    }
    void TearDown() override { DestroyWindow(bar_); }

    // Keys drawn as bound (label filled with the window colour), as "1 2 ... ".
    std::string bound_keys() {
        const Image image = print_client(bar_);
        std::string out;
        for (int n = 1; n <= 12; ++n)
            if (image.at((n - 1) % 6 * 100 + 3, (n - 1) / 6 * (height_ / 2) + 3) == GetSysColor(COLOR_WINDOW))
                out += std::to_string(n) + " ";
        return out;
    }
    POINT centre_of(int n) const {
        return POINT{(n - 1) % 6 * 100 + 50, (n - 1) / 6 * (height_ / 2) + height_ / 4};
    }
    void press(int n, UINT message) { wintest::send_mouse(bar_, message, centre_of(n).x, centre_of(n).y); }
    KeyGuideInfo info() {
        KeyGuideInfo i;
        key_guide_info(bar_, &i);
        return i;
    }
    int lit() { return print_client(bar_).count(GetSysColor(COLOR_HIGHLIGHT)); }

    HWND bar_ = nullptr;
    int height_ = 0;
};

TEST_F(GuideBar, LayersFollowTheModifiersAndReturnAfterTheRelease) {
    EXPECT_EQ(font_height_for_points(10), info().font.lfHeight) << "600 / 60 points";
    EXPECT_EQ(DEFAULT_CHARSET, info().font.lfCharSet) << "action names in the user's language";
    EXPECT_EQ("1 2 3 4 5 6 7 8 9 10 11 12 ", bound_keys());
    {
        wintest::KeyStateScope shift(wintest::kShift);
        SendMessageA(bar_, kKeyGuideModifier, 0, 0);
        EXPECT_EQ(kModShift, info().modifiers);
        EXPECT_EQ("1 2 3 4 5 6 7 8 9 ", bound_keys()) << "F10 to F12 have no Shift binding";
    }
    EXPECT_TRUE(wintest::pump_until([&] { return info().modifiers == 0; }, 1000))
        << "back to the plain layer";
    EXPECT_EQ("1 2 3 4 5 6 7 8 9 10 11 12 ", bound_keys());
    EXPECT_FALSE(KillTimer(bar_, kKeyGuideTimer)) << "the poll stops with the last modifier";

    settings().keys.bindings.resize(2); // F1 and F2
    SendMessageA(bar_, kKeyGuideKeysChanged, 0, 0);
    EXPECT_EQ("1 2 ", bound_keys());
}

TEST_F(GuideBar, ClickRunsTheBindingOnlyWhenReleasedOnTheKeyPressed) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, UINT>> steps; // key, mouse message
        int command;                             // sent to the parent, 0 = none
    } cases[] = {
        {"F3 clicked", {{3, WM_LBUTTONDOWN}, {3, WM_LBUTTONUP}}, kTemplateBase + 41},
        {"pressed on F3, released on F4", {{3, WM_LBUTTONDOWN}, {4, WM_MOUSEMOVE}, {4, WM_LBUTTONUP}}, 0},
        {"left F3 and came back",
         {{3, WM_LBUTTONDOWN}, {4, WM_MOUSEMOVE}, {3, WM_MOUSEMOVE}, {3, WM_LBUTTONUP}},
         kTemplateBase + 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_.clear_received();
        for (const auto& [key, message] : c.steps) {
            press(key, message);
            if (message == WM_LBUTTONDOWN) {
                EXPECT_EQ(key, info().hot_key);
                EXPECT_GT(lit(), 0) << "the pressed key is lit";
            }
        }
        EXPECT_EQ(c.command ? 1 : 0, host_.count(WM_COMMAND));
        EXPECT_EQ(c.command ? 1 : 0, host_.count_command(static_cast<WORD>(c.command)));
        EXPECT_EQ(0, lit()) << "nothing lit after the release";
    }

    // An unbound key (F10 under Shift) is never lit and runs nothing.
    wintest::KeyStateScope shift(wintest::kShift);
    SendMessageA(bar_, kKeyGuideModifier, 0, 0);
    host_.clear_received();
    press(10, WM_LBUTTONDOWN);
    EXPECT_EQ(0, lit());
    press(10, WM_LBUTTONUP);
    EXPECT_EQ(0, host_.count(WM_COMMAND));
}

TEST_F(GuideBar, TooltipNamesTheKeyUnderTheCursor) {
    const HWND tip = info().tooltip;
    ASSERT_TRUE(tip);
    EXPECT_EQ(2000, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    auto tip_at = [&](int n) {
        POINT at = centre_of(n);
        ClientToScreen(bar_, &at);
        SetCursorPos(at.x, at.y);
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = tip;
        request.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(bar_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        return std::string(request.lpszText ? request.lpszText : "");
    };
    EXPECT_EQ("41", tip_at(3));
    EXPECT_EQ(clean_menu_text(load_resource_string(IDM_FINISH_1)), tip_at(10));
    settings().keys.bindings.resize(2);
    EXPECT_EQ("", tip_at(10)) << "an unbound key has no tip";
}

// ---- In the main window

TEST_F(Panels, InTheMainWindowAVisitRefreshesThatPlayersPanelsAndViewSwitchesHideThem) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    Settings& s = settings();
    s.ini_path = std::string(temp) + "tx9_panels_test_missing.ini";
    s.game.start_score = 301;
    s.left = s.top = 30;
    s.right = 800;
    s.bottom = 600;
    HWND main = create_main_window(instance(), SW_SHOWNORMAL);
    ASSERT_TRUE(main);
    KillTimer(main, kNewGameTimer); // no Game Option dialog
    HWND left[2] = {}, player[2] = {};
    for (int p = 0; p < 2; ++p) {
        left[p] = FindWindowExA(main, p ? left[0] : nullptr, kLeftScoreClass, nullptr);
        player[p] = FindWindowExA(main, p ? player[0] : nullptr, kPlayerPanelClass, nullptr);
    }
    HWND guide = FindWindowExA(main, nullptr, kKeyGuideClass, nullptr);
    ASSERT_TRUE(left[1] && player[1] && guide);
    // Every display where the layout puts it: the guide bar as high as it asks for
    // the width, the left-score panels as high as they ask for half of it.
    RECT client{};
    GetClientRect(main, &client);
    const MainLayout l = layout_main_window(
        client.right, client.bottom,
        static_cast<int>(SendMessageA(guide, kKeyGuideWantedHeight, client.right, 0)),
        static_cast<int>(SendMessageA(left[0], kLeftScoreWantedHeight, client.right / 2, 0)), true);
    const std::pair<HWND, ChildPlace> places[] = {{main_window_sheet(main), l.sheet},
                                                  {guide, l.guide},
                                                  {left[0], l.left[0]},
                                                  {left[1], l.left[1]},
                                                  {player[0], l.player[0]},
                                                  {player[1], l.player[1]}};
    for (const auto& [window, place] : places) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(strprintf("%d,%d %dx%d", place.x, place.y, place.width, place.height),
                  strprintf("%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
    auto frame_on = [](HWND panel) { return print_client(panel).at(0, 0) == kLeftBorder; };
    EXPECT_TRUE(frame_on(left[0]));
    EXPECT_FALSE(frame_on(left[1]));
    const Image left_before = print_client(left[0]);
    const Image player_before[2] = {print_client(player[0]), print_client(player[1])};

    ScoreSheetInfo sheet;
    ASSERT_TRUE(score_sheet_info(main_window_sheet(main), &sheet));
    SetWindowTextA(sheet.entry, "60");
    SendMessageA(main, WM_COMMAND, IDM_TAB, 0);
    EXPECT_EQ(241, main_window_record(main)->player[0].left);
    EXPECT_FALSE(frame_on(left[0])) << "the frame moves to the player to throw";
    EXPECT_TRUE(frame_on(left[1]));
    EXPECT_NE(left_before.pixels, print_client(left[0]).pixels) << "241 shown at once";
    EXPECT_NE(player_before[0].pixels, print_client(player[0]).pixels) << "the average changed";
    EXPECT_EQ(player_before[1].pixels, print_client(player[1]).pixels) << "nothing changed for Bob";

    // Each view switch hides its displays and the sheet grows into their room.
    const std::pair<int, std::vector<HWND>> views[] = {{IDM_VIEW_PLAYER, {player[0], player[1]}},
                                                       {IDM_VIEW_LEFT, {left[0], left[1]}},
                                                       {IDM_VIEW_GUIDE, {guide}}};
    for (const auto& [command, windows] : views) {
        RECT before{}, after{};
        GetWindowRect(main_window_sheet(main), &before);
        for (HWND window : windows)
            EXPECT_TRUE(IsWindowVisible(window)) << command;
        SendMessageA(main, WM_COMMAND, command, 0);
        for (HWND window : windows)
            EXPECT_FALSE(IsWindowVisible(window)) << command;
        GetWindowRect(main_window_sheet(main), &after);
        EXPECT_GT((after.right - after.left) * (after.bottom - after.top),
                  (before.right - before.left) * (before.bottom - before.top))
            << command;
    }
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace
} // namespace tx9
