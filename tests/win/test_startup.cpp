// Start-up and shutdown of tx9 in this process: choosing the run, the
// shortcut on the all-users desktop, the route table, the ordinary run from
// the first window to the saved INI file, and the Japanese resource set.
#include "app/win/accelerators.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include <objbase.h>
#include <shlobj.h>

namespace tx9 {
namespace {

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

std::string module_path() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string module_folder() {
    return module_path().substr(0, module_path().find_last_of('\\'));
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class ComScope {
  public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

class WithSystem : public ::testing::Test {
  protected:
    void SetUp() override {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
    }
};

// ---- Choosing the run and the shortcut

TEST(ChoosingTheRun, OnlyTheWholeWordInAnyCaseAsksForTheShortcut) {
    for (const char* line : {"/shortcut", "/SHORTCUT", "/Shortcut", "/sHoRtCuT"})
        EXPECT_TRUE(is_shortcut_command(line)) << line;
    for (const char* line : {"", "/shortcut ", " /shortcut", "/shortcut x", "-shortcut", "shortcut",
                             "/shortcu", "/shortcuts", "\"/shortcut\""})
        EXPECT_FALSE(is_shortcut_command(line)) << '"' << line << '"';
}

TEST(ShortcutPath, OneBackslashBetweenFolderAndName) {
    // "表" in Shift_JIS is 0x95 0x5C: its trail byte looks like a backslash.
    const std::string sjis = "C:\\\x95\x5C";
    struct Case {
        std::string folder;
        bool shift_jis;
        std::string link;
    };
    const Case cases[] = {
        {"C:\\users\\Public\\Desktop", false, "C:\\users\\Public\\Desktop\\tx9.lnk"},
        {"C:\\users\\Public\\Desktop\\", false, "C:\\users\\Public\\Desktop\\tx9.lnk"},
        {"D:\\", false, "D:\\tx9.lnk"},
        {"C:\\Desktop/", false, "C:\\Desktop/\\tx9.lnk"}, // only a backslash counts
        {sjis, true, sjis + "\\tx9.lnk"},
        {sjis + "\\", true, sjis + "\\tx9.lnk"},
        {sjis, false, sjis + "tx9.lnk"}, // without lead bytes 0x5C is a backslash
    };
    for (const Case& c : cases) {
        test::ScopedFakeSystem fake;
        fake.sys.shift_jis = c.shift_jis;
        EXPECT_EQ(c.link, shortcut_link_path(c.folder)) << c.folder << (c.shift_jis ? " (Shift_JIS)" : "");
    }
}

TEST_F(WithSystem, ShortcutRunWritesTheLinkOnTheAllUsersDesktop) {
    std::string desktop;
    {
        ComScope com;
        desktop = common_desktop_folder();
        // A save that fails leaves no file behind.
        const std::string nowhere = desktop + "\\tx9_missing_folder\\tx9.lnk";
        EXPECT_TRUE(FAILED(create_desktop_shortcut(module_path(), nowhere)));
        EXPECT_FALSE(file_exists(nowhere));
    }
    ASSERT_FALSE(desktop.empty()) << "the shell names no all-users desktop folder";
    const std::string link = shortcut_link_path(desktop);
    DeleteFileA(link.c_str());

    EXPECT_EQ(0, run_program(instance(), "/Shortcut"));
    ASSERT_TRUE(file_exists(link)) << "expected " << link;

    ComScope com;
    IShellLinkA* shell_link = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&shell_link)));
    IPersistFile* file = nullptr;
    ASSERT_EQ(S_OK, shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    EXPECT_EQ(S_OK, file->Load(wide, STGM_READ));
    char target[MAX_PATH] = "", folder[MAX_PATH] = "", arguments[MAX_PATH] = "x", icon[MAX_PATH] = "";
    int icon_index = -1;
    WIN32_FIND_DATAA found{};
    shell_link->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH);
    shell_link->GetWorkingDirectory(folder, MAX_PATH);
    shell_link->GetArguments(arguments, MAX_PATH);
    shell_link->GetIconLocation(icon, MAX_PATH, &icon_index);
    file->Release();
    shell_link->Release();
    DeleteFileA(link.c_str());

