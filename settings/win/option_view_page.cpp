// The View page of the Option sheet: the 21 colours and the font face, with a
// score sheet, a player panel and a left-score panel as a live preview. The
// colours and the face go into the Settings at once; Cancel puts them back.
#include "core/win/guard.h"
#include "core/win/gdi.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "res/resource.h"
#include "settings/option_pages.h"
#include "settings/win/option_sheet_pages.h"

#include <array>
#include <set>
#include <string>

#include <commdlg.h>

namespace tx9 {

namespace {

// The preview windows are created by class name, so the page works (without
// the preview) where a class is not registered.
constexpr char kSheetClass[] = "score_list_wnd";
constexpr char kPlayerClass[] = "score_player_wnd";
constexpr char kLeftClass[] = "score_left_wnd";

// Their child ids inside the preview area.
enum : int { kPreviewSheet = 1, kPreviewPlayer = 2, kPreviewLeft = 3 };

enum : UINT {
    kSheetTemplate = WM_APP + 104, // wParam score, lParam 1: into the entry, not entered
    kSheetAppearance = WM_APP + 108,
    kSheetDisable = WM_APP + 109,
    kLeftAppearance = WM_APP + 202,
    kLeftActive = WM_APP + 203,
    kPlayerAppearance = WM_APP + 301,
    kPlayerFullView = WM_APP + 305,
};

// The colour chooser's custom colours: kept for the run of the program, never saved.
std::array<COLORREF, 16>& custom_colors() {
    static std::array<COLORREF, 16> colors{};
    return colors;
}

HWND preview_window(HWND page, int id) {
    return GetDlgItem(GetDlgItem(page, IDC_VIEW_PREVIEW), id);
}

void send_if(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    if (window) SendMessageA(window, message, wparam, lparam);
}

// The wait cursor for the scope: the previews take a while to rebuild.
class WaitCursor {
  public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR old_;
};

void rebuild_previews(HWND page) {
    WaitCursor wait;
    send_if(preview_window(page, kPreviewSheet), kSheetAppearance);
    send_if(preview_window(page, kPreviewPlayer), kPlayerAppearance);
    send_if(preview_window(page, kPreviewLeft), kLeftAppearance);
}

int selected_item(HWND page) {
    LRESULT item = SendDlgItemMessageA(page, IDC_VIEW_ITEMS, LB_GETCURSEL, 0, 0);
    return item >= 0 && item < kColorCount ? static_cast<int>(item) : -1;
}

Color button_color(HWND page) {
    char text[32] = "";
    GetDlgItemTextA(page, IDC_VIEW_COLOR, text, sizeof text);
    return color_from_button_text(text);
}

void set_button_color(HWND page, Color color) {
    SetDlgItemTextA(page, IDC_VIEW_COLOR, color_button_text(color).c_str());
    InvalidateRect(GetDlgItem(page, IDC_VIEW_COLOR), nullptr, FALSE);
}

// The colour button shows the selected item's colour, and works only while one is selected.
void show_selected_color(HWND page) {
    const int item = selected_item(page);
    EnableWindow(GetDlgItem(page, IDC_VIEW_COLOR), item >= 0);
    if (item >= 0) set_button_color(page, settings().colors[static_cast<size_t>(item)]);
}

void apply_color(HWND page, Color color) {
    const int item = selected_item(page);
    if (item < 0) return;
    set_button_color(page, color);
    settings().colors[static_cast<size_t>(item)] = color;
    rebuild_previews(page);
}

void select_item(HWND page, int item) {
    SendDlgItemMessageA(page, IDC_VIEW_ITEMS, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    show_selected_color(page);
}

void create_previews(HWND page, GameRecord& preview) {
    preview = GameRecord{};
    preview.start_score = 501;
    PlayerBlock& player = preview.player[0];
    player.name = load_resource_string(IDS_PLAYER1);
    player.start_score = 501;
    player.left = 501;
    preview.leg_records.push_back(new_leg(preview));

    HWND area = GetDlgItem(page, IDC_VIEW_PREVIEW);
    RECT client{};
    GetClientRect(area, &client);
    const int w = client.right, h = client.bottom;
    const int upper = 3 * (h / 4);
    struct Place {
        const char* window_class;
        int id;
        DWORD style;
        int x, y, width, height;
        void* param;
    };
    const Place places[] = {
        {kSheetClass, kPreviewSheet, WS_VSCROLL, w / 3 + 2, 0, w, upper, &preview},
        {kPlayerClass, kPreviewPlayer, 0, 0, 0, w / 3, upper, &player},
        {kLeftClass, kPreviewLeft, 0, 0, upper + 2, w, h - (upper + 2), &player},
    };
    for (const Place& p : places) {
        HWND window = CreateWindowExA(
            0, p.window_class, "", WS_CHILD | WS_BORDER | p.style, p.x, p.y, p.width, p.height, area,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)), app_instance(), p.param);
        if (window) ShowWindow(window, SW_SHOW);
    }
    send_if(preview_window(page, kPreviewSheet), kSheetTemplate, 100, 1);
    send_if(preview_window(page, kPreviewSheet), kSheetDisable, 1);
    send_if(preview_window(page, kPreviewPlayer), kPlayerFullView, 1);
    send_if(preview_window(page, kPreviewLeft), kLeftActive, 1);
}

int CALLBACK collect_face(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
    reinterpret_cast<std::set<std::string>*>(names)->insert(font->lfFaceName);
    return 1;
}

void fill_font_list(HWND page) {
    std::set<std::string> faces;
    {
        WindowDC dc(page);
        EnumFontsA(dc.get(), nullptr, collect_face, reinterpret_cast<LPARAM>(&faces));
    }
    HWND list = GetDlgItem(page, IDC_VIEW_FONT);
    for (const std::string& face : faces)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    // The list's own search ignores case; the face is matched exactly.
    const std::string& current = settings().font_name;
    for (LRESULT i = 0, n = SendMessageA(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
        char face[LF_FACESIZE + 1] = "";
        if (SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) > LF_FACESIZE) continue;
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
        if (current == face) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
}

void on_init(HWND page, OptionSheetState& sheet) {
    create_previews(page, sheet.preview);
    HWND items = GetDlgItem(page, IDC_VIEW_ITEMS);
    for (int id : color_item_strings())
        SendMessageA(items, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(load_resource_string(id).c_str()));
    select_item(page, 0);
    fill_font_list(page);
}

void choose_color(HWND page) {
    const int item = selected_item(page);
    if (item < 0) return;
    const Color current = settings().colors[static_cast<size_t>(item)];
    CHOOSECOLORA chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = page;
    chooser.rgbResult = current;
    chooser.lpCustColors = custom_colors().data();
    chooser.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorA(&chooser) && chooser.rgbResult != current) apply_color(page, chooser.rgbResult);
}

void reset_colors(HWND page) {
    if (MessageBoxA(page, load_resource_string(IDS_RESET_COLORS_QUESTION).c_str(), kProgramTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (int i = 0; i < kColorCount; ++i)
        settings().colors[static_cast<size_t>(i)] = color_default(i, system_services());
    rebuild_previews(page);
    show_selected_color(page);
}

void choose_font(HWND page) {
    WaitCursor wait;
    char face[256] = "";
    HWND list = GetDlgItem(page, IDC_VIEW_FONT);
    const LRESULT chosen = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0) >= 256) return;
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(face));
    settings().font_name = face;
    rebuild_previews(page);
}

