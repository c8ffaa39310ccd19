// The user accelerator table, the system's key names and the order in which
// the message loop lets the two accelerator tables translate keys.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/entry_control.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace tx9 {
namespace {

using wintest::Modifiers;

// GetKeyNameText straight from the scan code, with or without the extended bit.
std::string raw_key_name(int vk, bool extended) {
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    char name[256] = "";
    GetKeyNameTextA(static_cast<LONG>(scan << 16) | (extended ? (1L << 24) : 0), name, sizeof name);
    return name;
}

std::vector<ACCEL> entries_of(HACCEL table) {
    std::vector<ACCEL> out(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    if (!out.empty()) CopyAcceleratorTableA(table, out.data(), static_cast<int>(out.size()));
    return out;
}

TEST(KeyNames, ModifiersInFixedOrderThenTheSystemName) {
    // Home must be named as the extended key, not as the keypad's 7.
    const std::string home = raw_key_name(VK_HOME, true);
    ASSERT_FALSE(home.empty()) << "the system names no extended Home key";
    EXPECT_NE(raw_key_name(VK_HOME, false), home);
    EXPECT_EQ("Ctrl+Shift+Alt+" + home, key_text(kModCtrl | kModShift | kModAlt, VK_HOME));

    struct Case {
        int modifiers, key;
        const char* prefix; // nullptr: no name at all
    };
    const Case cases[] = {{0, VK_F1, ""},
                          {kModShift, VK_F8, "Shift+"},
                          {kModAlt, VK_F9, "Alt+"},
                          {kModCtrl | kModShift, VK_DELETE, "Ctrl+Shift+"},
                          {kModShift | kModAlt, VK_NEXT, "Shift+Alt+"},
                          {0, 0, nullptr},
                          {kModCtrl, 0, nullptr},
                          {kModShift, VK_LBUTTON, nullptr}}; // a virtual key without a scan code
    for (const Case& c : cases) {
        std::string expected;
        if (c.prefix) {
            expected = c.prefix + raw_key_name(c.key, is_extended_key(c.key));
            ASSERT_NE(c.prefix, expected) << "the system names no virtual key " << c.key;
        }
        EXPECT_EQ(expected, key_text(c.modifiers, c.key)) << "virtual key " << c.key;
    }
    EXPECT_EQ("Ctrl+N", key_text(kModCtrl, 'N'));
}

TEST(UserAccelerators, OneEntryPerBindingWithAKeyOrModifiersInBindingOrder) {
    AcceleratorTable table = make_accelerator_table({
        {kTemplateBase + 60, 0, VK_F5},
        {IDM_NEW_GAME, kModCtrl, 'N'},
        {IDM_MIDDLE, 0, 0}, // nothing to press: left out
        {IDM_CHECKOUT, kModCtrl | kModShift | kModAlt, VK_HOME},
        {IDM_EXCHANGE, kModAlt, 0}, // a modifier alone still goes in
    });
    ASSERT_TRUE(table.get());
    const std::vector<ACCEL> entries = entries_of(table.get());
    const ACCEL expected[] = {{FVIRTKEY, VK_F5, kTemplateBase + 60},
                              {FVIRTKEY | FCONTROL, 'N', IDM_NEW_GAME},
                              {FVIRTKEY | FCONTROL | FSHIFT | FALT, VK_HOME, IDM_CHECKOUT},
                              {FVIRTKEY | FALT, 0, IDM_EXCHANGE}};
    ASSERT_EQ(std::size(expected), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(expected[i].fVirt, entries[i].fVirt) << "entry " << i;
        EXPECT_EQ(expected[i].key, entries[i].key) << "entry " << i;
        EXPECT_EQ(expected[i].cmd, entries[i].cmd) << "entry " << i;
    }

    EXPECT_FALSE(make_accelerator_table({{IDM_MIDDLE, 0, 0}, {kTemplateBase, 0, 0}}).get());
    build_user_accelerators(default_key_bindings());
    ASSERT_TRUE(user_accelerators());
    EXPECT_EQ(29u, entries_of(user_accelerators()).size());
    build_user_accelerators({});
    EXPECT_FALSE(user_accelerators()) << "an empty list leaves no user table";
    build_user_accelerators(default_key_bindings());
    destroy_user_accelerators();
    EXPECT_FALSE(user_accelerators());
}

// A host standing in for the main window, with a real score-entry control
// that has the focus, as it has while a visit is typed.
class AcceleratorOrder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(GetModuleHandleA(nullptr));
        set_system_services(&system);
        register_entry_control(GetModuleHandleA(nullptr));
    }

