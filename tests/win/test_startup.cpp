// Start-up and shutdown of tx9 in this process: choosing the run, the
// shortcut on the all-users desktop, the route table, the ordinary run from
// the first window to the saved INI file, and the Japanese resource set.
#include "app/win/accelerators.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "app/win/win_system.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "win/support/win_test_util.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
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
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
  public:
    TempFolder() {
        char base[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, base);
        path_ = strprintf("%stx9_startup_%lu_%lu", base, GetCurrentProcessId(), ++counter_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const char* name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
    static inline unsigned long counter_ = 0;
};

// What a written link holds, read back through the shell link object.
struct LinkContents {
    HRESULT loaded = E_FAIL;
    std::string target, working_dir, arguments, icon_path;
    int icon_index = -1;
};

LinkContents read_link(const std::string& link_path) {
    LinkContents out;
    IShellLinkA* link = nullptr;
    out.loaded = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (FAILED(out.loaded)) return out;
    IPersistFile* file = nullptr;
    out.loaded = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(out.loaded)) {
        wchar_t wide[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide, MAX_PATH);
        out.loaded = file->Load(wide, STGM_READ);
        if (SUCCEEDED(out.loaded)) {
            char text[MAX_PATH] = "";
            WIN32_FIND_DATAA found{};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, &found, SLGP_RAWPATH))) out.target = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) out.working_dir = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) out.arguments = text;
            text[0] = 0;
            int index = -1;
            if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index))) {
                out.icon_path = text;
                out.icon_index = index;
            }
        }
        file->Release();
    }
    link->Release();
    return out;
}

class ComScope {
  public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

class WithSystem : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
    }
    void SetUp() override { SetUpTestSuite(); }
};

// ---- Choosing the run

TEST(ChoosingTheRun, OnlyTheWholeWordInAnyCaseAsksForTheShortcut) {
    const std::pair<const char*, bool> cases[] = {
        {"/shortcut", true},
        {"/SHORTCUT", true},
        {"/Shortcut", true},
        {"/sHoRtCuT", true},
        {"", false},
        {"/shortcut ", false},
        {" /shortcut", false},
        {"/shortcut x", false},
        {"-shortcut", false},
        {"shortcut", false},
        {"/shortcu", false},
        {"/shortcuts", false},
        {"\"/shortcut\"", false},
    };
    for (const auto& [line, shortcut] : cases)
        EXPECT_EQ(shortcut, is_shortcut_command(line)) << '"' << line << '"';
}

// ---- The shortcut

TEST(ShortcutPath, OneBackslashBetweenFolderAndName) {
    test::ScopedFakeSystem fake;
    EXPECT_EQ("C:\\users\\Public\\Desktop\\tx9.lnk", shortcut_link_path("C:\\users\\Public\\Desktop"));
    EXPECT_EQ("C:\\users\\Public\\Desktop\\tx9.lnk", shortcut_link_path("C:\\users\\Public\\Desktop\\"));
    EXPECT_EQ("D:\\tx9.lnk", shortcut_link_path("D:\\"));
    // Only a backslash counts as the folder's own separator.
    EXPECT_EQ("C:\\Desktop/\\tx9.lnk", shortcut_link_path("C:\\Desktop/"));
}

TEST(ShortcutPath, TrailByteOfADoubleByteCharacterIsNoSeparator) {
    test::ScopedFakeSystem fake;
    fake.sys.shift_jis = true;
    // "表" in Shift_JIS is 0x95 0x5C: its second byte looks like a backslash.
    const std::string folder = "C:\\\x95\x5C";
    EXPECT_EQ(folder + "\\tx9.lnk", shortcut_link_path(folder));
    EXPECT_EQ(folder + "\\tx9.lnk", shortcut_link_path(folder + "\\"));
    fake.sys.shift_jis = false;
    EXPECT_EQ(folder + "tx9.lnk", shortcut_link_path(folder)) << "without lead bytes 0x5C is a backslash";
}