// A press of the left button anywhere over the page: with Shift the colour
// under the pointer goes to the selected item; over a preview, the item
// drawn in that colour is selected.
void pick_from_screen(HWND page) {
    POINT at{};
    GetCursorPos(&at);
    Color pixel = 0;
    {
        WindowDC screen(nullptr);
        pixel = GetPixel(screen.get(), at.x, at.y);
    }
    if (pixel == CLR_INVALID) return;
    if (GetKeyState(VK_SHIFT) < 0) {
        apply_color(page, pixel);
        return;
    }
    RECT area{};
    GetWindowRect(GetDlgItem(page, IDC_VIEW_PREVIEW), &area);
    const std::pair<int, Preview> previews[] = {
        {kPreviewSheet, Preview::Sheet}, {kPreviewPlayer, Preview::Player}, {kPreviewLeft, Preview::Left}};
    for (auto [id, preview] : previews) {
        HWND window = preview_window(page, id);
        RECT place{}, shown{};
        if (!window || !GetWindowRect(window, &place) || !IntersectRect(&shown, &place, &area) ||
            !PtInRect(&shown, at))
            continue;
        select_item(page, preview_item_for_pixel(preview, pixel, settings().colors));
        return;
    }
}

void draw_color_button(HWND page, const DRAWITEMSTRUCT& item) {
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT frame = item.rcItem;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    if (item.itemState & ODS_DISABLED) return;
    RECT face = {item.rcItem.left + 4, item.rcItem.top + 4, item.rcItem.right - 5, item.rcItem.bottom - 5};
    if (pushed) OffsetRect(&face, 1, 1);
    Brush fill(CreateSolidBrush(button_color(page)));
    FillRect(item.hDC, &face, fill.get());
    FrameRect(item.hDC, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &face);
}

void on_command(HWND page, OptionSheetState& sheet, int id, int code) {
    switch (id) {
    case IDC_VIEW_ITEMS:
        if (code == LBN_SELCHANGE) show_selected_color(page);
        break;
    case IDC_VIEW_COLOR:
        if (code == BN_CLICKED) choose_color(page);
        break;
    case IDC_VIEW_RESET:
        if (code == BN_CLICKED) reset_colors(page);
        break;
    case IDC_VIEW_FONT:
        if (code == CBN_SELCHANGE) choose_font(page);
        break;
    // The colours and the face are in the Settings already.
    case IDOK: sheet.options_changed = 1; break;
    case IDM_SHEET_CANCEL_QUERY: sheet.restore_appearance(); break;
    default: break;
    }
}

} // namespace

INT_PTR CALLBACK view_page_proc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG) {
                if (OptionSheetState* sheet = keep_sheet_state(page, lparam)) on_init(page, *sheet);
                return TRUE;
            }
            OptionSheetState* sheet = sheet_state_of(page);
            if (!sheet) return FALSE;
            switch (message) {
            case WM_NOTIFY: return forward_sheet_notification(page, *reinterpret_cast<NMHDR*>(lparam));
            case WM_COMMAND: on_command(page, *sheet, LOWORD(wparam), HIWORD(wparam)); return TRUE;
            case WM_DRAWITEM:
                if (wparam != IDC_VIEW_COLOR) return FALSE;
                draw_color_button(page, *reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
                return TRUE;
            case WM_SETCURSOR:
                if (HIWORD(lparam) == WM_LBUTTONDOWN) pick_from_screen(page);
                return FALSE;
            default: return FALSE;
            }
        },
        [] { return static_cast<INT_PTR>(FALSE); });
}

} // namespace tx9
