// The Finish, Middle-for-Diddle and COM visit windows under Wine: each test
// opens the real modal window and answers it from a thread timer, with button
// presses or with the keys a user would type.
#include "engine/win/com_visit_dialog.h"
#include "engine/win/finish_dialogs.h"

#include "core/win/gdi.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Answers a dialog as a user would: first lets `look` see it, then presses
// `button`, or types `keys` one per tick into the focused control through the
// dialog's own message loop; gives up with Cancel when nothing ended it.
DialogAnswerer::Handler act(int button, std::string keys, std::function<void(HWND)> look = nullptr) {
    return [=, typed = size_t(0)](const DialogInfo& info) mutable {
        if (typed == 0 && look) look(info.hwnd);
        if (button) return button;
        if (typed > keys.size() + 25) return IDCANCEL;
        if (typed < keys.size()) {
            HWND focus = GetFocus();
            HWND target = focus && IsChild(info.hwnd, focus) ? focus : info.hwnd;
            PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(keys[typed]), 1);
            PostMessageA(target, WM_CHAR, static_cast<WPARAM>(keys[typed]), 1);
            PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(keys[typed]), 0xC0000001);
        }
        ++typed;
        return 0;
    };
}

class MatchDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
    }
    void TearDown() override { settings() = saved_; }

    HWND owner() const { return owner_.hwnd(); }

    Settings saved_;
    TestWindow owner_{420, 300, "owner"};
};

// ---- Finish and Middle-for-Diddle dialogs ---------------------------------------------

TEST_F(MatchDialogs, FinishEnablesTheDartsThatCanReachItAndAnswersTheDart) {
    // Language, finish, darts enabled, button pressed or keys typed, answer.
    const std::tuple<LANGID, int, std::string, int, const char*, int> rows[] = {
        {kEnglish, 60, "123", IDC_FINISH_1, "", 1},  {kEnglish, 61, "-23", IDC_FINISH_2, "", 2},
        {kEnglish, 120, "-23", IDC_FINISH_3, "", 3}, {kEnglish, 121, "--3", IDCANCEL, "", 0},
        {kJapanese, 150, "--3", 0, "213", 3}, // the mnemonic of a disabled dart does nothing
    };
    for (const auto& [language, finish, enabled, button, keys, expected] : rows) {
        SCOPED_TRACE(
            strprintf("language %04x finish %d button %d keys '%s'", language, finish, button, keys));
        ThreadLocaleScope locale(language);
        std::string seen;
        DialogAnswerer answer(act(button, keys, [&seen](HWND dialog) {
            for (int id : {IDC_FINISH_1, IDC_FINISH_2, IDC_FINISH_3})
                seen += IsWindowEnabled(GetDlgItem(dialog, id)) ? char('1' + seen.size()) : '-';
        }));
        EXPECT_EQ(expected, ask_finishing_dart(owner(), finish));
        EXPECT_EQ(enabled, seen);
        ASSERT_EQ(1u, answer.seen().size());
        EXPECT_EQ(in_code_page(read_dialog_template(IDD_FINISH, language).caption), answer.seen()[0].title)
            << "the dialog of the thread's language did not come up";
    }
}

TEST_F(MatchDialogs, MiddleForDiddleNamesThePlayersAndStoresTheWinnerOfTheCurrentLeg) {
    // COM flags, button pressed or keys typed, chosen, winner stored, the buttons' texts.
    const std::tuple<int, int, int, const char*, bool, int, std::string> rows[] = {
        {0, 1, IDC_MIDDLE_PLAYER2, "", true, 1, "Anna (&1) | COM (&2)"},
        {1, 0, 0, "1", true, 0, "COM (&1) | Bert (&2)"},
        {0, 0, IDCANCEL, "", false, 7, "Anna (&1) | Bert (&2)"},
    };
    for (const auto& [p1_com, p2_com, button, keys, chosen, winner, texts] : rows) {
        SCOPED_TRACE(strprintf("COM flags %d %d, button %d keys '%s'", p1_com, p2_com, button, keys));
        GameRecord record = record_for(plain_game());
        record.player[0].com = p1_com;
        record.player[1].com = p2_com;
        // Two legs: the first is finished, the second is current.
        record.leg_records.push_back(record.leg_records.front());
        record.leg_no = 1;
        record.leg_records[0].winner = 5;
        record.leg_records[1].winner = 7;
        std::string buttons;
        DialogAnswerer answer(act(button, keys, [&buttons](HWND dialog) {
            buttons = dialog_item_text(dialog, IDC_MIDDLE_PLAYER1) + " | " +
                      dialog_item_text(dialog, IDC_MIDDLE_PLAYER2);
        }));
        EXPECT_EQ(chosen, ask_leg_winner(owner(), record));
        EXPECT_EQ(texts, buttons);
        EXPECT_EQ(winner, record.leg_records[1].winner);
        EXPECT_EQ(5, record.leg_records[0].winner) << "an earlier leg was changed";
        ASSERT_EQ(1u, answer.seen().size());
        EXPECT_EQ("Middle for Diddle", answer.seen()[0].title);
        EXPECT_EQ("Please select winner player.", answer.seen()[0].text);
    }
}

