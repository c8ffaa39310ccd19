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
#include <string>
#include <tuple>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Types a character as the keyboard would: to the control with the focus,
// through the dialog's own message loop.
void type_into(HWND dialog, char c) {
    HWND focus = GetFocus();
    HWND target = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(c), 1);
    PostMessageA(target, WM_CHAR, static_cast<WPARAM>(c), 1);
    PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(c), 0xC0000001);
}

// Answers a dialog as a user would: presses `button`, or types `keys` one per
// tick, then waits; gives up with Cancel when nothing ended it.
DialogAnswerer::Handler act(int button, std::string keys) {
    return [button, keys, typed = size_t(0)](const DialogInfo& info) mutable {
        if (button) return button;
        if (typed < keys.size())
            type_into(info.hwnd, keys[typed]);
        else if (typed > keys.size() + 25)
            return IDCANCEL;
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

TEST_F(MatchDialogs, FinishEnablesOnlyTheDartsThatCanReachTheFinish) {
    const std::pair<int, const char*> rows[] = {{2, "123"},   {60, "123"},  {61, "-23"},
                                                {120, "-23"}, {121, "--3"}, {170, "--3"}};
    for (const auto& [finish, expected] : rows) {
        std::string seen, title;
        DialogAnswerer answer([&](const DialogInfo& info) {
            for (int dart = 0; dart < 3; ++dart) {
                const int ids[] = {IDC_FINISH_1, IDC_FINISH_2, IDC_FINISH_3};
                seen += IsWindowEnabled(GetDlgItem(info.hwnd, ids[dart])) ? char('1' + dart) : '-';
            }
            title = info.title;
            return IDCANCEL;
        });
        EXPECT_EQ(0, ask_finishing_dart(owner(), finish)) << "Cancel must answer 0";
        EXPECT_EQ("Finish", title);
        EXPECT_EQ(expected, seen) << "darts enabled for a finish of " << finish;
    }
}

TEST_F(MatchDialogs, FinishAnswersTheDartByButtonOrMnemonicInBothLanguages) {
    struct Row {
        LANGID language;
        int finish;
        int button;
        const char* keys; // typed one per answerer tick
        int expected;
    };
    const Row rows[] = {
        {kEnglish, 40, IDC_FINISH_1, "", 1},
        {kEnglish, 40, IDC_FINISH_2, "", 2},
        {kEnglish, 40, IDC_FINISH_3, "", 3},
        {kEnglish, 40, IDCANCEL, "", 0},
        {kEnglish, 40, 0, "1", 1},
        {kEnglish, 40, 0, "2", 2},
        {kEnglish, 40, 0, "3", 3},
        {kEnglish, 100, 0, "12", 2}, // a disabled dart's mnemonic does nothing; the next key still works
        {kEnglish, 40, 0, "\x1b", 0},
        {kJapanese, 40, 0, "1", 1},
        {kJapanese, 150, 0, "213", 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("language %04x finish %d button %d keys '%s'", row.language, row.finish,
                               row.button, row.keys));
        ThreadLocaleScope locale(row.language);
        DialogAnswerer answer(act(row.button, row.keys));
        EXPECT_EQ(row.expected, ask_finishing_dart(owner(), row.finish));
        ASSERT_EQ(1u, answer.seen().size());
        EXPECT_EQ(in_code_page(read_dialog_template(IDD_FINISH, row.language).caption),
                  answer.seen()[0].title)
            << "the dialog of the thread's language did not come up";
    }
}

TEST_F(MatchDialogs, MiddleForDiddleNamesThePlayersOrCom) {
    const std::tuple<int, int, std::string, std::string> rows[] = {{0, 0, "Anna (&1)", "Bert (&2)"},
                                                                   {0, 1, "Anna (&1)", "COM (&2)"},
                                                                   {1, 0, "COM (&1)", "Bert (&2)"},
                                                                   {1, 1, "COM (&1)", "COM (&2)"}};
    for (const auto& [p1_com, p2_com, first, second] : rows) {
        SCOPED_TRACE(strprintf("COM flags %d %d", p1_com, p2_com));
        GameRecord record = record_for(plain_game());
        record.player[0].com = p1_com;
        record.player[1].com = p2_com;
        std::string buttons;
        DialogAnswerer answer([&](const DialogInfo& info) {
            buttons = dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER1) + " | " +
                      dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER2);
            return IDCANCEL;
        });
        EXPECT_FALSE(ask_leg_winner(owner(), record));
        EXPECT_EQ(first + " | " + second, buttons);
        ASSERT_EQ(1u, answer.seen().size());
        EXPECT_EQ("Middle for Diddle", answer.seen()[0].title);
        EXPECT_EQ("Please select winner player.", answer.seen()[0].text);
    }
}

