// The score sheet's drawing, read back from its buffer. Every colour is its own, so a pixel tells which step
// drew it; texts and circles are compared with GDI's drawing of them alone in a cell of the same size.
#include "ui/score/win/score_render.h"

#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// A colour of its own for every colour setting.
COLORREF colour_of(int setting) {
    return RGB(20 + 9 * setting, 250 - 7 * setting, 120 + 5 * setting);
}
const COLORREF kBackground = colour_of(kColorBackground), kOdd = colour_of(kColorOddBackground),
               kText = colour_of(kColorText), kHeaderBackground = colour_of(kColorHeaderBackground),
               kHeaderText = colour_of(kColorHeaderText), kLast3 = colour_of(kColorLast3NumberText),
               kLine = colour_of(kColorLine), kSeparate = colour_of(kColorSeparate),
               kTon = colour_of(kColorTonCircle);

// One sheet's tools, buffer and last drawing. The tools live on from one drawing to the next as the sheet's
// do: fonts made again for each width, colours only when asked.
struct Sheet {
    SheetTools tools;
    BackBuffer buffer;
    Image image;
    int u = 20, hh = 0, rh = 0, top_row = 0;
    bool coloured = false;

    void draw(const GameRecord& record, int top, int height, int width = 340, bool throw_count = false) {
        if (!coloured) recolour();
        EXPECT_TRUE(buffer.resize(nullptr, width, height));
        EXPECT_TRUE(coloured && build_sheet_fonts(tools, buffer.dc(), width, false));
        top_row = top;
        render_score_sheet(buffer.dc(), tools, SheetView{&record, 0, top, width, height, throw_count});
        image = capture_dc(buffer.dc(), width, height);
        u = width / 17;
        hh = tools.header_height;
        rh = tools.row_height;
    }
    void recolour() { coloured = build_sheet_colours(tools); }
    // Round r's cell (sheet row r + 1; r = -1 is the start row) from column unit `left`, `units` wide.
    RECT cell(int left, int units, int r) const {
        const int top = hh + (r + 1 - top_row) * rh;
        return RECT{u * left, top, u * (left + units), top + rh};
    }
    RECT scored(int player, int r) const { return cell(player == 0 ? 0 : 10, 3, r); }
    RECT to_go(int player, int r) const { return cell(player == 0 ? 3 : 13, 4, r); }
    int count(const RECT& area, COLORREF color) const { return image.count(color, area); }
};

// Which pixels of the area have exactly the colour, row by row.
std::vector<bool> mask(const Image& image, const RECT& area, COLORREF color) {
    std::vector<bool> bits;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            bits.push_back(image.at(x, y) == color);
    return bits;
}

// Whether the area shows this text in the colour exactly as DrawText centres it alone in a cell that size.
::testing::AssertionResult shows(const Sheet& s, const RECT& area, HFONT font, const std::string& text,
                                 COLORREF color) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BackBuffer alone;
    alone.resize(nullptr, width, height);
    RECT cell{0, 0, width, height};
    SelectScope selected(alone.dc(), font);
    SetBkMode(alone.dc(), TRANSPARENT);
    SetTextColor(alone.dc(), color);
    DrawTextA(alone.dc(), text.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    const std::vector<bool> wanted = mask(capture_dc(alone.dc(), width, height), cell, color);
    const std::vector<bool> seen = mask(s.image, area, color);
    if (std::count(wanted.begin(), wanted.end(), true) > 0 && seen == wanted)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the cell at " << area.left << "," << area.top << " does not show \"" << text << "\"";
}

// A leg with player 1's and player 2's visits by round, player 1 to throw in the round after the last.
GameRecord leg_with(const std::vector<std::pair<int, int>>& rounds) {
    GameRecord record = record_for(plain_game());
    LegRecord& leg = record.current_leg();
    leg.capacity = 30;
    for (auto& cells : leg.scores)
        cells.resize(31, 0);
    for (size_t r = 0; r < rounds.size(); ++r) {
        leg.scores[0][r] = rounds[r].first;
        leg.scores[1][r] = rounds[r].second;
    }
    leg.cur_round = static_cast<int>(rounds.size());
    leg.rows = leg.cur_round + 1;
    return record;
}

class ScoreRender : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
        for (int c = 0; c < kColorCount; ++c)
            settings().colors[static_cast<size_t>(c)] = colour_of(c);
        settings().font_name = "Arial";
    }
    void TearDown() override { settings() = saved_; }

    Settings saved_;
};

