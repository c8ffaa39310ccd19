#include "win_test_util.h"

#include "core/win/beep.h"
#include "core/win/gdi.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>

namespace tx9::wintest {

namespace {

// Before the first window exists, tell Wine's X11 driver (in this executable's AppDefaults key only) to
// manage none of our windows: on a bare X server, destroying a managed one waits 2 s for a window manager.
struct UnmanagedWindowsUnderWine {
    UnmanagedWindowsUnderWine() {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const char* name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
        const std::string key = std::string("Software\\Wine\\AppDefaults\\") + name + "\\X11 Driver";
        RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", REG_SZ, "N", 2);
    }
} g_unmanaged_windows;

} // namespace

void pump_pending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void pump_for(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        pump_pending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
    pump_pending();
}

bool pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeout_ms) return false;
        pump_pending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

LRESULT CALLBACK TestWindow::proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (message == WM_COMMAND || message == WM_NOTIFY || message == WM_CONTEXTMENU ||
                 message == WM_MOUSEWHEEL || (message >= WM_APP && message <= 0xBFFF)))
        self->received_.push_back({message, wparam, lparam});
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

TestWindow::TestWindow(int client_width, int client_height, const char* title) {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "tx9_test_host";
        registered = RegisterClassA(&wc) != 0;
    }
    hwnd_ = CreateWindowExA(0, "tx9_test_host", title, WS_POPUP | WS_CLIPCHILDREN, 20, 20, client_width,
                            client_height, nullptr, nullptr, instance, this);
    ShowWindow(hwnd_, SW_SHOWNA);
    UpdateWindow(hwnd_);
    SetActiveWindow(hwnd_);
    pump_pending();
}

TestWindow::~TestWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    pump_pending();
}

int TestWindow::count(UINT message) const {
    return static_cast<int>(std::count_if(received_.begin(), received_.end(),
                                          [message](const Received& r) { return r.message == message; }));
}

int TestWindow::count_command(WORD id) const {
    return static_cast<int>(std::count_if(received_.begin(), received_.end(), [id](const Received& r) {
        return r.message == WM_COMMAND && LOWORD(r.wparam) == id;
    }));
}

KeyStateScope::KeyStateScope(Modifiers mods) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    const std::pair<int, bool> held[] = {
        {VK_SHIFT, mods.shift},  {VK_LSHIFT, mods.shift},  {VK_RSHIFT, false},
        {VK_CONTROL, mods.ctrl}, {VK_LCONTROL, mods.ctrl}, {VK_RCONTROL, false},
        {VK_MENU, mods.alt},     {VK_LMENU, mods.alt},     {VK_RMENU, false}};
    for (const auto& [vk, down] : held)
        state[vk] = down ? BYTE(state[vk] | 0x80) : BYTE(state[vk] & ~0x80);
    SetKeyboardState(state);
}

KeyStateScope::~KeyStateScope() {
    SetKeyboardState(saved_);
}

namespace {

LPARAM key_lparam(UINT vk, bool up, bool alt) {
    const UINT extended[] = {VK_LEFT, VK_RIGHT, VK_UP,   VK_DOWN,   VK_HOME,
                             VK_END,  VK_PRIOR, VK_NEXT, VK_INSERT, VK_DELETE};
    const bool is_extended = std::count(std::begin(extended), std::end(extended), vk) > 0;
    return 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFF) << 16) |
           (is_extended ? 1L << 24 : 0) | (alt ? 1L << 29 : 0) | (up ? (1L << 30) | (1UL << 31) : 0);
}

} // namespace

LRESULT send_key(HWND window, UINT vk, Modifiers mods) {
    KeyStateScope held(mods);
    const LRESULT result =
        SendMessageA(window, mods.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, key_lparam(vk, false, mods.alt));
    SendMessageA(window, mods.alt ? WM_SYSKEYUP : WM_KEYUP, vk, key_lparam(vk, true, mods.alt));
    return result;
}

