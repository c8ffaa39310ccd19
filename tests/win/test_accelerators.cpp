// The user accelerator table, the system's key names and the order in which
// the message loop lets the two accelerator tables translate keys.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/entry_control.h"
#include "app/win/startup.h"
#include "app/win/win_system.h"
#include "res/resource.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace tx9 {
namespace {

using wintest::KeyStateScope;
using wintest::Modifiers;
using wintest::TestWindow;

// GetKeyNameText straight from the scan code, with or without the extended bit.
std::string raw_key_name(int vk, bool extended) {
    UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    LONG lparam = static_cast<LONG>(scan << 16) | (extended ? (1L << 24) : 0);
    char name[256] = "";
    GetKeyNameTextA(lparam, name, sizeof name);
    return name;
}

std::vector<ACCEL> entries_of(HACCEL table) {
    int count = CopyAcceleratorTableA(table, nullptr, 0);
    std::vector<ACCEL> out(static_cast<size_t>(count));
    if (count > 0) CopyAcceleratorTableA(table, out.data(), count);
    return out;
}

TEST(KeyNames, ExtendedBitGoesWithTheNavigationKeysOnly) {
    const std::set<int> extended = {VK_APPS, VK_PRIOR, VK_NEXT, VK_END,    VK_HOME,   VK_LEFT,
                                    VK_UP,   VK_RIGHT, VK_DOWN, VK_INSERT, VK_DELETE, VK_NUMLOCK};
    for (int vk = 0; vk < 256; ++vk)
        EXPECT_EQ(extended.count(vk) == 1, is_extended_name_key(vk)) << "virtual key " << vk;
}

TEST(KeyNames, HomeWithAllModifiersIsNamedAsTheExtendedKey) {
    const std::string home = raw_key_name(VK_HOME, true);
    ASSERT_FALSE(home.empty()) << "the system names no extended Home key";
    // Without the bit the same scan code is the keypad's 7; the name must not be that one.
    EXPECT_NE(raw_key_name(VK_HOME, false), home);
    EXPECT_EQ("Ctrl+Shift+Alt+" + home, key_text(kModCtrl | kModShift | kModAlt, VK_HOME));
}

TEST(KeyNames, ModifierPrefixesAndPlainKeys) {
    struct Case {
        int modifiers;
        int key;
        const char* prefix;
    };
    const Case cases[] = {
        {0, VK_F1, ""},
        {kModShift, VK_F8, "Shift+"},
        {kModCtrl, 'N', "Ctrl+"},
        {kModAlt, VK_F9, "Alt+"},
        {kModCtrl | kModShift, VK_DELETE, "Ctrl+Shift+"},
        {kModShift | kModAlt, VK_NEXT, "Shift+Alt+"},
    };
    for (const Case& c : cases) {
        const std::string name = raw_key_name(c.key, is_extended_name_key(c.key));
        ASSERT_FALSE(name.empty()) << "virtual key " << c.key;
        EXPECT_EQ(std::string(c.prefix) + name, key_text(c.modifiers, c.key)) << "virtual key " << c.key;
    }
    EXPECT_EQ("F1", key_text(0, VK_F1));
    EXPECT_EQ("Ctrl+N", key_text(kModCtrl, 'N'));
}

TEST(KeyNames, NoKeyOrNoScanCodeGivesNoName) {
    EXPECT_EQ("", key_text(0, 0));
    EXPECT_EQ("", key_text(kModCtrl, 0));
    // Mouse buttons have virtual-key codes but no scan code.
    EXPECT_EQ("", key_text(kModShift, VK_LBUTTON));
    EXPECT_EQ("", win_key_namer().key_name(0x1FF));
}

TEST(UserAccelerators, OneEntryPerBindingWithAKeyOrModifiers) {
    const std::vector<KeyBinding> bindings = {
        {kTemplateBase + 60, 0, VK_F5},
        {IDM_NEW_GAME, kModCtrl, 'N'},
        {IDM_MIDDLE, 0, 0}, // nothing to press: left out
        {IDM_CHECKOUT, kModCtrl | kModShift | kModAlt, VK_HOME},
        {IDM_EXCHANGE, kModAlt, 0}, // a modifier alone still goes in
    };
    AcceleratorTable table = make_accelerator_table(bindings);
    ASSERT_TRUE(table.get());
    const std::vector<ACCEL> entries = entries_of(table.get());
    ASSERT_EQ(4u, entries.size());
    const ACCEL expected[] = {
        {FVIRTKEY, VK_F5, kTemplateBase + 60},
        {FVIRTKEY | FCONTROL, 'N', IDM_NEW_GAME},
        {FVIRTKEY | FCONTROL | FSHIFT | FALT, VK_HOME, IDM_CHECKOUT},
        {FVIRTKEY | FALT, 0, IDM_EXCHANGE},
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(expected[i].fVirt, entries[i].fVirt) << "entry " << i;
        EXPECT_EQ(expected[i].key, entries[i].key) << "entry " << i;
        EXPECT_EQ(expected[i].cmd, entries[i].cmd) << "entry " << i;
    }
}

TEST(UserAccelerators, NoUsableBindingGivesNoTable) {
    EXPECT_FALSE(make_accelerator_table({}).get());
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
        entry_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            entry_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AcceleratorOrder::entry_spy)));
        SetPropA(entry_, "tx9.test", this);
        SetFocus(entry_);
        wintest::pump_pending();
        host_.clear_received();
    }

    void TearDown() override { destroy_user_accelerators(); }

    // Posts one key press to the entry and lets the real loop run until the queue is empty.
    void press(UINT vk, Modifiers mods = {}) {
        KeyStateScope held(mods);
        const LPARAM lparam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16) |
                              (is_extended_name_key(static_cast<int>(vk)) ? (1L << 24) : 0);
        const UINT down = mods.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        PostMessageA(entry_, down, vk, lparam);
        PostQuitMessage(0);
        run_message_loop(host_.hwnd(), builtin_);
    }

    std::vector<int> commands() const {
        std::vector<int> out;
        for (const wintest::Received& r : host_.received())
            if (r.message == WM_COMMAND) out.push_back(LOWORD(r.wparam));
        return out;
    }

    static LRESULT CALLBACK entry_spy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = static_cast<AcceleratorOrder*>(GetPropA(hwnd, "tx9.test"));
        if (self && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR))
            self->entry_keys_.push_back(static_cast<int>(wparam));
        WNDPROC next = self ? self->entry_proc_ : DefWindowProcA;
        if (message == WM_NCDESTROY) RemovePropA(hwnd, "tx9.test");
        return CallWindowProcA(next, hwnd, message, wparam, lparam);
    }

    TestWindow host_;
    HWND entry_ = nullptr;
    WNDPROC entry_proc_ = nullptr;
    HACCEL builtin_ = nullptr;
    std::vector<int> entry_keys_;
};

