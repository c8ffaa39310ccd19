#include "app/win/entry_control.h"

#include "core/win/beep.h"
#include "core/win/guard.h"
#include "core/win/gdi.h"
#include "settings/settings.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <imm.h>
#include <windowsx.h>

namespace tx9 {

namespace {

constexpr int kNone = -1;
constexpr int kCaretWidth = 2;

enum UndoKind : int { kUndoEmpty = 0, kUndoInsertion = 1, kUndoDeletion = 2 };

struct UndoRecord {
    int kind = kUndoEmpty;
    int position = 0; // visible index where the change happened
    int length = 0;
    // A deletion keeps its text from the start; an insertion only from its first undo.
    std::optional<std::string> saved;
};

bool all_digits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool key_held(int vk) {
    return GetKeyState(vk) < 0;
}

} // namespace

struct EntryState {
    ~EntryState() {
        // The font copy is deleted after this body runs; it must not be selected then.
        if (font && buffer.dc()) SelectObject(buffer.dc(), previous_font);
    }

    std::string text; // committed text
    int limit = 0;    // 0 = no limit

    std::string pending; // typed at the insertion point, not yet committed
    int insertion_point = kNone;
    int overwritten = 0; // committed characters after the insertion point it replaces
    int deletion_start = kNone;
    int deletion_length = 0;

    std::vector<UndoRecord> undo; // records before undo_position can be undone, the rest redone
    int undo_position = 0;

    int caret = 0;
    int anchor = 0;

    BackBuffer buffer;
    Font font;
    HGDIOBJ previous_font = nullptr;
    int line_height = 0;
    int average_width = 0;
    bool fixed_pitch = false;
    bool bold = false;
    Brush background;
    Pen ellipse_pen;
    int caret_width = 0; // width of the caret as created; 0 when there is none

    bool modified = false;
    bool read_only = false;
    bool insert_mode = true;
    bool dragging = false;

    int visible_length() const {
        return static_cast<int>(text.size() + pending.size()) - overwritten - deletion_length;
    }
    bool has_insertion() const { return insertion_point != kNone; }
    bool has_deletion() const { return deletion_start != kNone; }
    bool has_selection() const { return caret != anchor; }
    int selection_start() const { return std::min(caret, anchor); }
    int selection_end() const { return std::max(caret, anchor); }
    bool measured_by_average() const { return fixed_pitch && !bold; }