TEST_F(ScoreRender, BandsStripesAndLinesHaveTheirColours) {
    Sheet s;
    s.draw(leg_with({}), 0, 500);
    const int u = 20, mid = s.rh / 2;
    ASSERT_GT(s.rh, 10);
    const std::tuple<const char*, int, int, COLORREF> probes[] = {
        {"header band over the round column", 8 * u, 1, kHeaderBackground},
        {"round column below the rows", 7 * u + 3, 480, kHeaderBackground},
        {"start row, player 1 Scored", u, s.hh + mid, kHeaderBackground},
        {"start row, player 2 Scored", 10 * u + 1, s.hh + mid, kHeaderBackground},
        {"border left of player 2's Scored", 10 * u, s.hh + mid, kSeparate},
        {"1st round (odd row)", 2 * u, s.cell(0, 1, 0).top + mid, kOdd},
        {"2nd round (even row)", 2 * u, s.cell(0, 1, 1).top + mid, kBackground},
        {"3rd round, player 2 To Go", 15 * u, s.cell(0, 1, 2).top + mid, kOdd},
        {"grid below the 4th round", 15 * u, s.cell(0, 1, 4).top, kLine},
        {"separator below the start row", 2 * u, s.cell(0, 1, 0).top, kSeparate},
        {"separator below the 5th round", 2 * u, s.cell(0, 1, 5).top, kSeparate},
        {"Scored / To Go line, player 1", 3 * u, s.cell(0, 1, 1).top + mid, kLine},
        {"Scored / To Go line, player 2, in the header", 13 * u, 1, kLine},
    };
    for (const auto& [what, x, y, expected] : probes)
        EXPECT_EQ(expected, s.image.at(x, y)) << what << " at " << x << "," << y;
    // Lines two pixels wide: both borders of the round column and the header line.
    for (const POINT& at : {POINT{7 * u, s.hh + 3 * mid}, POINT{10 * u, s.hh + 3 * mid}})
        EXPECT_EQ(2, s.count(RECT{at.x - 1, at.y, at.x + 2, at.y + 1}, kSeparate)) << "at " << at.x;
    EXPECT_EQ(2, s.count(RECT{2 * u, s.hh - 1, 2 * u + 1, s.hh + 2}, kSeparate)) << "the header line";
}

// Headings and start scores; scrolled, the first round in view still counts every round above it, and the
// open round shows only the visit entered.
TEST_F(ScoreRender, HeaderStartRowAndRemainingScores) {
    GameRecord record = leg_with({{60, 45}, {100, 26}, {41, 81}, {85, 60}, {45, 100}, {60, 10}});
    record.player[1].start_score = 401; // a handicap
    LegRecord& leg = record.current_leg();
    leg.first = 1;         // player 2 throws first in each round
    leg.scores[1][6] = 40; // and has thrown in round 7; player 1's cell holds a stale value
    leg.scores[0][6] = 77;
    Sheet top;
    top.draw(record, 0, 500);
    const std::string scored = load_resource_string(IDS_SCORED), to_go = load_resource_string(IDS_TO_GO);
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH) {
        EXPECT_EQ("Scored|To Go", scored + "|" + to_go);
    }
    HFONT header = top.tools.header_font.get(), row = top.tools.row_font.get();
    EXPECT_TRUE(shows(top, RECT{0, 0, 60, top.hh}, header, scored, kHeaderText));
    EXPECT_TRUE(shows(top, RECT{60, 0, 140, top.hh}, header, to_go, kHeaderText));
    EXPECT_TRUE(shows(top, RECT{200, 0, 260, top.hh}, header, scored, kHeaderText));
    EXPECT_TRUE(shows(top, RECT{260, 0, 340, top.hh}, header, "* " + to_go, kHeaderText));
    EXPECT_TRUE(shows(top, top.to_go(0, -1), row, "501", kText));
    EXPECT_TRUE(shows(top, top.to_go(1, -1), row, "401", kText));
    EXPECT_EQ(0, top.count(top.scored(0, -1), kText)) << "text in the start row's Scored cell";

    Sheet scrolled;
    scrolled.draw(record, 4, 500);
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(0, 3), row, "215", kText));
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(1, 3), row, "189", kText));
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(1, 6), row, "39", kText));
    EXPECT_TRUE(shows(scrolled, scrolled.scored(1, 6), row, "40", kText));
    EXPECT_EQ(0, scrolled.count(scrolled.cell(0, 7, 6), kText)) << "player 1's visit of the open round";
    EXPECT_EQ(0, scrolled.count(scrolled.cell(0, 17, 7), kText)) << "text below the open round";
    EXPECT_EQ(kBackground, scrolled.image.at(2, scrolled.hh + 2)) << "the start row drawn when scrolled";
}