TEST_F(MatchDialogs, MiddleForDiddleStoresTheWinnerInTheCurrentLeg) {
    const std::tuple<int, const char*, bool, int> rows[] = {{IDC_MIDDLE_PLAYER2, "", true, 1},
                                                            {IDC_MIDDLE_PLAYER1, "", true, 0},
                                                            {0, "2", true, 1},
                                                            {0, "1", true, 0},
                                                            {IDCANCEL, "", false, 7},
                                                            {0, "\x1b", false, 7}};
    for (const auto& [button, keys, chosen, winner] : rows) {
        SCOPED_TRACE(strprintf("button %d keys '%s'", button, keys));
        GameRecord record = record_for(plain_game());
        // Two legs: the first is finished, the second is current.
        record.leg_records.push_back(record.leg_records.front());
        record.leg_no = 1;
        record.leg_records[0].winner = 5;
        record.leg_records[1].winner = 7;
        DialogAnswerer answer(act(button, keys));
        EXPECT_EQ(chosen, ask_leg_winner(owner(), record));
        EXPECT_EQ(winner, record.leg_records[1].winner);
        EXPECT_EQ(5, record.leg_records[0].winner) << "an earlier leg was changed";
    }
}

// Both come up centred over the owner's top-level window, never at a negative
// position, with the asterisk sound.
TEST_F(MatchDialogs, DialogsCentreOverTheTopLevelWindowAndStayOnScreen) {
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, owner(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    GameRecord record = record_for(plain_game());
    for (const RECT& place : kOwnerPlaces) {
        ASSERT_TRUE(place_window(owner(), place)) << "the owner could not be placed for the test";
        for (int which = 0; which < 2; ++which) {
            SCOPED_TRACE(strprintf("%s, owner at %ld,%ld", which == 0 ? "Finish" : "Middle for Diddle",
                                   place.left, place.top));
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
            POINT expected = centred_on_screen(place, dialog);
            EXPECT_EQ(expected.x, dialog.left);
            EXPECT_EQ(expected.y, dialog.top);
            EXPECT_EQ(1, beeps.count(MB_ICONASTERISK)) << "one asterisk sound when it opens";
        }
    }
}

// The Japanese set has the English ids, kinds and places, its own texts, and the same mnemonics.
TEST_F(MatchDialogs, JapaneseDialogsKeepTheIdsPlacesAndMnemonics) {
    const std::wstring cancel = L"\u30ad\u30e3\u30f3\u30bb\u30eb"; // キャンセル
    const std::pair<int, std::vector<std::pair<int, std::wstring>>> rows[] = {
        {IDD_FINISH,
         {{0, L"\u4e0a\u304c\u308a"},           // 上がり
          {IDC_FINISH_1, L"1\u6295\u76ee(&1)"}, // 1投目(&1)
          {IDC_FINISH_2, L"2\u6295\u76ee(&2)"},
          {IDC_FINISH_3, L"3\u6295\u76ee(&3)"},
          {IDCANCEL, cancel}}},
        {IDD_MIDDLE,
         {{0,
           L"\u30df\u30c9\u30eb\u30fb\u30d5\u30a9\u30fc\u30fb\u30c7\u30a3\u30c9\u30eb"}, // ミドル・フォー・ディドル
          {IDC_MIDDLE_PLAYER1, L""},
          {IDC_MIDDLE_PLAYER2, L""},
          {IDCANCEL, cancel}}},
        {IDD_COM_VISIT, {{0, L""}, {IDCANCEL, L"\u4e2d\u6b62(&S)"}}}, // 中止(&S)
    };
    for (const auto& [dialog, texts] : rows) {
        SCOPED_TRACE(strprintf("dialog %d", dialog));
        DialogTemplate en = read_dialog_template(dialog, kEnglish);
        DialogTemplate ja = read_dialog_template(dialog, kJapanese);
        ASSERT_FALSE(en.items.empty());
        EXPECT_EQ(en.layout(), ja.layout());
        for (const auto& [id, text] : texts) {
            const DialogTemplate::Item* item = ja.item(id);
            ASSERT_TRUE(id == 0 || item) << "no control " << id;
            EXPECT_EQ(text, id == 0 ? ja.caption : item->text) << "control " << id;
        }
    }
    EXPECT_EQ(L"&1st Throw", read_dialog_template(IDD_FINISH, kEnglish).item(IDC_FINISH_1)->text);
    EXPECT_EQ(L"&Stop", read_dialog_template(IDD_COM_VISIT, kEnglish).item(IDCANCEL)->text);
}

// ---- COM visit window ---------------------------------------------------------------

struct ComRun {
    int result = 0;
    std::vector<std::string> darts[3];
    bool stop_visible = false;
    RECT window{}, stop{};
    std::string dart_face;
    LONG dart_height = 0;
};

// Plays one visit of player `who`, the script answering every dialog that shows.
ComRun play_visit(HWND owner, GameRecord& record, int who, DialogAnswerer::Handler script = nullptr,
                  UINT interval = 15) {
    ComRun run;
    DialogTextLog log;
    bool looked = false;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (!looked && GetDlgItem(info.hwnd, IDC_COM_DART1)) {
            looked = true;
            HWND stop = GetDlgItem(info.hwnd, IDCANCEL);
            run.stop_visible = IsWindowVisible(stop) != FALSE;
            GetWindowRect(info.hwnd, &run.window);
            GetWindowRect(stop, &run.stop);
            LOGFONTA font{};
            GetObjectA(
                reinterpret_cast<HFONT>(SendDlgItemMessageA(info.hwnd, IDC_COM_DART2, WM_GETFONT, 0, 0)),
                sizeof font, &font);
            run.dart_face = font.lfFaceName;
            run.dart_height = font.lfHeight;
        }
        return script ? script(info) : 0;
    });
    run.result = run_com_visit(owner, record, who, interval);
    for (int i = 0; i < 3; ++i)
        run.darts[i] = log.texts_of(IDC_COM_DART1 + i);
    return run;
}