    EXPECT_EQ(module_path(), target);
    EXPECT_EQ(module_folder(), folder);
    EXPECT_STREQ("", arguments);
    EXPECT_EQ(module_path(), icon);
    EXPECT_EQ(0, icon_index);
}

// ---- Routes

TEST_F(WithSystem, RoutesComeFromArrangeTxtBesideTheProgramElseFromTheBuiltInText) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = strprintf("%stx9_startup_%lu", temp, GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string arrange = folder + "\\arrange.txt";
    DeleteFileA(arrange.c_str());
    CheckoutTable& table = checkout_table();

    ASSERT_TRUE(load_checkout_routes(instance(), folder));
    CheckoutTable built_in;
    built_in.parse(read_file(TX9_SOURCE_DIR "/res/routes.txt"));
    ASSERT_GT(built_in.size(), 0u);
    EXPECT_EQ(built_in.size(), table.size()) << "without arrange.txt the resource text is read";
    ASSERT_GT(table.size(), 0u);
    EXPECT_EQ(built_in.routes().back().score, table.routes().back().score);

    write_file(arrange, "170,T20,T20,D25\r\n2,D1\r\n");
    EXPECT_TRUE(load_checkout_routes(instance(), folder));
    DeleteFileA(arrange.c_str());
    RemoveDirectoryA(folder.c_str());
    ASSERT_EQ(2u, table.size());
    EXPECT_EQ(170, table.routes()[0].score);
    EXPECT_EQ("D25", table.routes()[0].dart[2]);
    table.clear();
}

// ---- The ordinary run

// Keeps whatever tx9.ini lies beside the test program and puts it back.
class IniBesideProgram {
  public:
    IniBesideProgram() : path(module_folder() + "\\tx9.ini"), had_(file_exists(path)) {
        if (had_) saved_ = read_file(path);
        DeleteFileA(path.c_str());
        for (const char* name : {kMainWindowClass, "score_list_wnd", "tx9Edit", "score_left_wnd",
                                 "score_player_wnd", "score_guide_wnd"})
            UnregisterClassA(name, instance());
    }
    ~IniBesideProgram() {
        DeleteFileA(path.c_str());
        if (had_) write_file(path, saved_);
    }
    const std::string path;

  private:
    bool had_;
    std::string saved_;
};

// The Game Option dialog opens by itself; the test cancels it and closes the
// window, answering the exit question with Yes.
struct OrdinaryRun {
    bool zoomed_at_start = false;
    bool visible_at_start = false;
    RECT rect_at_start{};
    std::vector<std::string> dialogs;
    int result = -1;

    explicit OrdinaryRun() {
        wintest::DialogAnswerer answerer([this](const wintest::DialogInfo& dialog) {
            HWND main = FindWindowA(kMainWindowClass, nullptr);
            if (GetDlgItem(dialog.hwnd, IDC_SCORE_301)) { // the Game Option dialog
                dialogs.push_back("Game Option");
                zoomed_at_start = main && IsZoomed(main);
                visible_at_start = main && IsWindowVisible(main);
                if (main) GetWindowRect(main, &rect_at_start);
                if (main) PostMessageA(main, WM_CLOSE, 0, 0);
                return IDCANCEL;
            }
            dialogs.push_back(dialog.title + "|" + dialog.text);
            return dialog.text == load_resource_string(101) ? IDYES : 0;
        });
        result = run_ordinary(instance());
    }
};

std::string ini_value(const std::string& path, const char* section, const char* key) {
    char value[64] = "";
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, path.c_str());
    return value;
}