TEST_F(WithSystem, ShortcutTargetsTheProgramFromItsFolderWithoutArguments) {
    ComScope com;
    TempFolder folder;
    const std::string link = folder.file("made.lnk");
    const std::string target = module_path();
    ASSERT_EQ(S_OK, create_desktop_shortcut(target, link));
    ASSERT_TRUE(file_exists(link));

    const LinkContents read = read_link(link);
    ASSERT_EQ(S_OK, read.loaded);
    EXPECT_EQ(target, read.target);
    EXPECT_EQ(module_folder(), read.working_dir);
    EXPECT_EQ("", read.arguments);
    EXPECT_EQ(target, read.icon_path);
    EXPECT_EQ(0, read.icon_index);
}

TEST_F(WithSystem, ShortcutToAFolderThatDoesNotExistFails) {
    ComScope com;
    TempFolder folder;
    const std::string link = folder.path() + "\\missing\\tx9.lnk";
    EXPECT_TRUE(FAILED(create_desktop_shortcut(module_path(), link)));
    EXPECT_FALSE(file_exists(link));
}

TEST_F(WithSystem, ShortcutRunWritesTheLinkOnTheAllUsersDesktop) {
    std::string desktop;
    {
        ComScope com;
        desktop = common_desktop_folder();
    }
    ASSERT_FALSE(desktop.empty()) << "the shell names no all-users desktop folder";
    const std::string link = shortcut_link_path(desktop);
    DeleteFileA(link.c_str());

    EXPECT_EQ(0, run_program(instance(), "/Shortcut"));
    ASSERT_TRUE(file_exists(link)) << "expected " << link;

    ComScope com;
    const LinkContents read = read_link(link);
    ASSERT_EQ(S_OK, read.loaded);
    EXPECT_EQ(module_path(), read.target);
    EXPECT_EQ(module_folder(), read.working_dir);
    EXPECT_EQ("", read.arguments);
    EXPECT_EQ(0, read.icon_index);
    DeleteFileA(link.c_str());
}

// ---- Routes

TEST_F(WithSystem, RoutesComeFromArrangeTxtBesideTheProgramElseFromTheBuiltInText) {
    TempFolder folder;
    CheckoutTable& table = checkout_table();

    ASSERT_TRUE(load_checkout_routes(instance(), folder.path()));
    CheckoutTable built_in;
    built_in.parse(read_file(TX9_SOURCE_DIR "/res/routes.txt"));
    ASSERT_GT(built_in.size(), 0u);
    EXPECT_EQ(built_in.size(), table.size()) << "without arrange.txt the resource text is read";
    ASSERT_GT(table.size(), 0u);
    EXPECT_EQ(built_in.routes().back().score, table.routes().back().score);

    write_file(folder.file("arrange.txt"), "170,T20,T20,D25\r\n2,D1\r\n");
    ASSERT_TRUE(load_checkout_routes(instance(), folder.path()));
    ASSERT_EQ(2u, table.size());
    EXPECT_EQ(170, table.routes()[0].score);
    EXPECT_EQ("D25", table.routes()[0].dart[2]);
    table.clear();
}

// ---- The ordinary run

// Keeps whatever tx9.ini lies beside the test program and puts it back.
class IniBesideProgram {
  public:
    IniBesideProgram() : path_(module_folder() + "\\tx9.ini") {
        had_ = file_exists(path_);
        if (had_) saved_ = read_file(path_);
        DeleteFileA(path_.c_str());
    }
    ~IniBesideProgram() {
        DeleteFileA(path_.c_str());
        if (had_) write_file(path_, saved_);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool had_ = false;
    std::string saved_;
};

void unregister_classes() {
    for (const char* name : {kMainWindowClass, "score_list_wnd", "tx9Edit"})
        UnregisterClassA(name, instance());
}

// The Game Option dialog opens by itself; the test cancels it and closes the
// window, answering the exit question with Yes.
struct OrdinaryRun {
    bool zoomed_at_start = false;
    std::vector<std::string> titles;
    int result = -1;