TEST_F(AcceleratorOrder, BuiltInKeysBecomeCommandsOfTheMainWindow) {
    struct Case {
        UINT vk;
        Modifiers mods;
        int command;
    };
    const Case cases[] = {
        {VK_RETURN, {}, IDM_ENTER},  {VK_ESCAPE, {}, IDM_ESCAPE},  {VK_UP, {}, IDM_UP},
        {VK_DOWN, {}, IDM_DOWN},     {VK_TAB, {}, IDM_TAB},        {VK_TAB, wintest::kShift, IDM_SHIFT_TAB},
        {VK_PRIOR, {}, IDM_PAGE_UP}, {VK_NEXT, {}, IDM_PAGE_DOWN}, {VK_HOME, {}, IDM_HOME},
        {VK_END, {}, IDM_END},
    };
    for (const Case& c : cases) {
        host_.clear_received();
        entry_keys_.clear();
        press(c.vk, c.mods);
        EXPECT_EQ(std::vector<int>{c.command}, commands()) << "virtual key " << c.vk;
        EXPECT_TRUE(entry_keys_.empty()) << "the entry saw virtual key " << c.vk;
    }
    // A digit is no accelerator: it reaches the entry as typed.
    host_.clear_received();
    press('7');
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(2u, entry_keys_.size()) << "key down and the character";
}

TEST_F(AcceleratorOrder, UserBindingOnEnterWinsOverTheBuiltInEntry) {
    build_user_accelerators({{kTemplateBase + 100, 0, VK_RETURN}});
    press(VK_RETURN);
    EXPECT_EQ(std::vector<int>{kTemplateBase + 100}, commands());

    // Other built-in keys are untouched by that binding.
    host_.clear_received();
    press(VK_TAB);
    EXPECT_EQ(std::vector<int>{IDM_TAB}, commands());
}

TEST_F(AcceleratorOrder, DefaultBindingsTakeCtrlAAwayFromTheEntry) {
    build_user_accelerators(default_key_bindings());
    press('A', wintest::kCtrl);
    EXPECT_EQ(std::vector<int>{IDM_CHECKOUT}, commands());
    EXPECT_TRUE(entry_keys_.empty()) << "the entry's own select-all saw the key";

    struct Case {
        UINT vk;
        Modifiers mods;
        int command;
    };
    const Case cases[] = {
        {VK_F1, {}, kTemplateBase + 0},
        {VK_F1, wintest::kShift, kTemplateBase + 43},
        {VK_F8, wintest::kShift, kTemplateBase + 180},
        {'1', wintest::kCtrl, IDM_FINISH_1},
        {VK_F12, {}, IDM_FINISH_3},
    };
    for (const Case& c : cases) {
        host_.clear_received();
        press(c.vk, c.mods);
        EXPECT_EQ(std::vector<int>{c.command}, commands()) << "virtual key " << c.vk;
    }
}

TEST_F(AcceleratorOrder, WithoutUserTableCtrlAReachesTheEntry) {
    build_user_accelerators({});
    press('A', wintest::kCtrl);
    EXPECT_TRUE(commands().empty());
    EXPECT_FALSE(entry_keys_.empty());
}

} // namespace
} // namespace tx9
