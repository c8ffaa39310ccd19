// The Option sheet under Wine: each test opens the real modal sheet and drives its pages from a thread timer
// with messages, answering the Select key dialog, the message boxes and the colour chooser it opens.
#include "app/win/accelerators.h"
#include "app/win/startup.h"
#include "core/text.h"
#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "res/resource.h"
#include "settings/option_pages.h"
#include "settings/settings.h"
#include "settings/win/option_sheet.h"
#include "settings/win/select_key_dialog.h"
#include "support/fake_system.h"
#include "ui/score/win/score_sheet.h"
#include "win/support/sheet_fixture.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <commctrl.h>
#include <prsht.h>

namespace tx9 {
namespace {

using namespace wintest;

constexpr int kColorRedEdit = 706; // the colour chooser's red, green and blue fields

// One step of a test, done on the first dialog of its kind (known by a control or the program's own titles,
// in either language); it returns the button to press (0: none) and only posts clicks.
enum Kind { kSheet, kBox, kSelectKey, kChooser };
struct Step {
    Kind kind;
    std::function<int(HWND)> act;
};
bool is(Kind kind, const DialogInfo& d) {
    switch (kind) {
    case kSheet: return d.title == option_sheet_caption(system_services());
    case kBox: return d.title == kProgramTitle;
    case kSelectKey: return GetDlgItem(d.hwnd, IDC_SELECT_HOTKEY) != nullptr;
    case kChooser: return GetDlgItem(d.hwnd, kColorRedEdit) != nullptr;
    }
    return false;
}
// The message box showing the text, answered with the button.
Step box(int expected_text, int button) {
    return {kBox, [=](HWND box) {
                std::string shown;
                for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                    shown += window_text(c) + "|";
                EXPECT_NE(shown.find(load_resource_string(expected_text)), std::string::npos) << shown;
                return button;
            }};
}

HWND current_page(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}
HWND show_page(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return current_page(sheet);
}
void choose(HWND dialog, int id, int index, UINT select_message, int change_code) {
    SendDlgItemMessageA(dialog, id, select_message, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, change_code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
bool enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
LRESULT view_item(HWND page) {
    return SendDlgItemMessageA(page, IDC_VIEW_ITEMS, LB_GETCURSEL, 0, 0);
}

// The Key page's rows, "function = key" each.
std::string key_rows(HWND page) {
    HWND list = GetDlgItem(page, IDC_KEY_LIST);
    std::string rows;
    for (int i = 0, n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); i < n; ++i) {
        char function[256] = "", key[256] = "";
        ListView_GetItemText(list, i, 0, function, sizeof function);
        ListView_GetItemText(list, i, 1, key, sizeof key);
        rows += strprintf("%s = %s|", function, key);
    }
    return rows;
}
void select_row(HWND page, int row) {
    ListView_SetItemState(GetDlgItem(page, IDC_KEY_LIST), row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
}

// The Player page's boxes in the order of the flags they set.
constexpr int kPlayerBoxes[] = {IDC_PLAYER_NAME,      IDC_PLAYER_FIRST,  IDC_PLAYER_SETS,
                                IDC_PLAYER_LEGS,      IDC_PLAYER_TONS,   IDC_PLAYER_180S,
                                IDC_PLAYER_HIGH_OFF,  IDC_PLAYER_SHORT,  IDC_PLAYER_AVG_SCORE,
                                IDC_PLAYER_AVG_DARTS, IDC_PLAYER_ARRANGE};
std::string player_flags() {
    const PlayerPanelFlags& f = settings().player;
    return strprintf("%d%d%d%d%d%d%d%d%d%d%d", f.name, f.first, f.total_sets, f.total_legs, f.total_tons,
                     f.total_180s, f.total_high_off, f.total_short, f.avg_score, f.avg_darts, f.arrange);
}

// Clicks every box of the Player page; returns how they were checked before.
std::string click_boxes(HWND page) {
    std::string shown;
    for (int id : kPlayerBoxes) {
        shown += IsDlgButtonChecked(page, id) == BST_CHECKED ? "1" : "0";
        SendDlgItemMessageA(page, id, BM_CLICK, 0, 0);
    }
    return shown;
}

int CALLBACK take_face(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM out) {
    if (font->lfFaceName[0] == '@' || !IsCharUpperA(font->lfFaceName[0])) return 1;
    *reinterpret_cast<std::string*>(out) = font->lfFaceName;
    return 0;
}
// A face the system has, starting with a capital letter.
std::string installed_face() {
    std::string face;
    WindowDC screen(nullptr);
    EnumFontsA(screen.get(), nullptr, take_face, reinterpret_cast<LPARAM>(&face));
    return face;
}

// A point of the window on screen that shows the colour.
bool find_on_screen(HWND window, Color color, POINT* at) {
    RECT r{};
    GetWindowRect(window, &r);
    WindowDC screen(nullptr);
    const Image shot = capture_dc(screen.get(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    for (int y = std::max(r.top, 0L); y < std::min(r.bottom, static_cast<LONG>(shot.height)); ++y)
        for (int x = std::max(r.left, 0L); x < std::min(r.right, static_cast<LONG>(shot.width)); ++x)
            if (shot.at(x, y) == color) return *at = POINT{x, y}, true;
    return false;
}
// A press of the left button over the page, as the cursor request that comes with it.
void press_at(HWND page, POINT at) {
    SetCursorPos(at.x, at.y);
    SendMessageA(page, WM_SETCURSOR, reinterpret_cast<WPARAM>(page), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
}

class OptionSheetTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Every window class of the program, the panels of the previews included.
        static const bool registered = register_window_classes(GetModuleHandleA(nullptr));
        ASSERT_TRUE(registered);
        prepare_match_windows();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        saved_ = settings();
        settings().font_name = installed_face();
        for (int i = 0; i < kColorCount; ++i)
            settings().colors[static_cast<size_t>(i)] = color_default(i, system_services());
        settings().keys.bindings = {{kTemplateBase + 60, 0, VK_F1},
                                    {IDM_CHECKOUT, kModCtrl, 'A'},
                                    {IDM_ENTER, 0, 'B'}, // no menu text: not listed, dropped on OK
                                    {kTemplateBase + 45, kModShift, VK_F4}};
        settings().keys.keys_customised = 0;
        settings().player = PlayerPanelFlags{};
    }
    void TearDown() override { settings() = saved_; }

    // Runs the sheet through the steps, each of which must be taken; a dialog waiting 5 s for a step that
    // does not come is cancelled.
    bool run(std::vector<Step> steps) {
        size_t next = 0;
        DWORD last = GetTickCount();
        DialogAnswerer answerer([&](const DialogInfo& info) -> int {
            if (next < steps.size() && is(steps[next].kind, info))
                return last = GetTickCount(), steps[next++].act(info.hwnd);
            if (GetTickCount() - last < 5000) return 0;
            ADD_FAILURE() << "no dialog for step " << next << ": " << info.title << " cancelled";
            return IDCANCEL;
        });
        const bool result = run_option_sheet(owner_.hwnd(), win_key_namer());
        EXPECT_EQ(next, steps.size()) << "the run ended before step " << next;
        return result;
    }
    static std::string row(int action, int modifiers, int key) {
        std::vector<std::string> texts = key_page_texts(win_key_namer(), KeyBinding{action, modifiers, key});
        return texts[0] + " = " + texts[1] + "|";
    }

    Settings saved_;
    TestWindow owner_{300, 200, "owner"};
};

// ---- The sheet and the View page

TEST_F(OptionSheetTest, CancelOnAnyPageRestoresColoursFontKeysAndBoxes) {
    std::string lower = settings().font_name;
    CharLowerA(lower.data());
    ASSERT_NE(settings().font_name, lower);
    for (int cancel_page = 0; cancel_page < 3; ++cancel_page) {
        SCOPED_TRACE(cancel_page);
        settings().colors.fill(0x123456);
        settings().font_name = lower;
        settings().keys.keys_customised = 0;
        std::string chosen_face;
        EXPECT_FALSE(run({
            {kSheet,
             [](HWND sheet) {
                 EXPECT_EQ(dialog_item_text(current_page(sheet), IDC_VIEW_FONT), "")
                     << "the face is matched case-sensitively";
                 return press_button(current_page(sheet), IDC_VIEW_RESET), 0;
             }},
            box(IDS_RESET_COLORS_QUESTION, IDYES),
            {kSheet,
             [&](HWND sheet) {
                 HWND page = current_page(sheet);
                 EXPECT_EQ(settings().colors[kColorInputBackground], 8454143u) << "Reset gives the defaults";
                 EXPECT_EQ(dialog_item_text(page, IDC_VIEW_COLOR), color_button_text(settings().colors[0]));
                 choose(page, IDC_VIEW_FONT, 0, CB_SETCURSEL, CBN_SELCHANGE);
                 chosen_face = dialog_item_text(page, IDC_VIEW_FONT);
                 EXPECT_EQ(settings().font_name, chosen_face)
                     << "a chosen face goes into the Settings at once";
                 page = show_page(sheet, cancel_page);
                 if (cancel_page == 1) { // a move on the Key page
                     select_row(page, 1);
                     SendMessageA(page, WM_COMMAND, IDC_LIST_UP, 0);
                     EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_LIST_UP));
                 }
                 if (cancel_page == 2) {
                     EXPECT_EQ(click_boxes(page), "11111010110") << "the boxes as shown";
                 }
                 return IDCANCEL;
             }},
        }));
        EXPECT_NE(chosen_face, lower);
        EXPECT_EQ(std::count(settings().colors.begin(), settings().colors.end(), 0x123456u), kColorCount);
        EXPECT_EQ(settings().font_name, lower);
        EXPECT_EQ(test::describe(settings().keys.bindings), "51060:0:112 40034:8:65 40001:0:66 51045:4:115 ");
        EXPECT_EQ(settings().keys.keys_customised, cancel_page == 1 ? 1 : 0) << "an edit marks it at once";
        EXPECT_EQ(player_flags(), "11111010110");
    }
}

TEST_F(OptionSheetTest, TheColourChooserAndPressesOnThePreviewsSetColours) {
    // Each preview (child id in the preview area: sheet 1, player panel 2, left-score panel 3) in a colour
    // of its own that no other item has.
    const std::tuple<int, int, Color> rows[] = {
        {1, kColorOddBackground, RGB(200, 100, 50)},
        {2, kColorPlayerNameBackground, RGB(30, 160, 90)},
        {3, kColorLeftActiveBorder, RGB(150, 20, 170)},
    };
    for (auto [preview, item, color] : rows)
        settings().colors[static_cast<size_t>(item)] = color;
    const Color chosen = RGB(10, 20, 30);
    EXPECT_TRUE(run({
        {kSheet,
         [](HWND sheet) {
             // The View page opens on the first item and the face in use; the preview shows a score not
             // entered.
             HWND page = current_page(sheet);
             EXPECT_EQ(view_item(page), 0);
             EXPECT_EQ(dialog_item_text(page, IDC_VIEW_FONT), settings().font_name);
             ScoreSheetInfo info;
             EXPECT_TRUE(score_sheet_info(GetDlgItem(GetDlgItem(page, IDC_VIEW_PREVIEW), 1), &info));
             EXPECT_EQ(strprintf("%d %s %s", info.disabled, window_text(info.entry).c_str(),
                                 info.record->player[0].name.c_str()),
                       "1 100 " + load_resource_string(IDS_PLAYER1));
             choose(page, IDC_VIEW_ITEMS, kColorInputBackground, LB_SETCURSEL, LBN_SELCHANGE);
             return press_button(page, IDC_VIEW_COLOR), 0;
         }},
        {kChooser,
         [](HWND chooser) {
             for (int i = 0; i < 3; ++i)
                 SetDlgItemInt(chooser, kColorRedEdit + i, static_cast<UINT>(10 * (i + 1)), FALSE);
             return IDOK;
         }},
        {kSheet,
         [&](HWND sheet) {
             HWND page = current_page(sheet);
             EXPECT_EQ(settings().colors[kColorInputBackground], chosen);
             EXPECT_EQ(dialog_item_text(page, IDC_VIEW_COLOR), color_button_text(chosen));
             UpdateWindow(sheet);
             pump_for(300);
             auto preview = [page](int id) { return GetDlgItem(GetDlgItem(page, IDC_VIEW_PREVIEW), id); };
             POINT at{};
             EXPECT_TRUE(find_on_screen(preview(1), chosen, &at))
                 << "the preview's entry takes the colour at once";
             for (auto [id, item, color] : rows) {
                 SCOPED_TRACE(id);
                 if (!find_on_screen(preview(id), color, &at)) {
                     ADD_FAILURE() << "the preview's colour is not on screen";
                     continue;
                 }
                 press_at(page, at);
                 EXPECT_EQ(view_item(page), item);
                 EXPECT_EQ(dialog_item_text(page, IDC_VIEW_COLOR), color_button_text(color));
             }
             choose(page, IDC_VIEW_ITEMS, kColorLast3NumberText, LB_SETCURSEL, LBN_SELCHANGE);
             RECT reset{};
             GetWindowRect(GetDlgItem(page, IDC_VIEW_RESET), &reset);
             press_at(page, POINT{reset.left + 2, reset.top + 2});
             EXPECT_EQ(view_item(page), kColorLast3NumberText)
                 << "a press outside the previews selects nothing";
             find_on_screen(preview(1), std::get<2>(rows[0]), &at);
             KeyStateScope shift(kShift);
             press_at(page, at);
             EXPECT_EQ(settings().colors[kColorLast3NumberText], std::get<2>(rows[0]))
                 << "Shift+press assigns the colour";
             return IDOK;
         }},
    }));
    EXPECT_EQ(settings().colors[kColorInputBackground], chosen);
}

// ---- The Key page, the Select key dialog and the Player page (Add with a new
// template and key is checked end to end)

TEST_F(OptionSheetTest, KeyPageAndSelectKeyEditTheListAndOkStoresItAndThePlayerBoxes) {
    EXPECT_TRUE(run({
        {kSheet,
         [&](HWND sheet) {
             HWND page = show_page(sheet, 1);
             EXPECT_EQ(key_rows(page), row(kTemplateBase + 60, 0, VK_F1) + row(IDM_CHECKOUT, kModCtrl, 'A') +
                                           row(kTemplateBase + 45, kModShift, VK_F4));
             EXPECT_FALSE(enabled(page, IDC_LIST_DOWN)) << "nothing selected yet";
             select_row(page, 0);
             EXPECT_TRUE(enabled(page, IDC_LIST_DOWN));
             SendMessageA(page, WM_COMMAND, IDC_LIST_DOWN, 0);
             EXPECT_EQ(ListView_GetNextItem(GetDlgItem(page, IDC_KEY_LIST), -1, LVNI_SELECTED), 1);
             return press_button(page, IDC_LIST_DELETE), 0;
         }},
        box(IDS_DELETE_QUESTION, IDYES),
        {kSheet,
         [&](HWND sheet) {
             HWND page = current_page(sheet);
             EXPECT_EQ(ListView_GetNextItem(GetDlgItem(page, IDC_KEY_LIST), -1, LVNI_SELECTED), 1)
                 << "the item now at the deleted place is selected";
             static NMHDR double_click;
             double_click = NMHDR{GetDlgItem(page, IDC_KEY_LIST), IDC_KEY_LIST, static_cast<UINT>(NM_DBLCLK)};
             PostMessageA(page, WM_NOTIFY, IDC_KEY_LIST, reinterpret_cast<LPARAM>(&double_click));
             return 0;
         }},
        {kSelectKey,
         [](HWND d) {
             EXPECT_EQ(dialog_item_text(d, IDC_SELECT_NUMBER), "45");
             EXPECT_TRUE(enabled(d, IDC_SELECT_NUMBER)) << "a template is chosen";
             EXPECT_EQ(SendDlgItemMessageA(d, IDC_SELECT_HOTKEY, HKM_GETHOTKEY, 0, 0),
                       VK_F4 | (HOTKEYF_SHIFT << 8));
             choose(d, IDC_SELECT_FUNCTION, 21, CB_SETCURSEL, CBN_SELCHANGE); // Check-Out takes no number
             EXPECT_FALSE(enabled(d, IDC_SELECT_NUMBER));
             choose(d, IDC_SELECT_FUNCTION, 0, CB_SETCURSEL, CBN_SELCHANGE);
             SetDlgItemTextA(d, IDC_SELECT_NUMBER, "181");
             return press_button(d, IDOK), 0; // the dialog stays: not answered here
         }},
        box(IDS_TEMPLATE_RANGE, IDOK),
        {kSelectKey,
         [](HWND d) {
             // With no window manager the activation may stay elsewhere after the box: take it back.
             if (!GetFocus()) SetActiveWindow(d);
             EXPECT_TRUE(pump_until([d] { return GetFocus() == GetDlgItem(d, IDC_SELECT_NUMBER); }, 2000))
                 << "a template above 180 is refused with the focus on the number";
             choose(d, IDC_SELECT_FUNCTION, 1, CB_SETCURSEL, CBN_SELCHANGE); // a separator
             return press_button(d, IDOK), 0;
         }},
        {kSelectKey,
         [](HWND d) {
             EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_SELECT_FUNCTION)) << "a separator is refused";
             choose(d, IDC_SELECT_FUNCTION, 0, CB_SETCURSEL, CBN_SELCHANGE);
             SetDlgItemTextA(d, IDC_SELECT_NUMBER, "7");
             SendDlgItemMessageA(d, IDC_SELECT_HOTKEY, HKM_SETHOTKEY, VK_F5 | (HOTKEYF_SHIFT << 8), 0);
             return IDOK;
         }},
        {kSheet,
         [&](HWND sheet) {
             EXPECT_EQ(key_rows(current_page(sheet)),
                       row(IDM_CHECKOUT, kModCtrl, 'A') + row(kTemplateBase + 7, kModShift, VK_F5));
             click_boxes(show_page(sheet, 2));
             return IDOK;
         }},
    }));
    EXPECT_EQ(test::describe(settings().keys.bindings), "40034:8:65 51007:4:116 ");
    EXPECT_EQ(player_flags(), "00000101001");

