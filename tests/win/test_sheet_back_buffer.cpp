// The score sheet draws again only the part of its back buffer a command
// changed, and moves the rest along when it scrolls: after every command the
// whole buffer (what any later paint copies from) is the sheet drawn afresh.
#include "ui/score/win/score_sheet.h"

#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_render.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// The first pixel where the sheet's back buffer differs from a fresh drawing, or "".
std::string first_stale_pixel(HWND sheet) {
    ScoreSheetInfo info;
    if (!score_sheet_info(sheet, &info)) return "no sheet";
    const Image kept = print_client(sheet);
    BackBuffer fresh;
    SheetTools tools;
    if (!fresh.resize(nullptr, kept.width, kept.height) ||
        !build_sheet_fonts(tools, fresh.dc(), kept.width, false) || !build_sheet_colours(tools))
        return "no buffer to draw the expected sheet in";
    SheetView view;
    view.record = info.record;
    view.shown_leg = info.shown_leg;
    view.top_row = info.top_row;
    view.width = kept.width;
    view.height = kept.height;
    view.throw_count = settings().throw_count == 1;
    render_score_sheet(fresh.dc(), tools, view);
    const Image expected = capture_dc(fresh.dc(), kept.width, kept.height);
    if (kept.pixels.empty() || kept.pixels.size() != expected.pixels.size()) return "the buffer could not be read";
    if (expected.count(expected.at(0, 0)) == static_cast<int>(expected.pixels.size())) return "a blank drawing";
    for (int y = 0; y < kept.height; ++y)
        for (int x = 0; x < kept.width; ++x)
            if (kept.at(x, y) != expected.at(x, y))
                return std::to_string(x) + "," + std::to_string(y) + " at top row " + std::to_string(info.top_row);
    return "";
}

TEST(SheetBackBuffer, IsTheFreshDrawingAfterEveryCommand) {
    prepare_match_windows();
    const Settings saved = settings();
    settings().auto_save = 0;
    settings().font_name = "Arial";
    for (int c = 0; c < kColorCount; ++c)
        settings().colors[static_cast<size_t>(c)] = color_default(c, system_services());
    GameRecord record = record_for(plain_game(20000));
    TestWindow host(700, 800, "host");
    HWND sheet = create_score_sheet(host.hwnd(), &record);
    ASSERT_NE(nullptr, sheet);
    SetWindowPos(sheet, nullptr, 0, 0, 360, 300, SWP_NOZORDER);
    SendMessageA(sheet, kScoreSheetStartLeg, 0, 0);
    const auto command = [sheet](int id) { SendMessageA(sheet, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    const auto visit = [sheet](int points) { SendMessageA(sheet, kScoreSheetTemplate, points, 0); };

    struct Step {
        std::string what;
        std::function<void()> act;
    };
    std::vector<Step> steps;
    for (int n = 0; n < 30; ++n)
        steps.push_back({"visit " + std::to_string(n + 1), [&, n] { visit(n % 2 ? 100 : 41); }});
    const Step moves[] = {
        {"a line up", [&] { SendMessageA(sheet, WM_VSCROLL, SB_LINEUP, 0); }},
        {"Up twice and a correction", [&] { command(IDM_UP); command(IDM_UP); visit(7); }},
        {"Page Up", [&] { command(IDM_PAGE_UP); }},
        {"a line down", [&] { SendMessageA(sheet, WM_VSCROLL, SB_LINEDOWN, 0); }},
        {"End and two visits", [&] { command(IDM_END); visit(60); visit(180); }},
        {"Home", [&] { command(IDM_HOME); }},
    };
    steps.insert(steps.end(), std::begin(moves), std::end(moves));
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(first_stale_pixel(sheet), "") << "after " << step.what;
    }
    ScoreSheetInfo info;
    ASSERT_TRUE(score_sheet_info(sheet, &info));
    EXPECT_EQ(info.top_row, 0);
    DestroyWindow(sheet);
    settings() = saved;
}

} // namespace