    void SetUp() override {
        builtin_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));
        ASSERT_TRUE(builtin_) << "accelerators 101 are missing";
        entry_ = CreateWindowExA(0, kEntryControlClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 80,
                                 24, host_.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(entry_);
        current_ = this;
        entry_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            entry_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AcceleratorOrder::entry_spy)));
        SetFocus(entry_);
        wintest::pump_pending();
    }

    void TearDown() override {
        destroy_user_accelerators();
        DestroyWindow(entry_);
        current_ = nullptr;
    }

    // Posts one key press to the entry and runs the real loop until the queue
    // is empty; returns the commands the host received.
    std::vector<int> press(UINT vk, Modifiers mods = {}) {
        host_.clear_received();
        entry_keys_.clear();
        wintest::KeyStateScope held(mods);
        const LPARAM lparam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16) |
                              (is_extended_key(static_cast<int>(vk)) ? (1L << 24) : 0);
        PostMessageA(entry_, mods.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lparam);
        PostQuitMessage(0);
        run_message_loop(host_.hwnd(), builtin_);
        std::vector<int> out;
        for (const wintest::Received& r : host_.received())
            if (r.message == WM_COMMAND) out.push_back(LOWORD(r.wparam));
        return out;
    }

    static LRESULT CALLBACK entry_spy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR)
            current_->entry_keys_.push_back(static_cast<int>(wparam));
        return CallWindowProcA(current_->entry_proc_, hwnd, message, wparam, lparam);
    }

    static inline AcceleratorOrder* current_ = nullptr;
    wintest::TestWindow host_;
    HWND entry_ = nullptr;
    WNDPROC entry_proc_ = nullptr;
    HACCEL builtin_ = nullptr;
    std::vector<int> entry_keys_;
};

using Commands = std::vector<int>;

TEST_F(AcceleratorOrder, BuiltInKeysBecomeCommandsOfTheMainWindow) {
    const std::pair<UINT, int> cases[] = {
        {VK_RETURN, IDM_ENTER},   {VK_ESCAPE, IDM_ESCAPE}, {VK_UP, IDM_UP},
        {VK_DOWN, IDM_DOWN},      {VK_TAB, IDM_TAB},       {VK_PRIOR, IDM_PAGE_UP},
        {VK_NEXT, IDM_PAGE_DOWN}, {VK_HOME, IDM_HOME},     {VK_END, IDM_END}};
    for (const auto& [vk, command] : cases) {
        EXPECT_EQ(Commands{command}, press(vk)) << "virtual key " << vk;
        EXPECT_TRUE(entry_keys_.empty()) << "the entry saw virtual key " << vk;
    }
    EXPECT_EQ(Commands{IDM_SHIFT_TAB}, press(VK_TAB, wintest::kShift));
    // A digit is no accelerator: it reaches the entry as typed.
    EXPECT_TRUE(press('7').empty());
    EXPECT_EQ(2u, entry_keys_.size()) << "key down and the character";
}

TEST_F(AcceleratorOrder, UserBindingOnEnterWinsOverTheBuiltInEntry) {
    build_user_accelerators({{kTemplateBase + 100, 0, VK_RETURN}});
    EXPECT_EQ(Commands{kTemplateBase + 100}, press(VK_RETURN));
    EXPECT_EQ(Commands{IDM_TAB}, press(VK_TAB)) << "other built-in keys are untouched";
}

TEST_F(AcceleratorOrder, DefaultBindingsTakeCtrlAAwayFromTheEntry) {
    // Without a user table the entry does see Ctrl+A (its select-all).
    build_user_accelerators({});
    EXPECT_TRUE(press('A', wintest::kCtrl).empty());
    EXPECT_FALSE(entry_keys_.empty());

    build_user_accelerators(default_key_bindings());
    EXPECT_EQ(Commands{IDM_CHECKOUT}, press('A', wintest::kCtrl));
    EXPECT_TRUE(entry_keys_.empty()) << "the entry's own select-all saw the key";

    EXPECT_EQ(Commands{kTemplateBase + 0}, press(VK_F1));
    EXPECT_EQ(Commands{kTemplateBase + 43}, press(VK_F1, wintest::kShift));
    EXPECT_EQ(Commands{kTemplateBase + 180}, press(VK_F8, wintest::kShift));
    EXPECT_EQ(Commands{IDM_FINISH_1}, press('1', wintest::kCtrl));
    EXPECT_EQ(Commands{IDM_FINISH_3}, press(VK_F12));
}

} // namespace
} // namespace tx9