LRESULT send_char(HWND window, char c, Modifiers mods) {
    KeyStateScope held(mods);
    return SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

LRESULT send_mouse(HWND window, UINT message, int x, int y, WPARAM keys) {
    KeyStateScope held({(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, false});
    return SendMessageA(window, message, keys, MAKELPARAM(x, y));
}

void click(HWND window, int x, int y, WPARAM extra_keys) {
    send_mouse(window, WM_LBUTTONDOWN, x, y, MK_LBUTTON | extra_keys);
    send_mouse(window, WM_LBUTTONUP, x, y, extra_keys);
}

void double_click(HWND window, int x, int y) {
    click(window, x, y);
    send_mouse(window, WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
    send_mouse(window, WM_LBUTTONUP, x, y, 0);
}

std::string window_text(HWND window) {
    std::string text(static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

namespace {

// The clipboard may be held for a moment by the system's clipboard manager.
bool open_clipboard() {
    for (int attempt = 0; attempt < 50; ++attempt, Sleep(10))
        if (OpenClipboard(nullptr)) return true;
    return false;
}

} // namespace

bool set_clipboard_text(const std::string& text) {
    if (!open_clipboard()) return false;
    EmptyClipboard();
    bool ok = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            ok = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!ok) GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}

std::optional<std::string> clipboard_text() {
    if (!open_clipboard()) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE memory = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(memory))) {
            text = std::string(bytes);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

int Image::count(COLORREF color) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), color));
}

int Image::count(COLORREF color, const RECT& area) const {
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(width, area.right); ++x)
            if (at(x, y) == color) ++n;
    return n;
}

RECT Image::bounds_of(COLORREF color) const {
    RECT r{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (at(x, y) == color)
                r = RECT{std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                         std::max<LONG>(r.bottom, y + 1)};
    if (r.right <= r.left) r = RECT{0, 0, 0, 0};
    return r;
}

namespace {

// Lets `paint` draw into a 32-bit top-down DIB section of the size and returns its pixels.
Image paint_into(int width, int height, const std::function<void(HDC)>& paint) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Image image;
    if (bits) {
        SelectScope selected(dc, bitmap.get());
        paint(dc);
        GdiFlush();
        image.width = width, image.height = height;
        const auto* source = static_cast<const std::uint32_t*>(bits); // 0x00RRGGBB
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
            image.pixels.push_back(RGB(source[i] >> 16 & 0xFF, source[i] >> 8 & 0xFF, source[i] & 0xFF));
    }
    DeleteDC(dc);
    return image;
}

} // namespace

Image capture_dc(HDC dc, int width, int height) {
    return paint_into(width, height, [&](HDC into) { BitBlt(into, 0, 0, width, height, dc, 0, 0, SRCCOPY); });
}

Image capture_client(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pump_pending();
    RECT client{};
    GetClientRect(window, &client);
    WindowDC dc(window);
    return capture_dc(dc.get(), client.right, client.bottom);
}

Image print_client(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return paint_into(client.right, client.bottom, [window](HDC into) {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(into), PRF_CLIENT | PRF_ERASEBKGND);
    });
}

namespace {

std::map<UINT_PTR, DialogAnswerer*> g_answerers; // by timer
std::vector<HWND> g_answered;                    // dialogs already answered, skipped until they are gone

std::string class_of(HWND window) {
    char buffer[64] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

BOOL CALLBACK collect_dialog(HWND window, LPARAM lparam) {
    if (IsWindowVisible(window) && IsWindowEnabled(window) && class_of(window) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(window);
    return TRUE;
}

BOOL CALLBACK collect_static_text(HWND window, LPARAM lparam) {
    if (_stricmp(class_of(window).c_str(), "Static") == 0) {
        std::string text = window_text(window);
        if (!text.empty()) {
            auto* joined = reinterpret_cast<std::string*>(lparam);
            if (!joined->empty()) *joined += '\n';
            *joined += text;
        }
    }
    return TRUE;
}

} // namespace

DialogAnswerer::DialogAnswerer(Handler handler) : handler_(std::move(handler)) {
    timer_ = SetTimer(nullptr, 0, 20, on_timer);
    g_answerers[timer_] = this;
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    g_answerers.erase(timer_);
}

void CALLBACK DialogAnswerer::on_timer(HWND, UINT, UINT_PTR id, DWORD) {
    if (g_answerers.count(id)) g_answerers[id]->tick();
}

void DialogAnswerer::tick() {
    if (busy_) return;
    busy_ = true;
    auto gone = [](HWND w) { return !IsWindow(w) || !IsWindowVisible(w); };
    g_answered.erase(std::remove_if(g_answered.begin(), g_answered.end(), gone), g_answered.end());
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), gone), pending_.end());
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), collect_dialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        if (std::find(g_answered.begin(), g_answered.end(), dialog) != g_answered.end()) continue;
        DialogInfo info{dialog, window_text(dialog), {}};
        EnumChildWindows(dialog, collect_static_text, reinterpret_cast<LPARAM>(&info.text));
        if (std::find(pending_.begin(), pending_.end(), dialog) == pending_.end()) {
            pending_.push_back(dialog);
            seen_.push_back(info);
        }
        int button = handler_ ? handler_(info) : 0;
        if (button != 0) {
            pending_.erase(std::find(pending_.begin(), pending_.end(), dialog));
            g_answered.push_back(dialog);
            press_button(dialog, button);
        }
    }
    busy_ = false;
}

