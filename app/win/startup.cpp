#include "app/win/startup.h"

#include "app/win/accelerators.h"
#include "app/win/entry_control.h"
#include "app/win/journal_startup.h"
#include "app/win/key_guide_bar.h"
#include "app/win/main_window.h"
#include "core/win/win_system.h"
#include "checkout/checkout_table.h"
#include "core/text.h"
#include "records/csv_export.h"
#include "records/file_util.h"
#include "records/journal_file.h"
#include "records/win/player_panel_window.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/score/win/left_score_panel.h"
#include "ui/score/win/score_sheet.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace tx9 {

namespace {

// Owns one COM interface pointer; released once.
template <typename Interface> class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    void reset() {
        if (ptr_) ptr_->Release();
        ptr_ = nullptr;
    }
    Interface* get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    Interface** put() {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    Interface* ptr_ = nullptr;
};

// CoInitialize for the scope of the shortcut run.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool ok_;
};

} // namespace

bool is_shortcut_command(std::string_view command_line) {
    return compare_no_case(command_line, "/shortcut") == 0;
}

int run_program(HINSTANCE instance, const char* command_line) {
    set_app_instance(instance);
    static WinSystem system(instance);
    set_system_services(&system);
    if (is_shortcut_command(command_line ? command_line : "")) return run_shortcut();
    return run_ordinary(instance);
}

bool register_window_classes(HINSTANCE instance) {
    return register_entry_control(instance) && register_score_sheet(instance) &&
           register_left_score_panel(instance) && register_player_panel(instance) &&
           register_key_guide_bar(instance) && register_main_window(instance);
}

bool load_checkout_routes(HINSTANCE instance, const std::string& app_folder) {
    CheckoutTable& table = checkout_table();
    if (table.load_from_file(strprintf("%s\\arrange.txt", app_folder.c_str()))) return true;

    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_ROUTES), "TEXT");
    if (!found) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    // The resource has no terminator of its own: its size bounds the text.
    table.parse(std::string_view(static_cast<const char*>(data), SizeofResource(instance, found)));
    return true;
}

bool translate_accelerators(HWND main_window, HACCEL builtin_accelerators, MSG& message) {
    // A user binding on a key the built-in table also uses wins: it is asked first.
    if (HACCEL user = user_accelerators()) {
        if (TranslateAcceleratorA(main_window, user, &message)) return true;
    }
    return builtin_accelerators && TranslateAcceleratorA(main_window, builtin_accelerators, &message);
}

int run_message_loop(HWND main_window, HACCEL builtin_accelerators) {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) == 1) {
        if (translate_accelerators(main_window, builtin_accelerators, message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int run_ordinary(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Settings& s = settings();
    settings_build_paths(s, system_services());
    settings_load(s, system_services());
    remove_interrupted_auto_saves(s.auto_save_path, s.app_folder);
    load_checkout_routes(instance, s.app_folder);

    if (!register_window_classes(instance)) return 0;

    // Before anything else opens: the game a run that did not end normally left.
    MainWindowStart start;
    const std::string journal = journal_path(s.app_folder);
    JournalLock lock(journal);
    JournalState resumed;
    if (lock.owned()) {
        start.journal_path = journal;
        if (offer_leftover_journal(journal, resumed)) start.resume = &resumed;
    }
    HWND main_window = create_main_window(instance, s.state, &start);
    if (!main_window) return 0;

    build_user_accelerators(s.keys.bindings);
    HACCEL builtin = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    int code = run_message_loop(main_window, builtin);

    settings_save(s, system_services());
    if (!start.journal_path.empty() && !start.keep_journal) remove_file(start.journal_path);
    checkout_table().clear();
    destroy_user_accelerators();
    return code;
}

// ---- The shortcut run

std::string common_desktop_folder() {
    std::string folder;
    ComRef<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.put()))) return folder;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, &items)) && items) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(items, path)) folder = path;
        allocator->Free(items);
    }
    return folder;
}

std::string shortcut_link_path(std::string_view desktop_folder) {
    // Walk by characters: in a double-byte code page a trail byte may be 0x5C.
    const SystemServices& sys = system_services();
    bool ends_with_backslash = false;
    for (size_t i = 0; i < desktop_folder.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(desktop_folder[i]);
        ends_with_backslash = c == '\\';
        if (sys.is_lead_byte(c) && i + 1 < desktop_folder.size()) ++i;
    }
    const char* format = ends_with_backslash ? "%s%s" : "%s\\%s";
    return strprintf(format, std::string(desktop_folder).c_str(), "tx9.lnk");
}

HRESULT create_desktop_shortcut(const std::string& target_path, const std::string& link_path) {
    ComRef<IShellLinkA> link;
    HRESULT result =
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void());
    if (FAILED(result)) return result;
    ComRef<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result)) return result;

    link->SetPath(target_path.c_str());
    link->SetWorkingDirectory(folder_of(target_path).c_str());
    link->SetArguments("");
    link->SetIconLocation(target_path.c_str(), 0);

    int needed = MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, nullptr, 0);
    if (needed <= 0) return HRESULT_FROM_WIN32(GetLastError());
    std::vector<wchar_t> wide(static_cast<size_t>(needed));
    MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide.data(), needed);
    return file->Save(wide.data(), TRUE);
}

int run_shortcut() {
    ComApartment apartment;
    std::string target = system_services().module_path();
    if (target.empty()) return 0;
    std::string desktop = common_desktop_folder();
    if (desktop.empty()) return 0;
    create_desktop_shortcut(target, shortcut_link_path(desktop));
    return 0;
}

} // namespace tx9