// Both come up centred over the owner's top-level window, never at a negative
// position, with the asterisk sound.
TEST_F(MatchDialogs, DialogsCentreOverTheTopLevelWindowAndStayOnScreen) {
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, owner(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    GameRecord record = record_for(plain_game());
    for (int place = 0; place < int(std::size(kOwnerPlaces)); ++place) {
        ASSERT_TRUE(place_window(owner(), kOwnerPlaces[place])) << "the owner could not be placed";
        // The two dialogs share the placing; one owner place is enough for the second.
        for (int which = 0; which < (place == 2 ? 2 : 1); ++which) {
            SCOPED_TRACE(strprintf("%s, owner place %d", which == 0 ? "Finish" : "Middle for Diddle", place));
            RECT dialog{};
            BeepCounter beeps;
            DialogAnswerer answer([&](const DialogInfo& info) {
                GetWindowRect(info.hwnd, &dialog);
                return IDCANCEL;
            });
            if (which == 0)
                ask_finishing_dart(child, 50);
            else
                ask_leg_winner(child, record);
            POINT expected = centred_on_screen(kOwnerPlaces[place], dialog);
            EXPECT_EQ(expected.x, dialog.left);
            EXPECT_EQ(expected.y, dialog.top);
            EXPECT_EQ(1, beeps.count(MB_ICONASTERISK)) << "one asterisk sound when it opens";
        }
    }
}

// The Japanese set has the English ids, kinds and places, its own texts, and the same mnemonics.
TEST_F(MatchDialogs, JapaneseDialogsKeepTheIdsPlacesAndMnemonics) {
    for (int dialog : {IDD_FINISH, IDD_MIDDLE, IDD_COM_VISIT}) {
        DialogTemplate en = read_dialog_template(dialog, kEnglish);
        ASSERT_FALSE(en.items.empty()) << dialog;
        EXPECT_EQ(en.layout(), read_dialog_template(dialog, kJapanese).layout()) << dialog;
    }
    // Dialog, control (0 for the caption), language, text.
    const std::tuple<int, int, LANGID, std::wstring> texts[] = {
        {IDD_FINISH, 0, kJapanese, L"\u4e0a\u304c\u308a"},           // 上がり
        {IDD_FINISH, IDC_FINISH_1, kJapanese, L"1\u6295\u76ee(&1)"}, // 1投目(&1)
        {IDD_FINISH, IDC_FINISH_2, kJapanese, L"2\u6295\u76ee(&2)"},
        {IDD_FINISH, IDC_FINISH_3, kJapanese, L"3\u6295\u76ee(&3)"},
        {IDD_MIDDLE, 0, kJapanese,
         L"\u30df\u30c9\u30eb\u30fb\u30d5\u30a9\u30fc\u30fb\u30c7\u30a3\u30c9\u30eb"},
        {IDD_COM_VISIT, IDCANCEL, kJapanese, L"\u4e2d\u6b62(&S)"}, // 中止(&S)
        {IDD_FINISH, IDC_FINISH_1, kEnglish, L"&1st Throw"},
        {IDD_COM_VISIT, IDCANCEL, kEnglish, L"&Stop"},
    };
    for (const auto& [dialog, id, language, text] : texts) {
        DialogTemplate shown = read_dialog_template(dialog, language);
        const DialogTemplate::Item* item = shown.item(id);
        EXPECT_EQ(text, id == 0 ? shown.caption : item ? item->text : L"<none>") << dialog << " " << id;
    }
}

// ---- COM visit window ---------------------------------------------------------------

struct ComRun {
    int result = 0;
    std::vector<std::string> darts; // the texts the dart fields were given, in order
    bool seen = false, stop_visible = false;
    RECT window{}, stop{};
    LOGFONTA dart_font{};
};

// Plays one visit of player 2 at COM level 6, `script` answering every dialog that shows.
ComRun play_visit(HWND owner, GameRecord& record, DialogAnswerer::Handler script = nullptr,
                  UINT interval = 15) {
    record.player[1].com_level = 6;
    ComRun run;
    DialogTextLog log;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (!run.seen && GetDlgItem(info.hwnd, IDC_COM_DART1)) {
            run.seen = true;
            HWND stop = GetDlgItem(info.hwnd, IDCANCEL);
            run.stop_visible = IsWindowVisible(stop) != FALSE;
            GetWindowRect(info.hwnd, &run.window);
            GetWindowRect(stop, &run.stop);
            HGDIOBJ font =
                reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(info.hwnd, IDC_COM_DART2, WM_GETFONT, 0, 0));
            GetObjectA(font, sizeof run.dart_font, &run.dart_font);
        }
        return script ? script(info) : 0;
    });
    run.result = run_com_visit(owner, record, 1, interval);
    for (const DialogTextLog::Entry& entry : log.entries())
        if (entry.id >= IDC_COM_DART1 && entry.id <= IDC_COM_DART3)
            run.darts.push_back(strprintf("%d:%s", entry.id - IDC_COM_DART1 + 1, entry.text.c_str()));
    return run;
}

