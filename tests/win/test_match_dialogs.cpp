// The Finish, Middle-for-Diddle and COM visit windows under Wine: each test
// opens the real modal window and answers it from a thread timer
// (DialogAnswerer), with button presses or with the keys a user would type.
#include "engine/win/com_visit_dialog.h"
#include "engine/win/finish_dialogs.h"

#include "app/win/gdi.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// Resources are picked by the thread's locale, as the system picks them by the
// user's language.
class ThreadLocaleScope {
  public:
    explicit ThreadLocaleScope(LANGID language) : saved_(GetThreadLocale()) {
        SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
    }
    ~ThreadLocaleScope() { SetThreadLocale(saved_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

  private:
    LCID saved_;
};

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

bool enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A dialog resource of one language as its template holds it.
struct DialogTemplate {
    struct Item {
        int id = 0;
        std::wstring kind; // class name, or "#<atom>" for the predefined classes
        DWORD style = 0;
        RECT place{}; // dialog units
        std::wstring text;
    };
    DWORD style = 0;
    SIZE size{};
    std::wstring caption;
    std::vector<Item> items;

    const Item* item(int id) const {
        for (const Item& i : items)
            if (i.id == id) return &i;
        return nullptr;
    }
};

// A name-or-ordinal field of a template: 0 = none, 0xFFFF + ordinal, or a string.
std::wstring read_name(const WORD*& p) {
    if (*p == 0) {
        ++p;
        return L"";
    }
    if (*p == 0xFFFF) {
        std::wstring ordinal = L"#" + std::to_wstring(p[1]);
        p += 2;
        return ordinal;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(p));
    p += text.size() + 1;
    return text;
}

DialogTemplate read_template(int id, LANGID language) {
    DialogTemplate out;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found =
        FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id), language);
    if (!found) return out;
    const auto* head = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
    if (!head) return out;
    out.style = head->style;
    out.size = {head->cx, head->cy};
    const WORD* p = reinterpret_cast<const WORD*>(head + 1);
    read_name(p); // menu
    read_name(p); // class
    out.caption = read_name(p);
    if (head->style & DS_SETFONT) {
        ++p; // point size
        read_name(p);
    }
    for (int i = 0; i < head->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        DialogTemplate::Item read;
        read.id = static_cast<short>(item->id);
        read.style = item->style;
        read.place = {item->x, item->y, item->x + item->cx, item->y + item->cy};
        p = reinterpret_cast<const WORD*>(item + 1);
        read.kind = read_name(p);
        read.text = read_name(p);
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        out.items.push_back(read);
    }
    return out;
}

// A wide text as an ANSI window shows it in this process's code page.
std::string in_code_page(const std::wstring& text) {
    char buffer[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

// Types a character into the dialog as the keyboard would: to the control with
// the focus, through the dialog's own message loop.
void type_into(HWND dialog, char c) {
    HWND focus = GetFocus();
    HWND target = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(c), 1);
    PostMessageA(target, WM_CHAR, static_cast<WPARAM>(c), 1);
    PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(c), 0xC0000001);
}

// Answers the first dialog seen with a script step per sighting: a step returns
// the button to press (0 = ask again on the next tick).
using Step = std::function<int(HWND dialog)>;

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

// ---- Finish dialog --------------------------------------------------------------

struct FinishButtons {
    bool first, second, third;
};