TEST_F(WithSystem, OrdinaryRunOpensGameOptionAndSavesTheSettingsWhenItEnds) {
    IniBesideProgram ini;
    OrdinaryRun run;

    EXPECT_EQ(0, run.result);
    EXPECT_FALSE(run.zoomed_at_start) << "the default state opens a normal window";
    const std::vector<std::string> expected = {"Game Option",
                                               std::string(kProgramTitle) + "|" + load_resource_string(101)};
    EXPECT_EQ(expected, run.dialogs);

    ASSERT_TRUE(file_exists(ini.path)) << "the settings were not saved at the end of the run";
    EXPECT_EQ("10", ini_value(ini.path, "window", "state"));
    EXPECT_EQ("1", ini_value(ini.path, "view", "player"));
    EXPECT_EQ("<missing>", ini_value(ini.path, "key", "count")) << "default keys are not written";
    EXPECT_EQ("<missing>", ini_value(ini.path, "game", "start_score"))
        << "game settings are saved only by the dialog";

    EXPECT_EQ(0u, checkout_table().size()) << "the route table is freed at the end";
    EXPECT_EQ(nullptr, user_accelerators()) << "the user accelerators are destroyed at the end";
}

TEST_F(WithSystem, MaximisedStateOpensMaximisedAndKeepsThePlaceFromBefore) {
    IniBesideProgram ini;
    write_file(ini.path, "[window]\r\nleft=10\r\ntop=20\r\nright=500\r\nbottom=400\r\nstate=3\r\n");
    OrdinaryRun run;
    EXPECT_EQ(0, run.result);
    EXPECT_TRUE(run.zoomed_at_start) << "state 3 opens maximised";

    std::string window;
    for (const char* key : {"state", "left", "top", "right", "bottom"})
        window += std::string(key) + "=" + ini_value(ini.path, "window", key) + " ";
    EXPECT_EQ("state=3 left=10 top=20 right=500 bottom=400 ", window) << "the place from before maximising";
}

TEST_F(WithSystem, HostileShowStatesAndPlacesStillOpenAVisibleWindow) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const char* rows[] = {"state=0", "state=99999\r\nleft=-99999999\r\ntop=-5000",
                          "left=-5000\r\ntop=-5000\r\nright=1\r\nbottom=1"};
    for (const char* row : rows) {
        IniBesideProgram ini;
        write_file(ini.path, std::string("[window]\r\n") + row + "\r\n");
        OrdinaryRun run;
        EXPECT_TRUE(run.visible_at_start) << row;
        // A point of the caption near its left end, where the window can be grabbed.
        const POINT caption = {run.rect_at_start.left + 40,
                               run.rect_at_start.top + GetSystemMetrics(SM_CYFRAME) +
                                   GetSystemMetrics(SM_CYCAPTION) / 2};
        EXPECT_TRUE(PtInRect(&work, caption))
            << row << ": window at " << run.rect_at_start.left << "," << run.rect_at_start.top;
        EXPECT_EQ("10", ini_value(ini.path, "window", "state")) << row << ": the file is rewritten at exit";
    }
}

TEST_F(WithSystem, FailedStartEndsWithoutSavingTheSettings) {
    IniBesideProgram ini;
    // A class that is already registered cannot be registered again.
    ASSERT_TRUE(register_main_window(instance()));
    EXPECT_EQ(0, run_ordinary(instance()));
    EXPECT_FALSE(file_exists(ini.path)) << "a failed start must not write the settings";
    EXPECT_EQ(nullptr, FindWindowA(kMainWindowClass, nullptr));
    UnregisterClassA(kMainWindowClass, instance());
}

// ---- The Japanese resource set

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// A string of the table in one language, as UTF-16; empty when missing.
std::wstring string_in(LANGID language, int id) {
    HRSRC block = FindResourceExA(instance(), reinterpret_cast<LPCSTR>(RT_STRING),
                                  MAKEINTRESOURCEA(id / 16 + 1), language);
    const WCHAR* p =
        block ? static_cast<const WCHAR*>(LockResource(LoadResource(instance(), block))) : nullptr;
    if (!p) return std::wstring();
    for (int i = 0; i < id % 16; ++i)
        p += 1 + *p;
    return std::wstring(p + 1, *p);
}

