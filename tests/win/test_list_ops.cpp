// The list operations on a real report list view under Wine: records owned as
// item data, moves with their texts, the notifications the dialogs see, and
// the arrow buttons' drawing.
#include "settings/win/list_ops.h"

#include "core/win/gdi.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace tx9;
using namespace tx9::wintest;

namespace {

// Counts the records alive, so a leak or a double free shows.
struct Counted {
    static int alive;
    std::string name;
    explicit Counted(std::string n) : name(std::move(n)) { ++alive; }
    Counted(const Counted& other) : name(other.name) { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;

struct ListFixture : ::testing::Test {
    TestWindow host{400, 300};
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0, 0,
                                400, 300, host.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);

    ListFixture() {
        for (int column = 0; column < 2; ++column) {
            LVCOLUMNA c{};
            c.mask = LVCF_WIDTH;
            c.cx = 100;
            SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
        }
    }
    ~ListFixture() override { free_list_records<Counted>(list); }

    // "name:column 1" of each item, in list order.
    std::string order() const {
        std::string out;
        for (int i = 0; i < list_count(list); ++i) {
            const Counted* record = list_record<Counted>(list, i);
            out += (record ? record->name : "-") + ":" + list_item_texts(list, i)[1] + " ";
        }
        return out;
    }
    void fill(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            append_list_copy(list, Counted(name), {name, "#" + name});
    }
};

TEST_F(ListFixture, ItemsOwnTheirRecordsUntilFreed) {
    fill({"a", "b"});
    auto owned = std::make_unique<Counted>("c");
    const Counted* given = owned.get();
    EXPECT_EQ(2, append_list_record(list, std::move(owned), {"c", "#c"}));
    EXPECT_EQ(given, list_record<Counted>(list, 2)) << "the record itself is the item's data";
    EXPECT_EQ(3, Counted::alive);
    EXPECT_EQ("a:#a b:#b c:#c ", order());
    EXPECT_EQ(0, move_list_item(list, 1, -1));
    EXPECT_EQ(-1, move_list_item(list, 0, -1));
    EXPECT_EQ("b:#b a:#a c:#c ", order()) << "a move carries the record and the texts";
    EXPECT_EQ(nullptr, list_record<Counted>(list, 3));
    EXPECT_EQ(nullptr, list_record<Counted>(list, -1));

    EXPECT_EQ("a", take_list_record<Counted>(list, 1)->name);
    EXPECT_EQ(2, Counted::alive);
    free_list_records<Counted>(list);
    EXPECT_EQ(0, Counted::alive);
    EXPECT_EQ("-:#b -:#a -:#c ", order()) << "free all keeps the items, without data";
}

TEST_F(ListFixture, NotificationsReachTheDialogInOneShape) {
    fill({"a"});
    // Notification, key, from the list, handled, what the dialog received (0 for nothing).
    const std::tuple<UINT, WORD, bool, INT_PTR, UINT, WPARAM> cases[] = {
        {LVN_ITEMCHANGED, 0, true, TRUE, kListNotify, LVN_ITEMCHANGED},
        {NM_CUSTOMDRAW, 0, true, TRUE, kListNotify, static_cast<WPARAM>(NM_CUSTOMDRAW)},
        {NM_DBLCLK, 0, true, TRUE, WM_COMMAND, MAKEWPARAM(1018, BN_CLICKED)},
        {LVN_KEYDOWN, VK_DELETE, true, TRUE, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED)},
        {LVN_KEYDOWN, VK_INSERT, true, FALSE, 0, 0},
        {LVN_COLUMNCLICK, 0, true, FALSE, 0, 0},
        {NM_DBLCLK, 0, false, FALSE, 0, 0},
    };
    for (const auto& [code, key, from_list, handled, message, wparam] : cases) {
        NMLVKEYDOWN note{};
        note.hdr.hwndFrom = from_list ? list : host.hwnd(), note.hdr.code = code, note.wVKey = key;
        host.clear_received();
        EXPECT_EQ(handled, filter_list_notification(host.hwnd(), note.hdr, list, 1018, 1019)) << code;
        ASSERT_EQ(message ? 1u : 0u, host.received().size()) << code;
        EXPECT_TRUE(!message ||
                    (host.received()[0].message == message && host.received()[0].wparam == wparam))
            << code;
    }
}

TEST_F(ListFixture, ArrowButtonsDrawDirectionStateAndFocus) {
    BackBuffer buffer;
    ASSERT_TRUE(buffer.resize(host.hwnd(), 24, 24));
    auto draw = [&](bool down, UINT state) {
        DRAWITEMSTRUCT item{};
        item.hDC = buffer.dc(), item.rcItem = {0, 0, 24, 24}, item.itemState = state;
        FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw_arrow_button(item, down);
        return capture_dc(item.hDC, 24, 24).pixels;
    };
    const auto up = draw(false, 0), focused = draw(false, ODS_FOCUS);
    EXPECT_NE(up, draw(true, 0));
    EXPECT_NE(up, draw(false, ODS_DISABLED));
    EXPECT_NE(up, draw(false, ODS_SELECTED));
    // The focus rectangle changes the ring 3 pixels inside and nothing else.
    int changed = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            if (up[static_cast<size_t>(y * 24 + x)] == focused[static_cast<size_t>(y * 24 + x)]) continue;
            ++changed;
            EXPECT_TRUE((x == 3 || x == 20 || y == 3 || y == 20) && x >= 3 && x <= 20 && y >= 3 && y <= 20)
                << x << "," << y;
        }
    EXPECT_GT(changed, 20);
}

} // namespace
