// The system's key names, the user accelerator table and the order in which
// the message loop lets the two accelerator tables translate keys.
#include "app/key_bindings.h"
#include "app/win/accelerators.h"
#include "app/win/startup.h"
#include "res/resource.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace tx9 {
namespace {

TEST(KeyNames, HomeIsNamedAsTheExtendedKeyAndAKeyWithoutScanCodeHasNoName) {
    const UINT scan = MapVirtualKeyA(VK_HOME, MAPVK_VK_TO_VSC);
    char extended[64] = "", keypad[64] = "";
    GetKeyNameTextA(static_cast<LONG>(scan << 16) | (1L << 24), extended, sizeof extended);
    GetKeyNameTextA(static_cast<LONG>(scan << 16), keypad, sizeof keypad);
    ASSERT_STRNE("", extended) << "the system names no extended Home key";
    EXPECT_STRNE(keypad, extended);
    EXPECT_EQ(std::string("Ctrl+Shift+Alt+") + extended, key_text(kModCtrl | kModShift | kModAlt, VK_HOME));
    EXPECT_EQ("Ctrl+N", key_text(kModCtrl, 'N'));
    EXPECT_EQ("", key_text(kModShift, VK_LBUTTON));
}

// A host standing in for the main window, with an edit control that has the
// focus, as the score entry has while a visit is typed.
class AcceleratorOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        builtin_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));
        ASSERT_TRUE(builtin_) << "accelerators 101 are missing";
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 24, host_.hwnd(), nullptr,
                                nullptr, nullptr);
        SetFocus(edit_);
    }
    void TearDown() override { destroy_user_accelerators(); }

    // Posts one key press to the edit and runs the real loop until the queue
    // is empty; returns the accelerator commands the host received.
    std::vector<int> press(UINT vk, wintest::Modifiers mods = {}) {
        host_.clear_received();
        wintest::KeyStateScope held(mods);
        const LPARAM lparam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16) |
                              (is_extended_key(static_cast<int>(vk)) ? (1L << 24) : 0);
        PostMessageA(edit_, WM_KEYDOWN, vk, lparam);
        PostQuitMessage(0);
        run_message_loop(host_.hwnd(), builtin_);
        std::vector<int> out;
        for (const wintest::Received& r : host_.received())
            if (r.message == WM_COMMAND && r.lparam == 0) out.push_back(LOWORD(r.wparam));
        return out;
    }

    wintest::TestWindow host_;
    HWND edit_ = nullptr;
    HACCEL builtin_ = nullptr;
};

using Commands = std::vector<int>;

TEST_F(AcceleratorOrder, BuiltInKeysBecomeCommandsOfTheMainWindow) {
    const std::pair<UINT, int> cases[] = {
        {VK_RETURN, IDM_ENTER},   {VK_ESCAPE, IDM_ESCAPE}, {VK_UP, IDM_UP},
        {VK_DOWN, IDM_DOWN},      {VK_TAB, IDM_TAB},       {VK_PRIOR, IDM_PAGE_UP},
        {VK_NEXT, IDM_PAGE_DOWN}, {VK_HOME, IDM_HOME},     {VK_END, IDM_END}};
    for (const auto& [vk, command] : cases)
        EXPECT_EQ(Commands{command}, press(vk)) << "virtual key " << vk;
    EXPECT_EQ(Commands{IDM_SHIFT_TAB}, press(VK_TAB, wintest::kShift));
    EXPECT_TRUE(press('7').empty());
    EXPECT_EQ("7", wintest::window_text(edit_)) << "a key that is no accelerator reaches the edit as typed";
}

TEST_F(AcceleratorOrder, UserBindingsComeBeforeTheBuiltInOnes) {
    build_user_accelerators({{kTemplateBase + 100, 0, VK_RETURN}, {kTemplateBase + 7, 0, '7'}});
    EXPECT_EQ(Commands{kTemplateBase + 100}, press(VK_RETURN)) << "the user's Enter wins";
    EXPECT_EQ(Commands{IDM_TAB}, press(VK_TAB)) << "other built-in keys are untouched";
    EXPECT_EQ(Commands{kTemplateBase + 7}, press('7'));
    EXPECT_EQ("", wintest::window_text(edit_)) << "a translated key goes no further";

    build_user_accelerators(default_key_bindings());
    EXPECT_EQ(Commands{IDM_CHECKOUT}, press('A', wintest::kCtrl));
    EXPECT_EQ(Commands{kTemplateBase + 43}, press(VK_F1, wintest::kShift));

    // Bindings without key or modifiers leave the built-in keys working alone.
    build_user_accelerators({{IDM_MIDDLE, 0, 0}});
    EXPECT_EQ(Commands{IDM_ENTER}, press(VK_RETURN));
}

} // namespace
} // namespace tx9
