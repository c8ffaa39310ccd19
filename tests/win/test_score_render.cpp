// The score sheet's drawing, read back from the pixels of the buffer it was
// drawn into. Every colour of the sheet is set to a value of its own, so a
// pixel tells which step drew it; texts are compared with the same text drawn
// by itself in the same font and cell size.
#include "ui/score/win/score_render.h"

#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

const COLORREF kBackground = RGB(250, 250, 240);
const COLORREF kOdd = RGB(225, 235, 250);
const COLORREF kText = RGB(10, 10, 120);
const COLORREF kHeaderBackground = RGB(200, 200, 190);
const COLORREF kHeaderText = RGB(120, 0, 0);
const COLORREF kLast3 = RGB(0, 140, 0);
const COLORREF kLine = RGB(100, 110, 100);
const COLORREF kSeparate = RGB(40, 0, 60);
const COLORREF kTon = RGB(255, 0, 0);

std::string name_of(COLORREF c) {
    if (c == kBackground) return "background";
    if (c == kOdd) return "odd_background";
    if (c == kText) return "text";
    if (c == kHeaderBackground) return "header_background";
    if (c == kHeaderText) return "header_text";
    if (c == kLast3) return "last3number_text";
    if (c == kLine) return "line";
    if (c == kSeparate) return "separate";
    if (c == kTon) return "ton_circle";
    return "a colour of no setting";
}

// A rendered sheet and the geometry it was drawn with.
struct Drawing {
    SheetTools tools;
    Image image;
    int u = 0, hh = 0, rh = 0, top_row = 0;

    int row_top(int sheet_row) const { return hh + (sheet_row - top_row) * rh; }
    // Cells of round r (sheet row r + 1).
    RECT scored(int player, int round) const {
        int left = player == 0 ? 0 : 10 * u;
        return RECT{left, row_top(round + 1), left + 3 * u, row_top(round + 1) + rh};
    }
    RECT to_go(int player, int round) const {
        int left = player == 0 ? 3 * u : 13 * u;
        return RECT{left, row_top(round + 1), left + 4 * u, row_top(round + 1) + rh};
    }
    RECT number(int round) const { return RECT{7 * u, row_top(round + 1), 10 * u, row_top(round + 1) + rh}; }
    COLORREF at(int x, int y) const { return image.at(x, y); }
};

Drawing draw(const GameRecord& record, int top_row, int width, int height, bool throw_count = false,
             int leg = 0) {
    Drawing d;
    BackBuffer buffer;
    EXPECT_TRUE(buffer.resize(nullptr, width, height));
    EXPECT_TRUE(build_sheet_fonts(d.tools, buffer.dc(), width, false));
    EXPECT_TRUE(build_sheet_colours(d.tools));
    SheetView view;
    view.record = &record;
    view.shown_leg = leg;
    view.top_row = top_row;
    view.width = width;
    view.height = height;
    view.throw_count = throw_count;
    render_score_sheet(buffer.dc(), d.tools, view);
    d.image = capture_dc(buffer.dc(), width, height);
    d.u = width / 17;
    d.hh = d.tools.header_height;
    d.rh = d.tools.row_height;
    d.top_row = top_row;
    return d;
}

// Which pixels of the area have exactly the colour, row by row.
std::vector<bool> mask(const Image& image, const RECT& area, COLORREF color) {
    std::vector<bool> bits;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            bits.push_back(image.at(x, y) == color);
    return bits;
}

