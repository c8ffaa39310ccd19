// The Check-Out dialog under Wine: opened on a score, typed at and spun while
// a thread timer looks at its tree.
#include "checkout/win/checkout_dialog.h"

#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// The top two levels of the tree, indented; "[+]" marks an expanded item
// with children, "[-]" a collapsed one.
void outline(HWND tree, HTREEITEM item, int level, std::string& out) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        char text[64] = "";
        TVITEMA info{};
        info.mask = TVIF_TEXT | TVIF_STATE, info.hItem = item, info.stateMask = TVIS_EXPANDED;
        info.pszText = text, info.cchTextMax = sizeof text;
        TreeView_GetItem(tree, &info);
        HTREEITEM child = TreeView_GetChild(tree, item);
        out += std::string(static_cast<size_t>(level) * 2, ' ') + text +
               (child ? (info.state & TVIS_EXPANDED) ? " [+]" : " [-]" : "") + "\n";
        if (level < 1) outline(tree, child, level + 1, out);
    }
}
std::string outline(HWND dialog) {
    std::string out;
    HWND tree = GetDlgItem(dialog, IDC_CHECKOUT_TREE);
    outline(tree, TreeView_GetRoot(tree), 0, out);
    return out;
}

// Opens the dialog on the score; each step runs at a later tick, Close follows the last.
void run_steps(HWND owner, int score, std::vector<std::function<void(HWND)>> steps) {
    size_t next = 0;
    DialogAnswerer answerer([&](const DialogInfo& info) {
        if (next == steps.size()) return IDCANCEL;
        steps[next++](info.hwnd);
        return 0;
    });
    run_checkout_dialog(owner, score);
    EXPECT_EQ(steps.size(), next) << "the dialog closed before its last step";
}

void type_score(HWND dialog, const std::string& text) {
    HWND field = GetDlgItem(dialog, IDC_CHECKOUT_SCORE);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    for (char c : "\b" + text)
        send_char(field, c);
}

struct CheckoutDialog : ::testing::Test {
    void SetUp() override {
        prepare_match_windows();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
    }
    TestWindow owner{400, 300, "owner"};
};

// It opens centred over its owner and on screen (here clamped to the bottom right).
TEST_F(CheckoutDialog, TreeFollowsEveryChangeOfTheScoreInTheRouteFont) {
    RECT work{}, at{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_TRUE(place_window(owner.hwnd(),
                             {work.right - 100, work.bottom - 50, work.right + 500, work.bottom + 400}));
    std::vector<std::string> shown;
    auto record = [&](HWND d) {
        shown.push_back(dialog_item_text(d, IDC_CHECKOUT_SCORE) + ": " + outline(d));
    };
    run_steps(owner.hwnd(), 100,
              {[&](HWND d) {
                   GetWindowRect(d, &at);
                   record(d);
                   HWND tree = GetDlgItem(d, IDC_CHECKOUT_TREE);
                   EXPECT_EQ(TreeView_GetRoot(tree), TreeView_GetFirstVisible(tree))
                       << "the first route in view";
                   EXPECT_EQ(48u, TreeView_GetIndent(tree));
                   // Routes and score in one fixed-pitch font, so that the darts line up.
                   HFONT font = reinterpret_cast<HFONT>(SendMessageA(tree, WM_GETFONT, 0, 0));
                   EXPECT_EQ(font, reinterpret_cast<HFONT>(
                                       SendDlgItemMessageA(d, IDC_CHECKOUT_SCORE, WM_GETFONT, 0, 0)));
                   LOGFONTA lf{};
                   GetObjectA(font, sizeof lf, &lf);
                   EXPECT_EQ(strprintf("%s %d %d", load_resource_string(IDS_ROUTE_FONT).c_str(),
                                       font_height_for_points(12), FIXED_PITCH),
                             strprintf("%s %ld %d", lf.lfFaceName, lf.lfHeight, lf.lfPitchAndFamily & 3));
                   int low = 0, high = 0;
                   SendDlgItemMessageA(d, IDC_CHECKOUT_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                       reinterpret_cast<LPARAM>(&high));
                   EXPECT_EQ("1-32767", std::to_string(low) + "-" + std::to_string(high));
                   type_score(d, "1708"); // three digits at most
                   record(d);
               },
               [&](HWND d) {
                   type_score(d, "3");
                   record(d);
                   send_key(GetDlgItem(d, IDC_CHECKOUT_SCORE), VK_UP); // the spin's arrow key
                   record(d);
                   SendDlgItemMessageA(d, IDC_CHECKOUT_SPIN, UDM_SETPOS32, 0, 159);
                   record(d);
                   type_score(d, "");
                   record(d);
               }});
    const std::vector<std::string> expected = {
        "100: T20 - D20\nS20 - T20 - D10 [+]\n  S20 - S20 - D20\n",
        "170: T20 - T20 - D25 [+]\n  S20 - T18 - D18 [-]\n",
        "3: S1  - D1 \n",
        "4: D2 \n",
        "159: ",
        ": ",
    };
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(std::make_pair(work.right, work.bottom), std::make_pair(at.right, at.bottom));
}

} // namespace
