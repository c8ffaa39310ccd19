// The journal under Wine: written by the main window once a change is whole,
// a game put back into a new main window, the start-up offer in every case,
// the lock between two runs, and the ordinary run that continues a game and
// removes the journal when it ends normally.
#include "app/win/journal_startup.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/text.h"
#include "core/win/win_system.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace tx9 {
namespace {

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

std::string temp_path(const char* name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

std::string folder_of_module() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return folder_of(path);
}

// Every file whose name starts with the journal's: the journal and what was set aside.
std::vector<std::string> journal_files(const std::string& journal) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((journal + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void remove_journal_files(const std::string& journal) {
    for (const std::string& name : journal_files(journal))
        DeleteFileA(join_path(folder_of(journal), name).c_str());
}

JournalState read_back(const std::string& journal) {
    JournalState state;
    EXPECT_EQ(read_journal_file(journal, state), JournalFound::ok);
    return state;
}

class JournalWin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override {
        Settings& s = settings();
        s = Settings{};
        s.ini_path = temp_path("tx9_journal_test_missing.ini");
        settings_load(s, system_services());
        s.game.start_score = 301;
        s.game.round_limit = 0;
        s.game.p1_name = "Ann";
        s.game.p2_name = "Bob";
        start.journal_path = journal;
        remove_journal_files(journal);
    }

    void TearDown() override {
        destroy();
        remove_journal_files(journal);
    }

    // The window goes as at exit; the quit message it posts is taken off
    // the queue, or the next message box would end at once.
    void destroy() {
        if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void create() {
        static bool registered = register_window_classes(instance());
        ASSERT_TRUE(registered);
        hwnd = create_main_window(instance(), SW_SHOWNORMAL, &start);
        ASSERT_TRUE(hwnd);
        if (!start.resume) KillTimer(hwnd, kNewGameTimer);
        wintest::pump_pending();
    }

    ScoreSheetInfo sheet() {
        ScoreSheetInfo info;
        EXPECT_TRUE(score_sheet_info(main_window_sheet(hwnd), &info));
        return info;
    }

    // The journal is written once the message loop is back, as after a key.
    void visit(int points) {
        SetWindowTextA(sheet().entry, std::to_string(points).c_str());
        SendMessageA(hwnd, WM_COMMAND, IDM_TAB, 0);
        wintest::pump_pending();
    }

    const std::string journal = temp_path("tx9_journal_test.journal");
    MainWindowStart start;
    HWND hwnd = nullptr;
};

TEST_F(JournalWin, WrittenOnceAChangeIsWholeNeverWhileAFinishIsAsked) {
    create();
    EXPECT_FALSE(path_exists(journal)) << "the game set up at start-up is nothing to keep";
    for (int points : {140, 100, 121})
        visit(points);
    JournalState kept = read_back(journal);
    EXPECT_EQ(kept.live.current_leg().scores[0][1], 121);
    EXPECT_EQ(kept.live.current_leg().scores[1][0], 100);
    EXPECT_EQ(kept.selection.player, 1) << "Bob's cell of round 2 is selected";
    EXPECT_EQ(kept.selection.round, 1);

    // While the finish is asked for and announced, the journal still holds the leg before it.
    std::vector<std::string> seen;
    wintest::DialogAnswerer answerer([&](const wintest::DialogInfo& d) {
        const LegRecord leg = read_back(journal).live.current_leg();
        seen.push_back(d.title + strprintf(" finished %d cell %d", leg.finished, leg.scores[0][2]));
        return GetDlgItem(d.hwnd, IDC_FINISH_1) && GetDlgItem(d.hwnd, IDC_FINISH_3) ? IDC_FINISH_2 : IDOK;
    });
    visit(81);
    visit(40);
    const std::vector<std::string> expected = {"Finish finished 0 cell 0", "Ann finished 0 cell 0"};
    EXPECT_EQ(seen, expected);
    kept = read_back(journal);
    EXPECT_EQ(kept.live.leg_no, 1) << "the confirmed finish started the next leg";
    EXPECT_EQ(kept.live.leg(0).scores[0][2], -2);

    SendMessageA(hwnd, kMainClearHistory, 0, 0);
    EXPECT_EQ(read_back(journal).live.leg_no, 1) << "clearing the history writes the journal again";

    SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(start.keep_journal) << "the end of the session keeps the game for the restart";
    DeleteFileA(settings().ini_path.c_str());
}

TEST_F(JournalWin, AContinuedGameComesBackWithoutTheGameOptionDialog) {
    settings().game.leg_limit = 1;
    settings().game.max_leg = 1;
    create();
    visit(60);
    visit(45);
    SendMessageA(hwnd, WM_COMMAND, IDM_UP, 0); // the selection moves back to Ann's 60 first
    visit(26);
    const std::string title = wintest::window_text(hwnd);
    destroy();

    JournalState resumed = read_back(journal);
    settings().game = GameSettings{}; // the next start has other game settings in its INI
    start.resume = &resumed;
    std::vector<std::string> dialogs;
    wintest::DialogAnswerer answerer([&](const wintest::DialogInfo& d) {
        dialogs.push_back(d.title);
        return IDCANCEL;
    });
    create();
    wintest::pump_for(200); // the Game Option dialog of a fresh start would be up by now
    EXPECT_TRUE(dialogs.empty()) << dialogs.front();
    EXPECT_EQ(wintest::window_text(hwnd), title);
    EXPECT_EQ(settings().game.p1_name, "Ann") << "the game settings of the interrupted run";
    const ScoreSheetInfo info = sheet();
    EXPECT_EQ(info.sel_player, 1);
    EXPECT_EQ(info.sel_round, 0);
    const LegRecord& leg = main_window_record(hwnd)->current_leg();
    EXPECT_EQ(leg.scores[0][0], 26);
    EXPECT_EQ(leg.scores[1][0], 45);

    visit(100); // play goes on, and the journal with it
    EXPECT_EQ(read_back(journal).live.current_leg().scores[1][0], 100);
}

TEST_F(JournalWin, TheStartUpOfferAnswersEveryKindOfJournal) {
    create();
    visit(60);
    destroy();
    std::string valid;
    ASSERT_TRUE(read_whole_file(journal, valid, nullptr));

    struct Row {
        const char* what;
        std::string contents; // empty: no journal
        int answer;
        int text_id; // the message shown, 0 for none
        bool continued;
        size_t set_aside;
    };
    const Row rows[] = {
        {"no journal", "", 0, 0, false, 0},
        {"continued", valid, IDYES, IDS_JOURNAL_RESUME, true, 0},
        {"declined", valid, IDNO, IDS_JOURNAL_RESUME, false, 1},
        {"cut short", valid.substr(0, valid.size() - 3), IDOK, IDS_JOURNAL_DAMAGED, false, 1},
        {"newer", "tx9 journal 9\r\n", IDOK, IDS_JOURNAL_NEWER, false, 1},
    };
    for (const Row& row : rows) {
        remove_journal_files(journal);
        if (!row.contents.empty()) {
            ASSERT_TRUE(write_whole_file(journal, row.contents, nullptr));
        }
        std::vector<std::string> texts;
        wintest::DialogAnswerer answerer([&](const wintest::DialogInfo& d) {
            texts.push_back(d.text);
            return row.answer;
        });
        JournalState state;
        EXPECT_EQ(offer_leftover_journal(journal, state), row.continued) << row.what;
        ASSERT_EQ(texts.size(), row.text_id ? 1u : 0u) << row.what;
        if (row.text_id) {
            const std::string shown = load_resource_string(row.text_id);
            EXPECT_EQ(texts[0].substr(0, shown.find('%')), shown.substr(0, shown.find('%'))) << row.what;
        }
        if (row.continued) {
            EXPECT_EQ(state.live.current_leg().scores[0][0], 60);
        }
        const std::vector<std::string> files = journal_files(journal);
        EXPECT_EQ(path_exists(journal), row.continued) << row.what << ": only a continued journal stays";
        EXPECT_EQ(files.size() - (row.continued ? 1 : 0), row.set_aside) << row.what;
    }
}

TEST_F(JournalWin, OnlyTheFirstRunInAFolderKeepsItsJournal) {
    auto first = std::make_unique<JournalLock>(journal);
    JournalLock second(journal);
    JournalLock elsewhere(journal + "2");
    EXPECT_TRUE(first->owned());
    EXPECT_FALSE(second.owned()) << "a second tx9 beside a running one";
    EXPECT_TRUE(elsewhere.owned());
    first.reset();
    EXPECT_FALSE(JournalLock(journal).owned()) << "the second one still holds the name";
}

// The ordinary run continues the game it finds, then the operator exits:
// the journal goes once the settings are saved.
TEST_F(JournalWin, TheOrdinaryRunContinuesAndRemovesTheJournalAtANormalExit) {
    const std::string beside = journal_path(folder_of_module());
    const std::string ini = join_path(folder_of_module(), "tx9.ini");
    remove_journal_files(beside);
    DeleteFileA(ini.c_str());
    create();
    visit(60);
    destroy();
    std::string valid;
    ASSERT_TRUE(read_whole_file(journal, valid, nullptr));
    ASSERT_TRUE(write_whole_file(beside, valid, nullptr));
    // The run registers every class of the program itself.
    for (const char* name : {kMainWindowClass, "score_list_wnd", "tx9Edit", "score_left_wnd", "score_player_wnd",
                             "score_guide_wnd"})
        UnregisterClassA(name, instance());

    std::vector<std::string> dialogs;
    wintest::DialogAnswerer answerer([&](const wintest::DialogInfo& d) {
        dialogs.push_back(d.text);
        if (d.text == load_resource_string(IDS_JOURNAL_RESUME)) return IDYES;
        if (d.text == load_resource_string(IDS_EXIT_QUESTION)) return IDYES;
        return IDCANCEL;
    });
    // Once the window is up: the continued leg is checked, then the window closed.
    int leg_cell = -1;
    static int* cell = nullptr;
    cell = &leg_cell;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND main = FindWindowA(kMainWindowClass, nullptr);
        if (!main || *cell >= 0 || !main_window_record(main)) return;
        *cell = main_window_record(main)->current_leg().scores[0][0];
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(run_ordinary(instance()), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(leg_cell, 60) << "the visit of the interrupted run";
    const std::vector<std::string> expected = {load_resource_string(IDS_JOURNAL_RESUME),
                                               load_resource_string(IDS_EXIT_QUESTION)};
    EXPECT_EQ(dialogs, expected) << "no Game Option dialog for a continued game";
    EXPECT_TRUE(path_exists(ini));
    EXPECT_TRUE(journal_files(beside).empty()) << "removed at the normal exit, nothing set aside";
    remove_journal_files(beside);
    DeleteFileA(ini.c_str());
}

} // namespace
} // namespace tx9