// The same text drawn alone, centred in a cell of the same size on the background.
std::vector<bool> reference(HFONT font, const std::string& text, COLORREF color, COLORREF background,
                            int width, int height) {
    BackBuffer buffer;
    buffer.resize(nullptr, width, height);
    Brush brush(CreateSolidBrush(background));
    RECT cell{0, 0, width, height};
    FillRect(buffer.dc(), &cell, brush.get());
    SelectScope selected(buffer.dc(), font);
    SetBkMode(buffer.dc(), TRANSPARENT);
    SetTextColor(buffer.dc(), color);
    DrawTextA(buffer.dc(), text.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return mask(capture_dc(buffer.dc(), width, height), cell, color);
}

// Whether the area shows exactly this text (and nothing else) in the colour.
::testing::AssertionResult shows(const Drawing& d, const RECT& area, HFONT font, const std::string& text,
                                 COLORREF color, COLORREF background) {
    std::vector<bool> seen = mask(d.image, area, color);
    std::vector<bool> wanted =
        reference(font, text, color, background, area.right - area.left, area.bottom - area.top);
    if (std::count(wanted.begin(), wanted.end(), true) == 0)
        return ::testing::AssertionFailure() << "the reference \"" << text << "\" has no pixels";
    if (seen == wanted) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the cell at " << area.left << "," << area.top << " does not show \"" << text << "\" in "
           << name_of(color) << " (" << std::count(seen.begin(), seen.end(), true)
           << " pixels of that colour, " << std::count(wanted.begin(), wanted.end(), true) << " expected)";
}

int pixels(const Drawing& d, const RECT& area, COLORREF color) {
    return d.image.count(color, area);
}

// A leg of player 1 (first) and player 2 with the visits given by round; the
// round after the last full one is cur_round, with player 1's visit when
// `half` holds one.
GameRecord leg_with(const std::vector<std::pair<int, int>>& rounds, int half = -1, int start = 501) {
    GameRecord record = record_for(plain_game(start));
    LegRecord& leg = record.current_leg();
    int needed = static_cast<int>(rounds.size()) + 1;
    leg.capacity = std::max(leg.capacity, needed + 10);
    for (auto& cells : leg.scores)
        cells.resize(static_cast<size_t>(leg.capacity) + 1, 0);
    for (size_t r = 0; r < rounds.size(); ++r) {
        leg.scores[0][r] = rounds[r].first;
        leg.scores[1][r] = rounds[r].second;
    }
    leg.cur_round = static_cast<int>(rounds.size());
    leg.rows = std::max(leg.rows, leg.cur_round + 1);
    leg.turn = 0;
    if (half >= 0) {
        leg.scores[0][rounds.size()] = half;
        leg.turn = 1;
    }
    return record;
}

class ScoreRender : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
        auto& c = settings().colors;
        c[kColorBackground] = kBackground;
        c[kColorOddBackground] = kOdd;
        c[kColorText] = kText;
        c[kColorHeaderBackground] = kHeaderBackground;
        c[kColorHeaderText] = kHeaderText;
        c[kColorLast3NumberText] = kLast3;
        c[kColorLine] = kLine;
        c[kColorSeparate] = kSeparate;
        c[kColorTonCircle] = kTon;
        settings().font_name = "Arial";
    }
    void TearDown() override { settings() = saved_; }

    Settings saved_;
};

