#include "app/win/entry_control.h"

#include "app/entry_model.h"

#include "core/win/beep.h"
#include "core/win/guard.h"
#include "core/win/gdi.h"
#include "settings/settings.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include <imm.h>
#include <windowsx.h>

namespace tx9 {

namespace {

constexpr int kCaretWidth = 2;

bool key_held(int vk) {
    return GetKeyState(vk) < 0;
}

} // namespace

struct EntryState {
    ~EntryState() {
        // The font copy is deleted after this body runs; it must not be selected then.
        if (font && buffer.dc()) SelectObject(buffer.dc(), previous_font);
    }

    EntryModel model;

    // The buffer only grows: the entry takes the width of the cell it stands
    // on, which differs by a pixel between the players, and a new bitmap at
    // every move would cost more than the drawing. width by height is the client.
    BackBuffer buffer;
    int width = 0, height = 0;
    Font font;
    HGDIOBJ previous_font = nullptr;
    int line_height = 0;
    int average_width = 0;
    bool fixed_pitch = false;
    bool bold = false;
    Brush background;
    Pen ellipse_pen;
    int caret_width = 0; // width of the caret as created; 0 when there is none
    bool dragging = false;
    bool focused = false;       // between WM_SETFOCUS and WM_KILLFOCUS
    bool paint_pending = false; // invalidated since the last WM_PAINT

