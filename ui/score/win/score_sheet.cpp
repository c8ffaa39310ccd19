#include "ui/score/win/score_sheet.h"

#include "core/win/beep.h"
#include "app/win/entry_control.h"
#include "core/win/guard.h"
#include "core/win/window_state.h"
#include "app/win/main_window.h"
#include "checkout/win/checkout_dialog.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "engine/match.h"
#include "engine/win/com_visit_dialog.h"
#include "engine/win/finish_dialogs.h"
#include "records/csv_export.h"
#include "settings/settings.h"
#include "ui/score/win/score_render.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <new>
#include <optional>

#include <imm.h>
#include <windowsx.h>

namespace tx9 {

namespace {

constexpr int kEntryId = 1;
constexpr int kEntryLimit = 3;
constexpr int kMaxEntryText = 255;

// A sheet made without a record and without a main window to lend one shows
// this: one empty leg.
GameRecord empty_record() {
    GameRecord record;
    record.leg_records.resize(1);
    LegRecord& leg = record.leg_records.front();
    leg.rows = 1;
    leg.capacity = 10;
    for (auto& cells : leg.scores)
        cells.assign(11, 0);
    return record;
}

GameRecord* live_record_of(HWND parent) {
    HWND root = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    return root ? main_window_record(root) : nullptr;
}

// The per-window state; it is the MatchHost of its own Match, so the rules
// reach the dialogs, the entry field and the parent through it.
//
// The rules ask for a repaint, a scroll bar update or a scroll several times
// in one command (a visit that opens a row asks for all three), and each of
// them is slow on screen: a scroll bar redraw alone takes milliseconds under
// Wine. So the host only notes what is out of date, and the message handler
// brings the scroll bar, the back buffer and the screen up to date once, when
// the message that changed them is over (Batch below); before any dialog or
// message box the sheet is brought up to date first (ModalScope).
struct SheetState final : MatchHost {
    SheetState(HWND hwnd, GameRecord* shown)
        : window(hwnd), fallback(shown ? GameRecord{} : empty_record()),
          match(shown ? *shown : fallback, *this, settings()) {}

    HWND window;
    HWND entry = nullptr;
    BackBuffer buffer;
    SheetTools tools;
    int max_top_row = 0;
    int top_row = 0;
    bool view_mode = false;
    UINT dart_interval = kComDartInterval;
    GameRecord fallback;
    Match match;

    // --- work left for the end of the message -------------------------------
    int batch_depth = 0;             // handlers under way (since the last modal loop began)
    bool scroll_bar_pending = false; // `scroll` or top_row changed since the bar was set
    bool render_pending = false;     // part of the back buffer is out of date:
    bool stale_all = false;          // all of it,
    RECT stale_bounds{};             // or the part within these bounds
    bool update_pending = false;     // something was invalidated: paint before returning
    Region pending_paint;            // to copy to the screen as the message ends
    bool window_gone = false;        // destroyed while a handler was still running
    // Handlers under way, modal loops or not: at 0 no rule is half done, and
    // a change of the live game can be told to the main window's journal.
    int rule_depth = 0;
    bool game_changed = false; // a notification about the game since the last telling
    SheetScroll scroll;              // the scroll bar as the last update worked it out

    // What the scroll bar was last set to, so that an update that changes
    // nothing does not draw it again.
    struct ScrollShown {
        bool enabled = false;
        int range_max = 0, page = 0, pos = 0;
        bool operator==(const ScrollShown& o) const {
            return enabled == o.enabled && range_max == o.range_max && page == o.page && pos == o.pos;
        }
    };
    bool scroll_shown_known = false;
    ScrollShown scroll_shown;

    // --- geometry ---------------------------------------------------------
    RECT client() const {
        RECT r{};
        GetClientRect(window, &r);
        return r;
    }
    SheetGeometry geometry() const {
        RECT r = client();
        return SheetGeometry{r.right, r.bottom, tools.header_height, tools.row_height, top_row};
    }
    HWND main_window() const {
        HWND root = GetAncestor(window, GA_ROOT);
        return root && root != window ? root : GetParent(window);
    }

