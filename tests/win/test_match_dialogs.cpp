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

class MatchDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
    }
    void TearDown() override { settings() = saved_; }

    HWND owner() const { return owner_.hwnd(); }

    // Puts the owner at the place and opens a dialog with `open` over a control
    // of it; answers as a user would: first lets `look` see the dialog, then
    // presses `button`, or types `keys` one per tick into the focused control
    // (gives up with Cancel when nothing ended it). Checks that the dialog alone
    // came up, centred over the owner's top-level window and never at a
    // negative position, with one asterisk sound; returns it.
    DialogInfo open_placed(int place, int button, std::string keys, const std::function<void(HWND)>& look,
                           const std::function<void(HWND)>& open) {
        EXPECT_TRUE(place_window(owner(), kOwnerPlaces[place])) << "the owner could not be placed";
        BeepCounter beeps;
        RECT at{};
        DialogAnswerer answer([&, typed = size_t(0)](const DialogInfo& info) mutable {
            if (typed == 0) {
                GetWindowRect(info.hwnd, &at);
                look(info.hwnd);
            }
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
        });
        open(child_);
        const POINT expected = centred_on_screen(kOwnerPlaces[place], at);
        EXPECT_EQ(std::make_pair(expected.x, expected.y), std::make_pair(at.left, at.top)) << place;
        EXPECT_EQ(1, beeps.count(MB_ICONASTERISK)) << "one asterisk sound when it opens";
        EXPECT_EQ(1u, answer.seen().size());
        return answer.seen().empty() ? DialogInfo{} : answer.seen()[0];
    }

    Settings saved_;
    TestWindow owner_{420, 300, "owner"};
    HWND child_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, owner(), nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
};

// ---- Finish and Middle-for-Diddle dialogs ---------------------------------------------

TEST_F(MatchDialogs, FinishEnablesTheDartsThatCanReachItAndAnswersTheDart) {
    // Language, finish, darts enabled, button pressed or keys typed, answer.
    const std::tuple<LANGID, int, std::string, int, const char*, int> rows[] = {
        {kEnglish, 60, "123", IDC_FINISH_1, "", 1},  {kEnglish, 61, "-23", IDC_FINISH_2, "", 2},
        {kEnglish, 120, "-23", IDC_FINISH_3, "", 3}, {kEnglish, 121, "--3", IDCANCEL, "", 0},
        {kJapanese, 150, "--3", 0, "213", 3}, // the mnemonic of a disabled dart does nothing
    };
    int place = 0;
    for (const auto& [language, finish, enabled, button, keys, expected] : rows) {
        SCOPED_TRACE(
            strprintf("language %04x finish %d button %d keys '%s'", language, finish, button, keys));
        ThreadLocaleScope locale(language);
        std::string seen;
        int answer = -1;
        const DialogInfo shown = open_placed(
            ++place % int(std::size(kOwnerPlaces)), button, keys,
            [&](HWND dialog) {
                for (int id : {IDC_FINISH_1, IDC_FINISH_2, IDC_FINISH_3})
                    seen += IsWindowEnabled(GetDlgItem(dialog, id)) ? char('1' + seen.size()) : '-';
            },
            [&, finish = finish](HWND over) { answer = ask_finishing_dart(over, finish); });
        EXPECT_EQ(expected, answer);
        EXPECT_EQ(enabled, seen);
        EXPECT_EQ(in_code_page(read_dialog_template(IDD_FINISH, language).caption), shown.title)
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
    int place = 0;
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
        bool answer = !chosen;
        const DialogInfo shown = open_placed(
            ++place, button, keys,
            [&](HWND dialog) {
                buttons = dialog_item_text(dialog, IDC_MIDDLE_PLAYER1) + " | " +
                          dialog_item_text(dialog, IDC_MIDDLE_PLAYER2);
            },
            [&](HWND over) { answer = ask_leg_winner(over, record); });
        EXPECT_EQ(chosen, answer);
        EXPECT_EQ(texts, buttons);
        EXPECT_EQ(std::make_pair(5, winner),
                  std::make_pair(record.leg_records[0].winner, record.leg_records[1].winner))
            << "the current leg's winner, an earlier leg untouched";
        EXPECT_EQ("Middle for Diddle\nPlease select winner player.", shown.title + "\n" + shown.text);
    }
}