GameRecord com_record(int p1_com, int p2_com, int left) {
    GameRecord record = record_for(plain_game());
    record.player[0].com = p1_com;
    record.player[1].com = p2_com;
    record.player[0].com_level = record.player[1].com_level = 6;
    record.player[0].left = record.player[1].left = left;
    return record;
}

TEST_F(MatchDialogs, PerfectComThrowsWhereItAimsAndReportsTheVisit) {
    const std::tuple<int, std::vector<std::string>, int> rows[] = {
        {501, {"T20", "T20", "T20"}, 180},
        {170, {"T20", "T20", "D25"}, -3}, // the table's first route for 170
        {32, {"D16"}, -1},
        {100, {"T20", "D20"}, -2},
        {1, {}, 0}, // one left: bust before a dart
    };
    for (const auto& [left, darts, result] : rows) {
        SCOPED_TRACE(strprintf("COM on %d", left));
        GameRecord record = com_record(0, 1, left);
        record.player[1].com_result = 77;
        ComRun run = play_visit(owner(), record, 1);
        EXPECT_EQ(result, run.result);
        EXPECT_EQ(result, record.player[1].com_result);
        EXPECT_EQ(0, record.player[0].com_result) << "the other player was touched";
        std::vector<std::string> shown;
        for (int i = 0; i < 3; ++i) {
            ASSERT_LE(run.darts[i].size(), 1u) << "field " << i << " written more than once";
            if (!run.darts[i].empty()) shown.push_back(run.darts[i].front());
        }
        EXPECT_EQ(darts, shown);
    }
}