    void run() {
        wintest::DialogAnswerer answerer([this](const wintest::DialogInfo& dialog) {
            HWND main = FindWindowA(kMainWindowClass, nullptr);
            if (GetDlgItem(dialog.hwnd, IDC_SCORE_301)) { // the Game Option dialog
                titles.push_back("Game Option");
                zoomed_at_start = main && IsZoomed(main);
                if (main) PostMessageA(main, WM_CLOSE, 0, 0);
                return IDCANCEL;
            }
            titles.push_back(dialog.title + "|" + dialog.text);
            return dialog.text == load_resource_string(101) ? IDYES : 0;
        });
        result = run_ordinary(instance());
    }
};

std::string ini_value(const std::string& text, const std::string& section, const std::string& key) {
    std::istringstream in(text);
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            current = line.substr(1, line.find(']') - 1);
            continue;
        }
        if (current == section && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<missing>";
}

TEST_F(WithSystem, OrdinaryRunOpensGameOptionAndSavesTheSettingsWhenItEnds) {
    IniBesideProgram ini;
    unregister_classes();
    OrdinaryRun run;
    run.run();

    EXPECT_EQ(0, run.result);
    ASSERT_GE(run.titles.size(), 2u);
    EXPECT_EQ("Game Option", run.titles[0]);
    EXPECT_EQ(std::string(kProgramTitle) + "|" + load_resource_string(101), run.titles[1]);

    ASSERT_TRUE(file_exists(ini.path())) << "the settings were not saved at the end of the run";
    const std::string text = read_file(ini.path());
    EXPECT_EQ("10", ini_value(text, "window", "state"));
    EXPECT_EQ("1", ini_value(text, "view", "player"));
    EXPECT_EQ(std::string::npos, text.find("[key]")) << "default keys are not written";
    EXPECT_EQ("<missing>", ini_value(text, "game", "start_score"))
        << "game settings are saved only by the dialog";

    EXPECT_EQ(0u, checkout_table().size()) << "the route table is freed at the end";
    EXPECT_EQ(nullptr, user_accelerators()) << "the user accelerators are destroyed at the end";
}

TEST_F(WithSystem, StateFromTheSettingsDecidesHowTheWindowOpens) {
    IniBesideProgram ini;
    write_file(ini.path(), "[window]\r\nleft=10\r\ntop=20\r\nright=500\r\nbottom=400\r\nstate=3\r\n");
    unregister_classes();
    OrdinaryRun maximised;
    maximised.run();
    EXPECT_EQ(0, maximised.result);
    EXPECT_TRUE(maximised.zoomed_at_start) << "state 3 opens maximised";

    // Still maximised at the end: state stays 3 and the place from before maximising is kept.
    std::string text = read_file(ini.path());
    EXPECT_EQ("3", ini_value(text, "window", "state"));
    EXPECT_EQ("10", ini_value(text, "window", "left"));
    EXPECT_EQ("20", ini_value(text, "window", "top"));
    EXPECT_EQ("500", ini_value(text, "window", "right"));
    EXPECT_EQ("400", ini_value(text, "window", "bottom"));

    write_file(ini.path(), "[window]\r\nleft=10\r\ntop=20\r\nright=500\r\nbottom=400\r\nstate=10\r\n");
    unregister_classes();
    OrdinaryRun normal;
    normal.run();
    EXPECT_FALSE(normal.zoomed_at_start);
    text = read_file(ini.path());
    EXPECT_EQ("10", ini_value(text, "window", "state"));
}

TEST_F(WithSystem, FailedStartEndsWithoutSavingTheSettings) {
    IniBesideProgram ini;
    unregister_classes();
    // A class that is already registered cannot be registered again.
    ASSERT_TRUE(register_main_window(instance()));
    EXPECT_EQ(0, run_ordinary(instance()));
    EXPECT_FALSE(file_exists(ini.path())) << "a failed start must not write the settings";
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
    if (!block) return std::wstring();
    const WCHAR* p = static_cast<const WCHAR*>(LockResource(LoadResource(instance(), block)));
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

// The shape of a menu: per item its id (or -1 for a popup), type and state, nested.
std::string menu_shape(HMENU menu) {
    std::string shape = "[";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.hSubMenu)
            shape += menu_shape(info.hSubMenu);
        else
            shape += strprintf("%u/%u/%u", info.wID, static_cast<unsigned>(info.fType & MFT_SEPARATOR),
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
        ASSERT_EQ(LANG_JAPANESE, PRIMARYLANGID(GetUserDefaultUILanguage())) << "Japanese run in another language";
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
