// A long evening on the real main window: sets of five legs of 101, every
// visit typed into the entry field digit by digit and entered with Tab, every
// finish answered in the Finish dialog and its message, every set archived
// into the history, with every display on. Prints the process's memory and its GDI and USER object
// counts at the start, along the way and at the end; a figure, never a test.
//
//   tx9_bench_memory_win.exe [sets, 1 to 1000, default 100]
#include "app/win/main_window.h"
#include "bench/win/bench_process.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "engine/game_record.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/score_sheet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

namespace tx9 {
namespace {

constexpr int kLegsPerSet = 5;
constexpr int kStartScore = 101;

// ---- What the process holds

// Live GDI objects. The system's own count where it keeps one; Wine answers
// 0, and there a handle's table index alone names it, so the table is probed.
int gdi_objects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(count);
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    return live;
}

BOOL CALLBACK count_window(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(
        window, [](HWND, LPARAM n) -> BOOL { return ++*reinterpret_cast<int*>(n), TRUE; }, count);
    return TRUE;
}

// USER objects: the system's count, or where it keeps none (Wine) the
// windows of this thread with all their children.
int user_objects(bool* counted_windows) {
    *counted_windows = false;
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<int>(count);
    *counted_windows = true;
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Bytes in use in every heap of the process, walked block by block: the
// memory the program itself asked for, whatever the system's counters say.
double heap_kb_in_use() {
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    double bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes / 1024.0;
}

struct Sample {
    int sets = 0;
    size_t history = 0;
    double heap_kb = 0, virtual_kb = 0, working_kb = 0;
    int gdi = 0, user = 0;
    bool user_is_windows = false;
};

Sample sample(int sets, const History* history) {
    pump_pending();
    Sample s;
    s.sets = sets;
    s.history = history ? history->records.size() : 0;
    s.heap_kb = heap_kb_in_use();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
        s.virtual_kb = static_cast<double>(memory.PagefileUsage) / 1024.0;
        s.working_kb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    }
    s.gdi = gdi_objects();
    s.user = user_objects(&s.user_is_windows);
    return s;
}

void print(const char* label, const Sample& s) {
    std::printf("  %-10s %6d %8zu %10.0f %12.0f %12.0f %6d %6d\n", label, s.sets, s.history, s.heap_kb,
                s.virtual_kb, s.working_kb, s.gdi, s.user);
}

// ---- Answering the dialogs a leg's end opens

HHOOK g_hook = nullptr;

// As each dialog comes up: the Finish dialog is told the third dart, the
// finish message is confirmed.
LRESULT CALLBACK answer_dialogs(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wparam);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770") {
            const int button = GetDlgItem(window, IDC_FINISH_3) ? IDC_FINISH_3 : IDOK;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
        }
    }
    return CallNextHookEx(g_hook, code, wparam, lparam);
}

bool prepare_process(HINSTANCE instance) {
    if (!prepare_bench_process(instance, "tx9_bench_memory_no_such_folder")) return false;
    Settings& s = settings();
    s.left = 0;
    s.top = 0;
    s.right = 900;
    s.bottom = 700;
    s.auto_save = 0;
    s.view_player = s.view_left = s.view_guide = 1; // every display on
    s.game = GameSettings{};
    s.game.start_score = kStartScore;
    s.game.leg_limit = 1;
    s.game.max_leg = kLegsPerSet;
    s.game.p1_name = "Anna";
    s.game.p2_name = "Bert";
    return true;
}

// One visit as the operator enters it: the digits into the entry, then Tab.
// The player to throw scores 60 until a finish is in reach, then finishes.
bool enter_visit(HWND main, HWND entry, const GameRecord& record) {
    const LegRecord& leg = record.current_leg();
    const int left = record.player[static_cast<size_t>(leg.turn)].left;
    const std::string score = std::to_string(left <= 60 ? left : 60);
    for (char c : score)
        SendMessageA(entry, WM_CHAR, static_cast<WPARAM>(c), 1);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_TAB, 0), 0);
    pump_pending();
    return true;
}

