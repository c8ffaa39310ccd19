// The real Game History dialog, the Score List it opens and Save As, answered from a thread timer; a
// function stands in for the system's Save file dialog.
#include "records/win/history_dialog.h"

#include "core/text.h"
#include "engine/game_rules.h"
#include "records/file_util.h"
#include "records/win/player_panel_window.h"
#include "records/win/save_as.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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

// A set of Ann and Bob with its finished legs and the next leg under way.
GameRecord set_of(int start_score, std::vector<LegRecord> finished) {
    GameRecord record;
    record.start_score = start_score;
    record.csv_name = strprintf("%d_20041105_130509.csv", start_score);
    for (int p = 0; p < 2; ++p) {
        record.player[p].name = p == 0 ? "Ann" : "Bob";
        record.player[p].start_score = start_score;
    }
    record.leg_no = static_cast<int>(finished.size());
    record.leg_records = std::move(finished);
    record.leg_records.push_back(leg(0, 0));
    record.leg_records.back().finished = 0;
    return record;
}

// The owner frees the history on the dialog's message, as the main window does.
History* g_owned = nullptr;
WNDPROC g_owner_proc = nullptr;
LRESULT CALLBACK owner_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kHistoryClearedMessage) free_history(*g_owned);
    return CallWindowProcA(g_owner_proc, hwnd, message, wparam, lparam);
}

HWND list_of(HWND dialog) {
    return GetDlgItem(dialog, IDC_HISTORY_LIST);
}
// "301|1 Legs|..." and the buttons as "VSC", "-" for a disabled one.
std::string rows_and_buttons(HWND dialog) {
    std::string out;
    for (LRESULT i = 0, n = SendMessageA(list_of(dialog), LB_GETCOUNT, 0, 0); i < n; ++i) {
        char text[64] = "";
        SendMessageA(list_of(dialog), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        out += std::string(i ? "|" : "") + text;
    }
    out += " ";
    for (auto [id, mark] :
         {std::pair{IDC_HISTORY_VIEW, 'V'}, {IDC_HISTORY_SAVE_AS, 'S'}, {IDC_HISTORY_CLEAR, 'C'}})
        out += IsWindowEnabled(GetDlgItem(dialog, id)) ? mark : '-';
    return out;
}
void select_row(HWND dialog, int row) {
    SendMessageA(list_of(dialog), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list_of(dialog)));
}
// "x,y wxh" of the window, or of a control in its dialog.
std::string place_of(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return strprintf("%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

class HistoryDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare_match_windows();
        register_player_panel(GetModuleHandleA(nullptr)); // once; later calls are refused
        saved_ = settings();
        settings().history = {};
        settings().score_list = {};
        history_.live = &live_;
    }
    void TearDown() override {
        settings() = saved_;
        set_save_file_dialog_function(nullptr);
    }

    // The steps answer the dialog in turn (each returns the button to press, or 0); `other` answers
    // every other window, kept in `others`.
    void run(
        History* history, std::vector<std::function<int(HWND)>> steps,
        std::function<int(const DialogInfo&)> other = [](const DialogInfo&) { return IDCANCEL; }) {
        size_t next = 0;
        HWND history_dialog = nullptr;
        others.clear();
        DialogAnswerer answerer([&](const DialogInfo& info) -> int {
            if (!history_dialog && info.title == "Game History") history_dialog = info.hwnd;
            if (info.hwnd != history_dialog) {
                if (others.empty() || others.back().hwnd != info.hwnd) others.push_back(info);
                return other(info);
            }
            if (!IsWindowEnabled(info.hwnd)) return 0; // a box or the Score List is over it
            if (next >= steps.size()) {
                ADD_FAILURE() << "the dialog was still open after the last step";
                return IDCANCEL;
            }
            const int button = steps[next++](info.hwnd);
            // The last answer is the answerer's; earlier ones are pressed here, so
            // that the dialog is handed over again for the next step.
            if (next == steps.size()) return button;
            if (button) press_button(info.hwnd, button);
            return 0;
        });
        TestWindow owner(100, 100, "owner");
        g_owned = history;
        g_owner_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(owner.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(owner_proc)));
        run_history_dialog(owner.hwnd(), history);
        SetWindowLongPtrA(owner.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_owner_proc));
        EXPECT_EQ(next, steps.size()) << "the dialog closed before the last step";
    }

    Settings saved_;
    History history_;
    // The live set: player 2 won the second leg with 14 darts; the third was drawn at the round limit.
    GameRecord live_ = set_of(501, {leg(0, 15), leg(1, 14), leg(0, 0)});
    std::vector<DialogInfo> others;
};

