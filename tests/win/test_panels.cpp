// The left-score panels, the player panels and the key guide bar as real windows, alone and in the main
// window. Their drawing is read back; every colour they use is its own, so a pixel tells which step drew it.
#include "app/key_bindings.h"
#include "app/main_layout.h"
#include "app/win/key_guide_bar.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/left_score_panel.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/sheet_fixture.h"
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

// A child sized so that its client area is width x height (the border takes a pixel a side).
void size_client(HWND child, int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), FALSE, 0);
    MoveWindow(child, 0, 0, frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

// Runs of pixel rows holding a colour: one per line of text (the parts of a glyph are never more than 3 rows
// apart; lines are 5), as their top rows.
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
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        static const bool registered = register_window_classes(app_instance());
        ASSERT_TRUE(registered);
        wintest::prepare_match_windows(); // the system services and the routes
    }
    void SetUp() override {
        Settings& s = settings() = Settings{};
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

// "height weight charset" of a font, and its face where it matters.
std::string font_of(const LOGFONTA& f, bool face = true) {
    return strprintf("%ld %ld %d%s%s", f.lfHeight, f.lfWeight, f.lfCharSet, face ? " " : "",
                     face ? f.lfFaceName : "");
}

// ---- Left-score panel

TEST_F(Panels, LeftScoreFontFrameAndActiveBorder) {
    PlayerBlock block;
    block.left = 12;
    HWND panel = create_left_score_panel(host_.hwnd(), &block);
    ASSERT_TRUE(panel);
    ShowWindow(panel, SW_SHOW);
    size_client(panel, 300, 60);

    LeftScorePanelInfo info;
    ASSERT_TRUE(left_score_panel_info(panel, &info));
    EXPECT_EQ(font_of(info.font), strprintf("%d 700 0 Arial", font_height_for_points(60)))
        << "bold, the smaller of 60 and 300 / 4 points";

    const RECT digits = print_client(panel).bounds_of(kLeftText);
    EXPECT_LT(std::abs((digits.left + digits.right) / 2 - 150), 6) << "centred across";
    SendMessageA(panel, kLeftScoreActive, 1, 0);
    EXPECT_EQ(300 * 60 - 296 * 56, print_client(panel).count(kLeftBorder)) << "a 2-pixel frame";

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
        panels[p] = create_player_panel(app_instance(), host_.hwnd(), 0, &block);
        ASSERT_TRUE(panels[p]);
        size_client(panels[p], 200, 480);
        SendMessageA(panels[p], kPlayerPanelFirst, p == 0 ? 1 : 0, 0);
        SendMessageA(panels[p], kPlayerPanelRefresh, 0, 0);
    }
    // Automatic size: a tenth of the width, in the user's character set (for Japanese labels and names).
    PlayerPanelInfo info;
    ASSERT_TRUE(player_panel_info(panels[0], &info));
    const int points20 = font_height_for_points(20);
    EXPECT_EQ(font_of(info.name_font, false) + ", " + font_of(info.info_font),
              strprintf("%d 700 1, %d 0 1 Arial", points20, points20));

    const Image first = print_client(panels[0]), second = print_client(panels[1]);
    const RECT name = first.bounds_of(kNameBackground);
    EXPECT_EQ("0,0-200", strprintf("%ld,%ld-%ld", name.left, name.top, name.right)) << "the name row on top";
    EXPECT_GT(first.count(kNameText, name), 0);
    // Totals, Averages and Check-Out headings at the same heights in both panels: the second thrower keeps
    // the "- First -" line empty.
    const std::vector<int> headings = bands(first, kInfoTitle);
    ASSERT_EQ(3u, headings.size());
    EXPECT_EQ(headings, bands(second, kInfoTitle));
    const RECT first_line{0, name.bottom, 200, headings[0]};
    EXPECT_GT(first.count(kPlayerText, first_line), 0);
    EXPECT_EQ(0, second.count(kPlayerText, first_line));
    const std::vector<int> texts = bands(first, kPlayerText);
    EXPECT_EQ(2, std::count_if(texts.begin(), texts.end(), [&](int top) { return top > headings[2]; }))
        << "T20-D20 and S20-T20-D10 for 100";

    // A size of the owner's (full view and Sets: the Score List's case, whose rows are the core's).
    SendMessageA(panels[0], kPlayerPanelFontSize, 0, 12);
    ASSERT_TRUE(player_panel_info(panels[0], &info));
    EXPECT_EQ(font_height_for_points(12), info.info_font.lfHeight);

    // No block: the background alone, in the colour of the last appearance change.
    SendMessageA(panels[1], kPlayerPanelSetBlock, 0, 0);
    settings().colors[kColorPlayerBackground] = RGB(1, 2, 3);
    SendMessageA(panels[1], kPlayerPanelAppearance, 0, 0);
    EXPECT_EQ(200 * 480, print_client(panels[1]).count(RGB(1, 2, 3)));
}

// ---- Key guide bar (the layer of the held modifiers and the return to the
// plain one after the release are checked end to end, with clicks on its keys)

