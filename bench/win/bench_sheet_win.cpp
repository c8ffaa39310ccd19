// Time of one visit on the real main window: the score goes into the entry,
// Tab goes to the main window, and the clock stops once the score sheet has
// painted again. A third leg has the left-score panels, the player panels
// and the key guide bar on, and its clock runs until they have painted too.
// Run under Wine on a display; it prints a table and never fails on a time.
//
//   tx9_bench_win.exe [visits of the long leg, 100 to 2200, default 2000]
#include "core/win/gdi.h"
#include "app/win/main_window.h"
#include "bench/win/bench_process.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "engine/game_record.h"
#include "records/file_util.h"
#include "records/journal.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_render.h"
#include "ui/score/win/score_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include <commctrl.h>
#include <windows.h>

namespace tx9 {
namespace {

// Main window size, as the Settings hold it (outer width and height).
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 700;
// High enough that 2,000 visits never reach a finish.
constexpr int kStartScore = 100000;
// Nine scores, so that both players get every one of them in turn; three are
// tons, which the sheet circles. Mean 84: 1,000 visits a player stay above 0.
constexpr int kScores[] = {60, 45, 100, 26, 81, 140, 41, 85, 180};
constexpr double kFrameBudgetMs = 16.0;

// ---- Clock and figures

double now_ms() {
    static const double ticks_per_ms = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticks_per_ms;
}

struct Figures {
    size_t count = 0;
    double min = 0, median = 0, mean = 0, p99 = 0, max = 0;
};

// Nearest-rank 99th percentile; the median of an even count is the mean of the middle two.
Figures figures_of(std::vector<double> ms) {
    Figures f;
    f.count = ms.size();
    if (ms.empty()) return f;
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    f.min = ms.front();
    f.max = ms.back();
    f.median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    f.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(n);
    f.p99 = ms[static_cast<size_t>(std::ceil(0.99 * static_cast<double>(n))) - 1];
    return f;
}

std::vector<double> slice(const std::vector<double>& ms, size_t from, size_t to) {
    to = std::min(to, ms.size());
    from = std::min(from, to);
    return std::vector<double>(ms.begin() + static_cast<std::ptrdiff_t>(from),
                               ms.begin() + static_cast<std::ptrdiff_t>(to));
}

// The visits of [from, to) whose index has the given parity (0 = the first of a round).
std::vector<double> every_other(const std::vector<double>& ms, size_t from, size_t to, size_t parity) {
    std::vector<double> out;
    for (size_t i = from; i < std::min(to, ms.size()); ++i)
        if (i % 2 == parity) out.push_back(ms[i]);
    return out;
}

void print_header(const char* first_column) {
    std::printf("  %-26s %6s %8s %8s %8s %8s %8s\n", first_column, "count", "min", "median", "mean", "p99",
                "max");
}

void print_row(const std::string& label, const Figures& f) {
    std::printf("  %-26s %6zu %8.3f %8.3f %8.3f %8.3f %8.3f\n", label.c_str(), f.count, f.min, f.median,
                f.mean, f.p99, f.max);
}

// ---- The process as start-up sets it up

bool prepare_process(HINSTANCE instance) {
    return prepare_bench_process(instance, "tx9_bench_win_no_such_folder");
}

// ---- Counting the paints of the main window's children

struct PaintCount {
    WNDPROC original = nullptr;
    int paints = 0;       // since the last visit began
    long long total = 0;  // in every timed visit
    std::string name;     // window class
};

// The windows whose paints are counted. Looked up in the process itself: a
// window property would cost a trip to the window system on every message
// and add it to the time measured.
std::vector<std::pair<HWND, PaintCount*>> counted_windows;

PaintCount* paint_count_of(HWND hwnd) {
    for (const auto& [window, count] : counted_windows)
        if (window == hwnd) return count;
    return nullptr;
}

LRESULT CALLBACK counting_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    PaintCount* count = paint_count_of(hwnd);
    if (!count) return DefWindowProcA(hwnd, message, wparam, lparam);
    if (message == WM_PAINT) ++count->paints;
    WNDPROC original = count->original;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        counted_windows.erase(std::remove_if(counted_windows.begin(), counted_windows.end(),
                                             [hwnd](const auto& entry) { return entry.first == hwnd; }),
                              counted_windows.end());
    }
    return CallWindowProcA(original, hwnd, message, wparam, lparam);
}