TEST_F(ScoreRender, BandsStripesAndLinesHaveTheirColours) {
    GameRecord record = leg_with({});
    Drawing d = draw(record, 0, 340, 500);
    const int u = d.u, hh = d.hh, rh = d.rh;
    ASSERT_EQ(20, u);
    ASSERT_GT(rh, 10);
    struct Probe {
        const char* what;
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {
        {"header band", 1, 1, kHeaderBackground},
        {"header band over the round column", 8 * u, 1, kHeaderBackground},
        {"round column below the rows", 7 * u + 3, 480, kHeaderBackground},
        {"start row, player 1 Scored", u, hh + rh / 2, kHeaderBackground},
        {"start row, player 2 Scored", 10 * u + 1, hh + rh / 2, kHeaderBackground},
        {"start row, player 2 Scored border", 10 * u, hh + rh / 2, kSeparate},
        {"1st round (odd row)", 2 * u, d.row_top(1) + rh / 2, kOdd},
        {"2nd round (even row)", 2 * u, d.row_top(2) + rh / 2, kBackground},
        {"3rd round, player 2 To Go", 15 * u, d.row_top(3) + rh / 2, kOdd},
        {"grid below the 1st round", 2 * u, d.row_top(2), kLine},
        {"grid below the 4th round", 15 * u, d.row_top(5), kLine},
        {"separator below the start row", 2 * u, d.row_top(1), kSeparate},
        {"separator below the 5th round", 2 * u, d.row_top(6), kSeparate},
        {"separator below the 10th round", 15 * u, d.row_top(11), kSeparate},
        {"Scored / To Go line, player 1", 3 * u, d.row_top(2) + rh / 2, kLine},
        {"Scored / To Go line, player 2", 13 * u, d.row_top(4) + rh / 2, kLine},
        {"Scored / To Go line in the header", 3 * u, 1, kLine},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(name_of(p.expected), name_of(d.at(p.x, p.y))) << p.what << " at " << p.x << "," << p.y;
    // Width-2 lines: the header line and both borders of the round column.
    for (int x : {7 * u, 10 * u})
        EXPECT_TRUE(d.at(x - 1, hh + 3 * rh / 2) == kSeparate || d.at(x, hh + 3 * rh / 2) == kSeparate)
            << "round column border at " << x;
    EXPECT_TRUE(d.at(2 * u, hh) == kSeparate &&
                (d.at(2 * u, hh - 1) == kSeparate || d.at(2 * u, hh + 1) == kSeparate))
        << "the header line is two pixels of separate";
}

TEST_F(ScoreRender, HeaderMarksTheFirstThrowerWithAnAsterisk) {
    // The headings are the resource strings of the user's language.
    const std::string scored_text = load_resource_string(IDS_SCORED);
    const std::string to_go_text = load_resource_string(IDS_TO_GO);
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH) {
        EXPECT_EQ("Scored", scored_text);
        EXPECT_EQ("To Go", to_go_text);
    }
    for (int first = 0; first < 2; ++first) {
        SCOPED_TRACE(strprintf("player %d throws first", first + 1));
        GameRecord record = leg_with({});
        record.current_leg().first = first;
        record.current_leg().turn = first;
        Drawing d = draw(record, 0, 340, 300);
        HFONT font = d.tools.header_font.get();
        const int u = d.u;
        for (int p = 0; p < 2; ++p) {
            int scored = p == 0 ? 0 : 10 * u, to_go = p == 0 ? 3 * u : 13 * u;
            EXPECT_TRUE(shows(d, RECT{scored, 0, scored + 3 * u, d.hh}, font, scored_text, kHeaderText,
                              kHeaderBackground))
                << "player " << p + 1;
            std::string heading = p == first ? "* " + to_go_text : to_go_text;
            EXPECT_TRUE(
                shows(d, RECT{to_go, 0, to_go + 4 * u, d.hh}, font, heading, kHeaderText, kHeaderBackground))
                << "player " << p + 1;
        }
    }
}

TEST_F(ScoreRender, StartRowShowsStartScoresOnlyAtTheTop) {
    GameRecord record = leg_with({{60, 45}, {100, 26}, {41, 81}, {85, 60}, {45, 100}, {60, 60}, {26, 41}});
    record.player[1].start_score = 301; // a handicap
    Drawing top = draw(record, 0, 340, 500);
    HFONT row_font = top.tools.row_font.get();
    RECT start1{3 * top.u, top.hh, 7 * top.u, top.hh + top.rh};
    RECT start2{13 * top.u, top.hh, 17 * top.u, top.hh + top.rh};
    EXPECT_TRUE(shows(top, start1, row_font, "501", kText, kBackground));
    EXPECT_TRUE(shows(top, start2, row_font, "301", kText, kBackground));
    EXPECT_EQ(0, pixels(top, RECT{0, top.hh + 2, 3 * top.u, top.hh + top.rh}, kText))
        << "text in the Scored cell";

    // Scrolled down by 4 rows: round 4 (index 3) comes first and its remaining
    // scores still count every round above it.
    Drawing scrolled = draw(record, 4, 340, 500);
    RECT first_row = scrolled.to_go(0, 3);
    ASSERT_EQ(scrolled.hh, first_row.top);
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(0, 3), row_font, std::to_string(501 - 60 - 100 - 41 - 85),
                      kText, kBackground));
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(1, 3), row_font, std::to_string(301 - 45 - 26 - 81 - 60),
                      kText, kBackground));
    EXPECT_TRUE(shows(scrolled, scrolled.to_go(1, 6), row_font,
                      std::to_string(301 - 45 - 26 - 81 - 60 - 100 - 60 - 41), kText, kOdd));
    EXPECT_EQ(name_of(kBackground), name_of(scrolled.at(2, scrolled.hh + scrolled.rh / 2)))
        << "the start row is drawn although the sheet is scrolled";
}

