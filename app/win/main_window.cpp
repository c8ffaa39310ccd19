#include "app/win/main_window.h"

#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/key_guide_bar.h"
#include "core/win/guard.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "engine/game_flow.h"
#include "engine/game_rules.h"
#include "records/file_util.h"
#include "records/journal.h"
#include "records/win/history_dialog.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "settings/win/game_option_dialog.h"
#include "settings/win/option_sheet.h"
#include "settings/win/schedule_dialog.h"
#include "ui/score/win/left_score_panel.h"
#include "ui/score/win/score_sheet.h"

#include <memory>
#include <new>

namespace tx9 {

namespace {

// Messages to the children, numbered from WM_APP by the child that takes them.

enum : int {
    kStateMaximized = SW_SHOWMAXIMIZED, // 3
    kStateDefault = SW_SHOWDEFAULT,     // 10
    kScoreMenuPosition = 2,
    kTemplateMenuPosition = 6,
};

// Menu items whose text is rebuilt with the key of their first binding.
constexpr int kNamedCommands[] = {
    IDM_NEW_GAME, IDM_NEW_SCHEDULE, IDM_HISTORY,   IDM_AUTO_SAVE,  IDM_OPTION,
    IDM_EXIT,     IDM_VIEW_PLAYER,  IDM_VIEW_LEFT, IDM_VIEW_GUIDE, IDM_VIEW_THROW_COUNT,
    IDM_FINISH_1, IDM_FINISH_2,     IDM_FINISH_3,  IDM_MIDDLE,     IDM_LEFT_SCORE_INPUT,
    IDM_EXCHANGE, IDM_CLEAR_SCORES, IDM_CHECKOUT,
};

struct MainWindowState final : GameFlowHost {
    explicit MainWindowState(HWND hwnd) : window(hwnd), flow(record, history, settings(), *this) {}

    HWND window;
    HWND sheet = nullptr;
    // A display that could not be created stays null; the layout and the
    // messages pass it by.
    HWND left[2] = {nullptr, nullptr};
    HWND player[2] = {nullptr, nullptr};
    HWND guide = nullptr;

    GameRecord record;
    History history;
    GameFlow flow;

    MainWindowStart* start = nullptr; // nullptr: no journal
    bool creating = true;             // the game set up at creation is nothing to keep yet
    bool journal_due = false;         // a write is posted (kMainWriteJournal)
    JournalWriter journal;
    bool journal_failure_shown = false;

    // GameFlowHost
    void start_leg() override { SendMessageA(sheet, kScoreSheetStartLeg, 0, 0); }
    void refresh_player_panels() override {
        for (HWND panel : player)
            send_to(panel, kPlayerPanelRefresh, 0, 0);
    }
    void set_leg_limit(bool leg_limit) override {
        for (HWND panel : player)
            send_to(panel, kPlayerPanelShowSets, leg_limit ? 1 : 0, 0);
    }
    void show_information(const std::string& text) override {
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONINFORMATION);
    }
    void show_error(const std::string& text) override {
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
    }