    std::string visible_text() const {
        if (has_insertion())
            return text.substr(0, insertion_point) + pending + text.substr(insertion_point + overwritten);
        if (has_deletion())
            return text.substr(0, deletion_start) + text.substr(deletion_start + deletion_length);
        return text;
    }
};

namespace {

EntryState* state_of(HWND hwnd) {
    return reinterpret_cast<EntryState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void repaint(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

void notify_parent(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (HWND parent = GetParent(hwnd)) SendMessageA(parent, message, wparam, lparam);
}

// ---- Editing ----------------------------------------------------------------

void record_undo(EntryState& s, UndoRecord record) {
    s.undo.resize(s.undo_position); // whatever could have been redone is gone now
    s.undo.push_back(std::move(record));
    ++s.undo_position;
}

void commit(EntryState& s, bool recording = true) {
    if (s.has_insertion()) {
        if (recording) {
            if (s.overwritten > 0)
                record_undo(s, {kUndoDeletion, s.insertion_point, s.overwritten,
                                s.text.substr(s.insertion_point, s.overwritten)});
            record_undo(
                s, {kUndoInsertion, s.insertion_point, static_cast<int>(s.pending.size()), std::nullopt});
        }
        s.text.replace(s.insertion_point, s.overwritten, s.pending);
        s.pending.clear();
        s.pending.shrink_to_fit();
        s.insertion_point = kNone;
        s.overwritten = 0;
    }
    if (s.has_deletion()) {
        if (recording)
            record_undo(s, {kUndoDeletion, s.deletion_start, s.deletion_length,
                            s.text.substr(s.deletion_start, s.deletion_length)});
        s.text.erase(s.deletion_start, s.deletion_length);
        s.deletion_start = kNone;
        s.deletion_length = 0;
    }
}

// Deletes the visible range [start, end); consecutive Delete or Backspace
// presses grow one pending run, which becomes one undo step.
void delete_range(HWND hwnd, EntryState& s, int start, int end, bool recording = true) {
    if (s.has_insertion()) commit(s, recording);
    if (s.has_deletion() && s.deletion_start != start && s.deletion_start != end) commit(s, recording);
    end = std::min(end, s.visible_length());
    if (start < end) {
        // A new run starts from length 0; joined at either side, the run's
        // committed characters stay contiguous.
        s.deletion_start = start;
        s.deletion_length += end - start;
        s.modified = true;
    }
    repaint(hwnd);
}

void delete_selection(HWND hwnd, EntryState& s) {
    int start = s.selection_start();
    int end = s.selection_end();
    delete_range(hwnd, s, start, end);
    s.caret = s.anchor = start;
}

// Inserts at the caret, overwriting when `insert` is false; refuses anything
// but digits and anything past the limit with a beep.
bool insert_text(HWND hwnd, EntryState& s, const std::string& chars, bool insert, bool recording = true) {
    if (!all_digits(chars)) {
        beep();
        return false;
    }
    if (chars.empty()) return false;
    // The limit is checked on the length the text would have, before anything
    // changes: a paste longer than the room left is refused whole and a
    // selection it would have replaced stays.
    int count = static_cast<int>(chars.size());
    if (s.limit > 0) {
        int length = s.visible_length() - (s.selection_end() - s.selection_start());
        int replaced = insert ? 0 : std::min(count, length - s.selection_start());
        if (length + count - replaced > s.limit) {
            beep();
            return false;
        }
    }
    if (s.has_selection()) delete_selection(hwnd, s);
    if (s.has_deletion()) commit(s, recording);
    // Typing continues the pending insertion only right where it ends.
    if (s.has_insertion() && s.caret != s.insertion_point + static_cast<int>(s.pending.size()))
        commit(s, recording);

    if (!s.has_insertion()) s.insertion_point = s.caret;
    s.pending += chars;
    s.caret += count;
    s.anchor = s.caret;
    if (!insert) {
        int replaceable = static_cast<int>(s.text.size()) - s.insertion_point - s.overwritten;
        s.overwritten += std::max(0, std::min(count, replaceable));
    }
    s.modified = true;
    repaint(hwnd);
    return true;
}

// Everything that changes the text beeps and does nothing in a read-only control.
bool refuse_when_read_only(const EntryState& s) {
    if (s.read_only) beep();
    return s.read_only;
}

bool undo(HWND hwnd, EntryState& s) {
    if (refuse_when_read_only(s)) return false;
    commit(s);
    if (s.undo_position == 0) return false;
    UndoRecord& record = s.undo[s.undo_position - 1];
    s.caret = s.anchor = record.position;
    if (record.kind == kUndoInsertion) {
        if (!record.saved) record.saved = s.text.substr(record.position, record.length);
        delete_range(hwnd, s, record.position, record.position + record.length, false);
    } else if (record.kind == kUndoDeletion) {
        insert_text(hwnd, s, record.saved.value_or(std::string()), true, false);
    }
    commit(s, false);
    --s.undo_position;
    repaint(hwnd);
    return true;
}

bool redo(HWND hwnd, EntryState& s) {
    if (refuse_when_read_only(s)) return false;
    commit(s);
    if (s.undo_position >= static_cast<int>(s.undo.size())) return false;
    const UndoRecord& record = s.undo[s.undo_position];
    if (record.kind == kUndoEmpty) return false;
    s.caret = s.anchor = record.position;
    if (record.kind == kUndoInsertion)
        insert_text(hwnd, s, record.saved.value_or(std::string()), true, false);
    else
        delete_range(hwnd, s, record.position, record.position + record.length, false);
    commit(s, false);
    ++s.undo_position;
    repaint(hwnd);
    return true;
}

// ---- Clipboard ---------------------------------------------------------------

void copy(HWND hwnd, EntryState& s) {
    commit(s);
    if (!s.has_selection()) return;
    std::string selected = s.text.substr(s.selection_start(), s.selection_end() - s.selection_start());
    if (!OpenClipboard(hwnd)) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, selected.size() + 1)) {
        bool placed = false;
        if (void* bytes = GlobalLock(memory)) {
            std::copy(selected.c_str(), selected.c_str() + selected.size() + 1, static_cast<char*>(bytes));
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!placed) GlobalFree(memory);
    }
    CloseClipboard();
}

void clear(HWND hwnd, EntryState& s) {
    if (refuse_when_read_only(s)) return;
    if (s.has_selection()) delete_selection(hwnd, s);
}

void cut(HWND hwnd, EntryState& s) {
    if (refuse_when_read_only(s)) return;
    copy(hwnd, s);
    clear(hwnd, s);
}

void paste(HWND hwnd, EntryState& s) {
    if (refuse_when_read_only(s)) return;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(hwnd)) return;
    std::optional<std::string> text;
    if (HANDLE memory = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(memory))) {
            text = std::string(bytes);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    // A paste always inserts, whatever the typing mode.
    if (text) insert_text(hwnd, s, *text, true);
}

// ---- Measuring and drawing ------------------------------------------------------

int text_width(const EntryState& s, const char* chars, int count) {
    if (count <= 0) return 0;
    if (s.measured_by_average()) return s.average_width * count;
    SIZE size{};
    GetTextExtentPoint32A(s.buffer.dc(), chars, count, &size);
    return size.cx;
}

struct TextLayout {
    std::string text;
    int x = 0;
    int y = 0;
};

TextLayout layout(const EntryState& s) {
    TextLayout result;
    result.text = s.visible_text();
    int width = s.buffer.width();
    int height = s.buffer.height();
    int room = width - text_width(s, result.text.c_str(), static_cast<int>(result.text.size()));
    // Half rounded up, for negative room as well.
    int half = room >= 0 ? (room + 1) / 2 : -((-room) / 2);
    result.x = half - 1;
    result.y = (height - s.line_height) / 2 - 1;
    return result;
}

int position_from_x(const EntryState& s, int x) {
    TextLayout text = layout(s);
    int left = text.x;
    for (int i = 0; i < static_cast<int>(text.text.size()); ++i) {
        int width = text_width(s, &text.text[i], 1);
        if (left + width > x) return x <= left + width / 2 ? i : i + 1;
        left += width;
    }
    return static_cast<int>(text.text.size());
}

void create_caret(HWND hwnd, EntryState& s, int width) {
    DestroyCaret();
    CreateCaret(hwnd, nullptr, width, s.line_height);
    ShowCaret(hwnd);
    s.caret_width = width;
}

void render(EntryState& s) {
    HDC dc = s.buffer.dc();
    RECT client{0, 0, s.buffer.width(), s.buffer.height()};
    FillRect(dc, &client, s.background.get());
    if (s.visible_length() >= 3) {
        SelectScope brush(dc, s.background.get());
        SelectScope pen(dc, s.ellipse_pen.get());
        Ellipse(dc, 1, 1, client.right - 1, client.bottom - 1);
    }

    TextLayout text = layout(s);
    const Settings& options = settings();
    int runs[4] = {0, s.selection_start(), s.selection_end(), static_cast<int>(text.text.size())};
    for (int run = 0; run < 3; ++run) {
        int from = std::clamp(runs[run], 0, runs[3]);
        int to = std::clamp(runs[run + 1], from, runs[3]);
        if (from == to) continue;
        bool selected = run == 1;
        if (selected) {
            SetTextColor(dc, options.colors[kColorInputSelectText]);
            SetBkColor(dc, options.colors[kColorInputSelectBackground]);
            SetBkMode(dc, OPAQUE);
        } else {
            SetTextColor(dc, options.colors[kColorInputText]);
            SetBkMode(dc, TRANSPARENT);
        }
        TextOutA(dc, text.x + text_width(s, text.text.c_str(), from), text.y, text.text.c_str() + from,
                 to - from);
    }
}

void place_caret(HWND hwnd, EntryState& s) {
    if (GetFocus() != hwnd) return;
    TextLayout text = layout(s);
    int caret = std::clamp(s.caret, 0, static_cast<int>(text.text.size()));
    if (!s.insert_mode) {
        // The overwrite caret covers the character it will replace.
        int width = s.average_width;
        if (!s.measured_by_average() && caret < static_cast<int>(text.text.size())) {
            int measured = text_width(s, &text.text[caret], 1);
            if (measured > 0) width = measured;
        }
        if (width != s.caret_width) create_caret(hwnd, s, width);
    }
    SetCaretPos(text.x + text_width(s, text.text.c_str(), caret), text.y);
}

void measure(HWND hwnd, EntryState& s) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(s.buffer.dc(), &metrics);
    s.line_height = metrics.tmHeight;
    s.average_width = metrics.tmAveCharWidth;
    // The flag is set for a variable-pitch font.
    s.fixed_pitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    s.bold = metrics.tmWeight >= FW_BOLD;
    if (GetFocus() == hwnd) create_caret(hwnd, s, kCaretWidth);
    repaint(hwnd);
}