TEST_F(HistoryDialog, OpensWhereItWasListsTheSetsAndClearAsksThenLeavesTheLiveSet) {
    run(nullptr, {}); // no history, no dialog: run fails on a dialog it has no step for

    // It opens where it was saved, its controls laid out for its size; a new size is remembered.
    settings().history = {40, 50, 520, 380};
    history_.records = {set_of(301, {leg(1, 12)}), set_of(701, {leg(0, 20)})};
    std::vector<std::string> seen;
    std::string boxes;
    bool answer_yes = false;
    auto look = [&](HWND d) { seen.push_back(rows_and_buttons(d)); };
    run(&history_,
        {[&](HWND d) {
             RECT client{}, view{};
             GetClientRect(d, &client);
             GetWindowRect(GetDlgItem(d, IDC_HISTORY_VIEW), &view);
             MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&view), 2);
             seen.push_back(place_of(d) + strprintf(", View %ld,%ld from the bottom right",
                                                    client.right - view.left, client.bottom - view.top));
             return look(d), IDC_HISTORY_CLEAR;
         },
         [&](HWND d) { return look(d), answer_yes = true, IDC_HISTORY_CLEAR; },
         [&](HWND d) {
             look(d);
             // Leg rows frame the winner's darts in text colour, empty boxes in grey.
             const Image image = capture_client(list_of(d));
             const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), grey = GetSysColor(COLOR_BTNSHADOW);
             const int c = image.width / 6, h = kHistoryRowHeight;
             for (int top = h; top <= 3 * h; top += h) {
                 for (RECT box : {RECT{2 * c, top, 4 * c, top + h}, RECT{4 * c, top, image.width, top + h}})
                     boxes += image.count(text, box) ? 'X' : image.count(grey, box) ? '_' : '?';
                 boxes += ' ';
             }
             SetWindowPos(d, nullptr, 70, 80, 600, 450, SWP_NOZORDER);
             SendMessageA(d, WM_EXITSIZEMOVE, 0, 0);
             return IDCANCEL;
         }},
        [&](const DialogInfo&) { return answer_yes ? IDYES : IDNO; });
    const std::string live = "501|1 Legs|2 Legs|3 Legs", all = "301|1 Legs|701|1 Legs|" + live;
    EXPECT_EQ(seen, (std::vector<std::string>{"40,50 520x380, View 294,62 from the bottom right",
                                              all + " VSC", all + " VSC", live + " VS-"}));
    EXPECT_EQ(boxes, "X_ _X __ ") << "rows 1 to 3: Ann's box, Bob's box";
    ASSERT_EQ(others.size(), 2u);
    for (const DialogInfo& box : others)
        EXPECT_EQ(box.title + ": " + box.text,
                  std::string(kProgramTitle) + ": Are you sure you want to clear history?");
    const DialogPlacement& p = settings().history;
    EXPECT_EQ(strprintf("%d,%d %dx%d", p.left, p.top, p.right, p.bottom), "70,80 600x450");
}

// "sheet leg 1 view | label 2 '14 Darts'": only what is visible.
std::string page_of(HWND list) {
    auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(list, id)) != FALSE; };
    std::string out;
    ScoreSheetInfo info;
    if (visible(IDC_SCORE_LIST_SHEET) && score_sheet_info(GetDlgItem(list, IDC_SCORE_LIST_SHEET), &info))
        out += strprintf("sheet leg %d%s", info.shown_leg, info.view_mode ? " view" : "");
    for (int id : {IDC_SCORE_LIST_PLAYER1, IDC_SCORE_LIST_PLAYER2}) {
        PlayerPanelInfo panel;
        if (visible(id) && player_panel_info(GetDlgItem(list, id), &panel))
            out += strprintf("%spanel %s%s %dpt", out.empty() ? "" : ", ",
                             panel.block ? panel.block->name.c_str() : "-", panel.full_view ? " full" : "",
                             panel.font_size);
    }
    for (int id : {IDC_SCORE_LIST_DARTS1, IDC_SCORE_LIST_DARTS2})
        if (visible(id))
            out += strprintf(" | label %d '%s'", id - IDC_SCORE_LIST_DARTS1 + 1,
                             dialog_item_text(list, id).c_str());
    return out;
}