    // A full list refuses a new binding, and the refusal marks nothing.
    settings().keys.bindings.assign(kMaxKeyBindings, KeyBinding{kTemplateBase + 1, 0, VK_F1});
    settings().keys.keys_customised = 0;
    EXPECT_FALSE(run({{kSheet, [](HWND sheet) { return press_button(show_page(sheet, 1), IDC_LIST_ADD), 0; }},
                      box(IDS_CANNOT_ADD, IDOK),
                      {kSheet, [](HWND) { return IDCANCEL; }}}));
    EXPECT_EQ(settings().keys.keys_customised, 0);
}

// The option and record dialogs have the same controls in the same places in both languages.
TEST(DialogResources, JapaneseDialogsHaveTheEnglishLayout) {
    for (int dialog : {IDD_PAGE_VIEW, IDD_PAGE_KEY, IDD_PAGE_PLAYER, IDD_SELECT_KEY, IDD_HISTORY,
                       IDD_SCORE_LIST, IDD_SCHEDULE, IDD_CHECKOUT}) {
        SCOPED_TRACE(dialog);
        DialogTemplate en = read_dialog_template(dialog, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        DialogTemplate ja = read_dialog_template(dialog, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        EXPECT_FALSE(en.items.empty());
        EXPECT_EQ(en.layout(), ja.layout());
        EXPECT_NE(en.caption, ja.caption) << "not translated";
    }
}

} // namespace
} // namespace tx9
