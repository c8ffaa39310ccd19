// Start-up and shutdown of tx9 in this process, and the Japanese resource set.
#include "app/win/journal_startup.h"
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "core/win/win_system.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "records/journal.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "win/support/win_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>
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

void write_file(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(write_whole_file(path, bytes, nullptr)) << path;
}

class WithSystem : public ::testing::Test {
  protected:
    void SetUp() override {
        static WinSystem system(instance());
        set_system_services(&system);
        set_app_instance(instance());
    }
};

TEST(ShortcutRun, IsChosenByTheWholeWordInAnyCaseAndLinksWithOneBackslash) {
    std::string chosen;
    for (const char* line : {"/shortcut", "/SHORTCUT", "/sHoRtCuT", "", "/shortcut ", "/shortcut x",
                             "-shortcut", "/shortcu", "/shortcuts"})
        chosen += is_shortcut_command(line) ? "1" : "0";
    EXPECT_EQ("111000000", chosen);

    const std::string sjis = "C:\\\x95\x5C"; // "表" in Shift_JIS ends in the byte of a backslash
    test::ScopedFakeSystem fake;
    EXPECT_EQ("C:\\Desktop\\tx9.lnk", shortcut_link_path("C:\\Desktop"));
    EXPECT_EQ("C:\\Desktop\\tx9.lnk", shortcut_link_path("C:\\Desktop\\"));
    fake.sys.shift_jis = true;
    EXPECT_EQ(sjis + "\\tx9.lnk", shortcut_link_path(sjis));
    EXPECT_EQ(sjis + "\\tx9.lnk", shortcut_link_path(sjis + "\\"));
}

TEST_F(WithSystem, ShortcutRunWritesTheLinkOnTheAllUsersDesktop) {
    CoInitialize(nullptr);
    const std::string link = shortcut_link_path(common_desktop_folder());
    DeleteFileA(link.c_str());
    EXPECT_EQ(0, run_program(instance(), "/Shortcut"));
    ASSERT_TRUE(path_exists(link)) << "expected " << link;
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
    shell_link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    shell_link->GetWorkingDirectory(folder, MAX_PATH);
    shell_link->GetArguments(arguments, MAX_PATH);
    shell_link->GetIconLocation(icon, MAX_PATH, &icon_index);
    file->Release();
    shell_link->Release();
    DeleteFileA(link.c_str());
    CoUninitialize();
    EXPECT_EQ(module_path() + "|" + module_folder() + "||" + module_path() + ",0",
              strprintf("%s|%s|%s|%s,%d", target, folder, arguments, icon, icon_index));
}

TEST_F(WithSystem, RoutesComeFromArrangeTxtBesideTheProgramElseFromTheBuiltInText) {
    const std::string arrange = module_folder() + "\\arrange.txt";
    DeleteFileA(arrange.c_str());
    ASSERT_TRUE(load_checkout_routes(instance(), module_folder()));
    EXPECT_GT(checkout_table().size(), 100u) << "without arrange.txt the resource text is read";
    write_file(arrange, "170,T20,T20,D25\r\n2,D1\r\n");
    EXPECT_TRUE(load_checkout_routes(instance(), module_folder()));
    DeleteFileA(arrange.c_str());
    ASSERT_EQ(2u, checkout_table().size());
    EXPECT_EQ(170, checkout_table().routes()[0].score);
    checkout_table().clear();
}