void press_button(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string dialog_item_text(HWND dialog, int id) {
    return window_text(GetDlgItem(dialog, id)); // "" when there is no such item
}

bool place_window(HWND window, const RECT& place) {
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT placed{};
    GetWindowRect(window, &placed);
    return EqualRect(&placed, &place) != FALSE;
}

POINT centred_on_screen(const RECT& owner, const RECT& dialog) {
    LONG x = owner.left + (owner.right - owner.left - (dialog.right - dialog.left)) / 2;
    LONG y = owner.top + (owner.bottom - owner.top - (dialog.bottom - dialog.top)) / 2;
    return {std::max(0L, x), std::max(0L, y)};
}

namespace {

// A name-or-ordinal field of a template: 0 = none, 0xFFFF + ordinal, or a string.
std::wstring read_name(const WORD*& p) {
    if (*p == 0) {
        ++p;
        return L"";
    }
    if (*p == 0xFFFF) {
        p += 2;
        return L"#" + std::to_wstring(p[-1]);
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(p));
    p += text.size() + 1;
    return text;
}

} // namespace

std::vector<std::string> DialogTemplate::layout() const {
    char line[160];
    std::snprintf(line, sizeof line, "dialog %08lx %ldx%ld", style, size.cx, size.cy);
    std::vector<std::string> lines{line};
    for (const Item& i : items) {
        std::snprintf(line, sizeof line, "id %d %s %08lx at %ld,%ld-%ld,%ld", i.id,
                      in_code_page(i.kind).c_str(), i.style, i.place.left, i.place.top, i.place.right,
                      i.place.bottom);
        lines.push_back(line);
    }
    return lines;
}

// Reads both template formats: DIALOG and DIALOGEX (which starts with 1, 0xFFFF).
DialogTemplate read_dialog_template(int id, LANGID language) {
    DialogTemplate out;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found =
        FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id), language);
    const WORD* p = found ? static_cast<const WORD*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!p) return out;
    auto dword = [&p] {
        DWORD v = p[0] | (DWORD(p[1]) << 16);
        p += 2;
        return v;
    };
    auto place = [&p] {
        const auto* v = reinterpret_cast<const short*>(p);
        p += 4;
        return RECT{v[0], v[1], v[0] + v[2], v[1] + v[3]};
    };
    const bool ex = p[0] == 1 && p[1] == 0xFFFF;
    if (ex) p += 4; // version, signature, help id
    DWORD first = dword(), second = dword();
    out.style = ex ? second : first; // the extended style comes first in DIALOGEX, second in DIALOG
    int count = *p++;
    RECT box = place();
    out.size = {box.right - box.left, box.bottom - box.top};
    read_name(p); // menu
    read_name(p); // class
    out.caption = read_name(p);
    if (out.style & DS_SETFONT) {
        p += ex ? 3 : 1; // point size; weight, italic and character set
        read_name(p);
    }
    for (int i = 0; i < count; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
        DialogTemplate::Item item;
        if (ex) p += 2; // help id
        first = dword();
        second = dword();
        item.style = ex ? second : first;
        item.place = place();
        item.id = ex ? static_cast<int>(dword()) : static_cast<short>(*p++);
        item.kind = read_name(p);
        item.text = read_name(p);
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        out.items.push_back(item);
    }
    return out;
}

std::string in_code_page(const std::wstring& text) {
    char buffer[512] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

ThreadLocaleScope::ThreadLocaleScope(LANGID language) : saved_(GetThreadLocale()) {
    SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
}

ThreadLocaleScope::~ThreadLocaleScope() {
    SetThreadLocale(saved_);
}

namespace {

std::vector<UINT> g_beeps;
BeepFunction g_previous_beep = nullptr;

} // namespace

BeepCounter::BeepCounter() {
    g_beeps.clear();
    g_previous_beep = set_beep_function([](UINT type) { g_beeps.push_back(type); });
}

BeepCounter::~BeepCounter() {
    set_beep_function(g_previous_beep);
}

int BeepCounter::count() const {
    return static_cast<int>(g_beeps.size());
}

int BeepCounter::count(UINT type) const {
    return static_cast<int>(std::count(g_beeps.begin(), g_beeps.end(), type));
}

} // namespace tx9::wintest