TEST_F(ScoreRender, VisitsOfATonOrMoreAreCircled) {
    // Rounds: 100 and 99, 180 and 0, 140 and 26.
    GameRecord record = leg_with({{100, 99}, {180, 0}, {140, 26}});
    Drawing d = draw(record, 0, 340, 400);
    struct Cell {
        int player, round, value;
    };
    const Cell cells[] = {{0, 0, 100}, {1, 0, 99}, {0, 1, 180}, {1, 1, 0}, {0, 2, 140}, {1, 2, 26}};
    for (const Cell& c : cells) {
        SCOPED_TRACE(strprintf("player %d round %d visit %d", c.player + 1, c.round + 1, c.value));
        RECT scored = d.scored(c.player, c.round);
        int ton = pixels(d, scored, kTon);
        if (c.value >= 100)
            EXPECT_GT(ton, 2 * d.rh) << "no ton circle";
        else
            EXPECT_EQ(0, ton) << "a circle around a visit under 100";
        EXPECT_GT(pixels(d, scored, kText), 0) << "the visit is not written";
        EXPECT_EQ(0, pixels(d, d.to_go(c.player, c.round), kTon)) << "circle spilled into To Go";
    }
    // The circles stay inside their cells, off the grid line above them.
    for (int r = 0; r < 3; ++r) {
        RECT cell = d.scored(0, r);
        EXPECT_EQ(0, pixels(d, RECT{0, cell.top, 3 * d.u, cell.top + 1}, kTon))
            << "ring on the line above round " << r + 1;
    }
    EXPECT_EQ(0, pixels(d, RECT{3 * d.u, 0, 340, 400}, kTon)) << "ring outside player 1's Scored column";
}

