// The helpers every Win32 test relies on, checked against the real system.
#include "app/win/beep.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tx9::wintest {
namespace {

TEST(WinTestSupport, DialogAnswererAnswersMessageBoxesAndSeesTheirText) {
    TestWindow host;
    DialogAnswerer answerer(
        [](const DialogInfo& dialog) { return dialog.text == "Save it?" ? IDNO : IDCANCEL; });
    int first = MessageBoxA(host.hwnd(), "Save it?", "tx9 Ver 0.0.6", MB_YESNO | MB_ICONQUESTION);
    int second = MessageBoxA(host.hwnd(), "Something else", "Other", MB_OKCANCEL);
    EXPECT_EQ(first, IDNO);
    EXPECT_EQ(second, IDCANCEL);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].title, "tx9 Ver 0.0.6");
    EXPECT_EQ(answerer.seen()[1].text, "Something else");
}

// A dialog with one edit field (id 100) and OK, from a template built in memory.
std::vector<WORD> edit_dialog_template() {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto text = [&t](const char* s) {
        while (*s)
            t.push_back(static_cast<WORD>(*s++));
        t.push_back(0);
    };
    auto align = [&t] {
        if (t.size() % 2) t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    dword(0);
    t.push_back(2);                       // items
    t.insert(t.end(), {10, 10, 120, 60}); // x, y, cx, cy
    t.push_back(0);                       // menu
    t.push_back(0);                       // class
    text("Name");
    align();
    dword(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL);
    dword(0);
    t.insert(t.end(), {5, 5, 100, 14, 100});
    t.insert(t.end(), {0xFFFF, 0x0081}); // edit
    text("");
    t.push_back(0);
    align();
    dword(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    dword(0);
    t.insert(t.end(), {5, 30, 50, 14, IDOK});
    t.insert(t.end(), {0xFFFF, 0x0080}); // button
    text("OK");
    t.push_back(0);
    return t;
}

INT_PTR CALLBACK edit_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
        char buffer[64] = "";
        GetDlgItemTextA(dialog, 100, buffer, sizeof buffer);
        std::strcpy(reinterpret_cast<char*>(GetWindowLongPtrA(dialog, DWLP_USER)), buffer);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

TEST(WinTestSupport, DialogAnswererCanFillADialogBeforePressingAButton) {
    TestWindow host;
    std::vector<WORD> tmpl = edit_dialog_template();
    char result[64] = "";
    int calls = 0;
    DialogAnswerer answerer([&calls](const DialogInfo& dialog) {
        // Let it be asked twice first: 0 means "not yet".
        if (++calls < 3) return 0;
        SetDlgItemTextA(dialog.hwnd, 100, "501");
        return IDOK;
    });
    INT_PTR ended =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                host.hwnd(), edit_dialog_proc, reinterpret_cast<LPARAM>(result));
    EXPECT_EQ(ended, IDOK);
    EXPECT_STREQ(result, "501");
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(answerer.seen().size(), 1u) << "one dialog, however often it was looked at";
}

TEST(WinTestSupport, KeyStateScopeHoldsModifiersForGetKeyState) {
    {
        KeyStateScope held(kCtrlShift);
        EXPECT_LT(GetKeyState(VK_SHIFT), 0);
        EXPECT_LT(GetKeyState(VK_CONTROL), 0);
        EXPECT_GE(GetKeyState(VK_MENU), 0);
    }
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "released at the end of the scope";
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST(WinTestSupport, HostRecordsWhatChildrenSendAndLetsTheTestAnswer) {
    TestWindow host;
    host.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_APP + 9) return 42;
        return std::nullopt;
    };
    EXPECT_EQ(SendMessageA(host.hwnd(), WM_APP + 9, 1, 2), 42);
    SendMessageA(host.hwnd(), WM_COMMAND, MAKEWPARAM(32873, 0), 0);
    SendMessageA(host.hwnd(), WM_SIZE, 0, 0); // not recorded
    EXPECT_EQ(host.count(WM_APP + 9), 1);
    EXPECT_EQ(host.count_command(32873), 1);
    EXPECT_EQ(host.received().size(), 2u);
}

TEST(WinTestSupport, PumpUntilWaitsForPostedWork) {
    TestWindow host;
    bool seen = false;
    host.handler = [&seen](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_APP + 1) seen = true;
        return std::nullopt;
    };
    PostMessageA(host.hwnd(), WM_APP + 1, 0, 0);
    EXPECT_FALSE(seen);
    EXPECT_TRUE(pump_until([&seen] { return seen; }, 1000));
    EXPECT_FALSE(pump_until([] { return false; }, 30)) << "gives up after the timeout";
}

TEST(WinTestSupport, CaptureReadsWhatAWindowPainted) {
    TestWindow host(60, 40);
    host.handler = [](HWND hwnd, UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
        auto paint = [hwnd](HDC dc) {
            RECT all;
            GetClientRect(hwnd, &all);
            HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
            FillRect(dc, &all, green);
            DeleteObject(green);
            RECT corner{0, 0, 10, 5};
            HBRUSH red = CreateSolidBrush(RGB(250, 0, 0));
            FillRect(dc, &corner, red);
            DeleteObject(red);
        };
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            paint(BeginPaint(hwnd, &ps));
            EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_PRINTCLIENT) {
            paint(reinterpret_cast<HDC>(wparam));
            return 0;
        }
        return std::nullopt;
    };
    for (const Image& image : {capture_client(host.hwnd()), print_client(host.hwnd())}) {
        ASSERT_EQ(image.width, 60);
        ASSERT_EQ(image.height, 40);
        EXPECT_EQ(image.count(RGB(250, 0, 0)), 50);
        EXPECT_EQ(image.at(59, 39), RGB(0, 200, 0));
        RECT red = image.bounds_of(RGB(250, 0, 0));
        EXPECT_EQ(red.right, 10);
        EXPECT_EQ(red.bottom, 5);
        EXPECT_EQ(image.count(RGB(250, 0, 0), RECT{5, 0, 60, 40}), 25);
    }
}

TEST(WinTestSupport, ClipboardRoundTrip) {
    ASSERT_TRUE(set_clipboard_text("180"));
    EXPECT_EQ(clipboard_text().value_or("<none>"), "180");
    clear_clipboard();
    EXPECT_FALSE(clipboard_text().has_value());
}

TEST(WinTestSupport, BeepCounterCountsInsteadOfSounding) {
    BeepCounter beeps;
    beep();
    beep(MB_ICONASTERISK);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(beeps.count(MB_ICONASTERISK), 1);
    beeps.reset();
    EXPECT_EQ(beeps.count(), 0);
}

} // namespace
} // namespace tx9::wintest