    bool measured_by_average() const { return fixed_pitch && !bold; }
};

namespace {

EntryState* state_of(HWND hwnd) {
    return reinterpret_cast<EntryState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Each invalidation is a trip to the window system; one until the next
// paint is enough, and the paint draws the whole control anyway.
void repaint(HWND hwnd) {
    EntryState* s = state_of(hwnd);
    if (s && s->paint_pending) return;
    if (s) s->paint_pending = true;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void notify_parent(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (HWND parent = GetParent(hwnd)) SendMessageA(parent, message, wparam, lparam);
}

// Shows what an edit did: a refusal beeps, anything else repaints.
bool show(HWND hwnd, EditResult result) {
    if (result == EditResult::refused)
        beep();
    else
        repaint(hwnd);
    return result == EditResult::changed;
}

// ---- Clipboard ---------------------------------------------------------------

void copy(HWND hwnd, EntryState& s) {
    std::string selected = s.model.copy();
    if (selected.empty()) return;
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

void cut(HWND hwnd, EntryState& s) {
    if (s.model.read_only()) {
        beep();
        return;
    }
    copy(hwnd, s);
    show(hwnd, s.model.clear());
}

void paste(HWND hwnd, EntryState& s) {
    if (s.model.read_only()) {
        beep();
        return;
    }
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(hwnd)) return;
    std::optional<std::string> text;
    if (HANDLE memory = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(memory))) {
            text = std::string(bytes);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    if (text) show(hwnd, s.model.paste(*text));
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
    result.text = s.model.visible_text();
    int width = s.width;
    int height = s.height;
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
    RECT client{0, 0, s.width, s.height};
    FillRect(dc, &client, s.background.get());
    if (s.model.length() >= 3) {
        SelectScope brush(dc, s.background.get());
        SelectScope pen(dc, s.ellipse_pen.get());
        Ellipse(dc, 1, 1, client.right - 1, client.bottom - 1);
    }

    TextLayout text = layout(s);
    const Settings& options = settings();
    int runs[4] = {0, s.model.selection_start(), s.model.selection_end(), static_cast<int>(text.text.size())};
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
    if (!s.focused) return;
    TextLayout text = layout(s);
    int caret = std::clamp(s.model.caret(), 0, static_cast<int>(text.text.size()));
    if (!s.model.insert_mode()) {
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
    if (s.focused) create_caret(hwnd, s, kCaretWidth);
    repaint(hwnd);
}

void make_brushes(EntryState& s) {
    const Settings& options = settings();
    s.background.reset(CreateSolidBrush(options.colors[kColorInputBackground]));
    s.ellipse_pen.reset(CreatePen(PS_SOLID, 2, options.colors[kColorTonCircle]));
}

// ---- Message handlers ---------------------------------------------------------

bool has_frame(HWND hwnd) {
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const LONG ex_style = GetWindowLongA(hwnd, GWL_EXSTYLE);
    return (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL)) ||
           (ex_style & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
}

LRESULT on_create(HWND hwnd, const CREATESTRUCTA& create) {
    auto s = std::make_unique<EntryState>();
    if (!s->buffer.resize(hwnd, create.cx, create.cy)) return -1;
    s->width = create.cx;
    s->height = create.cy;
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
    s.paint_pending = false;
    PaintScope paint(hwnd);
    render(s);
    s.buffer.copy_to(paint.dc(), paint.rect());
    place_caret(hwnd, s);
}

void on_print_client(EntryState& s, HDC target) {
    render(s);
    RECT all{0, 0, s.width, s.height};
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

LRESULT on_get_text(EntryState& s, WPARAM size, char* buffer) {
    const std::string& text = s.model.text();
    if (size == 0 || !buffer) return 0;
    size_t count = std::min<size_t>(size - 1, text.size());
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT on_get_sel(const EntryState& s, WPARAM start_out, LPARAM end_out) {
    if (!start_out || !end_out) return 0;
    *reinterpret_cast<DWORD*>(start_out) = s.model.selection_start();
    *reinterpret_cast<DWORD*>(end_out) = s.model.selection_end();
    return MAKELRESULT(s.model.selection_start(), s.model.selection_end());
}

void move_caret(HWND hwnd, EntryState& s, CaretKey key, bool shift) {
    switch (s.model.move(key, shift)) {
    case CellRequest::previous: notify_parent(hwnd, WM_COMMAND, kEntryCellLeft, 0); break;
    case CellRequest::next: notify_parent(hwnd, WM_COMMAND, kEntryCellRight, 0); break;
    case CellRequest::none: repaint(hwnd); break;
    }
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
            s.model.select_all();
            repaint(hwnd);
        }
        break;
    case VK_BACK: show(hwnd, s.model.backspace()); break;
    case VK_DELETE:
        if (shift && !s.model.read_only())
            cut(hwnd, s);
        else
            show(hwnd, s.model.delete_forward());
        break;
    case VK_INSERT:
        if (ctrl)
            copy(hwnd, s);
        else if (shift)
            paste(hwnd, s);
        else {
            s.model.toggle_insert_mode();
            if (s.focused) create_caret(hwnd, s, kCaretWidth);
            repaint(hwnd);
        }
        break;
    case VK_HOME: move_caret(hwnd, s, CaretKey::home, shift); break;
    case VK_END: move_caret(hwnd, s, CaretKey::end, shift); break;
    case VK_LEFT: move_caret(hwnd, s, CaretKey::left, shift); break;
    case VK_RIGHT: move_caret(hwnd, s, CaretKey::right, shift); break;
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
        if (ctrl) show(hwnd, shift ? s.model.redo() : s.model.undo());
        break;
    case 'Y':
        if (ctrl) show(hwnd, s.model.redo());
        break;
    default: break;
    }
}

void on_char(HWND hwnd, EntryState& s, char c) {
    // Ctrl+letter and Backspace arrive here as control characters too; their
    // keys were handled (or refused) already, so they stay silent.
    if (key_held(VK_CONTROL) || c == '\b' || c == 27) return;
    show(hwnd, s.model.type(c));
}

void on_left_down(HWND hwnd, EntryState& s, int x, bool shift) {
    SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    SetFocus(hwnd);
    SetCapture(hwnd);
    s.dragging = true;
    s.model.press_at(position_from_x(s, x), shift);
    repaint(hwnd);
}

void on_mouse_move(HWND hwnd, EntryState& s, int x, WPARAM keys) {
    SetCursor(LoadCursor(nullptr, IDC_IBEAM));
    if (!(keys & MK_LBUTTON) || !s.dragging) return;
    s.model.drag_to(position_from_x(s, x));
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
        s.model.drag_to(position_from_x(s, x));
        repaint(hwnd);
    }
}

void on_double_click(HWND hwnd, EntryState& s) {
    SetFocus(hwnd);
    s.model.select_word();
    repaint(hwnd);
}

void on_right_down(HWND hwnd, EntryState& s, int x) {
    SetFocus(hwnd);
    s.model.right_press_at(position_from_x(s, x));
    repaint(hwnd);
}

LRESULT handle(HWND hwnd, EntryState& s, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        if (s.focused) DestroyCaret();
        return 0;
    case WM_NCDESTROY: on_destroy(hwnd); return DefWindowProcA(hwnd, message, wparam, lparam);
    case WM_PAINT: on_paint(hwnd, s); return 0;
    case WM_NCPAINT:
        // Created without a frame, the control has nothing outside its client
        // area to draw; the system would still fetch the window's region for it.
        return has_frame(hwnd) ? DefWindowProcA(hwnd, message, wparam, lparam) : 0;
    case WM_PRINTCLIENT: on_print_client(s, reinterpret_cast<HDC>(wparam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) {
            s.width = LOWORD(lparam);
            s.height = HIWORD(lparam);
            if (s.width > s.buffer.width() || s.height > s.buffer.height())
                s.buffer.resize(hwnd, std::max(s.width, s.buffer.width()), std::max(s.height, s.buffer.height()));
            repaint(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        s.focused = true;
        create_caret(hwnd, s, kCaretWidth);
        repaint(hwnd);
        return 0;
    case WM_KILLFOCUS:
        s.focused = false;
        DestroyCaret();
        s.caret_width = 0;
        return 0;
    case WM_SETTEXT:
        s.model.set_text(lparam ? reinterpret_cast<const char*>(lparam) : "");
        repaint(hwnd);
        return TRUE;
    case WM_GETTEXT: return on_get_text(s, wparam, reinterpret_cast<char*>(lparam));
    case WM_GETTEXTLENGTH: return s.model.length();
    case WM_SETFONT: on_set_font(hwnd, s, reinterpret_cast<HFONT>(wparam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font.get());
    case EM_LIMITTEXT: s.model.set_limit(static_cast<int>(wparam)); return 0;
    case EM_SETSEL:
        s.model.select(static_cast<unsigned>(wparam), static_cast<unsigned>(lparam));
        repaint(hwnd);
        return 0;
    case EM_GETSEL: return on_get_sel(s, wparam, lparam);
    case EM_GETMODIFY: return s.model.modified() ? 1 : 0;
    case EM_SETMODIFY: s.model.set_modified(wparam != 0); return 0;
    case EM_CANUNDO: return s.model.can_undo();
    case EM_UNDO:
    case WM_UNDO: return show(hwnd, s.model.undo());
    case kEntryRedo: return show(hwnd, s.model.redo());
    case kEntryCanRedo: return s.model.can_redo();
    case WM_CUT: cut(hwnd, s); return 0;
    case WM_COPY: copy(hwnd, s); return 0;
    case WM_PASTE: paste(hwnd, s); return 0;
    case WM_CLEAR: show(hwnd, s.model.clear()); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case kEntryGetState:
        if (lparam) *reinterpret_cast<EntryState**>(lparam) = &s;
        return 0;
    case kEntryMeasure: measure(hwnd, s); return 0;
    case kEntryGetReadOnly: return s.model.read_only() ? 1 : 0;
    case kEntrySetReadOnly: s.model.set_read_only(wparam != 0); return 0;
    case kEntryRecolor:
        make_brushes(s);
        repaint(hwnd);
        return 0;
    case kEntryRepaint: repaint(hwnd); return 0;
    case kEntryHasFocus: return s.focused ? 1 : 0;
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