// ---- One unlimited leg typed in visit by visit

// What a visit is made of, each timed on its own on the sheet the leg left.
struct VisitPieces {
    std::vector<double> render_and_paint; // WM_APP+103 0: whole back buffer drawn and copied to the screen
    std::vector<double> scroll_bar;       // SetScrollPos with redraw, position unchanged
    std::vector<double> title;            // the main window's title set again
};

VisitPieces measure_visit_pieces(HWND main, HWND sheet, int repeats) {
    VisitPieces pieces;
    char title[256] = "";
    GetWindowTextA(main, title, sizeof title);
    const int position = GetScrollPos(sheet, SB_VERT);
    for (int i = 0; i < repeats; ++i) {
        double start = now_ms();
        SendMessageA(sheet, kScoreSheetRedraw, 0, 0);
        pieces.render_and_paint.push_back(now_ms() - start);

        start = now_ms();
        SetScrollPos(sheet, SB_VERT, position, TRUE);
        pieces.scroll_bar.push_back(now_ms() - start);

        start = now_ms();
        SetWindowTextA(main, title);
        pieces.title.push_back(now_ms() - start);
        pump_pending();
    }
    return pieces;
}

// What the scroll bar shows: a visit that changes it pays for drawing it again.
struct ScrollBarLook {
    RECT thumb_track{};
    DWORD state = 0;
    bool operator==(const ScrollBarLook& o) const {
        return EqualRect(&thumb_track, &o.thumb_track) && state == o.state;
    }
};

ScrollBarLook scroll_bar_look(HWND window) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ScrollBarLook look;
    if (!GetScrollBarInfo(window, OBJID_VSCROLL, &info)) return look;
    look.thumb_track = RECT{info.xyThumbTop, info.xyThumbBottom, info.dxyLineButton, 0};
    look.state = info.rgstate[0];
    return look;
}

struct LegRun {
    std::vector<double> visit_ms;
    std::vector<double> after_ms; // what the loop does once the visit is painted (the journal's write)
    std::vector<bool> bar_redrawn; // the scroll bar looks different after the visit
    std::vector<std::pair<std::string, double>> paints_by_window; // per visit, windows that painted
    int sheet_width = 0, sheet_height = 0;
    int row_height = 0, header_height = 0;
    GameRecord record; // the record as the leg left it, for the drawing-only figures
    VisitPieces pieces;
    bool ok = false;
};

int visits_entered(const LegRecord& leg) {
    return 2 * leg.cur_round + (leg.turn != leg.first ? 1 : 0);
}

