// The Game History dialog and Save As under Wine: the real modal dialog on a
// history, answered from a thread timer; the system's Save file dialog is
// stood in for by a function that answers as the user would.
#include "records/win/history_dialog.h"

#include "core/text.h"
#include "engine/game_rules.h"
#include "records/win/save_as.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// A finished leg of three rounds each; the winner's darts as given (0 = drawn).
LegRecord leg(int winner, int win_darts) {
    LegRecord leg;
    leg.rows = 3, leg.capacity = 10, leg.cur_round = 3, leg.finished = 1;
    leg.winner = winner, leg.win_darts = win_darts;
    for (auto& cells : leg.scores)
        cells = {60, 45, 100, 0, 0, 0, 0, 0, 0, 0, 0};
    return leg;
}

// A set with its finished legs and the next leg under way.
GameRecord set_of(int start_score, std::vector<LegRecord> finished, const char* p1 = "Ann",
                  const char* p2 = "Bob") {
    GameRecord record;
    record.start_score = start_score;
    record.csv_name = strprintf("%d_20041105_130509.csv", start_score);
    for (int p = 0; p < 2; ++p) {
        record.player[p].name = p == 0 ? p1 : p2;
        record.player[p].start_score = start_score;
    }
    record.leg_no = static_cast<int>(finished.size());
    record.leg_records = std::move(finished);
    record.leg_records.push_back(leg(0, 0));
    record.leg_records.back().finished = 0;
    return record;
}

// The owner of the dialog frees the history on its message, as the main window does.
struct Owner {
    History* history = nullptr;
    int cleared = 0;
    HWND hwnd = nullptr;

    explicit Owner(History* h) : history(h) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "history_test_owner";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Owner() { DestroyWindow(hwnd); }
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == kHistoryClearedMessage) {
            ++self->cleared;
            free_history(*self->history);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
};

// The open dialog as a step sees it.
struct Dialog {
    HWND hwnd;

    HWND list() const { return GetDlgItem(hwnd, IDC_HISTORY_LIST); }
    // "301|1 Legs|..." and the enabled buttons as "VSC" with "-" for a disabled one.
    std::string rows() const {
        std::string out;
        for (LRESULT i = 0, n = SendMessageA(list(), LB_GETCOUNT, 0, 0); i < n; ++i) {
            char text[64] = "";
            SendMessageA(list(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            out += std::string(i ? "|" : "") + text;
        }
        return out;
    }
    std::string buttons() const {
        std::string out;
        for (auto [id, mark] :
             {std::pair{IDC_HISTORY_VIEW, 'V'}, {IDC_HISTORY_SAVE_AS, 'S'}, {IDC_HISTORY_CLEAR, 'C'}})
            out += IsWindowEnabled(GetDlgItem(hwnd, id)) ? mark : '-';
        return out;
    }
    void select(int row) const {
        SendMessageA(list(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list()));
    }
};

// A step looks at the dialog it is given and returns the button to press, or 0 to be called again.
using Step = std::function<int(const DialogInfo&)>;

struct Outcome {
    int sightings = 0;
    std::vector<DialogInfo> others; // message boxes and the Score List, in order
};

class HistoryDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        saved_ = settings();
        settings().history = {};
        settings().score_list = {};
    }
    void TearDown() override {
        settings() = saved_;
        set_save_file_dialog_function(nullptr);
    }

