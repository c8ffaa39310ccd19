#include "records/history_view.h"

#include "core/text.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tx9 {
namespace {

// A finished leg: its winner and the darts the winner needed (0 = drawn).
LegRecord leg(int winner, int win_darts) {
    LegRecord leg;
    leg.finished = 1, leg.winner = winner, leg.win_darts = win_darts;
    return leg;
}

// A set with its finished legs and the current, unfinished one behind them.
GameRecord set_of(int start_score, std::vector<LegRecord> finished) {
    GameRecord record;
    record.start_score = start_score;
    record.player[0].name = "Ann";
    record.player[1].name = "Bob";
    record.leg_no = static_cast<int>(finished.size());
    record.leg_records = std::move(finished);
    record.leg_records.emplace_back();
    for (const LegRecord& l : record.leg_records)
        if (l.finished) ++record.player[static_cast<size_t>(l.winner)].legs;
    return record;
}

TEST(HistoryRows, TheLiveSetShowsOnceAndOnlyWithFinishedLegsAndClearNeedsArchivedSets) {
    test::ScopedFakeSystem fake;
    History history;
    GameRecord live = set_of(501, {});
    history.live = &live;
    auto shown = [&](bool selected) {
        std::string rows; // "*" marks the live set's rows; then View, Save As and Clear enabled
        for (const HistoryEntry& row : history_entries(history))
            rows += (rows.empty() ? "" : "|") + history_row_text(row) + (row.record == &live ? "*" : "");
        HistoryButtons b = history_buttons(selected, history);
        return rows + " " + std::to_string(b.view) + std::to_string(b.save_as) + std::to_string(b.clear);
    };
    EXPECT_EQ(shown(false), " 000");
    EXPECT_EQ(shown(true), " 110");
    // Archived already (the schedule's end): the set shows once, from the history.
    live = set_of(301, {leg(0, 9)});
    live.archived = 1;
    history.records = {live};
    EXPECT_EQ(shown(false), "301|1 Legs 001");
}

TEST(HistoryRows, SetRowShowsSetNumberNamesAndTheLeaderUnderlined) {
    test::ScopedFakeSystem fake;
    const std::tuple<int, int, int, int, int, const char*> cases[] = {
        // leg limit, set number, legs of each, player 2 the COM player; the row
        {1, 2, 2, 1, 0, "501 [3 Sets] _Ann_ Bob"},
        {0, 2, 1, 1, 0, "501 [] Ann Bob"},
        {0, 0, 0, 3, 1, "501 [] Ann _COM (Lv.3)_"},
    };
    for (auto [leg_limit, set_no, legs1, legs2, com2, shown] : cases) {
        GameRecord record = set_of(501, {});
        record.leg_limit = leg_limit, record.set_no = set_no;
        record.player[0].legs = legs1, record.player[1].legs = legs2;
        record.player[1].com = com2, record.player[1].com_level = 2;
        SetRowView v = set_row_view(record);
        auto name = [&](int p) { return v.underlined[p] ? "_" + v.names[p] + "_" : v.names[p]; };
        EXPECT_EQ(v.start_score + " [" + v.sets + "] " + name(0) + " " + name(1), shown);
    }
}

TEST(HistoryRows, LegRowsShowTheWinnersDarts) {
    test::ScopedFakeSystem fake;
    // Player 2 won the second leg with 14 darts; the third was drawn at the round limit.
    GameRecord record = set_of(501, {leg(0, 15), leg(1, 14), leg(0, 0)});
    const std::pair<int, const char*> legs[] = {
        {1, "1 Legs [15] [ ]"}, {2, "2 Legs [ ] [14]"}, {3, "3 Legs [ ] [ ]"}, {5, "5 Legs [ ] [ ]"}};
    for (auto [number, want] : legs) {
        LegRowView v = leg_row_view(record, number);
        std::string shown = v.legs;
        for (int p = 0; p < 2; ++p)
            shown += v.won[p] ? " [" + v.darts[p] + "]" : " [" + v.darts[p] + " ]";
        EXPECT_EQ(shown, want);
    }
}

std::string place(const ControlPlace& p) {
    return strprintf("%d,%d %dx%d", p.x, p.y, p.width, p.height);
}
std::string rect(const ScreenRect& r) {
    return strprintf("%d,%d-%d,%d", r.left, r.top, r.right, r.bottom);
}

TEST(HistoryLayouts, ControlsFollowTheClientSize) {
    HistoryLayout h = history_layout(500, 300);
    EXPECT_EQ(place(h.list) + " " + place(h.view) + " " + place(h.save_as) + " " + place(h.clear) + " " +
                  place(h.close),
              "0,0 500x228 206,238 88x21 304,238 88x21 402,238 88x21 402,269 88x21");

    // An odd width: the second panel takes the odd pixel.
    ScoreListLayout s = score_list_layout(601, 400);
    EXPECT_EQ(place(s.sheet) + " " + place(s.panels[0]) + " " + place(s.panels[1]) + " " +
                  place(s.labels[0]) + " " + place(s.labels[1]) + " " + place(s.close),
              "0,40 601x290 0,40 298x290 302,40 299x290 0,330 150x30 451,330 150x30 503,369 88x21");

    HistoryRowGeometry g = history_row_geometry({0, 24, 600, 48}, 40);
    std::string shown;
    for (const ScreenRect& r : g.columns)
        shown += rect(r) + " ";
    EXPECT_EQ(shown + rect(g.boxes[0]) + " " + rect(g.boxes[1]) + " " + std::to_string(g.line_y),
              "4,24-100,48 100,24-200,48 200,24-400,48 400,24-600,48 280,25-320,47 480,25-520,47 36");
}

} // namespace
} // namespace tx9