// displays: the left-score panels, the player panels and the key guide bar
// on, and each visit timed until they have painted too; otherwise the sheet
// alone. journal: the file the main window keeps, empty for none.
LegRun play_unlimited_leg(HINSTANCE instance, int visits, bool measure_pieces, bool displays = false,
                          const std::string& journal = "") {
    LegRun run;
    Settings& s = settings();
    s.view_player = s.view_left = s.view_guide = displays ? 1 : 0;
    s.left = 0;
    s.top = 0;
    s.right = kWindowWidth;
    s.bottom = kWindowHeight;
    s.auto_save = 0;
    s.game = GameSettings{};
    s.game.start_score = kStartScore;
    s.game.round_limit = 0;
    s.game.p1_name = "Anna";
    s.game.p2_name = "Bert";

    MainWindowStart window_start;
    window_start.journal_path = journal;
    HWND main = create_main_window(instance, SW_SHOWNORMAL, &window_start);
    if (!main) {
        std::fprintf(stderr, "the main window could not be created\n");
        return run;
    }
    // No Game Option dialog: the set is already set up from the Settings.
    KillTimer(main, kNewGameTimer);
    pump_pending();

    HWND sheet = main_window_sheet(main);
    ScoreSheetInfo info;
    const GameRecord* record = main_window_record(main);
    if (!sheet || !record || !score_sheet_info(sheet, &info) || !info.entry) {
        std::fprintf(stderr, "the main window has no score sheet\n");
        DestroyWindow(main);
        return run;
    }
    RECT client{};
    GetClientRect(sheet, &client);
    run.sheet_width = client.right;
    run.sheet_height = client.bottom;
    run.row_height = info.row_height;
    run.header_height = info.header_height;

    // The sheet, every other window under the main window and the main window count their paints.
    std::vector<HWND> windows{sheet};
    EnumChildWindows(
        main,
        [](HWND child, LPARAM list) {
            auto& all = *reinterpret_cast<std::vector<HWND>*>(list);
            if (child != all.front()) all.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    windows.push_back(main);
    std::vector<PaintCount> counts(windows.size());
    for (size_t w = 0; w < windows.size(); ++w) {
        char name[64] = "";
        GetClassNameA(windows[w], name, sizeof name);
        counts[w].name = name;
        counted_windows.emplace_back(windows[w], &counts[w]);
        counts[w].original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(windows[w], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_proc)));
    }

    run.visit_ms.reserve(static_cast<size_t>(visits));
    for (int i = 0; i < visits; ++i) {
        // Whatever the last visit left queued is not the next one's cost; with
        // the journal kept that is its write, timed on its own.
        const double queued = now_ms();
        pump_pending();
        if (i > 0) run.after_ms.push_back(now_ms() - queued);
        const std::string score = std::to_string(kScores[static_cast<size_t>(i) % std::size(kScores)]);
        SendMessageA(info.entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(score.c_str()));
        // Typed digits are on the screen before Tab: the loop paints between keys.
        UpdateWindow(info.entry);
        for (PaintCount& c : counts)
            c.paints = 0;

        const ScrollBarLook bar_before = scroll_bar_look(sheet);
        const double start = now_ms();
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_TAB, 0), 0);
        // The sheet and the entry over it, painted now rather than at the next GetMessage.
        RedrawWindow(displays ? main : sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        run.visit_ms.push_back(now_ms() - start);

        for (PaintCount& c : counts)
            c.total += c.paints;
        run.bar_redrawn.push_back(!(scroll_bar_look(sheet) == bar_before));
        const LegRecord& leg = record->current_leg();
        if (leg.finished == 1 || visits_entered(leg) != i + 1) {
            std::fprintf(stderr, "visit %d (%s) was not taken: %d visits on the sheet, leg finished %d\n",
                         i + 1, score.c_str(), visits_entered(leg), leg.finished);
            DestroyWindow(main);
            pump_pending();
            return run;
        }
    }
    for (const PaintCount& c : counts)
        if (c.total > 0)
            run.paints_by_window.emplace_back(c.name, static_cast<double>(c.total) / visits);
    run.record = *record;
    run.ok = true;
    if (measure_pieces) run.pieces = measure_visit_pieces(main, sheet, 200);
    DestroyWindow(main);
    pump_pending();
    return run;
}

void report_leg(const char* name, const LegRun& run, size_t block) {
    const std::vector<double>& ms = run.visit_ms;
    const size_t n = ms.size();
    const int visible = run.row_height > 0 ? (run.sheet_height - run.header_height) / run.row_height : 0;
    std::printf("\n%s: sheet client %dx%d, row height %d, header %d, %d rows visible\n", name,
                run.sheet_width, run.sheet_height, run.row_height, run.header_height, visible);
    print_header("visits (ms per visit)");
    print_row("all", figures_of(ms));
    // The second visit of a round opens the next one: the leg gets a row, the
    // scroll bar its new range, and the sheet scrolls once it is full.
    const std::vector<double> opening = every_other(ms, 0, n, 0), closing = every_other(ms, 0, n, 1);
    print_row("1st visit of a round", figures_of(opening));
    print_row("2nd visit (a new row)", figures_of(closing));
    std::vector<double> redrawn, kept;
    for (size_t i = 1; i < n; i += 2)
        (run.bar_redrawn[i] ? redrawn : kept).push_back(ms[i]);
    print_row("  scroll bar drawn again", figures_of(redrawn));
    print_row("  scroll bar as it was", figures_of(kept));
    // The sheet and the panels copy a change to the screen themselves; WM_PAINT is what the system asked for.
    std::printf("  WM_PAINTs per visit by window:");
    for (const auto& [window, paints] : run.paints_by_window)
        std::printf(" %s %.2f", window.c_str(), paints);
    std::printf("\n");
    for (size_t from : {size_t{0}, n - 50}) {
        const std::string range = std::to_string(from + 1) + "-" + std::to_string(from + 50);
        print_row((from == 0 ? "first 50 (" : "last 50 (") + range + ")",
                  figures_of(slice(ms, from, from + 50)));
        print_row(range + ", 1st visits", figures_of(every_other(ms, from, from + 50, 0)));
        print_row(range + ", 2nd visits", figures_of(every_other(ms, from, from + 50, 1)));
    }
    if (block > 0 && n > block) {
        // Each kind apart: their mix makes the median of a block jump between the two.
        for (size_t from = 0; from < n; from += block) {
            const size_t to = std::min(from + block, n);
            const std::string range = std::to_string(from + 1) + "-" + std::to_string(to);
            print_row(range + ", 1st visits", figures_of(every_other(ms, from, to, 0)));
            print_row(range + ", 2nd visits", figures_of(every_other(ms, from, to, 1)));
        }
    }
}