    // Runs the dialog: the steps answer it in turn, `other` answers every other window.
    Outcome run(History* history, std::vector<Step> steps, std::function<int(const DialogInfo&)> other = {}) {
        Outcome outcome;
        size_t next = 0;
        HWND history_dialog = nullptr;
        DialogAnswerer answerer([&](const DialogInfo& info) -> int {
            if (!history_dialog && info.title == "Game History") history_dialog = info.hwnd;
            if (info.hwnd != history_dialog) {
                if (outcome.others.empty() || outcome.others.back().hwnd != info.hwnd)
                    outcome.others.push_back(info);
                return other ? other(info) : IDCANCEL;
            }
            // Not while a message box or the Score List it owns is up.
            if (!IsWindowEnabled(info.hwnd)) return 0;
            ++outcome.sightings;
            if (next >= steps.size()) {
                ADD_FAILURE() << "the dialog was still open after the last step";
                return IDCANCEL;
            }
            const int button = steps[next++](info);
            // The last answer is the answerer's; earlier ones are pressed here, so
            // that the dialog is handed over again for the next step.
            if (next == steps.size()) return button;
            if (button) press_button(info.hwnd, button);
            return 0;
        });
        Owner owner(history);
        run_history_dialog(owner.hwnd, history);
        cleared_ = owner.cleared;
        return outcome;
    }

    Settings saved_;
    int cleared_ = 0;
};

TEST_F(HistoryDialog, WithoutFinishedLegsTheListIsEmptyAndTheButtonsOff) {
    EXPECT_EQ(0, run(nullptr, {}).sightings) << "no history, no dialog";
    History history;
    GameRecord live = set_of(501, {});
    history.live = &live;
    std::string shown = "not opened";
    run(&history, {[&](const DialogInfo& info) {
        shown = "'" + Dialog{info.hwnd}.rows() + "' " + Dialog{info.hwnd}.buttons();
        return IDCANCEL;
    }});
    EXPECT_EQ(shown, "'' ---");
}

// The rows of archived sets and of the live set, and the buttons with and without archived sets.
TEST_F(HistoryDialog, ClearAsksThenLeavesTheLiveSet) {
    History history;
    history.records = {set_of(301, {leg(1, 12)}), set_of(701, {leg(0, 20)})};
    GameRecord live = set_of(501, {leg(0, 15)});
    history.live = &live;
    std::vector<std::string> seen;
    bool answer_yes = false;
    auto look = [&](const DialogInfo& info) {
        seen.push_back(Dialog{info.hwnd}.rows() + " " + Dialog{info.hwnd}.buttons());
        return 0;
    };
    Outcome outcome =
        run(&history,
            {[&](const DialogInfo& info) { return look(info), IDC_HISTORY_CLEAR; },
             [&](const DialogInfo& info) { return look(info), answer_yes = true, IDC_HISTORY_CLEAR; },
             [&](const DialogInfo& info) { return look(info), IDCANCEL; }},
            [&](const DialogInfo&) { return answer_yes ? IDYES : IDNO; });

    const std::vector<std::string> want = {"301|1 Legs|701|1 Legs|501|1 Legs VSC",
                                           "301|1 Legs|701|1 Legs|501|1 Legs VSC", "501|1 Legs VS-"};
    EXPECT_EQ(seen, want);
    EXPECT_EQ(cleared_, 1) << "the owner is told once, after Yes";
    ASSERT_EQ(outcome.others.size(), 2u);
    for (const DialogInfo& box : outcome.others) {
        EXPECT_EQ(box.title, kProgramTitle);
        EXPECT_EQ(box.text, "Are you sure you want to clear history?");
    }
}

TEST_F(HistoryDialog, ViewOpensTheScoreListOnTheSelectedRow) {
    History history;
    history.records = {set_of(301, {leg(1, 12), leg(0, 9)})};
    GameRecord live = set_of(501, {leg(0, 15)});
    history.live = &live;
    struct Case {
        int row;
        bool double_click;
        const char* opened;
    };
    const Case cases[] = {{0, false, "Score List: Player Information"},
                          {2, false, "Score List: 2 Legs"},
                          {4, true, "Score List: 1 Legs"}};
    for (const Case& c : cases) {
        std::string opened;
        run(&history,
            {[&](const DialogInfo& info) {
                 Dialog d{info.hwnd};
                 d.select(c.row);
                 if (!c.double_click) return IDC_HISTORY_VIEW;
                 PostMessageA(info.hwnd, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_DBLCLK),
                              reinterpret_cast<LPARAM>(d.list()));
                 return 0;
             },
             [&](const DialogInfo&) { return IDCANCEL; }},
            [&](const DialogInfo& info) {
                opened += info.title + ": " + dialog_item_text(info.hwnd, IDC_SCORE_LIST_LEGS);
                return IDCANCEL;
            });
        EXPECT_EQ(opened, c.opened) << "row " << c.row;
    }
}

