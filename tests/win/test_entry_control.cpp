// The real score-entry control driven with messages. The editing rules are the model's (core tests);
// these cases check that input reaches them, that a refusal beeps, and what it draws and tells its owner.
#include "app/win/entry_control.h"
#include "core/text.h"
#include "core/win/gdi.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace tx9 {
namespace {

using namespace tx9::wintest;
using Sel = std::pair<int, int>;

constexpr COLORREF kBackground = RGB(255, 255, 128);
constexpr COLORREF kTonCircle = RGB(200, 0, 0);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kSelectBackground = RGB(0, 0, 160);
constexpr COLORREF kSelectText = RGB(255, 255, 255);
constexpr int kWidth = 120;
constexpr int kHeight = 40;

// The caret's rectangle, empty when this thread shows none for the window.
RECT caret_rect(HWND owner) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return info.hwndCaret == owner ? info.rcCaret : RECT{};
}

class EntryControlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(register_entry_control(GetModuleHandleA(nullptr))); }

    void SetUp() override {
        auto& colors = settings().colors;
        colors[kColorInputBackground] = kBackground;
        colors[kColorTonCircle] = kTonCircle;
        colors[kColorInputText] = kText;
        colors[kColorInputSelectBackground] = kSelectBackground;
        colors[kColorInputSelectText] = kSelectText;
        font.reset(create_face_font("Arial", 14, ANSI_CHARSET, FW_NORMAL, false, false));
        recreate();
    }
    void TearDown() override { DestroyWindow(entry); }

    // A fresh control with the score sheet's limit of 3, focused.
    void recreate() {
        if (entry) DestroyWindow(entry);
        entry = CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_TABSTOP | WS_VISIBLE, 10, 10, kWidth,
                                kHeight, host.hwnd(), reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr),
                                nullptr);
        ASSERT_NE(entry, nullptr) << "CreateWindowEx(tx9Edit) failed, error " << GetLastError();
        send(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()));
        send(EM_LIMITTEXT, 3);
        SetFocus(entry);
        pump_pending();
        host.clear_received();
    }

    void set_text(const char* text) { send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    std::string text() const { return window_text(entry); }
    void set_sel(int anchor, int caret) { send(EM_SETSEL, anchor, caret); }
    Sel sel() const {
        DWORD start = 99, end = 99;
        send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    LRESULT send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
        return SendMessageA(entry, message, wparam, lparam);
    }

    // A plain character is WM_CHAR ("^x": with Ctrl); "[^+Name]" a key press with Ctrl and Shift held;
    // "[=text]" puts text on the clipboard, "[ro]" makes the control read-only.
    void play(const char* keys) {
        static const std::pair<const char*, UINT> names[] = {
            {"BS", VK_BACK},   {"Del", VK_DELETE},  {"Ins", VK_INSERT}, {"Home", VK_HOME}, {"End", VK_END},
            {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Up", VK_UP},      {"Down", VK_DOWN}};
        for (const char* p = keys; *p; ++p) {
            if (*p != '[') {
                bool ctrl = *p == '^';
                send_char(entry, ctrl ? *++p : *p, ctrl ? kCtrl : kNoMods);
                continue;
            }
            const char* end = std::strchr(p, ']');
            std::string token(p + 1, end);
            p = end;
            if (token[0] == '=') {
                ASSERT_TRUE(set_clipboard_text(token.substr(1)));
                continue;
            }
            if (token == "ro") {
                send(kEntrySetReadOnly, 1);
                continue;
            }
            Modifiers mods;
            for (; token.size() > 1 && (token[0] == '^' || token[0] == '+'); token.erase(0, 1))
                (token[0] == '^' ? mods.ctrl : mods.shift) = true;
            UINT vk = token.size() == 1 ? UINT(token[0]) : 0;
            for (const auto& [name, code] : names)
                if (token == name) vk = code;
            ASSERT_NE(vk, 0u) << "no key " << token;
            send_key(entry, vk, mods);
        }
    }

    // X of the caret when it stands at the position (shown there while focused).
    int caret_x(int position) {
        set_sel(position, position);
        UpdateWindow(entry);
        POINT p{};
        GetCaretPos(&p);
        return p.x;
    }

    TestWindow host{300, 120};
    BeepCounter beeps;
    Font font;
    HWND entry = nullptr;
};

// Each row starts on a fresh control (limit 3, insert mode) holding `text` with the selection set.
TEST_F(EntryControlTest, KeysAndCharactersReachTheEditing) {
    struct Row {
        const char *what, *text;
        int anchor, caret;
        const char *keys, *after;
        Sel sel;
        int beeps;
        WORD cell = 0;
        const char* clipboard = "-";
    };
    const Row rows[] = {
        {"a digit past the limit beeps", "", 0, 0, "1809", "180", {3, 3}, 1},
        {"Backspace, Escape and Ctrl characters are silent", "12", 2, 2, "\b\x1b^\x03^7", "12", {2, 2}, 0},
        {"Backspace", "123", 3, 3, "[BS]", "12", {2, 2}, 0},
        {"Delete", "123", 0, 0, "[Del]", "23", {0, 0}, 0},
        {"Ctrl+Z undoes", "", 0, 0, "45[^Z]", "", {0, 0}, 0},
        {"Ctrl+Y redoes", "", 0, 0, "45[^Z][^Y]", "45", {2, 2}, 0},
        {"Ctrl+Shift+Z redoes", "", 0, 0, "45[^Z][^+Z]", "45", {2, 2}, 0},
        {"Ctrl+V pastes", "4", 1, 1, "[=60][^V]", "460", {3, 3}, 0, 0, "60"},
        {"Shift+Insert pastes, refused past the limit", "4", 1, 1, "[=123][+Ins]", "4", {1, 1}, 1, 0, "123"},
        {"Ctrl+Insert copies", "123", 1, 3, "[^Ins]", "123", {1, 3}, 0, 0, "23"},
        {"Ctrl+X cuts", "123", 1, 3, "[^X]", "1", {1, 1}, 0, 0, "23"},
        {"Shift+Delete cuts", "123", 0, 1, "[+Del]", "23", {0, 0}, 0, 0, "1"},
        {"Left at 0 asks for the previous cell", "123", 0, 0, "[Left]", "123", {0, 0}, 0, kEntryCellLeft},
        {"Right at the end asks for the next", "123", 3, 3, "[Right]", "123", {3, 3}, 0, kEntryCellRight},
        {"Shift+Home", "123", 2, 2, "[+Home]", "123", {0, 2}, 0},
        {"End", "123", 1, 1, "[End]", "123", {3, 3}, 0},
        {"Ctrl+A selects everything", "123", 1, 1, "[^A]", "123", {0, 3}, 0},
        {"A, Up and Down do nothing", "123", 1, 2, "[A][Up][Down]", "123", {1, 2}, 0},
        {"read-only beeps at changes", "123", 3, 3, "[ro]4[=9][^V][Del][BS][^X]", "123", {3, 3}, 5, 0, "9"},
        {"but selects and copies", "123", 0, 0, "[ro][+Right][+Right][^C]", "123", {0, 2}, 0, 0, "12"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": \"" + row.text + "\" then " + row.keys);
        recreate();
        ASSERT_TRUE(set_clipboard_text("-"));
        set_text(row.text);
        set_sel(row.anchor, row.caret);
        int before = beeps.count();
        play(row.keys);
        EXPECT_EQ(row.after, text());
        EXPECT_EQ(row.sel, sel());
        EXPECT_EQ(row.beeps, beeps.count() - before) << "beeps";
        EXPECT_EQ(row.cell == kEntryCellLeft, host.count_command(kEntryCellLeft)) << "previous cell";
        EXPECT_EQ(row.cell == kEntryCellRight, host.count_command(kEntryCellRight)) << "next cell";
        EXPECT_EQ(row.clipboard, clipboard_text().value_or("<none>"));
    }
}

TEST_F(EntryControlTest, AnswersTheOwnerAndTheMouse) {
    EXPECT_EQ(DLGC_WANTALLKEYS, send(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
    LRESULT own_font = send(WM_GETFONT);
    EXPECT_TRUE(own_font != 0 && own_font != reinterpret_cast<LRESULT>(font.get()))
        << "the control keeps its own copy of the font";

    // Typing is pending until read: it counts in the length, and WM_GETTEXT cuts to the buffer.
    play("78");
    EXPECT_EQ(2, send(WM_GETTEXTLENGTH));
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(1, send(WM_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_STREQ("7", buffer);
    EXPECT_EQ(0, send(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)));

    // Shift, Ctrl and Alt (a system key) going down are told; the wheel is passed on.
    host.clear_received();
    for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        send_key(entry, vk, Modifiers{false, false, vk == VK_MENU});
    play("5[+Left]");
    ASSERT_EQ(3u, host.received().size()) << "one message for each modifier, none for other keys";
    for (const Received& told : host.received())
        EXPECT_TRUE(told.message == kEntryModifierDown && told.wparam == 0 && told.lparam == 0);
    send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(5, 6));
    ASSERT_EQ(1, host.count(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<WPARAM>(MAKEWPARAM(0, WHEEL_DELTA)), host.received().back().wparam);
    EXPECT_EQ(MAKELPARAM(5, 6), host.received().back().lparam);

    // The mouse focuses, places the caret, selects and asks for the menu.
    set_text("123");
    const int x0 = caret_x(0), x1 = caret_x(1), x2 = caret_x(2), x3 = caret_x(3), y = kHeight / 2;
    ASSERT_TRUE(x0 < x1 && x1 < x3);
    // The left half of a character, its middle pixel included, is before it.
    const std::pair<int, int> clicks[] = {
        {0, 0}, {x0 + (x1 - x0) / 2, 0}, {x0 + (x1 - x0) / 2 + 1, 1}, {x3 - 1, 3}, {kWidth - 1, 3}};
    for (const auto& [x, expected] : clicks) {
        SetFocus(host.hwnd());
        set_sel(2, 2);
        click(entry, x, y);
        EXPECT_EQ(Sel(expected, expected), sel()) << "click at x " << x;
        EXPECT_EQ(entry, GetFocus());
    }

    send_mouse(entry, WM_LBUTTONDOWN, x0, y, MK_LBUTTON);
    EXPECT_EQ(entry, GetCapture());
    send_mouse(entry, WM_MOUSEMOVE, x2, y, MK_LBUTTON);
    EXPECT_EQ(Sel(0, 2), sel());
    send_mouse(entry, WM_LBUTTONUP, x3 + 5, y, 0);
    EXPECT_EQ(Sel(0, 3), sel());
    EXPECT_NE(entry, GetCapture());
    send_mouse(entry, WM_MOUSEMOVE, x0, y, 0);
    EXPECT_EQ(Sel(0, 3), sel()) << "moving without the button changes nothing";
    set_sel(1, 1);
    click(entry, x3, y, MK_SHIFT);
    EXPECT_EQ(Sel(1, 3), sel()) << "Shift+click keeps the anchor";
    set_sel(3, 3);
    double_click(entry, x1 + 1, y);
    EXPECT_EQ(Sel(0, 3), sel()) << "a double click selects the digits, and its button-up keeps them";

    set_sel(0, 2);
    send_mouse(entry, WM_RBUTTONDOWN, x1, y, MK_RBUTTON);
    EXPECT_EQ(Sel(0, 2), sel()) << "right press inside the selection";
    send_mouse(entry, WM_RBUTTONUP, x1, y, 0);
    ASSERT_EQ(1, host.count(WM_CONTEXTMENU));
    EXPECT_EQ(entry, reinterpret_cast<HWND>(host.received().back().wparam));
    EXPECT_EQ(MAKELPARAM(x1, y), host.received().back().lparam) << "the point of the button message";
    send_mouse(entry, WM_RBUTTONDOWN, x3 + 4, y, MK_RBUTTON);
    EXPECT_EQ(Sel(3, 3), sel()) << "right press outside the selection";
}

// From three characters the ellipse; the colours of the Settings are taken again when asked.
TEST_F(EntryControlTest, DrawsTextSelectionTheTonEllipseAndTheCaret) {
    auto shown = [this] {
        const Image i = capture_client(entry);
        return strprintf("text %d, selected text %d on %d, ellipse %d", i.count(kText) > 0,
                         i.count(kSelectText) > 0, i.count(kSelectBackground) > 0, i.count(kTonCircle) > 0);
    };
    play("10");
    EXPECT_EQ("text 1, selected text 0 on 0, ellipse 0", shown());
    play("0");
    EXPECT_EQ("text 1, selected text 0 on 0, ellipse 1", shown());
    Image three = capture_client(entry);
    ASSERT_EQ(kWidth, three.width);
    // The pen is centred on the outline from (1, 1) to (width - 1, height - 1).
    EXPECT_EQ(kTonCircle, three.at(kWidth / 2, 1)) << "top of the ellipse";
    EXPECT_EQ(kTonCircle, three.at(1, kHeight / 2)) << "left of the ellipse";
    RECT bounds = three.bounds_of(kTonCircle);
    EXPECT_TRUE(bounds.right >= kWidth - 1 && bounds.bottom >= kHeight - 1)
        << "ellipse to " << bounds.right << "," << bounds.bottom;
    EXPECT_EQ(kBackground, three.at(0, 0)) << "corner outside the ellipse";
    set_sel(0, -1);
    EXPECT_EQ("text 0, selected text 1 on 1, ellipse 1", shown()) << "everything selected";
    set_sel(0, 1);
    EXPECT_EQ("text 1, selected text 1 on 1, ellipse 1", shown()) << "the zeros stay unselected";
    play("[BS]");
    EXPECT_EQ("text 1, selected text 0 on 0, ellipse 0", shown()) << "two digits left";

    constexpr COLORREF kNewBackground = RGB(10, 120, 30);
    settings().colors[kColorInputBackground] = kNewBackground;
    EXPECT_EQ(kBackground, capture_client(entry).at(2, 2)) << "colours are kept until asked";
    send(kEntryRecolor);
    EXPECT_EQ(kNewBackground, capture_client(entry).at(2, 2));

    // The text starts at half the free width rounded up, less one, and the caret
    // at its top, 2 pixels wide and one line high while inserting.
    set_text("18");
    RECT thin{};
    for (int width : {kWidth + 1, kWidth}) {
        SetWindowPos(entry, nullptr, 0, 0, width, kHeight, SWP_NOMOVE | SWP_NOZORDER);
        const int x0 = caret_x(0), text_width = caret_x(2) - x0;
        EXPECT_EQ((width - text_width + 1) / 2 - 1, x0) << "width " << width << ", text width " << text_width;
        thin = caret_rect(entry);
        EXPECT_EQ((kHeight - (thin.bottom - thin.top)) / 2 - 1, thin.top)
            << "the caret stands at the text's top";
    }
    EXPECT_EQ(2, thin.right - thin.left);
    EXPECT_GT(thin.bottom - thin.top, 10) << "one line high";

    const int x0 = caret_x(0), x1 = caret_x(1);
    play("[Ins]");
    set_sel(0, 0);
    UpdateWindow(entry);
    RECT wide = caret_rect(entry);
    EXPECT_EQ(x1 - x0, wide.right - wide.left) << "as wide as the 1 under it";
    Font larger(create_face_font("Arial", 24, ANSI_CHARSET, FW_NORMAL, false, false));
    send(WM_SETFONT, reinterpret_cast<WPARAM>(larger.get()));
    UpdateWindow(entry);
    RECT tall = caret_rect(entry);
    EXPECT_GT(tall.bottom - tall.top, thin.bottom - thin.top) << "a new font re-measures the line";

    SetFocus(host.hwnd());
    RECT none = caret_rect(entry);
    EXPECT_TRUE(IsRectEmpty(&none)) << "no caret without the focus";
}

} // namespace
} // namespace tx9
