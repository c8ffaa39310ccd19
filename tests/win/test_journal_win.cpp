// The journal at start-up under Wine: the offer of one left behind, in every
// case, and the lock that lets only the first tx9 in a folder keep it.
#include "app/win/journal_startup.h"
#include "core/text.h"
#include "core/win/win_system.h"
#include "engine/game_rules.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "res/resource.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <memory>

namespace tx9 {
namespace {

const std::string kJournal = [] {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tx9_journal_test.journal";
}();

// Every file whose name starts with the journal's: the journal and what was set aside.
std::vector<std::string> journal_files() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((kJournal + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void remove_journal_files() {
    for (const std::string& name : journal_files())
        DeleteFileA(join_path(folder_of(kJournal), name).c_str());
}

TEST(JournalOffer, AnswersEveryKindOfJournal) {
    static WinSystem system(GetModuleHandleA(nullptr));
    set_system_services(&system);
    GameSettings game;
    game.start_score = 301;
    game.p1_name = "Ann";
    GameRecord live;
    ASSERT_TRUE(init_for_set(live, game, true, nullptr));
    const std::string valid = format_journal({game, {}, {}, live, {}});

    struct Row {
        const char* what;
        std::string contents; // empty: no journal
        int answer;
        int text_id; // the message shown, 0 for none
        bool continued;
    };
    const Row rows[] = {
        {"no journal", "", 0, 0, false},
        {"continued", valid, IDYES, IDS_JOURNAL_RESUME, true},
        {"declined", valid, IDNO, IDS_JOURNAL_RESUME, false},
        {"cut short", valid.substr(0, valid.size() - 3), IDOK, IDS_JOURNAL_DAMAGED, false},
        {"newer", "tx9 journal 9\r\n", IDOK, IDS_JOURNAL_NEWER, false},
    };
    for (const Row& row : rows) {
        remove_journal_files();
        if (!row.contents.empty()) {
            ASSERT_TRUE(write_whole_file(kJournal, row.contents, nullptr));
        }
        std::vector<std::string> texts;
        wintest::DialogAnswerer answerer([&](const wintest::DialogInfo& d) {
            texts.push_back(d.text);
            return row.answer;
        });
        JournalState state;
        EXPECT_EQ(offer_leftover_journal(kJournal, state), row.continued) << row.what;
        ASSERT_EQ(texts.size(), row.text_id ? 1u : 0u) << row.what;
        if (row.text_id) {
            const std::string shown = load_resource_string(row.text_id);
            EXPECT_EQ(texts[0].substr(0, shown.find('%')), shown.substr(0, shown.find('%'))) << row.what;
        }
        if (row.continued) {
            EXPECT_EQ("Ann 301", state.live.player[0].name + strprintf(" %d", state.live.start_score));
        }
        // Only a continued journal stays; any other is set aside, none is lost.
        EXPECT_EQ(path_exists(kJournal), row.continued) << row.what;
        EXPECT_EQ(journal_files().size(), row.contents.empty() ? 0u : 1u) << row.what;
    }
    remove_journal_files();
}

TEST(JournalMutex, OnlyTheFirstRunInAFolderKeepsItsJournal) {
    auto first = std::make_unique<JournalLock>(kJournal);
    JournalLock second(kJournal);
    EXPECT_TRUE(first->owned());
    EXPECT_FALSE(second.owned()) << "a second tx9 beside a running one";
    EXPECT_TRUE(JournalLock(kJournal + "2").owned());
    first.reset();
    EXPECT_FALSE(JournalLock(kJournal).owned()) << "the second one still holds the name";
}

} // namespace
} // namespace tx9