TEST_F(HistoryDialog, ViewOrDoubleClickOpensTheScoreListOnTheSelectedRowWhereItWas) {
    history_.records = {set_of(301, {leg(1, 12), leg(0, 9)})};
    settings().score_list = {30, 40, 640, 480};
    // View on row 2 (the archived set's second leg), then a double click on row 5
    // (the live set's second leg), whose Score List then shows the players (item 0).
    std::vector<std::string> pages;
    run(&history_,
        {[](HWND d) { return select_row(d, 2), IDC_HISTORY_VIEW; },
         [](HWND d) {
             select_row(d, 5);
             PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_HISTORY_LIST, LBN_DBLCLK),
                          reinterpret_cast<LPARAM>(list_of(d)));
             return 0;
         },
         [](HWND) { return IDCANCEL; }},
        [&](const DialogInfo& info) {
            HWND legs = GetDlgItem(info.hwnd, IDC_SCORE_LIST_LEGS);
            for (int item : {-1, 0}) {
                if (item >= 0 && pages.size() < 2) break; // the first Score List: its opening page
                if (item >= 0) {
                    SendMessageA(legs, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
                    SendMessageA(info.hwnd, WM_COMMAND, MAKEWPARAM(IDC_SCORE_LIST_LEGS, CBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(legs));
                }
                pages.push_back(window_text(legs) + ": " + page_of(info.hwnd));
            }
            // Where it was, the sheet, label 2 and Close laid out for the size.
            RECT client{};
            GetClientRect(info.hwnd, &client);
            const long w = client.right, h = client.bottom;
            std::string layout = place_of(info.hwnd);
            for (int id : {IDC_SCORE_LIST_SHEET, IDC_SCORE_LIST_DARTS2, IDCANCEL})
                layout += " | " + place_of(GetDlgItem(info.hwnd, id));
            EXPECT_EQ(layout, strprintf("30,40 640x480 | 0,40 %ldx%ld | %ld,%ld 150x30 | %ld,%ld 88x21", w,
                                        h - 110, w - 150, h - 70, w - 98, h - 31));
            return IDCANCEL;
        });
    EXPECT_EQ(pages, (std::vector<std::string>{
                         "2 Legs: sheet leg 1 view | label 1 '9 Darts'",
                         "2 Legs: sheet leg 1 view | label 2 '14 Darts'",
                         "Player Information: panel Ann full 12pt, panel Bob full 12pt",
                     }));
}

std::vector<std::string> g_requests; // asked of the Save dialog (the bytes saved are checked end to end)
std::string g_answer;                // the path the user picks; empty = Cancel

BOOL WINAPI answer_save_dialog(OPENFILENAMEA* request) {
    std::string filter;
    for (const char* f = request->lpstrFilter; *f; f += std::strlen(f) + 1)
        filter += std::string(f) + "|";
    g_requests.push_back(strprintf("%p %s '%s' %s %s %#lx", static_cast<void*>(request->hwndOwner),
                                   request->lpstrTitle, request->lpstrFile, request->lpstrDefExt,
                                   filter.c_str(), request->Flags));
    lstrcpynA(request->lpstrFile, g_answer.c_str(), static_cast<int>(request->nMaxFile));
    return !g_answer.empty();
}

TEST_F(HistoryDialog, SaveAsOffersTheSetsNameAndLeavesTheFileWhenCancelledOrRefused) {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "tx9_save_as_test.csv", blocker = path + ".tmp~";
    ASSERT_TRUE(write_whole_file(path, "old\r\n", nullptr));
    CreateDirectoryA(blocker.c_str(), nullptr); // the old file cannot be replaced
    set_save_file_dialog_function(answer_save_dialog);
    g_requests.clear();
    history_.records = {set_of(301, {leg(0, 8)})};
    HWND dialog = nullptr;
    // A leg row saves its whole set: cancelled first, then refused by the system.
    run(&history_,
        {[&](HWND d) { return dialog = d, select_row(d, 1), g_answer = "", IDC_HISTORY_SAVE_AS; },
         [&](HWND) {
             EXPECT_TRUE(others.empty()) << "Cancel says nothing";
             return g_answer = path, IDC_HISTORY_SAVE_AS;
         },
         [](HWND) { return IDCANCEL; }},
        [](const DialogInfo&) { return IDOK; });
    std::string kept;
    EXPECT_TRUE(read_whole_file(path, kept, nullptr) && kept == "old\r\n") << kept;
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].title + (others[0].text.empty() ? "" : ": the system's reason"),
              std::string(kProgramTitle) + ": the system's reason");
    const std::string request =
        strprintf("%p Save As '301_20041105_130509.csv' csv CSV (*.csv)|*.csv|All files (*.*)|*.*| %#lx",
                  static_cast<void*>(dialog),
                  static_cast<unsigned long>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
    EXPECT_EQ(g_requests, (std::vector<std::string>{request, request}));
    RemoveDirectoryA(blocker.c_str());
    DeleteFileA(path.c_str());
}

} // namespace