// The Japanese set has the English ids, kinds and places, and every text
// translated with the same mnemonic.
TEST_F(MatchDialogs, JapaneseDialogsKeepTheIdsPlacesAndMnemonics) {
    for (int dialog : {IDD_FINISH, IDD_MIDDLE, IDD_COM_VISIT}) {
        const DialogTemplate en = read_dialog_template(dialog, kEnglish),
                             ja = read_dialog_template(dialog, kJapanese);
        ASSERT_FALSE(en.items.empty()) << dialog;
        ASSERT_EQ(en.layout(), ja.layout()) << dialog;
        EXPECT_TRUE(en.caption.empty() || en.caption != ja.caption) << dialog;
        for (size_t i = 0; i < en.items.size(); ++i) {
            const std::wstring& text = en.items[i].text;
            const size_t mnemonic = text.find(L'&');
            EXPECT_TRUE(text.empty() ||
                        (text != ja.items[i].text &&
                         (mnemonic == std::wstring::npos ||
                          ja.items[i].text.find(text.substr(mnemonic, 2)) != std::wstring::npos)))
                << dialog << " " << en.items[i].id << ": " << in_code_page(ja.items[i].text);
        }
    }
}

// ---- COM visit window ---------------------------------------------------------------

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

// A perfect COM (level 6) throws where it aims and reports the visit. The Stop
// button shows only between two COM players; without it the window ends at its
// top edge. Stop, or Esc even while the button is hidden, asks first; Yes ends
// the visit at once with the stop result, No lets the darts go on. The darts
// show in the score face at 22 points, and the window is centred over its
// parent even off screen.
TEST_F(MatchDialogs, ComVisitThrowsTheDartsAndStopsOnlyAfterAsking) {
    settings().font_name = "Courier New";
    SetWindowPos(owner(), nullptr, -900, -700, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    struct Row {
        int p1_com;
        bool escape; // or the Stop button
        int answer, result;
        std::vector<std::string> darts; // the texts the dart fields were given, in order
    };
    const Row rows[] = {{1, false, IDYES, kComStopped, {}},
                        {1, false, IDNO, 180, {"1:T20", "2:T20", "3:T20"}},
                        {0, true, IDYES, kComStopped, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("%s with %s, answered %s", row.escape ? "Esc" : "Stop",
                               row.p1_com ? "two COM players" : "one", row.answer == IDYES ? "Yes" : "No"));
        GameRecord record = record_for(plain_game());
        record.player[0].com = row.p1_com;
        record.player[1].com = 1;
        record.player[1].com_level = 6;
        record.player[1].com_result = 77;
        bool stop_visible = false;
        RECT window{}, stop{};
        LOGFONTA font{};
        DialogInfo question;
        DialogTextLog log;
        DialogAnswerer answer([&, asked = false](const DialogInfo& info) mutable {
            if (!GetDlgItem(info.hwnd, IDC_COM_DART1)) {
                question = info;
                return row.answer;
            }
            if (asked) return 0;
            asked = true;
            stop_visible = IsWindowVisible(GetDlgItem(info.hwnd, IDCANCEL)) != FALSE;
            GetWindowRect(info.hwnd, &window);
            GetWindowRect(GetDlgItem(info.hwnd, IDCANCEL), &stop);
            GetObjectA(
                reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(info.hwnd, IDC_COM_DART2, WM_GETFONT, 0, 0)),
                sizeof font, &font);
            if (row.escape)
                PostMessageA(GetFocus() ? GetFocus() : info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
            else
                press_button(info.hwnd, IDCANCEL);
            return 0;
        });
        EXPECT_EQ(row.result, run_com_visit(owner(), record, 1, row.answer == IDYES ? 5000 : 200));
        EXPECT_EQ(row.result, record.player[1].com_result);
        EXPECT_EQ(0, record.player[0].com_result) << "the other player was touched";
        std::vector<std::string> darts;
        for (const DialogTextLog::Entry& entry : log.entries())
            if (entry.id >= IDC_COM_DART1 && entry.id <= IDC_COM_DART3)
                darts.push_back(strprintf("%d:%s", entry.id - IDC_COM_DART1 + 1, entry.text.c_str()));
        EXPECT_EQ(row.darts, darts);
        EXPECT_EQ("tx9 Ver 0.0.6\nDo you want to stop a game?", question.title + "\n" + question.text);

        EXPECT_EQ(row.p1_com == 1, stop_visible);
        if (row.p1_com)
            EXPECT_GT(window.bottom, stop.bottom) << "the window must hold the visible Stop button";
        else
            EXPECT_EQ(stop.top, window.bottom) << "the window ends at the hidden button's top";
        EXPECT_STREQ("Courier New", font.lfFaceName);
        EXPECT_EQ(font_height_for_points(22), font.lfHeight);
        EXPECT_EQ(-900 + (500 - (window.right - window.left)) / 2, window.left);
        EXPECT_EQ(-700 + (300 - (window.bottom - window.top)) / 2, window.top);
    }
}

} // namespace