// ---- Drawing alone, on the long leg's record

// render_score_sheet into a back buffer of the sheet's size, at the top of
// the leg and at its end: what the leg's length costs the drawing itself.
void report_rendering(const LegRun& run, int repeats) {
    HWND window = GetDesktopWindow();
    BackBuffer buffer;
    SheetTools tools;
    if (!buffer.resize(window, run.sheet_width, run.sheet_height) ||
        !build_sheet_fonts(tools, buffer.dc(), run.sheet_width, false) || !build_sheet_colours(tools)) {
        std::fprintf(stderr, "no back buffer for the drawing figures\n");
        return;
    }
    SetBkMode(buffer.dc(), TRANSPARENT);
    const LegRecord& leg = run.record.current_leg();
    const int visible =
        tools.row_height > 0 ? (run.sheet_height - tools.header_height) / tools.row_height : 1;
    const int bottom = std::max(leg.rows - visible + 1, 0);

    std::printf("\nDrawing alone (render_score_sheet, %d rows visible, leg of %d rounds), %d renders each\n",
                visible, leg.rows, repeats);
    print_header("first row shown (ms)");
    for (int top : {0, bottom / 2, bottom}) {
        SheetView view;
        view.record = &run.record;
        view.shown_leg = run.record.leg_no;
        view.top_row = top;
        view.width = buffer.width();
        view.height = buffer.height();
        view.throw_count = settings().throw_count == 1;
        std::vector<double> ms;
        for (int i = 0; i < repeats; ++i) {
            const double start = now_ms();
            render_score_sheet(buffer.dc(), tools, view);
            GdiFlush();
            ms.push_back(now_ms() - start);
        }
        print_row("top_row " + std::to_string(top), figures_of(ms));
    }
}

void report_pieces(const VisitPieces& pieces) {
    std::printf("\nPieces of a visit on the same sheet (a new row costs a scroll bar update and a scroll)\n");
    print_header("piece (ms)");
    print_row("render + whole paint", figures_of(pieces.render_and_paint));
    print_row("scroll bar redraw", figures_of(pieces.scroll_bar));
    print_row("main window title", figures_of(pieces.title));
}

void report_budget(const std::string& name, const LegRun& run) {
    const std::vector<double>& ms = run.visit_ms;
    const std::pair<const char*, std::vector<double>> kinds[] = {
        {"all visits", ms},
        {"1st visits of a round", every_other(ms, 0, ms.size(), 0)},
        {"2nd visits (a new row)", every_other(ms, 0, ms.size(), 1)},
    };
    for (const auto& [kind, times] : kinds) {
        const Figures f = figures_of(times);
        std::printf("  %-12s %-24s median %7.3f ms, p99 %7.3f ms: %s\n", name.c_str(), kind, f.median, f.p99,
                    f.p99 < kFrameBudgetMs ? "inside" : "OVER");
    }
}

std::string temp_journal() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tx9_bench.journal";
}