    // --- drawing ------------------------------------------------------------
    // Notes part of the back buffer (nullptr: all of it) as out of date.
    void mark_stale(const RECT* area) {
        if (!area) {
            stale_all = true;
        } else if (!render_pending) {
            stale_bounds = *area;
        } else {
            const RECT before = stale_bounds;
            UnionRect(&stale_bounds, &before, area);
        }
        render_pending = true;
    }

    // The back buffer drawn again where it is out of date. The drawing is
    // clipped to that part: a visit changes a row or two, and everything
    // outside the clip is drawn in a fraction of the time.
    void render_if_pending() {
        if (!render_pending) return;
        render_pending = false;
        const bool all = stale_all;
        stale_all = false;
        if (!buffer.dc()) return;
        if (!all && IsRectEmpty(&stale_bounds)) return;
        SheetView view;
        view.record = &match.record();
        view.shown_leg = match.shown_leg();
        view.top_row = top_row;
        view.width = buffer.width();
        view.height = buffer.height();
        view.throw_count = settings().throw_count == 1;
        if (!all)
            IntersectClipRect(buffer.dc(), stale_bounds.left, stale_bounds.top, stale_bounds.right,
                              stale_bounds.bottom);
        render_score_sheet(buffer.dc(), tools, view);
        if (!all) SelectClipRgn(buffer.dc(), nullptr);
    }

    // Parts of the window to paint again, copied from the back buffer as the
    // message ends (paint_pending_now). Going through WM_PAINT costs the
    // system several trips per window and paint, and a window waiting for a
    // paint makes every move of the entry over it dearer.
    void invalidate(const RECT* area) {
        const RECT whole = client();
        if (!area) area = &whole;
        if (IsRectEmpty(area)) return;
        Region piece(CreateRectRgnIndirect(area));
        if (piece) {
            add_pending_paint(std::move(piece));
            return;
        }
        InvalidateRect(window, area, FALSE); // out of GDI objects: the system's paint
        update_pending = true;
    }
    void add_pending_paint(Region piece) {
        update_pending = true;
        if (!pending_paint)
            pending_paint = std::move(piece);
        else
            CombineRgn(pending_paint.get(), pending_paint.get(), piece.get(), RGN_OR);
    }
    // The parts noted so far are copied to the screen at once. The copy covers
    // the entry where they meet (the sheet does not clip its child), so the
    // entry paints itself again over it.
    void paint_pending_now() {
        if (!pending_paint) return;
        const Region area = std::move(pending_paint);
        RECT box{};
        GetRgnBox(area.get(), &box);
        {
            WindowDC dc(window);
            if (!dc.get() || SelectClipRgn(dc.get(), area.get()) == ERROR) {
                InvalidateRgn(window, area.get(), FALSE);
                return;
            }
            buffer.copy_to(dc.get(), box);
        }
        if (!(GetWindowLongA(entry, GWL_STYLE) & WS_VISIBLE)) return;
        RECT over{};
        GetWindowRect(entry, &over);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&over), 2);
        if (RectInRegion(area.get(), &over)) SendMessageA(entry, kEntryRepaint, 0, 0);
    }

    // Render again and repaint from a visible row down (rows counted from the
    // first one shown; 0 or less repaints everything), at the end of the message.
    void repaint_from_visible_row(int visible_row) {
        RECT area = client();
        if (visible_row > 0)
            area.top = std::min<LONG>(area.bottom, tools.header_height + visible_row * tools.row_height);
        mark_stale(visible_row > 0 ? &area : nullptr);
        invalidate(&area);
    }

    bool rebuild_fonts_and_buffer() {
        RECT r = client();
        mark_stale(nullptr);
        if (!buffer.resize(window, r.right, r.bottom)) return false;
        return build_sheet_fonts(tools, buffer.dc(), r.right, view_mode);
    }