// Each Scored cell is the pixels GDI draws in place on the empty sheet: for 100 or more the ellipse with the
// ton pen, for the finish the circle with the text pen, then the number. The ton circles are drawn once and
// copied, so one sheet goes through scrolling, new colours and a new width.
TEST_F(ScoreRender, VisitCellsAreTheCirclesAndNumbersGdiDrawsInPlace) {
    GameRecord record = leg_with({{100, 120}, {180, 99}, {140, 26}, {45, 100}, {171, 60}, {60, -2}});
    record.current_leg().finished = 1;
    record.current_leg().winner = 1;
    Sheet s;
    // The top row, the width, the colours of ton circles and odd rows.
    const std::tuple<int, int, COLORREF, COLORREF> rows[] = {{0, 340, kTon, kOdd},
                                                             {2, 340, kTon, kOdd},
                                                             {0, 340, RGB(0, 0, 255), RGB(255, 255, 0)},
                                                             {1, 510, RGB(0, 0, 255), RGB(255, 255, 0)}};
    for (const auto& [top_row, width, ton_color, odd] : rows) {
        SCOPED_TRACE(::testing::Message() << "top row " << top_row << ", width " << width);
        if (settings().colors[kColorTonCircle] != ton_color) {
            settings().colors[kColorTonCircle] = ton_color;
            settings().colors[kColorOddBackground] = odd;
            s.recolour();
        }
        Sheet expected;
        expected.draw(leg_with({}), top_row, 600, width); // nothing entered
        s.draw(record, top_row, 600, width);
        HDC dc = expected.buffer.dc();
        Pen ton(CreatePen(PS_SOLID, 2, ton_color)), finish(CreatePen(PS_SOLID, 2, kText));
        SelectScope font(dc, s.tools.row_font.get());
        SetTextColor(dc, kText);
        SetBkMode(dc, TRANSPARENT);
        for (int r = std::max(top_row - 1, 0); r < 6; ++r)
            for (int p = 0; p < 2; ++p) {
                const int v = record.current_leg().scores[static_cast<size_t>(p)][static_cast<size_t>(r)];
                RECT cell = s.scored(p, r);
                Brush background(CreateSolidBrush(r % 2 == 0 ? odd : kBackground));
                SelectScope brush(dc, background.get());
                const int d = v < 0 ? (3 * s.u - s.rh) / 2 : 0;
                if (v >= 100 || v < 0) {
                    SelectScope pen(dc, v < 0 ? finish.get() : ton.get());
                    Ellipse(dc, cell.left + d + 1 + p, cell.top + 2, cell.right - d - 1, cell.bottom - 1);
                }
                DrawTextA(dc, std::to_string(std::abs(v)).c_str(), -1, &cell,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                const Image want = capture_dc(dc, width, 600);
                int differ = 0;
                for (int y = cell.top; y < cell.bottom; ++y)
                    for (int x = cell.left; x < cell.right; ++x)
                        differ += want.at(x, y) != s.image.at(x, y);
                EXPECT_EQ(0, differ) << "pixels of player " << p + 1 << "'s visit " << v << " in round "
                                     << r + 1 << " differ from GDI's drawing in place";
            }
        EXPECT_EQ(0, s.count(s.to_go(1, 5), kText)) << "a score to go beside the finish";
    }
}

// Without a round limit the numbers go on to the bottom, past the leg's rows; with one the last three are
// coloured and nothing but background is below.
TEST_F(ScoreRender, RoundNumbersCountRoundsOrDartsAndMarkTheLastThreeOfALimit) {
    GameSettings limited = plain_game();
    limited.round_limit = 1;
    limited.round = 15;
    const std::tuple<bool, bool, int> rows[] = {{false, false, 0}, {false, true, 0}, {true, false, 3}};
    for (const auto& [limit, darts, top_row] : rows) { // a round limit, darts counted, the top row
        SCOPED_TRACE(::testing::Message() << "limit " << limit << ", darts " << darts);
        Sheet s;
        s.draw(limit ? record_for(limited) : leg_with({{60, 60}}), top_row, 900, 340, darts);
        ASSERT_LT(s.cell(0, 1, 20).bottom, 900) << "the window is too short for the test";
        for (int r : {2, 11, 12, 14, 20}) {
            if (limit && r >= 15) continue;
            EXPECT_TRUE(shows(s, s.cell(7, 3, r), s.tools.row_font.get(),
                              std::to_string(darts ? 3 * (r + 1) : r + 1),
                              limit && r >= 12 ? kLast3 : kHeaderText))
                << "round " << r + 1;
        }
        if (!limit) {
            EXPECT_EQ(0, s.image.count(kLast3)) << "last-three colour without a round limit";
            continue;
        }
        const RECT below{0, s.cell(0, 1, 15).top + 1, 340, 900};
        EXPECT_EQ((below.right - below.left) * (below.bottom - below.top), s.count(below, kBackground))
            << "something but background below round 15";
        EXPECT_EQ(kSeparate, s.image.at(40, below.top - 1)) << "the separator under round 15";
    }
}

} // namespace