TEST_F(MatchDialogs, FinishEnablesOnlyTheDartsThatCanReachTheFinish) {
    struct Row {
        int finish;
        FinishButtons expected;
    };
    const Row rows[] = {
        {2, {true, true, true}},    {60, {true, true, true}},    {61, {false, true, true}},
        {120, {false, true, true}}, {121, {false, false, true}}, {170, {false, false, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("finish %d", row.finish));
        FinishButtons seen{};
        std::string title;
        DialogAnswerer answer([&](const DialogInfo& info) {
            seen = {enabled(info.hwnd, IDC_FINISH_1), enabled(info.hwnd, IDC_FINISH_2),
                    enabled(info.hwnd, IDC_FINISH_3)};
            title = info.title;
            return IDCANCEL;
        });
        EXPECT_EQ(0, ask_finishing_dart(owner(), row.finish)) << "Cancel must answer 0";
        EXPECT_EQ("Finish", title);
        EXPECT_EQ(row.expected.first, seen.first) << "1st Throw";
        EXPECT_EQ(row.expected.second, seen.second) << "2nd Throw";
        EXPECT_EQ(row.expected.third, seen.third) << "3rd Throw";
    }
}

TEST_F(MatchDialogs, FinishButtonsAnswerTheirDart) {
    const std::pair<int, int> presses[] = {
        {IDC_FINISH_1, 1}, {IDC_FINISH_2, 2}, {IDC_FINISH_3, 3}, {IDCANCEL, 0}};
    for (auto [button, dart] : presses) {
        DialogAnswerer answer([button = button](const DialogInfo&) { return button; });
        EXPECT_EQ(dart, ask_finishing_dart(owner(), 40)) << "button " << button;
    }
}

TEST_F(MatchDialogs, FinishMnemonicsChooseTheDartInBothLanguages) {
    struct Row {
        LANGID language;
        int finish;
        std::string keys; // typed one per answerer tick
        int expected;
    };
    const Row rows[] = {
        {kEnglish, 40, "1", 1},
        {kEnglish, 40, "2", 2},
        {kEnglish, 40, "3", 3},
        // A disabled dart's mnemonic does nothing; the next key still works.
        {kEnglish, 100, "12", 2},
        {kJapanese, 40, "1", 1},
        {kJapanese, 150, "213", 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(
            strprintf("language %04x finish %d keys %s", row.language, row.finish, row.keys.c_str()));
        ThreadLocaleScope locale(row.language);
        size_t typed = 0;
        std::string title;
        DialogAnswerer answer([&](const DialogInfo& info) {
            title = info.title;
            if (typed < row.keys.size())
                type_into(info.hwnd, row.keys[typed++]);
            else if (typed++ > row.keys.size() + 25)
                return IDCANCEL; // the keys did nothing
            return 0;
        });
        EXPECT_EQ(row.expected, ask_finishing_dart(owner(), row.finish));
        EXPECT_EQ(in_code_page(read_template(IDD_FINISH, row.language).caption), title)
            << "the dialog of the thread's language did not come up";
    }
}

TEST_F(MatchDialogs, EscapeCancelsTheFinishDialog) {
    bool sent = false;
    int cancel_after = 0;
    DialogAnswerer answer([&](const DialogInfo& info) {
        if (!sent) {
            sent = true;
            PostMessageA(GetFocus() ? GetFocus() : info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
        } else if (++cancel_after > 25) {
            return IDC_FINISH_3; // Esc did not end it
        }
        return 0;
    });
    EXPECT_EQ(0, ask_finishing_dart(owner(), 40));
}

// Both dialogs come up centred over the owner's top-level window, never at a
// negative position, with the asterisk sound.
TEST_F(MatchDialogs, DialogsCentreOverTheTopLevelWindowAndStayOnScreen) {
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, owner(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const RECT owners[] = {
        {100, 80, 700, 530}, {-700, -600, -400, -400}, {-300, 200, 100, 500}, {300, -500, 900, -100}};
    GameRecord record = record_for(plain_game());
    for (const RECT& wanted : owners) {
        SetWindowPos(owner(), nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                     wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT placed{};
        GetWindowRect(owner(), &placed);
        ASSERT_EQ(wanted.left, placed.left) << "the owner could not be placed for the test";
        for (int which = 0; which < 2; ++which) {
            SCOPED_TRACE(strprintf("%s, owner at %ld,%ld", which == 0 ? "Finish" : "Middle for Diddle",
                                   wanted.left, wanted.top));
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
            int left = wanted.left + ((wanted.right - wanted.left) - (dialog.right - dialog.left)) / 2;
            int top = wanted.top + ((wanted.bottom - wanted.top) - (dialog.bottom - dialog.top)) / 2;
            EXPECT_EQ(left < 0 ? 0 : left, dialog.left);
            EXPECT_EQ(top < 0 ? 0 : top, dialog.top);
            EXPECT_EQ(1, beeps.count(MB_ICONASTERISK)) << "one asterisk sound when it opens";
        }
    }
}

// ---- Middle-for-Diddle dialog --------------------------------------------------------

TEST_F(MatchDialogs, MiddleForDiddleButtonsNameThePlayersOrCom) {
    struct Row {
        int p1_com, p2_com;
        std::string first, second;
    };
    const Row rows[] = {
        {0, 0, "Anna (&1)", "Bert (&2)"},
        {0, 1, "Anna (&1)", "COM (&2)"},
        {1, 0, "COM (&1)", "Bert (&2)"},
        {1, 1, "COM (&1)", "COM (&2)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("COM flags %d %d", row.p1_com, row.p2_com));
        GameRecord record = record_for(plain_game());
        record.player[0].com = row.p1_com;
        record.player[1].com = row.p2_com;
        std::string first, second, title, text;
        DialogAnswerer answer([&](const DialogInfo& info) {
            first = dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER1);
            second = dialog_item_text(info.hwnd, IDC_MIDDLE_PLAYER2);
            title = info.title;
            text = info.text;
            return IDCANCEL;
        });
        EXPECT_FALSE(ask_leg_winner(owner(), record));
        EXPECT_EQ(row.first, first);
        EXPECT_EQ(row.second, second);
        EXPECT_EQ("Middle for Diddle", title);
        EXPECT_EQ("Please select winner player.", text);
    }
}

TEST_F(MatchDialogs, MiddleForDiddleStoresTheWinnerInTheCurrentLeg) {
    struct Row {
        std::function<void(HWND)> act;
        bool chosen;
        int winner; // of the current leg afterwards
    };
    const Row rows[] = {
        {[](HWND d) { press_button(d, IDC_MIDDLE_PLAYER2); }, true, 1},
        {[](HWND d) { press_button(d, IDC_MIDDLE_PLAYER1); }, true, 0},
        {[](HWND d) { type_into(d, '2'); }, true, 1},
        {[](HWND d) { type_into(d, '1'); }, true, 0},
        {[](HWND d) { press_button(d, IDCANCEL); }, false, 7},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("row %d", index++));
        GameRecord record = record_for(plain_game());
        // Two legs: the first is finished, the second is current.
        record.leg_records.push_back(record.leg_records.front());
        record.leg_no = 1;
        record.leg_records[0].winner = 5;
        record.leg_records[1].winner = 7;
        int ticks = 0;
        DialogAnswerer answer([&](const DialogInfo& info) {
            if (ticks++ == 0) row.act(info.hwnd);
            return ticks > 30 ? IDCANCEL : 0;
        });
        EXPECT_EQ(row.chosen, ask_leg_winner(owner(), record));
        EXPECT_EQ(row.winner, record.leg_records[1].winner);
        EXPECT_EQ(5, record.leg_records[0].winner) << "an earlier leg was changed";
    }
}

// The resources themselves, read from the dialog templates: the Japanese set
// has the English ids, kinds and places, its own texts, and the same mnemonics.
TEST_F(MatchDialogs, JapaneseDialogsKeepTheIdsPlacesAndMnemonics) {
    struct Row {
        int dialog;
        std::wstring caption;
        std::vector<std::pair<int, std::wstring>> texts; // Japanese texts by control id
    };
    const Row rows[] = {
        {IDD_FINISH,
         L"\u4e0a\u304c\u308a",                 // 上がり
         {{IDC_FINISH_1, L"1\u6295\u76ee(&1)"}, // 1投目(&1)
          {IDC_FINISH_2, L"2\u6295\u76ee(&2)"},
          {IDC_FINISH_3, L"3\u6295\u76ee(&3)"},
          {IDCANCEL, L"\u30ad\u30e3\u30f3\u30bb\u30eb"}}}, // キャンセル
        {IDD_MIDDLE,
         L"\u30df\u30c9\u30eb\u30fb\u30d5\u30a9\u30fc\u30fb\u30c7\u30a3\u30c9\u30eb", // ミドル・フォー・ディドル
         {{IDC_MIDDLE_PLAYER1, L""},
          {IDC_MIDDLE_PLAYER2, L""},
          {IDCANCEL, L"\u30ad\u30e3\u30f3\u30bb\u30eb"}}},
        {IDD_COM_VISIT, L"", {{IDCANCEL, L"\u4e2d\u6b62(&S)"}}}, // 中止(&S)
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("dialog %d", row.dialog));
        DialogTemplate en = read_template(row.dialog, kEnglish);
        DialogTemplate ja = read_template(row.dialog, kJapanese);
        ASSERT_FALSE(en.items.empty());
        ASSERT_EQ(en.items.size(), ja.items.size());
        EXPECT_EQ(row.caption, ja.caption);
        EXPECT_EQ(en.style, ja.style);
        EXPECT_EQ(en.size.cx, ja.size.cx);
        EXPECT_EQ(en.size.cy, ja.size.cy);
        for (size_t i = 0; i < en.items.size(); ++i) {
            SCOPED_TRACE(strprintf("control %d", static_cast<int>(i)));
            EXPECT_EQ(en.items[i].id, ja.items[i].id);
            EXPECT_EQ(en.items[i].kind, ja.items[i].kind);
            EXPECT_EQ(en.items[i].style, ja.items[i].style);
            EXPECT_TRUE(EqualRect(&en.items[i].place, &ja.items[i].place));
        }
        for (const auto& [id, text] : row.texts) {
            const DialogTemplate::Item* item = ja.item(id);
            ASSERT_NE(nullptr, item) << "no control " << id;
            EXPECT_EQ(text, item->text) << "control " << id;
        }
    }
    EXPECT_EQ(L"&1st Throw", read_template(IDD_FINISH, kEnglish).item(IDC_FINISH_1)->text);
    EXPECT_EQ(L"&Stop", read_template(IDD_COM_VISIT, kEnglish).item(IDCANCEL)->text);
}

// ---- COM visit window ---------------------------------------------------------------

constexpr UINT kFastDarts = 15; // ms between darts in these tests

struct ComRun {
    int result = 0;
    std::vector<std::string> darts[3];
    bool stop_visible = false;
    RECT window{}, stop{}, parent{};
    std::string dart_face;
    LONG dart_height = 0;
    std::vector<DialogInfo> seen;
};

// Plays one visit of player `who` with the script answering every dialog that shows.
ComRun play_visit(HWND owner, GameRecord& record, int who,
                  std::function<int(const DialogInfo&)> script = nullptr, UINT interval = kFastDarts) {
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
            GetWindowRect(GetParent(info.hwnd), &run.parent);
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
    run.seen = answer.seen();
    return run;
}

GameRecord com_record(int p1_com, int p2_com, int left, int level = 6) {
    GameRecord record = record_for(plain_game());
    record.player[0].com = p1_com;
    record.player[1].com = p2_com;
    record.player[0].com_level = record.player[1].com_level = level;
    record.player[0].left = record.player[1].left = left;
    return record;
}

TEST_F(MatchDialogs, PerfectComThrowsWhereItAimsAndReportsTheVisit) {
    struct Row {
        int left;
        std::vector<std::string> darts; // what each field shows, in order
        int result;
    };
    const Row rows[] = {
        {501, {"T20", "T20", "T20"}, 180},
        {170, {"T20", "T20", "D25"}, -3}, // the table's first route for 170
        {32, {"D16"}, -1},
        {100, {"T20", "D20"}, -2},
        {1, {}, 0}, // one left: bust before a dart
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("COM on %d", row.left));
        GameRecord record = com_record(0, 1, row.left);
        record.player[1].com_result = 77;
        ComRun run = play_visit(owner(), record, 1);
        EXPECT_EQ(row.result, run.result);
        EXPECT_EQ(row.result, record.player[1].com_result);
        EXPECT_EQ(0, record.player[0].com_result) << "the other player was touched";
        std::vector<std::string> shown;
        for (int i = 0; i < 3; ++i) {
            ASSERT_LE(run.darts[i].size(), 1u) << "field " << i << " written more than once";
            if (!run.darts[i].empty()) shown.push_back(run.darts[i].front());
        }
        EXPECT_EQ(row.darts, shown);
    }
}

TEST_F(MatchDialogs, ComWindowUsesTheScoreFaceAt22Points) {
    settings().font_name = "Courier New";
    GameRecord record = com_record(1, 0, 501);
    ComRun run = play_visit(owner(), record, 0);
    EXPECT_EQ("Courier New", run.dart_face);
    EXPECT_EQ(font_height_for_points(22), run.dart_height);
}

TEST_F(MatchDialogs, StopButtonShowsOnlyBetweenTwoComPlayers) {
    {
        GameRecord record = com_record(1, 1, 501);
        ComRun run = play_visit(owner(), record, 0);
        EXPECT_TRUE(run.stop_visible);
        EXPECT_GT(run.window.bottom, run.stop.bottom) << "the window must hold the visible Stop button";
    }
    {
        GameRecord record = com_record(0, 1, 501);
        ComRun run = play_visit(owner(), record, 1);
        EXPECT_FALSE(run.stop_visible);
        EXPECT_EQ(run.stop.top, run.window.bottom) << "without the button the window ends at its top edge";
    }
}

TEST_F(MatchDialogs, ComWindowCentresOverItsParentEvenOffScreen) {
    SetWindowPos(owner(), nullptr, -900, -700, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    GameRecord record = com_record(0, 1, 501);
    ComRun run = play_visit(owner(), record, 1);
    int width = run.window.right - run.window.left, height = run.window.bottom - run.window.top;
    EXPECT_EQ(-900 + (500 - width) / 2, run.window.left);
    EXPECT_EQ(-700 + (300 - height) / 2, run.window.top);
}

// Stop, or Esc, asks before anything is stopped; Yes ends the visit at once
// with -5, No lets the darts go on.
TEST_F(MatchDialogs, StoppingAsksAndYesStopsTheGame) {
    struct Row {
        const char* how;
        int answer;
        int result;
    };
    const Row rows[] = {
        {"button", IDYES, kComStopped}, {"button", IDNO, 180}, {"escape", IDYES, kComStopped}};
    for (const Row& row : rows) {
        SCOPED_TRACE(strprintf("%s answered %s", row.how, row.answer == IDYES ? "Yes" : "No"));
        GameRecord record = com_record(1, 1, 501);
        bool asked = false;
        DialogInfo question;
        ComRun run = play_visit(
            owner(), record, 0,
            [&](const DialogInfo& info) {
                if (GetDlgItem(info.hwnd, IDC_COM_DART1)) {
                    if (asked) return 0;
                    asked = true;
                    if (std::string(row.how) == "escape")
                        PostMessageA(info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
                    else
                        press_button(info.hwnd, IDCANCEL);
                    return 0;
                }
                question = info;
                return row.answer;
            },
            row.answer == IDYES ? 5000 : 200);
        EXPECT_EQ(row.result, run.result);
        EXPECT_EQ(row.result, record.player[0].com_result);
        EXPECT_EQ("tx9 Ver 0.0.6", question.title);
        EXPECT_EQ("Do you want to stop a game?", question.text);
        if (row.answer == IDYES) {
            EXPECT_TRUE(run.darts[0].empty()) << "a dart was thrown after Yes";
        }
    }
}

TEST_F(MatchDialogs, EscapeStopsEvenWhenTheButtonIsHidden) {
    GameRecord record = com_record(0, 1, 501);
    bool asked = false;
    ComRun run = play_visit(
        owner(), record, 1,
        [&](const DialogInfo& info) {
            if (!GetDlgItem(info.hwnd, IDC_COM_DART1)) return IDYES;
            if (!asked) {
                asked = true;
                PostMessageA(GetFocus() ? GetFocus() : info.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
            }
            return 0;
        },
        5000);
    EXPECT_FALSE(run.stop_visible);
    EXPECT_EQ(kComStopped, run.result);
}

} // namespace