TEST_F(HistoryDialog, LegRowsFrameTheWinnersDarts) {
    History history;
    // Leg 2 won by player 2 with 14 darts; leg 3 drawn at the round limit.
    GameRecord live = set_of(501, {leg(0, 15), leg(1, 14), leg(0, 0)});
    history.live = &live;
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    struct Case {
        int row;
        bool text1, text2; // text-coloured pixels in player 1's / player 2's column
    };
    const Case cases[] = {{1, true, false}, {2, false, true}, {3, false, false}};
    run(&history, {[&](const DialogInfo& info) {
        Dialog d{info.hwnd};
        Image image = capture_client(d.list());
        const int c = image.width / 6;
        for (const Case& k : cases) {
            const int top = k.row * kHistoryRowHeight;
            const RECT column1{2 * c, top, 4 * c, top + kHistoryRowHeight};
            const RECT column2{4 * c, top, image.width, top + kHistoryRowHeight};
            EXPECT_EQ(image.count(text, column1) > 0, k.text1) << "row " << k.row;
            EXPECT_EQ(image.count(text, column2) > 0, k.text2) << "row " << k.row;
            // The line between the boxes and every empty box are grey.
            EXPECT_GT(image.count(shadow, column1) + image.count(shadow, column2), 0) << "row " << k.row;
        }
        return IDCANCEL;
    }});
}

TEST_F(HistoryDialog, OpensWhereItWasAndRemembersWhereItGoes) {
    History history;
    GameRecord live = set_of(501, {leg(0, 15)});
    history.live = &live;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Unusable sizes leave the template's size; the core's placement tests cover them.
    struct Case {
        DialogPlacement saved;
        RECT want;
    };
    const Case cases[] = {
        {{40, 50, 520, 380}, {40, 50, 560, 430}},
        {{work.right + 500, work.bottom + 500, 520, 380}, {0, 0, 520, 380}},
    };
    for (const Case& c : cases) {
        settings().history = c.saved;
        RECT at{};
        std::string layout;
        run(&history, {[&](const DialogInfo& info) {
            GetWindowRect(info.hwnd, &at);
            RECT client{};
            GetClientRect(info.hwnd, &client);
            RECT view{};
            GetWindowRect(GetDlgItem(info.hwnd, IDC_HISTORY_VIEW), &view);
            MapWindowPoints(nullptr, info.hwnd, reinterpret_cast<POINT*>(&view), 2);
            layout = strprintf("%ld,%ld", client.right - view.left, client.bottom - view.top);
            return IDCANCEL;
        }});
        EXPECT_EQ(strprintf("%ld,%ld-%ld,%ld", at.left, at.top, at.right, at.bottom),
                  strprintf("%ld,%ld-%ld,%ld", c.want.left, c.want.top, c.want.right, c.want.bottom));
        EXPECT_EQ(layout, "294,62") << "View sits 294 and 62 pixels in from the bottom right";
    }

    // Sized by the user: the new rectangle is remembered when the sizing ends.
    settings().history = {};
    run(&history, {[&](const DialogInfo& info) {
        SetWindowPos(info.hwnd, nullptr, 70, 80, 600, 450, SWP_NOZORDER);
        SendMessageA(info.hwnd, WM_EXITSIZEMOVE, 0, 0);
        return IDCANCEL;
    }});
    const DialogPlacement& p = settings().history;
    EXPECT_EQ(strprintf("%d,%d %dx%d", p.left, p.top, p.right, p.bottom), "70,80 600x450");
}