TEST_F(MatchDialogs, PerfectComThrowsWhereItAimsAndReportsTheVisit) {
    const std::tuple<int, std::vector<std::string>, int> rows[] = {
        {501, {"1:T20", "2:T20", "3:T20"}, 180},
        {32, {"1:D16"}, -1},
    };
    for (const auto& [left, darts, result] : rows) {
        SCOPED_TRACE(strprintf("COM on %d", left));
        GameRecord record = record_for(plain_game());
        record.player[1].com = 1;
        record.player[0].left = record.player[1].left = left;
        record.player[1].com_result = 77;
        ComRun run = play_visit(owner(), record);
        EXPECT_EQ(result, run.result);
        EXPECT_EQ(result, record.player[1].com_result);
        EXPECT_EQ(0, record.player[0].com_result) << "the other player was touched";
        EXPECT_EQ(darts, run.darts);
    }
}

// By default the darts come a second apart: the first a second after the
// window opens, the close a second after the dart (a timer never fires early).
TEST_F(MatchDialogs, ComDartsComeASecondApartByDefault) {
    GameRecord record = record_for(plain_game());
    record.player[1].com = 1;
    record.player[1].com_level = 6;
    record.player[1].left = 40;
    DWORD shown = 0;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (!shown && GetWindowTextLengthA(GetDlgItem(info.hwnd, IDC_COM_DART1)) > 0) shown = GetTickCount();
        return 0;
    });
    const DWORD start = GetTickCount();
    EXPECT_EQ(-1, run_com_visit(owner(), record, 1));
    const DWORD end = GetTickCount();
    ASSERT_NE(0u, shown) << "the dart was never seen";
    EXPECT_GE(shown - start, 950u) << "the first dart came early";
    EXPECT_GE(end - start, 1950u) << "the window closed early";
}

// The Stop button shows only between two COM players; without it the window
// ends at its top edge. Stop, or Esc even while the button is hidden, asks
// first; Yes ends the visit at once with the stop result, No lets the darts go
// on. The darts show in the score face at 22 points, and the window is centred
// over its parent even off screen.
TEST_F(MatchDialogs, ComWindowStopsOnlyAfterAskingAndShowsStopBetweenTwoComPlayers) {
    settings().font_name = "Courier New";
    SetWindowPos(owner(), nullptr, -900, -700, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    struct Row {
        int p1_com;
        bool escape;
        int answer, result;
    };
    for (const Row& row :
         {Row{1, false, IDYES, kComStopped}, Row{1, false, IDNO, 180}, Row{0, true, IDYES, kComStopped}}) {
        SCOPED_TRACE(strprintf("%s with %s, answered %s", row.escape ? "Esc" : "Stop",
                               row.p1_com ? "two COM players" : "one", row.answer == IDYES ? "Yes" : "No"));
        GameRecord record = record_for(plain_game());
        record.player[0].com = row.p1_com;
        record.player[1].com = 1;
        bool asked = false;
        DialogInfo question;
        ComRun run = play_visit(
            owner(), record,
            [&](const DialogInfo& info) {
                if (!GetDlgItem(info.hwnd, IDC_COM_DART1)) {
                    question = info;
                    return row.answer;
                }
                if (!asked && row.escape)
                    PostMessageA(GetFocus() ? GetFocus() : info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
                if (!asked && !row.escape) press_button(info.hwnd, IDCANCEL);
                asked = true;
                return 0;
            },
            row.answer == IDYES ? 5000 : 200);
        EXPECT_EQ(row.result, run.result);
        EXPECT_EQ(row.result, record.player[1].com_result);
        EXPECT_EQ("tx9 Ver 0.0.6", question.title);
        EXPECT_EQ("Do you want to stop a game?", question.text);
        EXPECT_EQ(row.answer == IDYES ? 0u : 3u, run.darts.size()) << "darts after the answer";

        EXPECT_EQ(row.p1_com == 1, run.stop_visible);
        if (row.p1_com)
            EXPECT_GT(run.window.bottom, run.stop.bottom) << "the window must hold the visible Stop button";
        else
            EXPECT_EQ(run.stop.top, run.window.bottom) << "the window ends at the hidden button's top";
        EXPECT_STREQ("Courier New", run.dart_font.lfFaceName);
        EXPECT_EQ(font_height_for_points(22), run.dart_font.lfHeight);
        EXPECT_EQ(-900 + (500 - (run.window.right - run.window.left)) / 2, run.window.left);
        EXPECT_EQ(-700 + (300 - (run.window.bottom - run.window.top)) / 2, run.window.top);
    }
}

} // namespace
