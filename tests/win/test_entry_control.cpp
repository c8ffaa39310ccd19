// The score-entry control, created for real under a top-level window and
// driven with the messages the system and the score sheet send it.
#include "app/win/entry_control.h"
#include "app/win/gdi.h"
#include "settings/settings.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tx9 {
namespace {

using namespace tx9::wintest;

constexpr COLORREF kBackground = RGB(255, 255, 128);
constexpr COLORREF kTonCircle = RGB(200, 0, 0);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kSelectBackground = RGB(0, 0, 160);
constexpr COLORREF kSelectText = RGB(255, 255, 255);

constexpr int kWidth = 120;
constexpr int kHeight = 40;

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

        entry = CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_TABSTOP | WS_VISIBLE, 10, 10, kWidth,
                                kHeight, host.hwnd(), reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr),
                                nullptr);
        ASSERT_NE(entry, nullptr) << "CreateWindowEx(tx9Edit) failed, error " << GetLastError();
        font.reset(create_face_font("Arial", 14, ANSI_CHARSET, FW_NORMAL, false, false));
        SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), 0);
        SendMessageA(entry, EM_LIMITTEXT, 3, 0);
        SetFocus(entry);
        pump_pending();
        host.clear_received();
    }

    void TearDown() override {
        if (entry) DestroyWindow(entry);
    }

    void set_text(const char* text) { SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    std::string text() const { return window_text(entry); }
    void set_sel(int anchor, int caret) { SendMessageA(entry, EM_SETSEL, anchor, caret); }
    std::pair<int, int> sel() const {
        DWORD start = 99, end = 99;
        SendMessageA(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    LRESULT key(UINT vk, Modifiers mods = kNoMods) { return send_key(entry, vk, mods); }
    void type(const std::string& chars) { send_chars(entry, chars); }
    bool can_undo() const { return SendMessageA(entry, EM_CANUNDO, 0, 0) != 0; }
    bool can_redo() const { return SendMessageA(entry, kEntryCanRedo, 0, 0) != 0; }
    void undo() { key('Z', kCtrl); }
    void redo() { key('Y', kCtrl); }
    // X of the caret when it stands at the position (the control shows it there when focused).
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

using Sel = std::pair<int, int>;

// The caret's rectangle, empty when this thread shows none.
RECT caret_rect(HWND owner) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    if (info.hwndCaret != owner) return RECT{};
    return info.rcCaret;
}

// ---- Typing ---------------------------------------------------------------------

TEST_F(EntryControlTest, TypingStopsAtTheLimitAndTypingOverASelectionReplacesIt) {
    type("180");
    EXPECT_EQ(beeps.count(), 0);
    type("9");
    EXPECT_EQ(beeps.count(), 1) << "a fourth digit over the limit of 3 beeps";
    EXPECT_EQ(text(), "180");

    set_sel(1, 2);
    type("4");
    EXPECT_EQ(text(), "140");
    EXPECT_EQ(sel(), Sel(2, 2));
    EXPECT_EQ(beeps.count(), 1);
}

TEST_F(EntryControlTest, OnlyDigitsAreTakenAndControlCharactersStaySilent) {
    set_text("12");
    set_sel(2, 2);
    for (char c : std::string("a -+."))
        type(std::string(1, c));
    EXPECT_EQ(beeps.count(), 5) << "each non-digit beeps";
    EXPECT_EQ(text(), "12");

    send_char(entry, '\b');
    send_char(entry, 27);
    send_char(entry, 'c' - 'a' + 1, kCtrl); // Ctrl+C as a character
    send_char(entry, '7', kCtrl);
    EXPECT_EQ(beeps.count(), 5) << "Backspace, Escape and Ctrl characters are ignored";
    EXPECT_EQ(text(), "12");
}

TEST_F(EntryControlTest, TypingInTheMiddleInsertsAtTheCaret) {
    SendMessageA(entry, EM_LIMITTEXT, 0, 0);
    set_text("15");
    set_sel(1, 1);
    type("234");
    EXPECT_EQ(text(), "12345");
    EXPECT_EQ(sel(), Sel(4, 4));
}

TEST_F(EntryControlTest, OverwriteModeReplacesCharactersAndUndoesInTwoSteps) {
    set_text("45");
    set_sel(0, 0);
    key(VK_INSERT);
    type("6");
    EXPECT_EQ(text(), "65");

    undo();
    EXPECT_EQ(text(), "5") << "first the typed 6 goes";
    undo();
    EXPECT_EQ(text(), "45") << "then the overwritten 4 comes back";
    EXPECT_FALSE(can_undo());
}

TEST_F(EntryControlTest, OverwriteModeRespectsTheLimitOnlyAtTheEnd) {
    set_text("180");
    set_sel(0, 0);
    key(VK_INSERT);
    type("45");
    EXPECT_EQ(text(), "450") << "overwriting inside a full field is allowed";
    set_sel(3, 3);
    type("7");
    EXPECT_EQ(text(), "450");
    EXPECT_EQ(beeps.count(), 1) << "overwriting at the end of a full field beeps";

    key(VK_INSERT); // back to inserting
    set_sel(1, 1);
    type("9");
    EXPECT_EQ(text(), "450");
    EXPECT_EQ(beeps.count(), 2) << "inserting into a full field beeps";
}

// ---- Undo and redo ------------------------------------------------------------------

TEST_F(EntryControlTest, ARunOfTypingIsOneUndoStep) {
    type("45");
    EXPECT_TRUE(can_undo()) << "a pending insertion can be undone";
    undo();
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(can_undo());
    EXPECT_TRUE(can_redo());
    redo();
    EXPECT_EQ(text(), "45");
    EXPECT_FALSE(can_redo());
    EXPECT_EQ(sel(), Sel(2, 2)) << "redo leaves the caret after the text it put back";

    undo();
    key('Z', kCtrlShift);
    EXPECT_EQ(text(), "45") << "Ctrl+Shift+Z redoes as well";
}

TEST_F(EntryControlTest, RunsOfBackspaceOrDeleteAreOneUndoStep) {
    struct Case {
        const char* name;
        UINT vk;
        int caret;
    } cases[] = {{"Backspace from the end", VK_BACK, 3}, {"Delete from the start", VK_DELETE, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_text("123");
        set_sel(c.caret, c.caret);
        for (int i = 0; i < 3; ++i)
            key(c.vk);
        EXPECT_EQ(text(), "");
        undo();
        EXPECT_EQ(text(), "123");
        EXPECT_FALSE(can_undo()) << "all three presses were one step";
    }
}

TEST_F(EntryControlTest, BackspaceThenDeleteAroundTheCaretStayOneRun) {
    set_text("123");
    set_sel(2, 2);
    key(VK_BACK);
    key(VK_DELETE);
    EXPECT_EQ(text(), "1");
    undo();
    EXPECT_EQ(text(), "123");
    EXPECT_FALSE(can_undo());
}

TEST_F(EntryControlTest, TypingOverASelectionUndoesInTwoStepsAndRedoesInOrder) {
    type("180");
    set_sel(1, 2);
    type("4");
    EXPECT_EQ(text(), "140");
    undo();
    EXPECT_EQ(text(), "10");
    undo();
    EXPECT_EQ(text(), "180");
    undo();
    EXPECT_EQ(text(), "");
    redo();
    redo();
    EXPECT_EQ(text(), "10");
    redo();
    EXPECT_EQ(text(), "140");
    EXPECT_FALSE(can_redo());
}

TEST_F(EntryControlTest, TypingAfterAnUndoDropsTheRedo) {
    type("12");
    undo();
    type("3");
    redo();
    EXPECT_EQ(text(), "3");
    EXPECT_FALSE(can_redo());
    undo();
    EXPECT_EQ(text(), "");
}

TEST_F(EntryControlTest, UndoMessagesMatchTheKeys) {
    type("7");
    EXPECT_EQ(SendMessageA(entry, EM_UNDO, 0, 0), 1);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(SendMessageA(entry, kEntryRedo, 0, 0), 1);
    EXPECT_EQ(text(), "7");
    EXPECT_EQ(SendMessageA(entry, WM_UNDO, 0, 0), 1);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(SendMessageA(entry, WM_UNDO, 0, 0), 0) << "nothing left to undo";
    SendMessageA(entry, kEntryRedo, 0, 0);
    EXPECT_EQ(SendMessageA(entry, kEntryRedo, 0, 0), 0) << "nothing left to redo";
}

// ---- Text, selection and flags --------------------------------------------------------

TEST_F(EntryControlTest, SetTextReplacesEverythingWithoutCheckingDigits) {
    type("12");
    SendMessageA(entry, EM_SETMODIFY, 0, 0);
    set_text("ab9");
    EXPECT_EQ(text(), "ab9");
    EXPECT_EQ(SendMessageA(entry, WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_FALSE(can_undo()) << "the undo list is cleared";
    EXPECT_EQ(sel(), Sel(0, 0));
    EXPECT_EQ(SendMessageA(entry, EM_GETMODIFY, 0, 0), 1);

    SendMessageA(entry, EM_SETMODIFY, 0, 0);
    EXPECT_EQ(SendMessageA(entry, EM_GETMODIFY, 0, 0), 0);
    set_sel(3, 3);
    key(VK_BACK);
    EXPECT_EQ(SendMessageA(entry, EM_GETMODIFY, 0, 0), 1);
}

TEST_F(EntryControlTest, GetTextCopiesWhatFitsAndCountsPendingEdits) {
    SendMessageA(entry, EM_LIMITTEXT, 0, 0);
    set_text("123");
    set_sel(3, 3);
    type("45");
    EXPECT_EQ(SendMessageA(entry, WM_GETTEXTLENGTH, 0, 0), 5) << "pending typing counts";
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(SendMessageA(entry, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_STREQ(buffer, "12");
    EXPECT_EQ(SendMessageA(entry, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);

    key(VK_BACK);
    key(VK_BACK);
    EXPECT_EQ(SendMessageA(entry, WM_GETTEXTLENGTH, 0, 0), 3) << "a pending deletion counts";
    EXPECT_EQ(text(), "123");
}

TEST_F(EntryControlTest, SetSelOrdersAndCutsItsEnds) {
    set_text("123");
    struct Case {
        int first, second;
        Sel expected;
    } cases[] = {{0, -1, {0, 3}}, {2, 1, {1, 2}}, {5, 1, {1, 3}}, {2, 2, {2, 2}}, {-1, 0, {0, 3}}};
    for (const Case& c : cases) {
        set_sel(c.first, c.second);
        EXPECT_EQ(sel(), c.expected) << "EM_SETSEL " << c.first << ", " << c.second;
    }
}

TEST_F(EntryControlTest, GetSelNeedsBothPointers) {
    set_text("123");
    set_sel(1, 3);
    DWORD start = 0, end = 0;
    EXPECT_EQ(SendMessageA(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0), 0);
    EXPECT_EQ(SendMessageA(entry, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end)), 0);
    EXPECT_EQ(
        SendMessageA(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
        MAKELRESULT(1, 3));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
}

TEST_F(EntryControlTest, AnswersRequestsOfItsOwner) {
    EXPECT_EQ(SendMessageA(entry, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    EntryState* state = nullptr;
    SendMessageA(entry, kEntryGetState, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_NE(state, nullptr);
    EntryState* again = nullptr;
    SendMessageA(entry, kEntryGetState, 0, reinterpret_cast<LPARAM>(&again));
    EXPECT_EQ(again, state) << "the state block stays put";

    EXPECT_EQ(SendMessageA(entry, kEntryGetReadOnly, 0, 0), 0);
    SendMessageA(entry, kEntrySetReadOnly, 1, 0);
    EXPECT_EQ(SendMessageA(entry, kEntryGetReadOnly, 0, 0), 1);
    EXPECT_EQ(SendMessageA(entry, WM_GETFONT, 0, 0) != 0, true) << "the control keeps its own font copy";
    EXPECT_NE(SendMessageA(entry, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font.get()));
}

TEST_F(EntryControlTest, ReadOnlyRefusesChangesButSelectsAndCopies) {
    set_text("123");
    SendMessageA(entry, kEntrySetReadOnly, 1, 0);
    set_clipboard_text("9");
    set_sel(3, 3);

    type("4");
    key('V', kCtrl);
    key(VK_DELETE);
    key(VK_BACK);
    SendMessageA(entry, WM_CUT, 0, 0);
    SendMessageA(entry, WM_PASTE, 0, 0);
    EXPECT_EQ(beeps.count(), 6) << "typing, pasting, Delete, Backspace and cut each beep";
    EXPECT_EQ(text(), "123");

    key(VK_HOME, kNoMods);
    key(VK_RIGHT, kShift);
    key(VK_RIGHT, kShift);
    EXPECT_EQ(sel(), Sel(0, 2));
    key('C', kCtrl);
    EXPECT_EQ(clipboard_text().value_or("<none>"), "12");
    EXPECT_EQ(beeps.count(), 6) << "selecting and copying are silent";

    SendMessageA(entry, kEntrySetReadOnly, 0, 0);
    type("5");
    EXPECT_EQ(text(), "53");
    SendMessageA(entry, kEntrySetReadOnly, 1, 0);
    undo();
    EXPECT_EQ(text(), "53") << "undo is a change too";
    EXPECT_EQ(beeps.count(), 7);
}

// ---- Clipboard ------------------------------------------------------------------------

TEST_F(EntryControlTest, PasteTakesDigitsOnly) {
    SendMessageA(entry, EM_LIMITTEXT, 0, 0);
    set_text("45");
    set_sel(2, 2);
    for (const char* refused : {"1a", "1 2", " ", "12\r\n"}) {
        ASSERT_TRUE(set_clipboard_text(refused));
        int before = beeps.count();
        SendMessageA(entry, WM_PASTE, 0, 0);
        EXPECT_EQ(beeps.count(), before + 1) << "pasting \"" << refused << "\" beeps";
        EXPECT_EQ(text(), "45");
    }
    ASSERT_TRUE(set_clipboard_text("60"));
    SendMessageA(entry, WM_PASTE, 0, 0);
    EXPECT_EQ(text(), "4560");
}

TEST_F(EntryControlTest, PasteInsertsEvenInOverwriteMode) {
    set_text("45");
    set_sel(0, 0);
    key(VK_INSERT);
    ASSERT_TRUE(set_clipboard_text("7"));
    key(VK_INSERT, kShift);
    EXPECT_EQ(text(), "745");
    undo();
    EXPECT_EQ(text(), "45");
}

TEST_F(EntryControlTest, CopyCutAndClearWorkOnTheSelection) {
    SendMessageA(entry, EM_LIMITTEXT, 0, 0);
    clear_clipboard();
    set_text("12345");
    SendMessageA(entry, WM_COPY, 0, 0);
    EXPECT_FALSE(clipboard_text().has_value()) << "nothing selected, nothing copied";

    set_sel(0, 2);
    key(VK_INSERT, kCtrl);
    EXPECT_EQ(clipboard_text().value_or("<none>"), "12");
    EXPECT_EQ(text(), "12345");

    set_sel(1, 3);
    key('X', kCtrl);
    EXPECT_EQ(clipboard_text().value_or("<none>"), "23");
    EXPECT_EQ(text(), "145");

    set_sel(0, 1);
    key(VK_DELETE, kShift);
    EXPECT_EQ(clipboard_text().value_or("<none>"), "1");
    EXPECT_EQ(text(), "45");

    SendMessageA(entry, WM_CLEAR, 0, 0); // nothing selected: nothing happens
    EXPECT_EQ(text(), "45");
    set_sel(0, 1);
    SendMessageA(entry, WM_CLEAR, 0, 0);
    EXPECT_EQ(text(), "5");
    EXPECT_EQ(beeps.count(), 0);
}

// ---- Keys and the parent ------------------------------------------------------------

TEST_F(EntryControlTest, CaretKeysMoveCollapseExtendAndAskForOtherCells) {
    struct Case {
        const char* name;
        int anchor, caret;
        UINT vk;
        Modifiers mods;
        Sel expected;
        WORD command; // 0: none
    } cases[] = {
        {"Left at 0", 0, 0, VK_LEFT, kNoMods, {0, 0}, kEntryCellLeft},
        {"Shift+Left at 0", 0, 0, VK_LEFT, kShift, {0, 0}, 0},
        {"Right at the end", 3, 3, VK_RIGHT, kNoMods, {3, 3}, kEntryCellRight},
        {"Shift+Right at the end", 3, 3, VK_RIGHT, kShift, {3, 3}, 0},
        {"Left inside", 2, 2, VK_LEFT, kNoMods, {1, 1}, 0},
        {"Right inside", 1, 1, VK_RIGHT, kNoMods, {2, 2}, 0},
        {"Left collapses to the lower end", 1, 3, VK_LEFT, kNoMods, {1, 1}, 0},
        {"Right collapses to the upper end", 0, 2, VK_RIGHT, kNoMods, {2, 2}, 0},
        {"Left collapses a selection from 0", 0, 3, VK_LEFT, kNoMods, {0, 0}, 0},
        {"Shift+Left shrinks", 0, 3, VK_LEFT, kShift, {0, 2}, 0},
        {"Shift+Right extends", 1, 1, VK_RIGHT, kShift, {1, 2}, 0},
        {"Home", 2, 2, VK_HOME, kNoMods, {0, 0}, 0},
        {"Shift+Home", 2, 2, VK_HOME, kShift, {0, 2}, 0},
        {"End", 1, 1, VK_END, kNoMods, {3, 3}, 0},
        {"Shift+End", 1, 1, VK_END, kShift, {1, 3}, 0},
        {"Ctrl+A", 1, 1, 'A', kCtrl, {0, 3}, 0},
        {"A alone", 1, 1, 'A', kNoMods, {1, 1}, 0},
        {"Up", 1, 2, VK_UP, kNoMods, {1, 2}, 0},
        {"Down", 1, 2, VK_DOWN, kNoMods, {1, 2}, 0},
    };
    for (const Case& c : cases) {
        set_text("123");
        set_sel(c.anchor, c.caret);
        host.clear_received();
        key(c.vk, c.mods);
        EXPECT_EQ(sel(), c.expected) << c.name;
        EXPECT_EQ(host.count_command(kEntryCellLeft), c.command == kEntryCellLeft ? 1 : 0) << c.name;
        EXPECT_EQ(host.count_command(kEntryCellRight), c.command == kEntryCellRight ? 1 : 0) << c.name;
    }
}

TEST_F(EntryControlTest, ShiftExtendsFromTheAnchorAcrossIt) {
    set_text("123");
    set_sel(1, 1);
    key(VK_LEFT, kShift);
    EXPECT_EQ(sel(), Sel(0, 1));
    key(VK_RIGHT, kShift);
    key(VK_RIGHT, kShift);
    EXPECT_EQ(sel(), Sel(1, 2)) << "the caret crossed the anchor";
}

TEST_F(EntryControlTest, ModifierKeysAreReportedToTheParent) {
    for (UINT vk : {VK_SHIFT, VK_CONTROL}) {
        host.clear_received();
        key(vk);
        ASSERT_EQ(host.count(kEntryModifierDown), 1) << "key " << vk;
        EXPECT_EQ(host.received().back().wparam, 0u);
        EXPECT_EQ(host.received().back().lparam, 0);
    }
    host.clear_received();
    key(VK_MENU, Modifiers{false, false, true}); // Alt arrives as a system key
    EXPECT_EQ(host.count(kEntryModifierDown), 1);
    host.clear_received();
    key('5');
    key(VK_LEFT, kShift);
    EXPECT_EQ(host.count(kEntryModifierDown), 0) << "other keys are not reported";
}

// ---- Mouse ------------------------------------------------------------------------------

TEST_F(EntryControlTest, ClicksPlaceTheCaretByCharacterHalves) {
    set_text("123");
    int x0 = caret_x(0), x1 = caret_x(1), x3 = caret_x(3);
    ASSERT_LT(x0, x1);
    ASSERT_LT(x1, x3);
    struct Case {
        int x;
        int expected;
    } cases[] = {
        {0, 0},
        {x0 + 1, 0},
        {x1 - 1, 1},
        {x1 + 1, 1},
        {x3 - 1, 3},
        {kWidth - 1, 3},
        // The left half of the first character, its middle pixel included, is before it.
        {x0 + (x1 - x0) / 2, 0},
        {x0 + (x1 - x0) / 2 + 1, 1},
    };
    for (const Case& c : cases) {
        set_sel(2, 2);
        click(entry, c.x, kHeight / 2);
        EXPECT_EQ(sel(), Sel(c.expected, c.expected)) << "click at x " << c.x;
    }
    EXPECT_EQ(GetFocus(), entry);
}

TEST_F(EntryControlTest, DraggingAndShiftClickSelect) {
    set_text("123");
    int x0 = caret_x(0), x2 = caret_x(2), x3 = caret_x(3);
    send_mouse(entry, WM_LBUTTONDOWN, x0, kHeight / 2, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), entry);
    send_mouse(entry, WM_MOUSEMOVE, x2, kHeight / 2, MK_LBUTTON);
    EXPECT_EQ(sel(), Sel(0, 2));
    send_mouse(entry, WM_LBUTTONUP, x3 + 5, kHeight / 2, 0);
    EXPECT_EQ(sel(), Sel(0, 3));
    EXPECT_NE(GetCapture(), entry);
    send_mouse(entry, WM_MOUSEMOVE, x0, kHeight / 2, 0);
    EXPECT_EQ(sel(), Sel(0, 3)) << "moving without the button changes nothing";

    set_sel(1, 1);
    click(entry, x3, kHeight / 2, MK_SHIFT);
    EXPECT_EQ(sel(), Sel(1, 3)) << "Shift+click keeps the anchor";
}

TEST_F(EntryControlTest, DoubleClickSelectsTheDigitsOrNothing) {
    set_text("123");
    int x1 = caret_x(1);
    double_click(entry, x1 + 1, kHeight / 2);
    EXPECT_EQ(sel(), Sel(0, 3)) << "inside the digits";
    double_click(entry, kWidth - 2, kHeight / 2);
    EXPECT_EQ(sel(), Sel(3, 3)) << "right of the text";

    set_text("1-2");
    int x2 = caret_x(2);
    double_click(entry, caret_x(1) + 1, kHeight / 2);
    EXPECT_EQ(sel(), Sel(1, 2)) << "a single other character is a word of its own";
    double_click(entry, x2 + 1, kHeight / 2);
    EXPECT_EQ(sel(), Sel(2, 3));
}

TEST_F(EntryControlTest, RightButtonKeepsASelectionUnderItAndAsksForTheMenu) {
    set_text("123");
    int x1 = caret_x(1), x3 = caret_x(3);
    set_sel(0, 2);
    send_mouse(entry, WM_RBUTTONDOWN, x1, kHeight / 2, MK_RBUTTON);
    EXPECT_EQ(sel(), Sel(0, 2)) << "clicked inside the selection";
    send_mouse(entry, WM_RBUTTONUP, x1, kHeight / 2, 0);
    ASSERT_EQ(host.count(WM_CONTEXTMENU), 1);
    const Received& menu = host.received().back();
    EXPECT_EQ(reinterpret_cast<HWND>(menu.wparam), entry);
    EXPECT_EQ(menu.lparam, MAKELPARAM(x1, kHeight / 2)) << "the point as the button message had it";

    send_mouse(entry, WM_RBUTTONDOWN, x3 + 4, kHeight / 2, MK_RBUTTON);
    EXPECT_EQ(sel(), Sel(3, 3)) << "clicked outside the selection";
}

TEST_F(EntryControlTest, WheelGoesToTheParent) {
    SendMessageA(entry, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(5, 6));
    ASSERT_EQ(host.count(WM_MOUSEWHEEL), 1);
    EXPECT_EQ(host.received().back().wparam, static_cast<WPARAM>(MAKEWPARAM(0, WHEEL_DELTA)));
    EXPECT_EQ(host.received().back().lparam, MAKELPARAM(5, 6));
}

// ---- Drawing ----------------------------------------------------------------------------

TEST_F(EntryControlTest, TheTonEllipseShowsFromThreeCharacters) {
    type("10");
    Image two = capture_client(entry);
    ASSERT_EQ(two.width, kWidth);
    EXPECT_EQ(two.count(kTonCircle), 0) << "no ellipse at two digits";
    EXPECT_EQ(two.at(0, 0), kBackground);
    EXPECT_EQ(two.at(kWidth - 1, kHeight - 1), kBackground);

    type("0");
    Image three = capture_client(entry);
    EXPECT_GT(three.count(kTonCircle), 2 * kWidth) << "the ellipse's 2-pixel outline";
    EXPECT_EQ(three.at(kWidth / 2, 1), kTonCircle) << "top of the ellipse";
    EXPECT_EQ(three.at(1, kHeight / 2), kTonCircle) << "left of the ellipse";
    EXPECT_EQ(three.at(0, 0), kBackground) << "corner outside the ellipse";
    // The 2-pixel pen is centred on the outline from (1, 1) to (width - 1, height - 1).
    RECT bounds = three.bounds_of(kTonCircle);
    EXPECT_LE(bounds.left, 1);
    EXPECT_LE(bounds.top, 1);
    EXPECT_GE(bounds.right, kWidth - 1);
    EXPECT_GE(bounds.bottom, kHeight - 1);

    key(VK_BACK);
    EXPECT_EQ(capture_client(entry).count(kTonCircle), 0) << "deleting a digit removes it";
}

TEST_F(EntryControlTest, TextIsCentredAndTheSelectionDrawnInItsColours) {
    set_text("88");
    Image plain = capture_client(entry);
    RECT ink = plain.bounds_of(kText);
    ASSERT_LT(ink.left, ink.right) << "the text was drawn in input_text";
    int left_margin = ink.left;
    int right_margin = kWidth - ink.right;
    EXPECT_LE(std::abs(left_margin - right_margin), 4)
        << "text centred: " << left_margin << " vs " << right_margin;
    EXPECT_EQ(plain.count(kSelectBackground), 0);

    set_sel(0, -1);
    Image selected = capture_client(entry);
    EXPECT_GT(selected.count(kSelectBackground), 0);
    EXPECT_GT(selected.count(kSelectText), 0);
    EXPECT_EQ(selected.count(kText), 0) << "everything is selected";
    RECT band = selected.bounds_of(kSelectBackground);
    EXPECT_LE(band.left, ink.left);
    EXPECT_GE(band.right, ink.right);

    set_sel(0, 1);
    Image half = capture_client(entry);
    EXPECT_GT(half.count(kSelectBackground), 0);
    EXPECT_GT(half.count(kText), 0) << "the second 8 stays unselected";
}

TEST_F(EntryControlTest, TextStartsAtHalfTheFreeWidthRoundedUpLessOne) {
    set_text("1");
    for (int width : {kWidth, kWidth + 1}) {
        SetWindowPos(entry, nullptr, 0, 0, width, kHeight, SWP_NOMOVE | SWP_NOZORDER);
        int x0 = caret_x(0);
        int text_width = caret_x(1) - x0;
        EXPECT_EQ(x0, (width - text_width + 1) / 2 - 1)
            << "control width " << width << ", text width " << text_width;
        RECT caret = caret_rect(entry);
        POINT at{};
        GetCaretPos(&at);
        EXPECT_EQ(at.y, (kHeight - (caret.bottom - caret.top)) / 2 - 1)
            << "the caret stands at the text's top";
    }
}

TEST_F(EntryControlTest, RecolourTakesTheSettingsAgain) {
    constexpr COLORREF kNewBackground = RGB(10, 120, 30);
    settings().colors[kColorInputBackground] = kNewBackground;
    EXPECT_EQ(capture_client(entry).at(2, 2), kBackground) << "colours are kept until asked";
    SendMessageA(entry, kEntryRecolor, 0, 0);
    EXPECT_EQ(capture_client(entry).at(2, 2), kNewBackground);
    EXPECT_EQ(print_client(entry).at(2, 2), kNewBackground);
}

TEST_F(EntryControlTest, ResizingRedrawsAtTheNewSize) {
    set_text("100");
    SetWindowPos(entry, nullptr, 0, 0, 160, 50, SWP_NOMOVE | SWP_NOZORDER);
    Image image = capture_client(entry);
    ASSERT_EQ(image.width, 160);
    RECT bounds = image.bounds_of(kTonCircle);
    EXPECT_GE(bounds.right, 159);
    EXPECT_GE(bounds.bottom, 49);
}

// ---- Caret ------------------------------------------------------------------------------

TEST_F(EntryControlTest, CaretIsThinWhenInsertingAndCharacterWideWhenOverwriting) {
    set_text("18");
    int x0 = caret_x(0), x1 = caret_x(1);
    RECT thin = caret_rect(entry);
    EXPECT_EQ(thin.right - thin.left, 2);
    EXPECT_GT(thin.bottom - thin.top, 10) << "one line high";

    key(VK_INSERT);
    set_sel(0, 0);
    UpdateWindow(entry);
    RECT wide = caret_rect(entry);
    EXPECT_EQ(wide.right - wide.left, x1 - x0) << "as wide as the 1 under it";

    key(VK_INSERT);
    UpdateWindow(entry);
    RECT back = caret_rect(entry);
    EXPECT_EQ(back.right - back.left, 2);

    Font larger(create_face_font("Arial", 24, ANSI_CHARSET, FW_NORMAL, false, false));
    SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(larger.get()), 0);
    UpdateWindow(entry);
    RECT tall = caret_rect(entry);
    EXPECT_GT(tall.bottom - tall.top, back.bottom - back.top) << "a new font re-measures the line";
    EXPECT_EQ(tall.right - tall.left, 2);

    SetFocus(host.hwnd());
    RECT none = caret_rect(entry);
    EXPECT_TRUE(IsRectEmpty(&none)) << "no caret without the focus";
}

} // namespace
} // namespace tx9