// The sheet copies its ton circles from ones drawn once; each whole cell must
// be the very pixels GDI draws in place: the sheet with nothing entered, the
// ellipse with the ton pen over the row's background, the visit over it.
TEST_F(ScoreRender, TonCirclesAreTheEllipsesGdiDrawsInTheCell) {
    // Tons for both players on odd and even rows.
    GameRecord record = leg_with({{100, 120}, {180, 140}, {140, 26}, {45, 100}, {171, 60}});
    GameRecord blank = record;
    blank.current_leg().cur_round = 0;
    const int width = 340, height = 600;
    for (int top : {0, 1, 2}) {
        SCOPED_TRACE(strprintf("top row %d", top));
        Drawing d = draw(record, top, width, height);
        BackBuffer reference;
        ASSERT_TRUE(reference.resize(nullptr, width, height));
        SheetView view;
        view.record = &blank;
        view.top_row = top;
        view.width = width;
        view.height = height;
        render_score_sheet(reference.dc(), d.tools, view);
        Pen ton(CreatePen(PS_SOLID, 2, kTon));
        SetTextColor(reference.dc(), kText);
        std::vector<RECT> cells;
        for (int r = std::max(top - 1, 0); r < record.current_leg().cur_round; ++r)
            for (int p = 0; p < 2; ++p) {
                const int v = record.current_leg().scores[static_cast<size_t>(p)][static_cast<size_t>(r)];
                if (v < 100) continue;
                RECT cell = d.scored(p, r);
                cells.push_back(cell);
                Brush row(CreateSolidBrush((r + 1) % 2 == 1 ? kOdd : kBackground));
                {
                    SelectScope pen(reference.dc(), ton.get());
                    SelectScope brush(reference.dc(), row.get());
                    Ellipse(reference.dc(), cell.left + 1 + p, cell.top + 2, cell.right - 1, cell.bottom - 1);
                }
                SelectScope font(reference.dc(), d.tools.row_font.get());
                const std::string digits = std::to_string(v);
                DrawTextA(reference.dc(), digits.c_str(), -1, &cell,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
        EXPECT_GE(cells.size(), 4u) << "too few tons in view";
        const Image expected = capture_dc(reference.dc(), width, height);
        for (const RECT& cell : cells) {
            int differ = 0;
            for (int y = cell.top; y < cell.bottom; ++y)
                for (int x = cell.left; x < cell.right; ++x)
                    differ += expected.at(x, y) != d.at(x, y);
            EXPECT_EQ(0, differ) << "pixels of the cell at " << cell.left << "," << cell.top
                                 << " differ from the ellipse drawn in place";
        }
    }
}

// The circles drawn once belong to one size and one set of colours: a sheet
// that changes either draws them again.
TEST_F(ScoreRender, TonCirclesFollowChangedColoursAndSizes) {
    GameRecord record = leg_with({{100, 120}, {180, 140}});
    SheetTools tools;
    BackBuffer buffer;
    auto render = [&](int width) {
        EXPECT_TRUE(buffer.resize(nullptr, width, 400));
        EXPECT_TRUE(build_sheet_fonts(tools, buffer.dc(), width, false));
        SheetView view;
        view.record = &record;
        view.width = width;
        view.height = 400;
        render_score_sheet(buffer.dc(), tools, view);
        return capture_dc(buffer.dc(), width, 400);
    };
    ASSERT_TRUE(build_sheet_colours(tools));
    ASSERT_GT(render(340).count(kTon), 0);

    const COLORREF new_ton = RGB(0, 0, 255), new_odd = RGB(255, 255, 0);
    settings().colors[kColorTonCircle] = new_ton;
    settings().colors[kColorOddBackground] = new_odd;
    ASSERT_TRUE(build_sheet_colours(tools));
    const Image recoloured = render(340);
    EXPECT_EQ(0, recoloured.count(kTon)) << "circles in the old colour";
    EXPECT_EQ(0, recoloured.count(kOdd)) << "circles filled with the old row colour";
    EXPECT_GT(recoloured.count(new_ton), 0);

    // Wider: the same pixels as a sheet drawn with tools made for that width.
    const Image wider = render(510);
    const Drawing fresh = draw(record, 0, 510, 400);
    EXPECT_TRUE(wider.pixels == fresh.image.pixels) << "circles of the old size on a wider sheet";
}

TEST_F(ScoreRender, FinishIsACircledDartNumberWithNoScoreToGo) {
    // Player 2 checks out 81 with the 2nd dart in round 3; player 1 had thrown first.
    GameRecord record = leg_with({{140, 180}, {100, 140}});
    LegRecord& leg = record.current_leg();
    leg.scores[0][2] = 60;
    leg.scores[1][2] = -2;
    leg.cur_round = 3;
    leg.turn = 0;
    leg.finished = 1;
    leg.winner = 1;
    Drawing d = draw(record, 0, 340, 400);
    HFONT row_font = d.tools.row_font.get();
    RECT cell = d.scored(1, 2);
    // Circle of rh across, centred: its left rim lies well left of the digit.
    int gap = (3 * d.u - d.rh) / 2;
    int middle = cell.top + d.rh / 2;
    int rim = 0;
    for (int x = cell.left + gap + 1; x <= cell.left + gap + 3; ++x)
        rim += d.at(x, middle) == kText;
    EXPECT_GT(rim, 0) << "no finish circle rim at x " << cell.left + gap + 1;
    EXPECT_EQ(0, pixels(d, RECT{cell.left + 2, cell.top + 2, cell.left + gap, cell.bottom - 1}, kText))
        << "the circle is wider than the row is high";
    EXPECT_EQ(0, pixels(d, cell, kTon)) << "a finish is not a ton";
    EXPECT_EQ(0, pixels(d, d.to_go(1, 2), kText)) << "a score to go beside the finish";
    // Inside the circle, the dart number; the loser's last visit and score as usual.
    RECT digit{cell.left + gap + 4, cell.top + 4, cell.right - gap - 4, cell.bottom - 3};
    EXPECT_GT(pixels(d, digit, kText), 5) << "no dart number inside the circle";
    EXPECT_TRUE(shows(d, d.to_go(0, 2), row_font, std::to_string(501 - 140 - 100 - 60), kText, kOdd));
}

TEST_F(ScoreRender, OpenRoundShowsOnlyTheVisitsEntered) {
    struct Row {
        int first;
        bool half; // the first thrower's visit of round 4 is in
        bool p1_shown, p2_shown;
    };
    const Row rows[] = {
        {0, true, true, false},
        {0, false, false, false},
        {1, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("first %d, half %d", row.first, row.half));
        GameRecord record = leg_with({{60, 60}, {60, 60}, {60, 60}});
        LegRecord& leg = record.current_leg();
        leg.first = row.first;
        leg.turn = row.first;
        if (row.half) {
            leg.scores[static_cast<size_t>(row.first)][3] = 45;
            leg.turn = 1 - row.first;
        }
        // A stale value in the other cell must not show either.
        leg.scores[static_cast<size_t>(1 - row.first)][3] = 77;
        Drawing d = draw(record, 0, 340, 400);
        EXPECT_EQ(row.p1_shown, pixels(d, d.scored(0, 3), kText) > 0);
        EXPECT_EQ(row.p2_shown, pixels(d, d.scored(1, 3), kText) > 0);
        EXPECT_EQ(row.p1_shown, pixels(d, d.to_go(0, 3), kText) > 0);
        EXPECT_EQ(row.p2_shown, pixels(d, d.to_go(1, 3), kText) > 0);
        EXPECT_EQ(0, pixels(d, d.scored(0, 4), kText) + pixels(d, d.scored(1, 4), kText))
            << "round 5 has text";
    }
}

TEST_F(ScoreRender, RoundNumbersCountRoundsOrDarts) {
    GameRecord record = leg_with({{60, 60}});
    for (bool darts : {false, true}) {
        SCOPED_TRACE(darts ? "Index of Throw" : "rounds");
        Drawing d = draw(record, 0, 340, 600, darts);
        HFONT row_font = d.tools.row_font.get();
        // Without a round limit the numbers go on to the bottom, past the leg's rows.
        for (int r : {0, 1, 2, 9, 12}) {
            RECT n = d.number(r);
            if (n.bottom > 600) break;
            EXPECT_TRUE(shows(d, n, row_font, std::to_string(darts ? 3 * (r + 1) : r + 1), kHeaderText,
                              kHeaderBackground))
                << "round " << r + 1;
        }
        EXPECT_EQ(0, pixels(d, RECT{0, 0, 340, 600}, kLast3)) << "last-three colour without a round limit";
    }
}

TEST_F(ScoreRender, RoundLimitColoursTheLastThreeAndBlanksBelow) {
    GameSettings game = plain_game();
    game.round_limit = 1;
    game.round = 15;
    GameRecord record = record_for(game);
    ASSERT_EQ(15, record.current_leg().rows);
    for (int top : {0, 3}) {
        SCOPED_TRACE(strprintf("top row %d", top));
        const int height = 900;
        Drawing d = draw(record, top, 340, height);
        HFONT row_font = d.tools.row_font.get();
        ASSERT_LT(d.row_top(16), height) << "the window is too short for the test";
        for (int r = std::max(top - 1, 0); r < 15; ++r) {
            bool last3 = r >= 12;
            EXPECT_TRUE(shows(d, d.number(r), row_font, std::to_string(r + 1), last3 ? kLast3 : kHeaderText,
                              kHeaderBackground))
                << "round " << r + 1;
        }
        RECT below{0, d.row_top(16) + 1, 340, height};
        int area = (below.right - below.left) * (below.bottom - below.top);
        EXPECT_EQ(area, pixels(d, below, kBackground)) << "something but background below round 15";
        EXPECT_EQ(name_of(kSeparate), name_of(d.at(2 * d.u, d.row_top(16))))
            << "the separator under round 15";
    }
}

} // namespace