// By default the darts come a second apart: the first a second after the
// window opens, the close a second after the dart (a timer never fires early).
TEST_F(MatchDialogs, ComDartsComeASecondApartByDefault) {
    GameRecord record = com_record(0, 1, 40);
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
// ends at its top edge. The darts show in the score face at 22 points, and the
// window is centred over its parent even off screen.
TEST_F(MatchDialogs, ComWindowShowsStopOnlyBetweenTwoComPlayers) {
    settings().font_name = "Courier New";
    SetWindowPos(owner(), nullptr, -900, -700, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    for (int both : {1, 0}) {
        SCOPED_TRACE(both ? "two COM players" : "one COM player");
        GameRecord record = com_record(both, 1, 501);
        ComRun run = play_visit(owner(), record, 1);
        EXPECT_EQ(both == 1, run.stop_visible);
        if (both) {
            EXPECT_GT(run.window.bottom, run.stop.bottom) << "the window must hold the visible Stop button";
        } else {
            EXPECT_EQ(run.stop.top, run.window.bottom) << "the window ends at the hidden button's top";
        }
        EXPECT_EQ("Courier New", run.dart_face);
        EXPECT_EQ(font_height_for_points(22), run.dart_height);
        EXPECT_EQ(-900 + (500 - (run.window.right - run.window.left)) / 2, run.window.left);
        EXPECT_EQ(-700 + (300 - (run.window.bottom - run.window.top)) / 2, run.window.top);
    }
}

// Stop, or Esc even while the button is hidden, asks first; Yes ends the visit
// at once with -5, No lets the darts go on.
TEST_F(MatchDialogs, StoppingAsksAndYesStopsTheGame) {
    const std::tuple<int, bool, int, int> rows[] = {{1, false, IDYES, kComStopped},
                                                    {1, false, IDNO, 180},
                                                    {1, true, IDYES, kComStopped},
                                                    {0, true, IDYES, kComStopped}};
    for (const auto& [both, escape, answer, result] : rows) {
        SCOPED_TRACE(strprintf("%s with %s, answered %s", escape ? "Esc" : "Stop",
                               both ? "two COM players" : "one", answer == IDYES ? "Yes" : "No"));
        GameRecord record = com_record(both, 1, 501);
        bool asked = false;
        DialogInfo question;
        auto script = [&, escape = escape, answer = answer](const DialogInfo& info) {
            if (!GetDlgItem(info.hwnd, IDC_COM_DART1)) {
                question = info;
                return answer;
            }
            if (!asked && escape) PostMessageA(GetFocus() ? GetFocus() : info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
            if (!asked && !escape) press_button(info.hwnd, IDCANCEL);
            asked = true;
            return 0;
        };
        ComRun run = play_visit(owner(), record, 1, script, answer == IDYES ? 5000 : 200);
        EXPECT_EQ(result, run.result);
        EXPECT_EQ(result, record.player[1].com_result);
        EXPECT_EQ("tx9 Ver 0.0.6", question.title);
        EXPECT_EQ("Do you want to stop a game?", question.text);
        if (answer == IDYES) {
            EXPECT_TRUE(run.darts[0].empty()) << "a dart was thrown after Yes";
        }
    }
}

} // namespace