    void give_entry_font() {
        SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(tools.row_font.get()), TRUE);
    }

    // Moves the view so that sheet row new_top is the first below the header.
    // Every row below the header moves, so all of it is copied again from the
    // back buffer: under Wine that costs about what scrolling the screen and
    // painting the uncovered row costs (a few tenths of a millisecond), and
    // the screen need not be up to date before the move.
    //
    // A move by fewer rows than are shown shifts the rows already on the
    // screen instead, and only the rows it uncovers are painted: the pixels
    // that change stay the same, but the copy from the back buffer is only
    // a row high. What was out of date is painted before the move; the entry
    // is drawn again wherever it goes next. The back buffer's rows shift the
    // same way, and only the uncovered rows are drawn again.
    void scroll_to(int new_top) {
        scroll_bar_pending = true;
        if (new_top == top_row) return;
        const int shift = (top_row - new_top) * tools.row_height;
        RECT below = client();
        below.top = std::min<LONG>(below.bottom, tools.header_height);
        // The header's thick rule reaches a pixel into the first row and stays.
        RECT rows = below;
        rows.top = std::min<LONG>(rows.bottom, rows.top + 1);
        const bool shifts = std::abs(shift) < rows.bottom - rows.top && IsWindowVisible(window);
        if (shifts) {
            // The screen is brought up to date first: the rows then move as
            // they are, and only the rows uncovered are painted as the message ends.
            render_if_pending();
            paint_pending_now();
        }
        top_row = new_top;
        if (!shifts) {
            mark_stale(&below);
            invalidate(&below);
            return;
        }
        shift_buffer_rows(rows, shift);
        RECT stale{};
        const bool entry_shown = IsWindowVisible(entry);
        if (entry_shown) {
            GetWindowRect(entry, &stale);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&stale), 2);
        }
        Region uncovered(CreateRectRgn(0, 0, 0, 0));
        ScrollWindowEx(window, 0, shift, &rows, &rows, uncovered.get(), nullptr,
                       uncovered ? 0 : SW_INVALIDATE);
        update_pending = true;
        if (uncovered) add_pending_paint(std::move(uncovered));
        // The entry's picture moved with the rows; the entry itself is put
        // back over its cell (and drawn again) by whoever scrolled.
        if (entry_shown) {
            OffsetRect(&stale, 0, shift);
            invalidate(&stale);
        }
    }

    // The back buffer's rows moved down by shift pixels (up when negative)
    // within rows; what was out of date moves along, and the rows uncovered
    // are out of date too.
    void shift_buffer_rows(const RECT& rows, int shift) {
        const int height = rows.bottom - rows.top - std::abs(shift);
        if (buffer.dc())
            BitBlt(buffer.dc(), rows.left, rows.top + std::max(shift, 0), rows.right - rows.left, height,
                   buffer.dc(), rows.left, rows.top + std::max(-shift, 0), SRCCOPY);
        if (render_pending && !stale_all) {
            RECT moved = stale_bounds;
            OffsetRect(&moved, 0, shift);
            mark_stale(&moved);
        }
        RECT uncovered = rows;
        if (shift < 0)
            uncovered.top = uncovered.bottom + shift;
        else
            uncovered.bottom = uncovered.top + shift;
        mark_stale(&uncovered);
    }

    void apply_scroll_bar();
    // Everything noted above, done once: scroll bar, back buffer, screen.
    void flush() {
        if (window_gone) return;
        if (scroll_bar_pending) {
            scroll_bar_pending = false;
            apply_scroll_bar();
        }
        render_if_pending();
        paint_pending_now();
        if (update_pending) {
            update_pending = false;
            UpdateWindow(window);
        }
    }

    // --- MatchHost ------------------------------------------------------------
    int ask_finishing_dart(int finish) override {
        ModalScope modal(*this);
        return tx9::ask_finishing_dart(window, finish);
    }
    bool ask_leg_winner(GameRecord& record) override {
        ModalScope modal(*this);
        return tx9::ask_leg_winner(window, record);
    }
    bool ask_yes_no(const std::string& text) override {
        ModalScope modal(*this);
        return MessageBoxA(window, text.c_str(), kProgramTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    bool show_finish_message(const std::string& text, const std::string& title, bool ok_only) override {
        ModalScope modal(*this);
        UINT buttons = ok_only ? MB_OK : MB_OKCANCEL;
        return MessageBoxA(window, text.c_str(), title.c_str(), buttons | MB_ICONINFORMATION) == IDOK;
    }
    void show_information(const std::string& text) override {
        ModalScope modal(*this);
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONINFORMATION);
    }
    void show_error(const std::string& text) override {
        ModalScope modal(*this);
        MessageBoxA(window, text.c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
    }
    void beep() override { tx9::beep(MB_OK); }

    void reposition_entry(bool scroll_into_view_first, bool load_cell) override;
    // A visit changes its own round and, when it corrects an earlier one, the
    // remaining scores of the rounds after it up to the current round; the
    // rounds below the current one are empty and stay as they are drawn.
    void repaint_from_round(int round) override {
        if (round < 0) {
            repaint_from_visible_row(0);
            return;
        }
        const int last = std::max(round, match.shown().cur_round);
        RECT area = client();
        const LONG bottom = area.bottom;
        area.top = std::clamp<LONG>(tools.header_height + (round + 1 - top_row) * tools.row_height,
                                    tools.header_height, bottom);
        area.bottom =
            std::clamp<LONG>(tools.header_height + (last + 2 - top_row) * tools.row_height, area.top, bottom);
        if (area.top < area.bottom) {
            mark_stale(&area);
            invalidate(&area);
        }
    }
    void update_scroll_bar() override;
    std::string entry_text() override {
        char text[kMaxEntryText + 1] = "";
        SendMessageA(entry, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void set_entry_text(const std::string& text) override {
        SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    long notify(int message, int wparam, int lparam) override {
        if (message == kNotifyPlayerChanged || message == kNotifyFirstThrower || message == kNotifySetOver ||
            message == kNotifyActivePlayer)
            game_changed = true;
        // The panels' refreshes are quick and open nothing; the end of a set
        // and the context menu may open boxes and menus over the sheet.
        const bool may_open_a_loop = message == kNotifySetOver || message == kNotifyContextMenu;
        std::optional<ModalScope> modal;
        if (may_open_a_loop) modal.emplace(*this);
        return static_cast<long>(SendMessageA(GetParent(window), WM_APP + static_cast<UINT>(message),
                                              static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
    }
    void start_com_timer(bool disable_main_window) override {
        if (disable_main_window) EnableWindow(main_window(), FALSE);
        SetTimer(window, kComVisitTimer, 1, nullptr);
    }
    bool auto_save(const GameRecord& record) override;

    // The game is whole again after a change: the main window keeps it.
    void tell_game_settled() {
        if (!game_changed || window_gone) return;
        game_changed = false;
        main_window_game_settled(GetParent(window));
    }

    // Around a modal loop: the sheet is drawn up to date before the dialog
    // shows, and messages the dialog's loop brings to the sheet bring it up
    // to date by themselves, as if no command were under way.
    class ModalScope {
      public:
        explicit ModalScope(SheetState& st) : st_(st), depth_(st.batch_depth) {
            st_.flush();
            st_.batch_depth = 0;
        }
        ~ModalScope() { st_.batch_depth = depth_; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

      private:
        SheetState& st_;
        int depth_;
    };
};

// One message handler of the sheet. It keeps the state alive while it runs
// (a dialog's loop may destroy the window under it), and the outermost one
// brings the sheet up to date when it ends.
class Batch {
  public:
    explicit Batch(std::shared_ptr<SheetState> st) : st_(std::move(st)) {
        ++st_->batch_depth;
        ++st_->rule_depth;
    }
    ~Batch() {
        const bool settled = --st_->rule_depth == 0;
        // Drawing text may run out of memory; the next paint tries again.
        if (--st_->batch_depth == 0 && !st_->window_gone)
            guarded([this] { st_->flush(); }, [this] { st_->mark_stale(nullptr); });
        // Kept once the change is on the screen: putting the file on disk takes milliseconds.
        if (settled) guarded([this] { st_->tell_game_settled(); }, [] {});
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

  private:
    std::shared_ptr<SheetState> st_;
};

void SheetState::reposition_entry(bool scroll_into_view_first, bool load_cell) {
    const LegRecord& leg = match.shown();
    if (scroll_into_view_first) {
        int wanted = scroll_into_view(match.sel_round(), top_row, visible_rows(geometry()), max_top_row);
        if (wanted != top_row) scroll_to(wanted);
    }
    const SheetGeometry g = geometry();
    const int round = std::max(match.sel_round(), 0);
    const int row = round - top_row + 1;
    const int top_edge = tools.row_height * row + tools.header_height + 1;
    if (row < 0 || top_edge >= g.client_height || leg.finished == 1) {
        // Hiding it repaints the sheet where it stood.
        ShowWindow(entry, SW_HIDE);
        if (leg.finished == 1) set_entry_text(std::string());
        return;
    }

    // Each call below is a trip to the window system: only what changes is
    // done. The move comes first, while neither the entry nor the sheet waits
    // for a paint (the sheet copies its changed parts as the message ends):
    // under Wine a move over a window that waits for one costs more trips.
    const bool was_shown = (GetWindowLongA(entry, GWL_STYLE) & WS_VISIBLE) != 0;
    RECT before{};
    GetWindowRect(entry, &before);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&before), 2);
    const EntryRect place = entry_rect(g, match.sel_player(), round);
    const RECT after{place.x, place.y, place.x + place.width, place.y + place.height};
    const bool moved = !EqualRect(&before, &after);
    // Its old pixels are not copied along: it is drawn again where it goes.
    if (moved) {
        const bool same_size =
            before.right - before.left == place.width && before.bottom - before.top == place.height;
        SetWindowPos(entry, nullptr, place.x, place.y, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                         (same_size ? SWP_NOSIZE : 0));
    }
    if (load_cell) {
        std::string text = match.loaded_entry_text();
        set_entry_text(text);
        if (!text.empty()) SendMessageA(entry, EM_SETSEL, 0, -1);
    }
    SendMessageA(entry, kEntrySetReadOnly, match.selected_is_com() ? 1 : 0, 0);
    if (!was_shown) ShowWindow(entry, SW_SHOW);
    // A disabled sheet (the colour preview) must not pull the focus off its dialog.
    if (!match.disabled() && !SendMessageA(entry, kEntryHasFocus, 0, 0)) SetFocus(entry);
    // The entry is drawn again where it stands; the sheet only where the
    // entry left (moved without redrawing, nothing else repaints that).
    SendMessageA(entry, kEntryRepaint, 0, 0);
    update_pending = true;
    if (was_shown && moved) invalidate(&before);
}

void SheetState::update_scroll_bar() {
    scroll = sheet_scroll(match.shown().rows, visible_rows(geometry()), top_row);
    max_top_row = scroll.max_top_row;
    const int top = scroll.enabled ? scroll.top_row : 0;
    if (top != top_row) {
        top_row = top;
        repaint_from_visible_row(0);
    }
    scroll_bar_pending = true;
}

// Where the system draws the sheet's scroll bar: its rectangle, arrows,
// thumb and the state of each part.
SCROLLBARINFO scroll_bar_look(HWND window) {
    SCROLLBARINFO look{};
    look.cbSize = sizeof look;
    GetScrollBarInfo(window, OBJID_VSCROLL, &look);
    return look;
}

bool same_look(const SCROLLBARINFO& a, const SCROLLBARINFO& b) {
    return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.dxyLineButton == b.dxyLineButton &&
           a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom &&
           std::equal(std::begin(a.rgstate), std::end(a.rgstate), std::begin(b.rgstate));
}

void SheetState::apply_scroll_bar() {
    ScrollShown wanted;
    wanted.enabled = scroll.enabled;
    wanted.range_max = scroll.range_max;
    wanted.page = scroll.page;
    wanted.pos = scroll.enabled ? top_row : 0;
    if (scroll_shown_known && scroll_shown == wanted) return;
    ScrollShown was = scroll_shown;
    was.enabled = was.enabled && scroll_shown_known;
    // Noted first: setting the bar may resize the sheet, and the WM_SIZE
    // that brings may set the bar again before this returns.
    scroll_shown = wanted;
    scroll_shown_known = true;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = wanted.range_max;
    info.nPage = static_cast<UINT>(wanted.page);
    info.nPos = wanted.pos;
    if (was.enabled && wanted.enabled) {
        // A row more in a long leg moves the range and the position, but
        // mostly not a pixel of the bar: the thumb is at its smallest and at
        // the bottom. The bar is drawn again only when its look changed.
        const SCROLLBARINFO before = scroll_bar_look(window);
        SetScrollInfo(window, SB_VERT, &info, FALSE);
        if (same_look(before, scroll_bar_look(window))) return;
        SCROLLINFO back = info;
        back.nMax = was.range_max;
        back.nPage = static_cast<UINT>(was.page);
        back.nPos = was.pos;
        SetScrollInfo(window, SB_VERT, &back, FALSE);
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        return;
    }
    // Setting the range enables the bar again; a disabled one is drawn once, disabled.
    SetScrollInfo(window, SB_VERT, &info, wanted.enabled ? TRUE : FALSE);
    if (!(scroll_shown == wanted)) return; // set again meanwhile
    EnableScrollBar(window, SB_VERT, wanted.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

bool SheetState::auto_save(const GameRecord& record) {
    const Settings& s = settings();
    std::string error;
    if (auto_save_csv(record, s.auto_save_path, s.app_folder, &error)) return true;
    show_error(error);
    return false;
}

// The window's user data points at this slot; message handlers take a share
// of the state for as long as they run.
using StateSlot = std::shared_ptr<SheetState>;

StateSlot* slot_of(HWND window) {
    return reinterpret_cast<StateSlot*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

SheetState* state_of(HWND window) {
    StateSlot* slot = slot_of(window);
    return slot ? slot->get() : nullptr;
}

// --- message handlers ---------------------------------------------------------

bool on_create(HWND window, const CREATESTRUCTA& create) {
    auto* given = static_cast<GameRecord*>(create.lpCreateParams);
    if (!given) given = live_record_of(create.hwndParent);
    std::unique_ptr<StateSlot> slot;
    try {
        slot = std::make_unique<StateSlot>(std::make_shared<SheetState>(window, given));
    } catch (const std::bad_alloc&) {
        show_system_error(create.hwndParent, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    SheetState& st = **slot;
    ImmAssociateContext(window, nullptr);
    if (!st.rebuild_fonts_and_buffer() || !build_sheet_colours(st.tools)) {
        show_system_error(create.hwndParent, GetLastError());
        return false;
    }
    // The entry exists before the scroll bar first shows, which already resizes the sheet.
    st.entry =
        CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_TABSTOP, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryId)), create.hInstance, nullptr);
    if (!st.entry) return false;
    SendMessageA(st.entry, EM_LIMITTEXT, kEntryLimit, 0);
    st.give_entry_font();
    StateSlot shared = *slot;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(slot.release()));
    Batch batch(shared);
    st.update_scroll_bar();
    st.mark_stale(nullptr);
    return true;
}

void on_destroy(HWND window) {
    std::unique_ptr<StateSlot> slot(slot_of(window));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    KillTimer(window, kComVisitTimer);
    // A handler further down the stack may still hold the state: it must not draw any more.
    if (slot && *slot) (*slot)->window_gone = true;
}

// Fonts and back buffer made again for the client size and view mode, and
// everything that follows them: scroll bar, the whole sheet, the entry.
void refit(SheetState& st, bool scroll_entry_into_view) {
    st.rebuild_fonts_and_buffer();
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.give_entry_font();
    st.reposition_entry(scroll_entry_into_view, false);
}

void on_size(SheetState& st) {
    if (!st.buffer.dc()) return;
    refit(st, true);
}

void on_paint(SheetState& st) {
    // Painted before the message that changed the sheet is over (something
    // else updated the screen): still the sheet as it stands.
    st.render_if_pending();
    PaintScope paint(st.window);
    st.buffer.copy_to(paint.dc(), paint.rect());
}

// Scrolls to a new first row the way the scroll bar does, then puts the entry
// back over its cell (hidden when that scrolled out of sight).
void scroll_view(SheetState& st, int new_top) {
    new_top = std::clamp(new_top, 0, st.max_top_row);
    st.scroll_to(new_top);
    st.reposition_entry(false, false);
}

void on_vscroll(SheetState& st, int code) {
    if (st.match.disabled()) return;
    const int page = st.tools.row_height > 0 ? st.client().bottom / st.tools.row_height : 1;
    int top = st.top_row;
    switch (code) {
    case SB_LINEUP: top = std::max(top - 1, 0); break;
    case SB_LINEDOWN:
        if (top < st.max_top_row) ++top;
        break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(st.window, SB_VERT, &info);
        top = info.nTrackPos;
        break;
    }
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = st.max_top_row; break;
    default: return;
    }
    scroll_view(st, top);
}

void on_mouse_wheel(SheetState& st, int delta) {
    on_vscroll(st, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void on_button_down(SheetState& st, int x, int y) {
    if (st.match.disabled()) return;
    if (!st.match.click(st.geometry(), x, y)) SetFocus(st.window);
}

void on_key_down(SheetState& st, UINT key) {
    if (st.match.disabled()) return;
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) st.notify(kNotifyModifierKey, 0, 0);
    if (st.match.shown().finished != 1) {
        st.reposition_entry(false, false);
        return;
    }
    // A finished leg has no entry field: the keys look through it instead.
    switch (key) {
    case VK_PRIOR: on_vscroll(st, SB_PAGEUP); break;
    case VK_NEXT: on_vscroll(st, SB_PAGEDOWN); break;
    case VK_UP: on_vscroll(st, SB_LINEUP); break;
    case VK_DOWN: on_vscroll(st, SB_LINEDOWN); break;
    }
}

void on_command(SheetState& st, int id) {
    if (st.match.disabled()) return;
    switch (id) {
    case kCmdPageUp: on_vscroll(st, SB_PAGEUP); return;
    case kCmdPageDown: on_vscroll(st, SB_PAGEDOWN); return;
    case kCmdCheckOut: {
        SheetState::ModalScope modal(st);
        run_checkout_dialog(st.window, st.match.checkout_score());
        return;
    }
    default: st.match.run_command(id); return;
    }
}

// The COM player's turn: its visit is played once the message loop is back.
void on_com_timer(SheetState& st) {
    KillTimer(st.window, kComVisitTimer);
    EnableWindow(st.main_window(), TRUE);
    st.match.run_command(kCmdEscape);
    const LegRecord& leg = st.match.shown();
    const int player = leg.turn;
    if (leg.finished == 1 || st.match.record().player[static_cast<size_t>(player)].com != 1) return;
    // The visit before is kept before this one begins.
    st.tell_game_settled();
    {
        SheetState::ModalScope modal(st);
        run_com_visit(st.window, st.match.record(), player, st.dart_interval);
    }
    // A stopped visit finishes the leg without a notification.
    st.game_changed = true;
    st.match.apply_com_result(player);
}

void on_show_leg(SheetState& st, int leg) {
    st.match.show_leg(leg);
    st.top_row = 0;
    st.update_scroll_bar();
    st.repaint_from_visible_row(0);
    st.reposition_entry(false, true);
}

void on_view_mode(SheetState& st, bool view_mode) {
    st.view_mode = view_mode;
    refit(st, false);
}

void on_appearance(SheetState& st) {
    build_sheet_colours(st.tools);
    SendMessageA(st.entry, kEntryRecolor, 0, 0);
    refit(st, false);
}

void on_disable(SheetState& st, bool disabled) {
    st.match.set_disabled(disabled);
    EnableWindow(st.entry, disabled ? FALSE : TRUE);
}

LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, *reinterpret_cast<CREATESTRUCTA*>(lparam)) ? 0 : -1;
    StateSlot* slot = slot_of(window);
    if (!slot || !*slot) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY: on_destroy(window); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_PAINT: on_paint(**slot); return 0;
    case WM_PRINTCLIENT:
        (*slot)->render_if_pending();
        (*slot)->buffer.copy_to(reinterpret_cast<HDC>(wparam), (*slot)->client());
        return 0;
    }
    // Whatever this message changes reaches the screen once, as it ends.
    StateSlot keep = *slot;
    SheetState* st = keep.get();
    Batch batch(keep);
    switch (message) {
    case WM_SIZE: on_size(*st); return 0;
    case WM_SETFOCUS:
        if (!st->match.disabled()) st->reposition_entry(false, false);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_VSCROLL: on_vscroll(*st, LOWORD(wparam)); return 0;
    case WM_MOUSEWHEEL: on_mouse_wheel(*st, GET_WHEEL_DELTA_WPARAM(wparam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: on_button_down(*st, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); return 0;
    case WM_RBUTTONUP: st->notify(kNotifyContextMenu, 0, 0); return 0;
    case WM_CONTEXTMENU: st->notify(kNotifyContextMenu, 0, 0); return 0;
    case WM_KEYDOWN: on_key_down(*st, static_cast<UINT>(wparam)); return 0;
    case WM_SYSKEYDOWN:
        if (wparam == VK_MENU && !st->match.disabled()) st->notify(kNotifyModifierKey, 0, 0);
        break;
    case WM_COMMAND: on_command(*st, LOWORD(wparam)); return 0;
    case WM_TIMER:
        if (wparam == kComVisitTimer) on_com_timer(*st);
        return 0;
    case kScoreSheetStartLeg: st->match.start_leg(); return 0;
    case kScoreSheetLegOver: return st->match.leg_over();
    case kScoreSheetShowLeg: on_show_leg(*st, static_cast<int>(wparam)); return 0;
    case kScoreSheetRedraw: st->repaint_from_visible_row(static_cast<int>(wparam)); return 0;
    case kScoreSheetTemplate:
        if (!st->match.disabled()) st->match.enter_template(static_cast<int>(wparam), lparam == 0);
        return 0;
    case kScoreSheetViewMode: on_view_mode(*st, wparam == 1); return 0;
    case kScoreSheetAppearance: on_appearance(*st); return 0;
    case kScoreSheetDisable: on_disable(*st, wparam == 1); return 0;
    case kScoreSheetSetRecord:
        if (lparam) st->match.set_record(*reinterpret_cast<GameRecord*>(lparam));
        return 0;
    case kScoreSheetResume: st->match.resume(static_cast<int>(wparam), static_cast<int>(lparam)); return 0;
    case kScoreSheetModifier: return SendMessageA(GetParent(window), message, wparam, lparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK score_sheet_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // The sheet stays as it was drawn.
    return guarded([&] { return handle_message(window, message, wparam, lparam); },
                   [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_score_sheet(HINSTANCE instance) {
    return register_child_class(instance, kScoreSheetClass, score_sheet_proc, 0, COLOR_WINDOW);
}

HWND create_score_sheet(HWND parent, GameRecord* record, int control_id) {
    return CreateWindowExA(0, kScoreSheetClass, "",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), record);
}

bool score_sheet_info(HWND sheet, ScoreSheetInfo* info) {
    SheetState* st = state_of(sheet);
    if (!st || !info) return false;
    info->entry = st->entry;
    info->top_row = st->top_row;
    info->max_top_row = st->max_top_row;
    info->sel_player = st->match.sel_player();
    info->sel_round = st->match.sel_round();
    info->shown_leg = st->match.shown_leg();
    info->header_height = st->tools.header_height;
    info->row_height = st->tools.row_height;
    info->view_mode = st->view_mode;
    info->disabled = st->match.disabled();
    info->record = &st->match.record();
    return true;
}

void set_score_sheet_dart_interval(HWND sheet, UINT milliseconds) {
    if (SheetState* st = state_of(sheet)) st->dart_interval = milliseconds;
}

} // namespace tx9