// The journal's own cost, as the main window pays it after a visit: format
// (finished sets come from the writer's cache) and the atomic replacement
// of the file (temporary file, flush to disk, move).
void report_journal(const GameRecord& round10, const GameRecord& round1000, int repeats) {
    const std::string path = temp_journal();
    std::vector<GameRecord> hundred_sets(100, round10);
    const std::vector<GameRecord> no_sets;
    struct Case {
        const char* name;
        const GameRecord& live;
        const std::vector<GameRecord>& history;
    };
    const Case cases[] = {{"round 10", round10, no_sets},
                          {"round 1,000", round1000, no_sets},
                          {"round 10, 100 sets", round10, hundred_sets}};
    std::printf("\nJournal written after a visit (format + write, flush and move), %d writes each\n", repeats);
    print_header("live state (ms)");
    for (const Case& c : cases) {
        JournalWriter writer;
        const JournalSource source{settings().game, settings().schedule, c.history, c.live, SheetSelection{}};
        std::vector<double> ms;
        size_t bytes = 0;
        for (int i = 0; i < repeats; ++i) {
            const double start = now_ms();
            const std::string& text = writer.format(source);
            write_whole_file(path, text, nullptr);
            ms.push_back(now_ms() - start);
            bytes = text.size();
        }
        print_row(std::string(c.name) + " (" + std::to_string(bytes / 1024) + " KB)", figures_of(ms));
    }
    DeleteFileA(path.c_str());
}

int run_benchmark(int long_leg_visits) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!prepare_process(instance)) return 1;

    std::printf("tx9 score sheet, time per visit on the real main window (%dx%d), start score %d, no round "
                "limit\n",
                kWindowWidth, kWindowHeight, kStartScore);
    std::printf(
        "A visit: WM_SETTEXT of the score into the entry (not timed), then the clock runs from\n"
        "WM_COMMAND %d (Tab) to the main window until RedrawWindow(RDW_UPDATENOW) has painted what is left.\n"
        "The typed score is on the screen before the clock starts.\n",
        IDM_TAB);

    const LegRun short_leg = play_unlimited_leg(instance, 500, false);
    if (!short_leg.ok) return 1;
    report_leg("Leg of 500 visits", short_leg, 0);

    const LegRun long_leg = play_unlimited_leg(instance, long_leg_visits, true);
    if (!long_leg.ok) return 1;
    report_leg(("Leg of " + std::to_string(long_leg_visits) + " visits").c_str(), long_leg, 500);

    const LegRun with_displays = play_unlimited_leg(instance, 500, false, true);
    if (!with_displays.ok) return 1;
    report_leg("Leg of 500 visits, all displays on", with_displays, 0);

    report_rendering(long_leg, 200);
    report_pieces(long_leg.pieces);

    const LegRun round10 = play_unlimited_leg(instance, 20, false);
    if (!round10.ok) return 1;
    report_journal(round10.record, long_leg.record, 200);

    // The same long leg with the journal kept: the visit is painted, then the
    // file is written once the message loop is back.
    const LegRun journal_leg = play_unlimited_leg(instance, long_leg_visits, false, false, temp_journal());
    DeleteFileA(temp_journal().c_str());
    if (!journal_leg.ok) return 1;
    report_leg(("Leg of " + std::to_string(long_leg_visits) + " visits, journal kept").c_str(), journal_leg, 500);
    print_header("after the visit (ms)");
    print_row("queue, journal written", figures_of(journal_leg.after_ms));
    print_row("queue, no journal", figures_of(long_leg.after_ms));

    std::printf("\nAgainst a %.0f ms frame (p99)\n", kFrameBudgetMs);
    report_budget("500 visits", short_leg);
    report_budget("500 displays", with_displays);
    report_budget(std::to_string(long_leg_visits) + " visits", long_leg);
    report_budget(std::to_string(long_leg_visits) + " + journal", journal_leg);
    return 0;
}

} // namespace
} // namespace tx9

int main(int argc, char** argv) {
    int long_leg = 2000;
    // Beyond 2,200 visits the start score could run out.
    if (argc > 1) long_leg = std::clamp(std::atoi(argv[1]), 100, 2200);
    try {
        return tx9::run_benchmark(long_leg);
    } catch (...) {
        std::fprintf(stderr, "out of memory\n");
        return 1;
    }
}