// The journal beside the program and every file set aside from it.
std::vector<std::string> journal_files() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((journal_path(module_folder()) + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        names.push_back(module_folder() + "\\" + found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return names;
}

// Keeps the tx9.ini beside the test program and puts it back; removes the journals there.
class IniBesideProgram {
  public:
    IniBesideProgram() {
        had_ = read_whole_file(path, saved_, nullptr);
        clear();
        for (const char* name : {kMainWindowClass, "score_list_wnd", "tx9Edit", "score_left_wnd",
                                 "score_player_wnd", "score_guide_wnd"})
            UnregisterClassA(name, instance());
    }
    ~IniBesideProgram() {
        clear();
        if (had_) write_file(path, saved_);
    }
    void clear() {
        DeleteFileA(path.c_str());
        for (const std::string& file : journal_files())
            DeleteFileA(file.c_str());
    }
    const std::string path = module_folder() + "\\tx9.ini";
    const std::string journal = journal_path(module_folder());

  private:
    bool had_ = false;
    std::string saved_;
};

// A journal that is not continued is set aside, with a message saying why.
TEST_F(WithSystem, AJournalLeftBehindAndNotContinuedIsSetAsideWithItsMessage) {
    IniBesideProgram beside;
    GameSettings game;
    GameRecord live;
    ASSERT_TRUE(init_for_set(live, game, true, nullptr));
    const std::string valid = format_journal({game, {}, {}, live, {}}); // as a killed run left it
    const std::tuple<std::string, int, int> rows[] = {
        {valid, IDNO, IDS_JOURNAL_RESUME}, // declined
        {valid.substr(0, valid.size() - 3), IDOK, IDS_JOURNAL_DAMAGED},
        {"tx9 journal 9\r\n", IDOK, IDS_JOURNAL_NEWER},
    };
    for (const auto& [contents, answer, text_id] : rows) {
        SCOPED_TRACE(text_id);
        beside.clear();
        write_file(beside.journal, contents);
        std::vector<std::string> texts;
        wintest::DialogAnswerer answerer([&, answer = answer](const wintest::DialogInfo& d) {
            texts.push_back(d.text);
            return answer;
        });
        JournalState state;
        EXPECT_FALSE(offer_leftover_journal(beside.journal, state));
        const std::string shown = load_resource_string(text_id);
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(shown.substr(0, shown.find('%')), texts[0].substr(0, shown.find('%')));
        EXPECT_TRUE(!path_exists(beside.journal) && journal_files().size() == 1u) << "set aside";
    }
}

TEST(JournalMutex, OnlyTheFirstRunInAFolderKeepsItsJournal) {
    const std::string journal = journal_path(module_folder());
    auto first = std::make_unique<JournalLock>(journal);
    JournalLock second(journal);
    EXPECT_EQ("1 0 1",
              strprintf("%d %d %d", first->owned(), second.owned(), JournalLock(journal + "2").owned()))
        << "the first run, a second beside it, one in another folder";
    first.reset();
    EXPECT_FALSE(JournalLock(journal).owned()) << "the second one still holds the name";
}

// A normal run: Game Option cancelled, the window looked at and closed, the exit question answered Yes.
struct OrdinaryRun {
    bool zoomed = false, visible = false;
    std::vector<std::string> dialogs;
    int result = -1;

    static inline OrdinaryRun* current = nullptr;
    static void CALLBACK look_and_close(HWND, UINT, UINT_PTR id, DWORD) {
        HWND main = FindWindowA(kMainWindowClass, nullptr);
        if (!main || !main_window_record(main)) return;
        KillTimer(nullptr, id);
        current->zoomed = IsZoomed(main);
        current->visible = IsWindowVisible(main);
        PostMessageA(main, WM_CLOSE, 0, 0);
    }

    OrdinaryRun() {
        current = this;
        wintest::DialogAnswerer answerer([this](const wintest::DialogInfo& dialog) {
            const bool game_option = GetDlgItem(dialog.hwnd, IDC_SCORE_301) != nullptr;
            dialogs.push_back(game_option ? "Game Option" : dialog.text);
            if (!game_option) return IDYES;
            SetTimer(nullptr, 0, 20, look_and_close);
            return IDCANCEL;
        });
        result = run_ordinary(instance());
    }
};

// A maximised window in tx9.ini shows maximised, and the exit saves that state and the normal place.
TEST_F(WithSystem, OrdinaryRunShowsTheWindowAsTheIniSaysAndSavesItAtTheEnd) {
    IniBesideProgram ini;
    write_file(ini.path, "[window]\r\nleft=10\r\ntop=20\r\nright=500\r\nbottom=400\r\nstate=3\r\n");
    OrdinaryRun run;
    EXPECT_EQ(0, run.result);
    EXPECT_EQ((std::vector<std::string>{"Game Option", load_resource_string(IDS_EXIT_QUESTION)}),
              run.dialogs);
    EXPECT_TRUE(run.visible && run.zoomed);
    std::string stored;
    for (const char* key : {"state", "left", "top", "right", "bottom"}) {
        char value[16] = "";
        GetPrivateProfileStringA("window", key, "-", value, sizeof value, ini.path.c_str());
        stored += std::string(value) + " ";
    }
    EXPECT_EQ("3 10 20 500 400 ", stored);
}

TEST_F(WithSystem, FailedStartEndsWithoutSavingTheSettings) {
    IniBesideProgram ini;
    // A class that is already registered cannot be registered again.
    ASSERT_TRUE(register_main_window(instance()));
    EXPECT_EQ(0, run_ordinary(instance()));
    EXPECT_FALSE(path_exists(ini.path)) << "a failed start must not write the settings";
    EXPECT_EQ(nullptr, FindWindowA(kMainWindowClass, nullptr));
    UnregisterClassA(kMainWindowClass, instance());
}

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

TEST(JapaneseResources, EveryEnglishStringHasAJapaneseTextTakingTheSameArguments) {
    const std::map<int, std::string>& english = test::english_strings();
    ASSERT_GT(english.size(), 50u);
    for (const auto& [id, text] : english) {
        EXPECT_FALSE(string_in(kEnglish, id).empty()) << "English string " << id;
        const std::wstring japanese = string_in(kJapanese, id);
        EXPECT_FALSE(japanese.empty()) << "no Japanese text for string " << id << " (\"" << text << "\")";
        std::string english_args, japanese_args;
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == '%') english_args += text[++i];
        for (size_t i = 0; i + 1 < japanese.size(); ++i)
            if (japanese[i] == L'%') japanese_args += static_cast<char>(japanese[++i]);
        EXPECT_EQ(english_args, japanese_args) << "format of string " << id;
    }
}

// The ids of a menu's items in order, popups in brackets.
std::string menu_ids(HMENU menu) {
    std::string ids = "[";
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids += GetSubMenu(menu, i) ? menu_ids(GetSubMenu(menu, i))
                                   : std::to_string(GetMenuItemID(menu, i)) + ",";
    return ids + "]";
}

HMENU load_menu_in(LANGID language) {
    HRSRC found = FindResourceExA(instance(), reinterpret_cast<LPCSTR>(RT_MENU),
                                  MAKEINTRESOURCEA(IDR_MAINMENU), language);
    return found ? LoadMenuIndirectA(LockResource(LoadResource(instance(), found))) : nullptr;
}

TEST(JapaneseResources, MenuAsTheEnglishOne) {
    HMENU english = load_menu_in(kEnglish), japanese = load_menu_in(kJapanese);
    ASSERT_TRUE(english && japanese);
    EXPECT_EQ(menu_ids(english), menu_ids(japanese));
    DestroyMenu(english);
    DestroyMenu(japanese);
}

// Japanese in code page 932 under LANG=ja_JP.UTF-8, English otherwise; the Japanese run says so, so
// that a locale that did not take effect cannot pass for English.
TEST(JapaneseResources, UserLanguagePicksTheResourceSet) {
    const char* expected = std::getenv("TX9_EXPECT_UI_LANGUAGE");
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    ASSERT_TRUE(japanese || !expected || std::string(expected) != "ja") << "Japanese run in another language";
    if (japanese) {
        EXPECT_EQ(932u, GetACP());
        // "終了しますか?" in code page 932.
        EXPECT_EQ("\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9?", load_resource_string(101));
    } else {
        EXPECT_EQ("Do you want to exit?", load_resource_string(101));
    }
}

} // namespace
} // namespace tx9