void make_brushes(EntryState& s) {
    const Settings& options = settings();
    s.background.reset(CreateSolidBrush(options.colors[kColorInputBackground]));
    s.ellipse_pen.reset(CreatePen(PS_SOLID, 2, options.colors[kColorTonCircle]));
}

// ---- Message handlers ---------------------------------------------------------

LRESULT on_create(HWND hwnd, const CREATESTRUCTA& create) {
    auto s = std::make_unique<EntryState>();
    if (!s->buffer.resize(hwnd, create.cx, create.cy)) return -1;
    SetTextAlign(s->buffer.dc(), TA_LEFT | TA_TOP);
    SetTextCharacterExtra(s->buffer.dc(), 0);
    make_brushes(*s);
    ImmAssociateContext(hwnd, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s.release()));
    measure(hwnd, *state_of(hwnd));
    return 0;
}

void on_destroy(HWND hwnd) {
    std::unique_ptr<EntryState> s(state_of(hwnd));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

void on_paint(HWND hwnd, EntryState& s) {
    PaintScope paint(hwnd);
    render(s);
    s.buffer.copy_to(paint.dc(), paint.rect());
    place_caret(hwnd, s);
}

void on_print_client(EntryState& s, HDC target) {
    render(s);
    RECT all{0, 0, s.buffer.width(), s.buffer.height()};
    s.buffer.copy_to(target, all);
}

void on_set_font(HWND hwnd, EntryState& s, HFONT given) {
    HDC dc = s.buffer.dc();
    Font copy;
    LOGFONTA description{};
    if (given && GetObjectA(given, sizeof description, &description))
        copy.reset(CreateFontIndirectA(&description));
    if (s.font) {
        SelectObject(dc, s.previous_font);
        s.font.reset();
    }
    if (copy) {
        s.previous_font = SelectObject(dc, copy.get());
        s.font = std::move(copy);
    }
    measure(hwnd, s);
}

void on_set_text(HWND hwnd, EntryState& s, const char* text) {
    s.text = text ? text : "";
    s.pending.clear();
    s.insertion_point = kNone;
    s.overwritten = 0;
    s.deletion_start = kNone;
    s.deletion_length = 0;
    s.undo.clear();
    s.undo_position = 0;
    s.caret = s.anchor = 0;
    s.modified = true;
    repaint(hwnd);
}

LRESULT on_get_text(EntryState& s, WPARAM size, char* buffer) {
    commit(s);
    if (size == 0 || !buffer) return 0;
    size_t count = std::min<size_t>(size - 1, s.text.size());
    std::copy(s.text.begin(), s.text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

void on_set_sel(HWND hwnd, EntryState& s, WPARAM first, LPARAM second) {
    commit(s);
    // Taken as unsigned, so -1 reaches past the end like any large value.
    auto cut = [&s](DWORD value) { return static_cast<int>(std::min<DWORD>(value, s.visible_length())); };
    int a = cut(static_cast<DWORD>(first));
    int b = cut(static_cast<DWORD>(second));
    s.anchor = std::min(a, b);
    s.caret = std::max(a, b);
    repaint(hwnd);
}

LRESULT on_get_sel(const EntryState& s, WPARAM start_out, LPARAM end_out) {
    if (!start_out || !end_out) return 0;
    *reinterpret_cast<DWORD*>(start_out) = s.selection_start();
    *reinterpret_cast<DWORD*>(end_out) = s.selection_end();
    return MAKELRESULT(s.selection_start(), s.selection_end());
}

// Home, End, Left, Right: the anchor follows unless Shift extends the selection.
void move_caret(HWND hwnd, EntryState& s, int caret, bool extend) {
    s.caret = std::clamp(caret, 0, s.visible_length());
    if (!extend) s.anchor = s.caret;
    repaint(hwnd);
}

void on_key_down(HWND hwnd, EntryState& s, UINT key) {
    bool shift = key_held(VK_SHIFT);
    bool ctrl = key_held(VK_CONTROL);
    switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU: notify_parent(hwnd, kEntryModifierDown, 0, 0); break;
    case 'A':
        if (ctrl) {
            commit(s);
            s.anchor = 0;
            s.caret = s.visible_length();
            repaint(hwnd);
        }
        break;
    case VK_BACK:
        if (s.read_only)
            beep();
        else if (s.has_selection())
            delete_selection(hwnd, s);
        else if (s.caret > 0) {
            s.caret = s.anchor = s.caret - 1;
            delete_range(hwnd, s, s.caret, s.caret + 1);
        }
        break;
    case VK_DELETE:
        if (s.read_only)
            beep();
        else if (shift)
            cut(hwnd, s);
        else if (s.has_selection())
            delete_selection(hwnd, s);
        else
            delete_range(hwnd, s, s.caret, s.caret + 1);
        break;
    case VK_INSERT:
        if (ctrl)
            copy(hwnd, s);
        else if (shift)
            paste(hwnd, s);
        else {
            s.insert_mode = !s.insert_mode;
            if (GetFocus() == hwnd) create_caret(hwnd, s, kCaretWidth);
            repaint(hwnd);
        }
        break;
    case VK_HOME:
        commit(s);
        move_caret(hwnd, s, 0, shift);
        break;
    case VK_END:
        commit(s);
        move_caret(hwnd, s, s.visible_length(), shift);
        break;
    case VK_LEFT:
        commit(s);
        if (!shift && s.caret == 0 && s.anchor == 0)
            notify_parent(hwnd, WM_COMMAND, kEntryCellLeft, 0);
        else if (!shift && s.has_selection())
            move_caret(hwnd, s, s.selection_start(), false);
        else
            move_caret(hwnd, s, s.caret - 1, shift);
        break;
    case VK_RIGHT: {
        commit(s);
        int end = s.visible_length();
        if (!shift && s.caret == end && s.anchor == end)
            notify_parent(hwnd, WM_COMMAND, kEntryCellRight, 0);
        else if (!shift && s.has_selection())
            move_caret(hwnd, s, s.selection_end(), false);
        else
            move_caret(hwnd, s, s.caret + 1, shift);
        break;
    }
    case 'C':
        if (ctrl) copy(hwnd, s);
        break;
    case 'V':
        if (ctrl) paste(hwnd, s);
        break;
    case 'X':
        if (ctrl) cut(hwnd, s);
        break;
    case 'Z':
        if (ctrl && shift)
            redo(hwnd, s);
        else if (ctrl)
            undo(hwnd, s);
        break;
    case 'Y':
        if (ctrl) redo(hwnd, s);
        break;
    default: break;
    }
}

void on_char(HWND hwnd, EntryState& s, char c) {
    // Ctrl+letter and Backspace arrive here as control characters too; their
    // keys were handled (or refused) already, so they stay silent.
    if (key_held(VK_CONTROL) || c == '\b' || c == 27) return;
    if (refuse_when_read_only(s)) return;
    insert_text(hwnd, s, std::string(1, c), s.insert_mode);
}

void on_left_down(HWND hwnd, EntryState& s, int x, bool shift) {
    SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    SetFocus(hwnd);
    commit(s);
    SetCapture(hwnd);
    s.dragging = true;
    s.caret = position_from_x(s, x);
    if (!shift) s.anchor = s.caret;
    repaint(hwnd);
}

void on_mouse_move(HWND hwnd, EntryState& s, int x, WPARAM keys) {
    SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    if (!(keys & MK_LBUTTON) || !s.dragging) return;
    s.caret = position_from_x(s, x);
    repaint(hwnd);
}

void on_left_up(HWND hwnd, EntryState& s, int x) {
    SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    // Only a press in the control moves the caret on release, so the up that
    // ends a double click keeps the word it selected.
    bool was_dragging = s.dragging;
    s.dragging = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (was_dragging) {
        s.caret = position_from_x(s, x);
        repaint(hwnd);
    }
}

void on_double_click(HWND hwnd, EntryState& s) {
    SetFocus(hwnd);
    commit(s);
    s.anchor = s.caret;
    const std::string& text = s.text;
    int at = s.caret;
    if (at < static_cast<int>(text.size())) {
        auto digit = [&text](int i) { return text[i] >= '0' && text[i] <= '9'; };
        int start = at;
        int end = at + 1;
        if (digit(at)) {
            while (start > 0 && digit(start - 1))
                --start;
            while (end < static_cast<int>(text.size()) && digit(end))
                ++end;
        }
        s.anchor = start;
        s.caret = end;
    }
    repaint(hwnd);
}

void on_right_down(HWND hwnd, EntryState& s, int x) {
    commit(s);
    SetFocus(hwnd);
    int position = position_from_x(s, x);
    bool inside = s.has_selection() && position >= s.selection_start() && position <= s.selection_end();
    if (!inside) s.caret = s.anchor = position;
    repaint(hwnd);
}

LRESULT handle(HWND hwnd, EntryState& s, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        if (GetFocus() == hwnd) DestroyCaret();
        return 0;
    case WM_NCDESTROY: on_destroy(hwnd); return DefWindowProcA(hwnd, message, wparam, lparam);
    case WM_PAINT: on_paint(hwnd, s); return 0;
    case WM_PRINTCLIENT: on_print_client(s, reinterpret_cast<HDC>(wparam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) {
            s.buffer.resize(hwnd, LOWORD(lparam), HIWORD(lparam));
            repaint(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        create_caret(hwnd, s, kCaretWidth);
        repaint(hwnd);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        s.caret_width = 0;
        return 0;
    case WM_SETTEXT: on_set_text(hwnd, s, reinterpret_cast<const char*>(lparam)); return TRUE;
    case WM_GETTEXT: return on_get_text(s, wparam, reinterpret_cast<char*>(lparam));
    case WM_GETTEXTLENGTH: return s.visible_length();
    case WM_SETFONT: on_set_font(hwnd, s, reinterpret_cast<HFONT>(wparam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font.get());
    case EM_LIMITTEXT: s.limit = static_cast<int>(wparam); return 0;
    case EM_SETSEL: on_set_sel(hwnd, s, wparam, lparam); return 0;
    case EM_GETSEL: return on_get_sel(s, wparam, lparam);
    case EM_GETMODIFY: return s.modified ? 1 : 0;
    case EM_SETMODIFY: s.modified = wparam != 0; return 0;
    case EM_CANUNDO: return s.undo_position > 0 || s.has_insertion() || s.has_deletion();
    case EM_UNDO:
    case WM_UNDO: return undo(hwnd, s);
    case kEntryRedo: return redo(hwnd, s);
    case kEntryCanRedo:
        return s.undo_position < static_cast<int>(s.undo.size()) &&
               s.undo[s.undo_position].kind != kUndoEmpty;
    case WM_CUT: cut(hwnd, s); return 0;
    case WM_COPY: copy(hwnd, s); return 0;
    case WM_PASTE: paste(hwnd, s); return 0;
    case WM_CLEAR: clear(hwnd, s); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case kEntryGetState:
        if (lparam) *reinterpret_cast<EntryState**>(lparam) = &s;
        return 0;
    case kEntryMeasure: measure(hwnd, s); return 0;
    case kEntryGetReadOnly: return s.read_only ? 1 : 0;
    case kEntrySetReadOnly: s.read_only = wparam != 0; return 0;
    case kEntryRecolor:
        make_brushes(s);
        repaint(hwnd);
        return 0;
    case WM_KEYDOWN: on_key_down(hwnd, s, static_cast<UINT>(wparam)); return 0;
    case WM_SYSKEYDOWN:
        if (wparam == VK_MENU || wparam == VK_SHIFT || wparam == VK_CONTROL)
            notify_parent(hwnd, kEntryModifierDown, 0, 0);
        return DefWindowProcA(hwnd, message, wparam, lparam);
    case WM_CHAR: on_char(hwnd, s, static_cast<char>(wparam)); return 0;
    case WM_LBUTTONDOWN: on_left_down(hwnd, s, GET_X_LPARAM(lparam), (wparam & MK_SHIFT) != 0); return 0;
    case WM_MOUSEMOVE: on_mouse_move(hwnd, s, GET_X_LPARAM(lparam), wparam); return 0;
    case WM_LBUTTONUP: on_left_up(hwnd, s, GET_X_LPARAM(lparam)); return 0;
    case WM_CAPTURECHANGED: s.dragging = false; return 0;
    case WM_LBUTTONDBLCLK: on_double_click(hwnd, s); return 0;
    case WM_RBUTTONDOWN: on_right_down(hwnd, s, GET_X_LPARAM(lparam)); return 0;
    case WM_RBUTTONUP:
        SetFocus(hwnd);
        notify_parent(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lparam);
        return 0;
    case WM_MOUSEWHEEL:
        if (HWND parent = GetParent(hwnd)) return SendMessageA(parent, message, wparam, lparam);
        return 0;
    default: return DefWindowProcA(hwnd, message, wparam, lparam);
    }
}

LRESULT CALLBACK entry_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> LRESULT {
            if (message == WM_CREATE) return on_create(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lparam));
            EntryState* s = state_of(hwnd);
            if (!s) return DefWindowProcA(hwnd, message, wparam, lparam);
            return handle(hwnd, *s, message, wparam, lparam);
        },
        // Out of memory while growing the text or the undo list: the edit is dropped.
        [message] { return message == WM_CREATE ? -1 : 0; });
}

} // namespace

bool register_entry_control(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = entry_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kEntryControlClass;
    return RegisterClassExA(&wc) != 0;
}

} // namespace tx9