// ---- Save As

struct SaveRequest {
    std::string title, proposed, extension, filter;
    DWORD flags = 0, max_file = 0;
    HWND owner = nullptr;
};
SaveRequest g_request;
std::string g_answer; // the path the user picks; empty = Cancel

BOOL WINAPI answer_save_dialog(OPENFILENAMEA* request) {
    g_request.title = request->lpstrTitle ? request->lpstrTitle : "";
    g_request.proposed = request->lpstrFile;
    g_request.extension = request->lpstrDefExt ? request->lpstrDefExt : "";
    g_request.filter.clear();
    for (const char* f = request->lpstrFilter; f && *f; f += std::strlen(f) + 1)
        g_request.filter += std::string(f) + "|";
    g_request.flags = request->Flags;
    g_request.max_file = request->nMaxFile;
    g_request.owner = request->hwndOwner;
    if (g_answer.empty()) return FALSE;
    lstrcpynA(request->lpstrFile, g_answer.c_str(), static_cast<int>(request->nMaxFile));
    return TRUE;
}

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "(no file)";
}

TEST_F(HistoryDialog, SaveAsWritesTheSetOnlyWhereTheUserSaid) {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "tx9_save_as_test.csv";
    DeleteFileA(path.c_str());
    RemoveDirectoryA((path + ".tmp~").c_str());
    set_save_file_dialog_function(answer_save_dialog);

    // Ann throws first: 140, 121, then finishes her 40 with the second dart.
    LegRecord first = leg(0, 8);
    first.rows = 3, first.cur_round = 2, first.turn = 1;
    first.scores[0] = {140, 121, -2, 0, 0, 0, 0, 0, 0, 0, 0};
    first.scores[1] = {100, 81, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    History history;
    history.records = {set_of(301, {first})};
    GameRecord live = set_of(501, {});
    history.live = &live;
    const std::string csv = ",Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n,*,301,,301\r\n"
                            "1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n";

    struct Case {
        const char* what;
        std::string answer;
        bool blocked; // the file cannot be replaced
        const char* file_after;
        size_t boxes;
    };
    const Case cases[] = {
        {"cancelled", "", false, "(no file)", 0},
        {"saved", path, false, csv.c_str(), 0},
        {"failed", path, true, csv.c_str(), 1}, // the old file stays whole
    };
    for (const Case& c : cases) {
        g_answer = c.answer;
        g_request = {};
        if (c.blocked) CreateDirectoryA((path + ".tmp~").c_str(), nullptr);
        HWND dialog = nullptr;
        // The leg row of the set saves the whole set; the dialog stays open after a failure.
        Outcome outcome = run(&history,
                              {[&](const DialogInfo& info) {
                                   dialog = info.hwnd;
                                   Dialog{info.hwnd}.select(1);
                                   return IDC_HISTORY_SAVE_AS;
                               },
                               [&](const DialogInfo&) { return IDCANCEL; }},
                              [](const DialogInfo&) { return IDOK; });
        EXPECT_EQ(file_text(path), c.file_after) << c.what;
        ASSERT_EQ(outcome.others.size(), c.boxes) << c.what;
        if (c.boxes) {
            EXPECT_EQ(outcome.others[0].title, kProgramTitle);
            EXPECT_FALSE(outcome.others[0].text.empty()) << "the system's reason is shown";
        }
        EXPECT_EQ(g_request.owner, dialog) << c.what;
        EXPECT_EQ(g_request.title + " '" + g_request.proposed + "' " + g_request.extension + " " +
                      g_request.filter,
                  "Save As '301_20041105_130509.csv' csv CSV (*.csv)|*.csv|All files (*.*)|*.*|");
        EXPECT_EQ(g_request.flags,
                  static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
        EXPECT_EQ(g_request.max_file, 259u);
    }
    RemoveDirectoryA((path + ".tmp~").c_str());
    DeleteFileA(path.c_str());
}

} // namespace