int run(int sets) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!prepare_process(instance)) {
        std::fprintf(stderr, "the process could not be set up\n");
        return 1;
    }
    HWND main = create_main_window(instance, SW_SHOWNORMAL);
    if (!main) {
        std::fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    KillTimer(main, kNewGameTimer); // no Game Option dialog: the game is set up already
    pump_pending();
    HWND sheet = main_window_sheet(main);
    ScoreSheetInfo info;
    const GameRecord* record = main_window_record(main);
    const History* history = main_window_history(main);
    if (!sheet || !record || !history || !score_sheet_info(sheet, &info) || !info.entry) {
        std::fprintf(stderr, "the main window has no score sheet\n");
        return 1;
    }
    g_hook = SetWindowsHookExA(WH_CBT, answer_dialogs, nullptr, GetCurrentThreadId());

    std::printf("tx9 main window through %d sets of %d legs of %d (visits typed into the entry, Tab)\n", sets,
                kLegsPerSet, kStartScore);
    std::printf("GDI objects: %s; USER objects: %s\n",
                GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) ? "the system's count"
                                                                    : "live GDI handles probed",
                GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) ? "the system's count"
                                                                     : "windows of the thread");
    std::printf("  %-10s %6s %8s %10s %12s %12s %6s %6s\n", "when", "sets", "history", "heap KB",
                "committed KB", "working KB", "GDI", "USER");
    const Sample start = sample(0, history);
    print("start", start);

    long visits = 0;
    const int first_set = record->set_no;
    const long visit_cap = static_cast<long>(sets) * kLegsPerSet * 10;
    Sample after_first = start; // after the first set: fonts, buffers and caches are made by then
    for (int done = 0; done < sets;) {
        if (++visits > visit_cap) {
            std::fprintf(stderr, "stuck after %ld visits: set %d, leg %d\n", visits, record->set_no,
                         record->leg_no);
            break;
        }
        enter_visit(main, info.entry, *record);
        const int now = record->set_no - first_set;
        if (now != done) {
            done = now;
            if (done == 1 || done % 25 == 0) {
                const Sample now_sample = sample(done, history);
                if (done == 1) after_first = now_sample;
                print(("set " + std::to_string(done)).c_str(), now_sample);
            }
        }
    }
    const Sample end = sample(record->set_no - first_set, history);
    print("end", end);
    // The history grows by design (the Game History dialog shows every set):
    // its share is the records' own size, counted here.
    double history_kb = 0;
    for (const GameRecord& set : history->records)
        for (const LegRecord& leg : set.leg_records)
            history_kb +=
                static_cast<double>(sizeof leg + 2 * leg.scores[0].capacity() * sizeof(int)) / 1024.0;
    const int grown = std::max(end.sets - 1, 1);
    std::printf("\n%ld visits. From set 1 to the end (%d sets): heap %+.0f KB (%.1f KB a set; the score "
                "arrays of the "
                "archived legs alone are %.1f KB a set), GDI objects %+d, USER objects %+d\n",
                visits, grown, end.heap_kb - after_first.heap_kb, (end.heap_kb - after_first.heap_kb) / grown,
                history_kb / std::max(end.sets, 1), end.gdi - after_first.gdi, end.user - after_first.user);
    // What stays once the history is let go is what the evening leaked.
    SendMessageA(main, kMainClearHistory, 0, 0);
    const Sample freed = sample(end.sets, history);
    print("no history", freed);
    std::printf("Without the history: heap %+.0f KB against set 1\n", freed.heap_kb - after_first.heap_kb);
    UnhookWindowsHookEx(g_hook);
    DestroyWindow(main);
    pump_pending();
    return 0;
}

} // namespace
} // namespace tx9

int main(int argc, char** argv) {
    int sets = 100;
    if (argc > 1) sets = std::clamp(std::atoi(argv[1]), 1, 1000);
    return tx9::run(sets);
}
