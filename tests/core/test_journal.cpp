// The journal of the live game: every field comes back as it was written,
// and a file that was cut, edited or written by a later version is refused.
#include "records/journal.h"
#include "engine/game_rules.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "support/match_harness.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

namespace tx9 {
namespace {

using test::describe;
using test::game_of;

struct Evening {
    std::string what;
    std::function<void(test::Table&)> play;
    GameSettings game = game_of(501);
};

JournalSource source_of(test::Table& t) {
    return JournalSource{t.settings.game, t.settings.schedule, t.history.records, t.record,
                         SheetSelection{t.match.sel_player(), t.match.sel_round()}};
}

GameSettings limited(int start, int legs, const char* p1, const char* p2) {
    GameSettings g = game_of(start);
    g.leg_limit = 1;
    g.max_leg = legs;
    g.best_of = 1;
    g.p1_name = p1;
    g.p2_name = p2;
    return g;
}

// A 501 with a round limit (0 for none) and player 2 the COM player when asked.
GameSettings game_with(int rounds, int p2_com) {
    GameSettings g = game_of(501);
    g.round_limit = rounds > 0;
    g.round = rounds > 0 ? rounds : 15;
    g.p2_com = p2_com;
    g.p2_com_level = 4;
    return g;
}

TEST(Journal, EveryFieldOfTheEveningComesBack) {
    const Evening evenings[] = {
        {"an open leg with a correction and the selection moved back",
         [](test::Table& t) { t.play("100 60 140 45 up =41 enter up"); }},
        {"a second set with carried statistics and names that need escaping",
         [](test::Table& t) { t.play("180 26 w0 100 w1 w0 60 57"); },
         limited(301, 3, "Ann %20 Lee", "\x83\x5c\x83\x41\tX")},
        {"a schedule in its second entry, a 301 after a 501, with a handicap",
         [](test::Table& t) {
             GameSettings second = limited(301, 1, "", "");
             second.p2_start_score = 201;
             t.settings.schedule = {limited(501, 1, "Ann", "Bob"), second};
             t.flow.start_new_schedule();
             t.play("w1 121");
         }},
        {"a leg at its round limit after Middle for Diddle was cancelled",
         [](test::Table& t) {
             t.host.leg_winners.push_back(-1);
             t.play("60 60 60 60 60 60");
         },
         game_with(3, 0)},
        {"a COM player's game, the visit stopped by the operator",
         [](test::Table& t) {
             t.play("100");
             t.player(1).com_result = kComStopped;
             t.match.apply_com_result(1);
         },
         game_with(0, 1)},
        {"a leg past its first block of rounds",
         [](test::Table& t) { t.play("1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"); }},
    };
    for (const Evening& e : evenings) {
        test::Table t(e.game);
        e.play(t);
        JournalState back;
        const std::string text = format_journal(source_of(t));
        ASSERT_EQ(parse_journal(text, back), JournalRead::ok) << e.what << "\n" << text;
        EXPECT_EQ(back.live, t.record) << e.what;
        EXPECT_EQ(back.history, t.history.records) << e.what;
        EXPECT_EQ(describe(back.game) + "\n" + describe(back.schedule),
                  describe(t.settings.game) + "\n" + describe(t.settings.schedule))
            << e.what;
        EXPECT_EQ(std::make_pair(back.selection.player, back.selection.round),
                  std::make_pair(t.match.sel_player(), t.match.sel_round()))
            << e.what;
    }
}

// A played evening in journal form: two sets in the history, one open leg.
std::string evening_text() {
    test::Table t(limited(301, 1, "Ann", "Bob"));
    t.play("w0 w1 100 140");
    return format_journal(source_of(t));
}

TEST(Journal, EveryCutIsRefusedAndChangesNothing) {
    const std::string text = evening_text();
    JournalState untouched;
    untouched.selection.round = 77;
    for (size_t n = 0; n < text.size(); ++n) {
        ASSERT_EQ(parse_journal(text.substr(0, n), untouched), JournalRead::damaged) << "cut at " << n;
        ASSERT_EQ(untouched.selection.round, 77);
    }
    EXPECT_EQ(parse_journal(text + "x", untouched), JournalRead::damaged) << "bytes after the end";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(Journal, EditedOrForeignFilesAreRefused) {
    const std::string text = evening_text();
    JournalState s;
    // what, the text replaced and its replacement, whether the check sum is checked, the verdict
    const std::tuple<const char*, const char*, const char*, bool, JournalRead> rows[] = {
        {"a visit changed by hand", "cells 100", "cells 101", true, JournalRead::damaged},
        {"a later version", "tx9 journal 1", "tx9 journal 2", true, JournalRead::newer},
        {"no version", "tx9 journal 1", "tx9 journal", true, JournalRead::damaged},
        {"a visit over 180", "cells 100", "cells 181", false, JournalRead::damaged},
        {"an open leg before the last", "leg 3 1 4 10 0 1", "leg 3 1 4 10 0 0", false, JournalRead::damaged},
        {"more rounds than room", "leg 3 1 4 10", "leg 3 1 11 10", false, JournalRead::damaged},
        {"an unfinished escape in a name", "=Ann", "=Ann%4", false, JournalRead::damaged},
        {"a field too many", "selection 0 1", "selection 0 1 0", false, JournalRead::damaged},
        {"an average that is not a number", "player =Ann 301 0 1 1 1 0 121 12 25.083334",
         "player =Ann 301 0 1 1 1 0 121 12 nan", false, JournalRead::damaged},
        {"line ends without CR", "live\r\n", "live\n", false, JournalRead::damaged},
    };
    for (auto [what, from, to, check_sum, expected] : rows)
        EXPECT_EQ(parse_journal(replaced(text, from, to), s, check_sum), expected) << what;
}

TEST(Journal, TheWriterKeepsUpWithTheHistory) {
    test::Table t(limited(301, 1, "Ann", "Bob"));
    JournalWriter writer;
    JournalState back;
    // Sets appended, the history cleared, then filled again with other sets.
    const char* steps[] = {"w0", "w1 w0", "clear", "w1", "100"};
    for (const char* step : steps) {
        if (std::string(step) == "clear")
            free_history(t.history);
        else
            t.play(step);
        ASSERT_EQ(parse_journal(writer.format(source_of(t)), back), JournalRead::ok) << step;
        EXPECT_EQ(back.history, t.history.records) << step;
    }
}

TEST(Journal, AContinuedLegShowsTheKeptCellAndLetsTheComPlayerThrow) {
    // player 2 the COM player, the cell resumed at, Table::state() after it, COM timers started
    const std::tuple<int, int, int, const char*, int> rows[] = {
        {0, 1, 0, "round 1/2 first 0 turn 0 sel 1,0 left 441,456 darts 3,3", 0},
        {0, 0, 99, "round 1/2 first 0 turn 0 sel 0,1 left 441,456 darts 3,3", 0},
        {1, 0, 1, "round 1/2 first 0 turn 1 sel 0,1 left 441,456 darts 6,3", 1},
    };
    for (auto [com, player, round, state, com_timers] : rows) {
        GameSettings g = game_of(501);
        g.p2_com = com;
        test::Table t(g);
        t.host.entry = "60";
        t.match.enter_visit(60); // player 1, round 0
        t.match.select(1, 0);
        t.match.enter_visit(45);
        if (com) {
            t.match.select(0, 1);
            t.match.enter_visit(0);
        }
        t.host.clear();
        t.match.resume(player, round);
        EXPECT_EQ(t.state(), state) << player << "," << round;
        EXPECT_EQ(t.host.count("com_timer 0"), com_timers);
        EXPECT_EQ(t.host.calls("notify 1 ").size(), 2u) << "both panels";
    }
}

TEST(JournalFile, SetAsideUnderNamesThatNeverReplaceOneAnother) {
    test::ScopedFakeSystem fake; // paths are joined in the system's code page
    test::ScopedTempDir dir;
    const std::string path = journal_path(dir.path());
    JournalState s;
    EXPECT_EQ(read_journal_file(path, s), JournalFound::none);
    for (const std::string suffix : {".20041105-130509", ".20041105-130509-2"}) {
        ASSERT_TRUE(write_whole_file(path, suffix, nullptr));
        EXPECT_EQ(set_journal_aside(path, LocalTime{2004, 11, 5, 13, 5, 9}), path + suffix);
        std::string kept;
        EXPECT_TRUE(read_whole_file(path + suffix, kept, nullptr) && kept == suffix) << suffix;
        EXPECT_FALSE(path_exists(path));
    }
}

} // namespace
} // namespace tx9