    static LRESULT send_to(HWND child, UINT message, WPARAM wparam, LPARAM lparam) {
        return child ? SendMessageA(child, message, wparam, lparam) : 0;
    }
};

MainWindowState* state_of(HWND hwnd) {
    return reinterpret_cast<MainWindowState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool is_shown(HWND child) {
    return child && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
}

void show_child(HWND child, bool show) {
    if (child) ShowWindow(child, show ? SW_SHOW : SW_HIDE);
}

void set_check(HWND hwnd, int command, int on) {
    CheckMenuItem(GetMenu(hwnd), static_cast<UINT>(command), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

int toggled(int value) {
    return value ? 0 : 1;
}

void move_child(HWND child, const ChildPlace& place) {
    MoveWindow(child, place.x, place.y, place.width, place.height, TRUE);
}

// ---- Layout

void on_size(MainWindowState& st) {
    HWND hwnd = st.window;
    settings().state = IsZoomed(hwnd) ? kStateMaximized : kStateDefault;

    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;

    const bool guide = is_shown(st.guide);
    const bool left = is_shown(st.left[0]);
    const bool players = is_shown(st.player[0]);
    const int guide_height =
        guide ? static_cast<int>(SendMessageA(st.guide, kKeyGuideWantedHeight, width, 0)) : -1;
    const int left_height =
        left ? static_cast<int>(SendMessageA(st.left[0], kLeftScoreWantedHeight, width / 2, 0)) : -1;
    const MainLayout layout = layout_main_window(width, height, guide_height, left_height, players);

    if (left)
        for (int p = 0; p < 2; ++p)
            move_child(st.left[p], layout.left[p]);
    if (players)
        for (int p = 0; p < 2; ++p)
            move_child(st.player[p], layout.player[p]);
    move_child(st.sheet, layout.sheet);
    if (guide) {
        move_child(st.guide, layout.guide);
        InvalidateRect(st.guide, nullptr, FALSE);
        UpdateWindow(st.guide);
    }
}

void lay_out_again(HWND hwnd) {
    SendMessageA(hwnd, WM_SIZE, 0, 0);
}

// ---- Menu texts

void refresh_menu_texts(HWND hwnd) {
    HMENU menu = GetMenu(hwnd);
    if (!menu) return;
    const std::vector<KeyBinding>& bindings = settings().keys.bindings;
    const KeyNamer& namer = win_key_namer();

    HMENU score = GetSubMenu(menu, kScoreMenuPosition);
    if (HMENU templates = score ? GetSubMenu(score, kTemplateMenuPosition) : nullptr) {
        while (GetMenuItemCount(templates) > 0)
            DeleteMenu(templates, 0, MF_BYPOSITION);
        for (const TemplateItem& item : template_menu_items(namer, bindings))
            AppendMenuA(templates, MF_STRING, static_cast<UINT_PTR>(item.command), item.text.c_str());
        if (GetMenuItemCount(templates) == 0)
            AppendMenuA(templates, MF_STRING | MF_GRAYED, IDM_TEMPLATE_NOTHING,
                        load_resource_string(IDS_TEMPLATE_NOTHING).c_str());
    }

    for (int command : kNamedCommands) {
        std::string text = load_resource_string(command);
        if (const KeyBinding* binding = first_named_binding(namer, bindings, command))
            text += "\t" + key_binding_name(namer, binding->modifiers, binding->key);
        // Only the text changes: the check marks stay as they are.
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = text.data();
        SetMenuItemInfoA(menu, static_cast<UINT>(command), FALSE, &info);
    }
}

// What the Option command does after the property sheet reported a change.
void apply_option_changes(MainWindowState& st) {
    settings_save(settings(), system_services());
    SendMessageA(st.sheet, kScoreSheetAppearance, 0, 0);
    for (HWND panel : st.player)
        MainWindowState::send_to(panel, kPlayerPanelAppearance, 0, 0);
    for (HWND panel : st.left)
        MainWindowState::send_to(panel, kLeftScoreAppearance, 0, 0);
    MainWindowState::send_to(st.guide, kKeyGuideAppearance, 0, 0);
    lay_out_again(st.window);
    MainWindowState::send_to(st.guide, kKeyGuideKeysChanged, 0, 0);
    build_user_accelerators(settings().keys.bindings);
    refresh_menu_texts(st.window);
}

// ---- The journal

bool keeps_journal(const MainWindowState& st) {
    return !st.creating && st.start && !st.start->journal_path.empty();
}

// Written whole after every change of the live game, once the rules that
// made it are done; a failure is shown once in a run, not after every visit.
void write_journal(MainWindowState& st) {
    st.journal_due = false;
    if (!keeps_journal(st)) return;
    ScoreSheetInfo sheet;
    SheetSelection selection;
    if (score_sheet_info(st.sheet, &sheet)) selection = SheetSelection{sheet.sel_player, sheet.sel_round};
    const Settings& s = settings();
    const JournalSource source{s.game, s.schedule, st.history.records, st.record, selection};
    std::string error;
    if (write_whole_file(st.start->journal_path, st.journal.format(source), &error) || st.journal_failure_shown)
        return;
    st.journal_failure_shown = true;
    st.show_error(strprintf(load_resource_string(IDS_JOURNAL_WRITE_FAILED).c_str(), error.c_str()));
}

// ---- Commands

void new_game(MainWindowState& st) {
    if (!run_game_option_dialog(st.window, &settings().game)) return;
    st.flow.start_new_game();
}

void new_schedule(MainWindowState& st) {
    if (!run_schedule_dialog(st.window)) return;
    st.flow.start_new_schedule();
}

// The View menu's panel switches: the flag each one keeps and the children it shows or hides.
void toggle_view(MainWindowState& st, int command) {
    struct ViewToggle {
        int command;
        int Settings::*shown;
        HWND* children;
        int count;
    };
    const ViewToggle views[] = {
        {IDM_VIEW_PLAYER, &Settings::view_player, st.player, 2},
        {IDM_VIEW_LEFT, &Settings::view_left, st.left, 2},
        {IDM_VIEW_GUIDE, &Settings::view_guide, &st.guide, 1},
    };
    for (const ViewToggle& view : views) {
        if (view.command != command) continue;
        int& shown = settings().*view.shown;
        shown = toggled(shown);
        for (int i = 0; i < view.count; ++i)
            show_child(view.children[i], shown);
        set_check(st.window, command, shown);
        lay_out_again(st.window);
        return;
    }
}

void show_about(HWND hwnd) {
    MessageBoxA(hwnd, kProgramTitle, "About", MB_OK | MB_ICONINFORMATION);
}

bool is_sheet_command(int command) {
    switch (command) {
    // Score menu
    case IDM_FINISH_1:
    case IDM_FINISH_2:
    case IDM_FINISH_3:
    case IDM_MIDDLE:
    case IDM_LEFT_SCORE_INPUT:
    case IDM_EXCHANGE:
    case IDM_CLEAR_SCORES:
    case IDM_CHECKOUT:
    // built-in accelerators
    case IDM_ENTER:
    case IDM_ESCAPE:
    case IDM_UP:
    case IDM_DOWN:
    case IDM_TAB:
    case IDM_SHIFT_TAB:
    case IDM_PAGE_UP:
    case IDM_PAGE_DOWN:
    case IDM_HOME:
    case IDM_END: return true;
    default: return false;
    }
}

void on_command(MainWindowState& st, WPARAM wparam, LPARAM lparam) {
    const int command = LOWORD(wparam);
    Settings& s = settings();
    if (is_template_action(command)) {
        SendMessageA(st.sheet, kScoreSheetTemplate, static_cast<WPARAM>(command - kTemplateBase), 0);
        return;
    }
    if (is_sheet_command(command)) {
        SendMessageA(st.sheet, WM_COMMAND, wparam, lparam);
        return;
    }
    switch (command) {
    case IDM_NEW_GAME: new_game(st); break;
    case IDM_NEW_SCHEDULE: new_schedule(st); break;
    case IDM_HISTORY: run_history_dialog(st.window, &st.history); break;
    case IDM_OPTION:
        if (run_option_sheet(st.window, win_key_namer())) main_window_options_changed(st.window);
        break;
    case IDM_AUTO_SAVE:
        s.auto_save = toggled(s.auto_save);
        set_check(st.window, command, s.auto_save);
        break;
    case IDM_EXIT: SendMessageA(st.window, WM_CLOSE, 0, 0); break;
    case IDM_VIEW_PLAYER:
    case IDM_VIEW_LEFT:
    case IDM_VIEW_GUIDE: toggle_view(st, command); break;
    case IDM_VIEW_THROW_COUNT:
        s.throw_count = toggled(s.throw_count);
        set_check(st.window, command, s.throw_count);
        SendMessageA(st.sheet, kScoreSheetRedraw, 0, 0);
        break;
    case IDM_ABOUT: show_about(st.window); break;
    case IDM_REFRESH_MENU: refresh_menu_texts(st.window); break;
    default: break; // 40028 "(Nothing)" and anything else
    }
}

// ---- Notifications from the children

LRESULT on_notify(MainWindowState& st, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case kMainPlayerChanged: {
        const int p = wparam == 1 ? 1 : 0;
        MainWindowState::send_to(st.left[p], kLeftScoreRefresh, 0, 0);
        MainWindowState::send_to(st.player[p], kPlayerPanelRefresh, 0, 0);
        if (lparam == 0) {
            // Most visits leave the title as it is; setting it again costs a
            // trip to the window system on every visit.
            const std::string title = st.flow.title();
            char shown[512] = "";
            GetWindowTextA(st.window, shown, sizeof shown);
            if (title != shown) SetWindowTextA(st.window, title.c_str());
        }
        return 0;
    }
    case kMainContextMenu: {
        POINT at{};
        GetCursorPos(&at);
        HMENU score = GetSubMenu(GetMenu(st.window), kScoreMenuPosition);
        if (score) TrackPopupMenu(score, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, st.window, nullptr);
        return 0;
    }
    case kMainFirstThrower: {
        const int first = st.record.leg_records.empty() ? 0 : st.record.current_leg().first;
        for (int p = 0; p < 2; ++p)
            MainWindowState::send_to(st.player[p], kPlayerPanelFirst, first == p ? 1 : 0, 0);
        if (wparam == 1) st.refresh_player_panels();
        return 0;
    }
    case kMainModifierKey: MainWindowState::send_to(st.guide, kKeyGuideModifier, wparam, lparam); return 0;
    case kMainSetOver: return st.flow.set_over() ? 1 : 0;
    case kMainClearHistory:
        free_history(st.history);
        write_journal(st);
        return 0;
    case kMainActivePlayer:
        for (int p = 0; p < 2; ++p)
            MainWindowState::send_to(st.left[p], kLeftScoreActive, static_cast<int>(wparam) == p ? 1 : 0, 0);
        return 0;
    default: return 0;
    }
}

// ---- Creation and the end

// The game an interrupted run left, as it was: the live set, the history,
// and the game settings and Schedule it was played from.
void take_over(MainWindowState& st, JournalState& resumed) {
    st.record = std::move(resumed.live);
    st.history.records = std::move(resumed.history);
    settings().game = std::move(resumed.game);
    settings().schedule = std::move(resumed.schedule);
}

bool on_create(HWND hwnd, const CREATESTRUCTA& create) {
    std::unique_ptr<MainWindowState> owned(new (std::nothrow) MainWindowState(hwnd));
    if (!owned) {
        show_system_error(hwnd, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    MainWindowState& st = *owned;
    st.start = static_cast<MainWindowStart*>(create.lpCreateParams);
    JournalState* resumed = st.start ? st.start->resume : nullptr;
    st.history.live = &st.record;
    if (resumed)
        take_over(st, *resumed);
    else if (!st.flow.start_first_set())
        return false;

    st.sheet = create_score_sheet(hwnd, &st.record, 0);
    if (!st.sheet) return false;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));

    for (int p = 0; p < 2; ++p)
        st.left[p] = create_left_score_panel(hwnd, &st.record.player[static_cast<size_t>(p)]);
    for (int p = 0; p < 2; ++p)
        st.player[p] = create_player_panel(app_instance(), hwnd, 0, &st.record.player[static_cast<size_t>(p)]);
    st.guide = create_key_guide_bar(hwnd);

    const Settings& s = settings();
    if (s.view_player) set_check(hwnd, IDM_VIEW_PLAYER, 1);
    if (s.view_left) set_check(hwnd, IDM_VIEW_LEFT, 1);
    if (s.view_guide) set_check(hwnd, IDM_VIEW_GUIDE, 1);
    for (HWND panel : st.player)
        show_child(panel, s.view_player);
    for (HWND panel : st.left)
        show_child(panel, s.view_left);
    show_child(st.guide, s.view_guide);

    st.set_leg_limit(st.record.leg_limit == 1);
    if (resumed)
        SendMessageA(st.sheet, kScoreSheetResume, static_cast<WPARAM>(resumed->selection.player),
                     static_cast<LPARAM>(resumed->selection.round));
    else
        st.start_leg();
    refresh_menu_texts(hwnd);
    set_check(hwnd, IDM_AUTO_SAVE, s.auto_save);
    set_check(hwnd, IDM_VIEW_THROW_COUNT, s.throw_count);
    // A continued game goes on as it was: no Game Option dialog.
    if (!resumed) SetTimer(hwnd, kNewGameTimer, 1, nullptr);
    st.creating = false;
    return true;
}

void on_exit_size_move(HWND hwnd) {
    if (!IsWindowVisible(hwnd) || IsIconic(hwnd) || IsZoomed(hwnd)) return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    Settings& s = settings();
    s.left = r.left;
    s.top = r.top;
    s.right = r.right - r.left;
    s.bottom = r.bottom - r.top;
}

void on_close(HWND hwnd) {
    if (MessageBoxA(hwnd, load_resource_string(IDS_EXIT_QUESTION).c_str(), kProgramTitle,
                    MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;
    DestroyWindow(hwnd);
}

LRESULT handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(hwnd, *reinterpret_cast<CREATESTRUCTA*>(lparam)) ? 0 : -1;

    MainWindowState* st = state_of(hwnd);
    if (!st) return message >= WM_APP ? 0 : DefWindowProcA(hwnd, message, wparam, lparam);

    switch (message) {
    case WM_SIZE: on_size(*st); return 0;
    case WM_EXITSIZEMOVE: on_exit_size_move(hwnd); return 0;
    case WM_COMMAND: on_command(*st, wparam, lparam); return 0;
    case WM_TIMER:
        if (wparam == kNewGameTimer) {
            KillTimer(hwnd, kNewGameTimer);
            SendMessageA(hwnd, WM_COMMAND, IDM_NEW_GAME, 0);
        }
        return 0;
    case WM_SETFOCUS: SetFocus(st->sheet); return 0;
    case WM_CLOSE: on_close(hwnd); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // Logging off: no question. The system may end the process as soon as
        // this returns, before the message loop gets to save, so save here too.
        // When the end of the session was called off, the program stays.
        if (wparam) {
            if (st->journal_due) write_journal(*st);
            if (st->start) st->start->keep_journal = true;
            settings_save(settings(), system_services());
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_DESTROY:
        free_legs(st->record);
        free_history(st->history);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        // The children are gone by now; the sheet read the live record until then.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete st;
        return DefWindowProcA(hwnd, message, wparam, lparam);
    default: break;
    }
    if (message == kMainWriteJournal) {
        if (st->journal_due) write_journal(*st);
        return 0;
    }
    if (message >= WM_APP && message <= kMainActivePlayer) return on_notify(*st, message, wparam, lparam);
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK main_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    // A failed step is dropped.
    return guarded([&] { return handle(hwnd, message, wparam, lparam); },
                   [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_main_window(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TX9));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

HWND create_main_window(HINSTANCE instance, int show_command, MainWindowStart* start) {
    const Settings& s = settings();
    HWND hwnd = CreateWindowExA(0, kMainWindowClass, kProgramName, WS_OVERLAPPEDWINDOW, s.left, s.top,
                                s.right, s.bottom, nullptr, nullptr, instance, start);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, show_command);
    UpdateWindow(hwnd);
    return hwnd;
}

namespace {
// The state of a tx9_wnd; nullptr for any other window.
MainWindowState* checked_state(HWND hwnd) {
    char name[32] = "";
    if (!hwnd || !GetClassNameA(hwnd, name, sizeof name) || lstrcmpiA(name, kMainWindowClass) != 0)
        return nullptr;
    return state_of(hwnd);
}
} // namespace

GameRecord* main_window_record(HWND main_window) {
    MainWindowState* st = checked_state(main_window);
    return st ? &st->record : nullptr;
}

History* main_window_history(HWND main_window) {
    MainWindowState* st = checked_state(main_window);
    return st ? &st->history : nullptr;
}

HWND main_window_sheet(HWND main_window) {
    MainWindowState* st = checked_state(main_window);
    return st ? st->sheet : nullptr;
}

void main_window_game_settled(HWND main_window) {
    MainWindowState* st = checked_state(main_window);
    if (!st || !keeps_journal(*st) || st->journal_due) return;
    // Posted messages come before the next key or click, so no rule can begin
    // before the write; the visit is on the screen before its flush to disk.
    st->journal_due = true;
    PostMessageA(main_window, kMainWriteJournal, 0, 0);
}

void main_window_options_changed(HWND main_window) {
    if (MainWindowState* st = checked_state(main_window)) apply_option_changes(*st);
}

} // namespace tx9
