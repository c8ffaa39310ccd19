// Helpers shared by the Win32 test programs: real windows under Wine, driven with messages on the test's one
// thread (nothing here is thread-safe). A program linked with them asks Wine's X11 driver not to manage its
// windows, so that closing one does not wait two seconds for the window manager a bare Xvfb lacks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace tx9::wintest {

// Dispatch what is queued; for about `ms`; or until `done` (returns done()).
void pump_pending();
void pump_for(DWORD ms);
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 3000);

struct Received {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

// A visible captionless popup to hold the controls under test. It records what its children send it:
// WM_COMMAND, WM_NOTIFY, WM_CONTEXTMENU, WM_MOUSEWHEEL and WM_APP onwards.
class TestWindow {
  public:
    explicit TestWindow(int client_width = 400, int client_height = 300, const char* title = "tx9 test");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::vector<Received>& received() const { return received_; }
    void clear_received() { received_.clear(); }
    int count(UINT message) const;
    int count_command(WORD id) const; // WM_COMMAND with this LOWORD(wParam)

  private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<Received> received_;
};

struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
};
inline constexpr Modifiers kNoMods{};
inline constexpr Modifiers kShift{true, false, false};
inline constexpr Modifiers kCtrl{false, true, false};

// GetKeyState reports the modifiers held for the scope (SetKeyboardState).
class KeyStateScope {
  public:
    explicit KeyStateScope(Modifiers mods);
    ~KeyStateScope();
    KeyStateScope(const KeyStateScope&) = delete;
    KeyStateScope& operator=(const KeyStateScope&) = delete;

  private:
    BYTE saved_[256];
};

// Key down (system key with Alt) and up with the modifiers held; returns the key-down result.
LRESULT send_key(HWND window, UINT vk, Modifiers mods = kNoMods);
LRESULT send_char(HWND window, char c, Modifiers mods = kNoMods);

// Mouse messages in client coordinates, `keys` (MK_*) in wParam.
LRESULT send_mouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);
void click(HWND window, int x, int y, WPARAM extra_keys = 0);
void double_click(HWND window, int x, int y);

std::string window_text(HWND window);
bool set_clipboard_text(const std::string& text);
std::optional<std::string> clipboard_text(); // nullopt when the clipboard holds no text

// 32-bit top-down pixels as COLORREF (0x00BBGGRR).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int count(COLORREF color) const;
    int count(COLORREF color, const RECT& area) const;
    RECT bounds_of(COLORREF color) const; // empty when the colour is absent
};

Image capture_client(HWND window); // repaints now, then copies off the window DC
Image capture_dc(HDC dc, int width, int height);
Image print_client(HWND window); // WM_PRINTCLIENT into a memory DC

// A dialog ("#32770") that came up; `text` joins its static texts with '\n'.
struct DialogInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
};

// Answers the dialogs and message boxes this thread opens while it lives: a thread timer (it fires inside
// modal loops too) hands each visible dialog to the handler every 20 ms, which returns the button to press
// (IDOK, a control id...) or 0 to be asked again at the next tick.
class DialogAnswerer {
  public:
    using Handler = std::function<int(const DialogInfo&)>;
    explicit DialogAnswerer(Handler handler);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    const std::vector<DialogInfo>& seen() const { return seen_; } // in order of first sighting

  private:
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD);
    void tick();
    Handler handler_;
    UINT_PTR timer_ = 0;
    std::vector<DialogInfo> seen_;
    std::vector<HWND> pending_; // seen, not answered yet
    bool busy_ = false;
};

// Posts the button's BN_CLICKED to the dialog, as a click would.
void press_button(HWND dialog, int id);
std::string dialog_item_text(HWND dialog, int id);

// Owners to centre dialogs on: one on screen, one wholly and two partly off its top-left.
inline constexpr RECT kOwnerPlaces[] = {
    {100, 80, 700, 530}, {-700, -600, -400, -400}, {-300, 200, 100, 500}, {300, -500, 900, -100}};
// Moves and sizes a top-level window to the rectangle; false when the system put it elsewhere.
bool place_window(HWND window, const RECT& place);
// The top-left corner of the dialog centred over the owner, negative coordinates raised to 0.
POINT centred_on_screen(const RECT& owner, const RECT& dialog);

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

    // Style, size, and every control's id, kind, style and place, one line each.
    std::vector<std::string> layout() const;
};
DialogTemplate read_dialog_template(int id, LANGID language);
// A wide text as an ANSI window of this process shows it.
std::string in_code_page(const std::wstring& text);

// Resources are picked by the user's language; the thread locale stands in for it.
class ThreadLocaleScope {
  public:
    explicit ThreadLocaleScope(LANGID language);
    ~ThreadLocaleScope();
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

  private:
    LCID saved_;
};

// Counts the beeps of tx9::beep while it lives; no sound is made.
class BeepCounter {
  public:
    BeepCounter();
    ~BeepCounter();
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int count() const;
    int count(UINT type) const;
};

} // namespace tx9::wintest
