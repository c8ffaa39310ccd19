// Helpers shared by the Win32 test programs: they create real windows under
// Wine, drive them with messages and look at what they do.
//
// Everything here runs on the test's one thread; nothing is thread-safe.
// Under Wine, a program linked with these helpers asks the X11 driver not to
// manage its windows (HKCU\Software\Wine\AppDefaults\<exe>\X11 Driver,
// Managed=N, set before the first window), so that closing a dialog does not
// wait two seconds for a window manager that a bare Xvfb does not have.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace tx9::wintest {

// ---- Message pumping ------------------------------------------------------

// Dispatches every message already queued for this thread.
void pump_pending();
// Dispatches messages for about `ms` milliseconds.
void pump_for(DWORD ms);
// Dispatches messages until `done` returns true or `timeout_ms` passes; returns done().
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 3000);

// ---- A top-level host window ----------------------------------------------

// One message a TestWindow received.
struct Received {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

// A visible, active top-level window (a captionless popup, so that Wine
// destroys it at once without a window manager) to put the controls under
// test in; its client area has the given size. It records
// the messages its children send it (WM_COMMAND, WM_NOTIFY, WM_CONTEXTMENU,
// WM_MOUSEWHEEL and everything from WM_APP on) and lets a test answer any
// message itself through `handler`. Destroyed with the object.
class TestWindow {
  public:
    explicit TestWindow(int client_width = 400, int client_height = 300, const char* title = "tx9 test");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Messages recorded so far, oldest first.
    const std::vector<Received>& received() const { return received_; }
    void clear_received() { received_.clear(); }
    // How many of the recorded messages are `message`.
    int count(UINT message) const;
    // How many WM_COMMAND messages carried this command id (LOWORD of wParam).
    int count_command(WORD id) const;

    // Called for every message before the default handling; return a value to
    // answer the message, std::nullopt to let the window handle it.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;

  private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<Received> received_;
};

// ---- Keyboard ---------------------------------------------------------------

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};
inline constexpr Modifiers kNoMods{};
inline constexpr Modifiers kShift{true, false, false};
inline constexpr Modifiers kCtrl{false, true, false};
inline constexpr Modifiers kCtrlShift{true, true, false};

// Makes GetKeyState report the given modifiers (and the left/right variants)
// as held for the scope, through SetKeyboardState; restores the previous state.
class KeyStateScope {
  public:
    explicit KeyStateScope(Modifiers mods);
    ~KeyStateScope();
    KeyStateScope(const KeyStateScope&) = delete;
    KeyStateScope& operator=(const KeyStateScope&) = delete;

  private:
    BYTE saved_[256];
};

// SendMessage WM_KEYDOWN (WM_SYSKEYDOWN when Alt is held) with the modifiers
// held, followed by WM_KEYUP; returns the key-down result.
LRESULT send_key(HWND window, UINT vk, Modifiers mods = kNoMods);
// SendMessage WM_CHAR for one character, with the modifiers held.
LRESULT send_char(HWND window, char c, Modifiers mods = kNoMods);
// WM_CHAR for each character in turn.
void send_chars(HWND window, const std::string& text);

// ---- Mouse (client coordinates, sent straight to the window) --------------

// Sends a mouse message with the position in lParam and `keys` (MK_*) in wParam.
LRESULT send_mouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);
// Button down and up at the point.
void click(HWND window, int x, int y, WPARAM extra_keys = 0);
// Down, up, double click, up at the point, as the system sends them.
void double_click(HWND window, int x, int y);

// ---- Text and clipboard ---------------------------------------------------

// WM_GETTEXTLENGTH then WM_GETTEXT.
std::string window_text(HWND window);
// Puts text on the clipboard (CF_TEXT); false when the clipboard could not be opened.
bool set_clipboard_text(const std::string& text);
// The clipboard's CF_TEXT, or std::nullopt when it holds none.
std::optional<std::string> clipboard_text();
// Empties the clipboard.
void clear_clipboard();

// ---- Pixels -----------------------------------------------------------------

// A 32-bit top-down copy of pixels; colours as COLORREF (0x00BBGGRR).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels equal to the colour, in the whole image or in a rectangle.
    int count(COLORREF color) const;
    int count(COLORREF color, const RECT& area) const;
    // The smallest rectangle holding every pixel of the colour (empty when none).
    RECT bounds_of(COLORREF color) const;
};

// Repaints the window now and copies its client area off its window DC.
Image capture_client(HWND window);
// Copies a DC's rectangle (for a window's own memory DC, say).
Image capture_dc(HDC dc, int width, int height);
// Asks the window to paint its client area into a memory DC with WM_PRINTCLIENT.
Image print_client(HWND window);

// ---- Dialogs and message boxes ----------------------------------------------

// What a test sees of a dialog (class "#32770") that came up.
struct DialogInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text; // the texts of its static controls, joined with '\n'
};

// Answers dialogs and message boxes that this thread opens while the object
// lives. A thread timer (it fires inside modal loops too) looks every 20 ms
// for visible "#32770" windows of this thread; for each one it calls the
// handler, which may look at or fill the dialog and returns the id of the
// button to press (IDOK, IDYES, a control id...), or 0 to be asked again at
// the next tick.
class DialogAnswerer {
  public:
    using Handler = std::function<int(const DialogInfo&)>;
    explicit DialogAnswerer(Handler handler);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Every dialog seen, in order of first sighting.
    const std::vector<DialogInfo>& seen() const { return seen_; }

  private:
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD);
    void tick();
    Handler handler_;
    UINT_PTR timer_ = 0;
    std::vector<DialogInfo> seen_;
    std::vector<HWND> pending_; // seen, not answered yet
    bool busy_ = false;
};

// Presses a dialog button as a click would (WM_COMMAND BN_CLICKED to the dialog).
void press_button(HWND dialog, int id);
// Text of a dialog item.
std::string dialog_item_text(HWND dialog, int id);

// ---- Beeps ----------------------------------------------------------------

// Counts the beeps of tx9::beep while it lives (no sound is made).
class BeepCounter {
  public:
    BeepCounter();
    ~BeepCounter();
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int count() const;
    int count(UINT type) const;
    const std::vector<UINT>& beeps() const;
    void reset();
};

} // namespace tx9::wintest