TEST_F(Panels, GuideBarDrawsTheHeldLayerRunsAClickReleasedOnItsKeyAndNamesKeysInTips) {
    HWND bar = create_key_guide_bar(host_.hwnd());
    ASSERT_TRUE(bar);
    ShowWindow(bar, SW_SHOW);
    const int height = static_cast<int>(SendMessageA(bar, kKeyGuideWantedHeight, 600, 0));
    MoveWindow(bar, 0, 0, 600, height, TRUE);
    auto centre = [&](int n) {
        return POINT{(n - 1) % 6 * 100 + 50, (n - 1) / 6 * (height / 2) + height / 4};
    };
    // Keys drawn as bound (label filled with the window colour), as "1 2 ... ".
    auto bound_keys = [&] {
        const Image image = print_client(bar);
        std::string out;
        for (int n = 1; n <= 12; ++n)
            if (image.at(centre(n).x - 47, centre(n).y - height / 4 + 3) == GetSysColor(COLOR_WINDOW))
                out += std::to_string(n) + " ";
        return out;
    };
    KeyGuideInfo info;
    ASSERT_TRUE(key_guide_info(bar, &info));
    auto lit = [&] { return print_client(bar).count(GetSysColor(COLOR_HIGHLIGHT)); };

    EXPECT_EQ(font_of(info.font, false), strprintf("%d 400 1", font_height_for_points(10)))
        << "600 / 60 points, action names in the user's language";
    EXPECT_EQ("1 2 3 4 5 6 7 8 9 10 11 12 ", bound_keys());

    auto mouse = [&](UINT message, int n) { wintest::send_mouse(bar, message, centre(n).x, centre(n).y); };
    // Pressed on F3: released on F4 it runs nothing, moved back to F3 first it runs F3's template.
    for (int back : {0, 1}) {
        SCOPED_TRACE(back);
        host_.clear_received();
        mouse(WM_LBUTTONDOWN, 3);
        EXPECT_GT(lit(), 0) << "the pressed key is lit";
        mouse(WM_MOUSEMOVE, 4);
        if (back) mouse(WM_MOUSEMOVE, 3);
        mouse(WM_LBUTTONUP, back ? 3 : 4);
        EXPECT_EQ(std::make_pair(back, back),
                  std::make_pair(host_.count(WM_COMMAND), host_.count_command(kTemplateBase + 41)));
        EXPECT_EQ(0, lit()) << "nothing lit after the release";
    }

    ASSERT_TRUE(info.tooltip);
    EXPECT_EQ(2000, SendMessageA(info.tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    auto tip_at = [&](int n) {
        POINT at = centre(n);
        ClientToScreen(bar, &at);
        SetCursorPos(at.x, at.y);
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = info.tooltip;
        request.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(bar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        return std::string(request.lpszText ? request.lpszText : "");
    };
    EXPECT_EQ(clean_menu_text(load_resource_string(IDM_FINISH_1)), tip_at(10));

    settings().keys.bindings.resize(2); // F1 and F2
    SendMessageA(bar, kKeyGuideKeysChanged, 0, 0);
    EXPECT_EQ("1 2 ", bound_keys());
    EXPECT_EQ("", tip_at(10)) << "an unbound key has no tip";
    // An unbound key is never lit and runs nothing.
    host_.clear_received();
    mouse(WM_LBUTTONDOWN, 10);
    EXPECT_EQ(0, lit());
    mouse(WM_LBUTTONUP, 10);
    EXPECT_EQ(0, host_.count(WM_COMMAND));
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
    HWND main = create_main_window(app_instance(), SW_SHOWNORMAL);
    ASSERT_TRUE(main);
    KillTimer(main, kNewGameTimer); // no Game Option dialog
    HWND left[2] = {}, player[2] = {};
    for (int p = 0; p < 2; ++p) {
        left[p] = FindWindowExA(main, p ? left[0] : nullptr, kLeftScoreClass, nullptr);
        player[p] = FindWindowExA(main, p ? player[0] : nullptr, kPlayerPanelClass, nullptr);
    }
    HWND guide = FindWindowExA(main, nullptr, kKeyGuideClass, nullptr);
    ASSERT_TRUE(left[1] && player[1] && guide);
    // Every display where the layout puts it: the guide bar as high as it asks for the width, the left-score
    // panels as high as they ask for half of it.
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
    EXPECT_TRUE(frame_on(left[0]) && !frame_on(left[1]));
    const Image left_before = print_client(left[0]), player_before = print_client(player[0]);

    ScoreSheetInfo sheet;
    ASSERT_TRUE(score_sheet_info(main_window_sheet(main), &sheet));
    SetWindowTextA(sheet.entry, "60");
    SendMessageA(main, WM_COMMAND, IDM_TAB, 0);
    EXPECT_EQ(241, main_window_record(main)->player[0].left);
    EXPECT_TRUE(!frame_on(left[0]) && frame_on(left[1])) << "the frame moves to the player to throw";
    EXPECT_NE(left_before.pixels, print_client(left[0]).pixels) << "241 shown at once";
    EXPECT_NE(player_before.pixels, print_client(player[0]).pixels) << "the average changed";
    const Image second_left = print_client(left[1]), second_player = print_client(player[1]);

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
    // A visit while they are hidden is on them once they show again.
    SetWindowTextA(sheet.entry, "45");
    SendMessageA(main, WM_COMMAND, IDM_TAB, 0);
    SendMessageA(main, WM_COMMAND, IDM_VIEW_LEFT, 0);
    SendMessageA(main, WM_COMMAND, IDM_VIEW_PLAYER, 0);
    EXPECT_TRUE(frame_on(left[0]) && !frame_on(left[1])) << "the first player throws again";
    EXPECT_NE(second_left.pixels, print_client(left[1]).pixels) << "256 left";
    EXPECT_NE(second_player.pixels, print_client(player[1]).pixels) << "the second player's average";
    DestroyWindow(main);
}

} // namespace
} // namespace tx9