TEST(JapaneseResources, EveryEnglishStringHasAJapaneseText) {
    const std::map<int, std::string>& english = test::english_strings();
    ASSERT_GT(english.size(), 50u);
    for (const auto& [id, text] : english) {
        EXPECT_FALSE(string_in(kEnglish, id).empty()) << "English string " << id;
        const std::wstring japanese = string_in(kJapanese, id);
        EXPECT_FALSE(japanese.empty()) << "no Japanese text for string " << id << " (\"" << text << "\")";
        // printf-style texts must take the same arguments in both languages.
        std::string english_args, japanese_args;
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == '%') english_args += text[++i];
        for (size_t i = 0; i + 1 < japanese.size(); ++i)
            if (japanese[i] == L'%') japanese_args += static_cast<char>(japanese[++i]);
        EXPECT_EQ(english_args, japanese_args) << "format of string " << id;
    }
}

// The shape of a menu: per item its id (or a nested shape for a popup), type and state.
std::string menu_shape(HMENU menu) {
    std::string shape = "[";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        shape += info.hSubMenu
                     ? menu_shape(info.hSubMenu)
                     : strprintf("%u/%u/%u", info.wID, static_cast<unsigned>(info.fType & MFT_SEPARATOR),
                                 static_cast<unsigned>(info.fState & MFS_GRAYED));
        shape += ",";
    }
    return shape + "]";
}

HMENU load_menu_in(LANGID language) {
    HRSRC found = FindResourceExA(instance(), reinterpret_cast<LPCSTR>(RT_MENU),
                                  MAKEINTRESOURCEA(IDR_MAINMENU), language);
    return found ? LoadMenuIndirectA(LockResource(LoadResource(instance(), found))) : nullptr;
}

TEST(JapaneseResources, MenuHasTheSameIdsAndStructureAsTheEnglishOne) {
    HMENU english = load_menu_in(kEnglish);
    HMENU japanese = load_menu_in(kJapanese);
    ASSERT_TRUE(english);
    ASSERT_TRUE(japanese);
    EXPECT_EQ(menu_shape(english), menu_shape(japanese));
    EXPECT_EQ(4, GetMenuItemCount(japanese));
    DestroyMenu(english);
    DestroyMenu(japanese);

    EXPECT_TRUE(FindResourceExA(instance(), reinterpret_cast<LPCSTR>(RT_ACCELERATOR),
                                MAKEINTRESOURCEA(IDR_ACCEL), kJapanese));
}

// The set follows the user's language: English here, Japanese in code page
// 932 when this program runs under LANG=ja_JP.UTF-8 (Wine takes the language
// from the locale the process starts with, so the run itself must be started so).
TEST(JapaneseResources, UserLanguagePicksTheResourceSet) {
    HMENU menu = LoadMenuA(instance(), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_TRUE(menu);
    char exit_item[64] = "";
    GetMenuStringA(menu, IDM_EXIT, exit_item, sizeof exit_item, MF_BYCOMMAND);
    DestroyMenu(menu);

    // The Japanese run of this program says so, so that a locale that did
    // not take effect cannot pass for an English run.
    const char* expected = std::getenv("TX9_EXPECT_UI_LANGUAGE");
    if (expected && std::string(expected) == "ja") {
        ASSERT_EQ(LANG_JAPANESE, PRIMARYLANGID(GetUserDefaultUILanguage()))
            << "Japanese run in another language";
    }
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
        EXPECT_EQ(932u, GetACP());
        // "終了しますか?", "(なし)" and "終了(&X)" in code page 932.
        EXPECT_EQ("\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9?", load_resource_string(101));
        EXPECT_EQ("(\x82\xc8\x82\xb5)", load_resource_string(102));
        EXPECT_EQ(std::string("\x8f\x49\x97\xb9(&X)"), exit_item);
    } else {
        EXPECT_EQ("Do you want to exit?", load_resource_string(101));
        EXPECT_EQ("(Nothing)", load_resource_string(102));
        EXPECT_EQ(std::string("E&xit"), exit_item);
    }
}

} // namespace
} // namespace tx9
