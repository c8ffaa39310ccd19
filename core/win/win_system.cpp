#include "core/win/win_system.h"

#include "core/text.h"

namespace tx9 {

namespace {
HINSTANCE g_instance = nullptr;

std::string string_resource(HINSTANCE instance, int id)
{
    char buffer[256] = "";
    LoadStringA(instance, static_cast<UINT>(id), buffer, sizeof buffer);
    return buffer;
}
} // namespace

HINSTANCE app_instance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }
void set_app_instance(HINSTANCE instance) { g_instance = instance; }

std::string load_resource_string(int id) { return string_resource(app_instance(), id); }

std::string WinSystem::load_string(int id) const { return string_resource(instance_, id); }

Color WinSystem::sys_color(int index) const { return GetSysColor(index); }

ScreenRect WinSystem::work_area() const
{
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

LocalTime WinSystem::local_time() const
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t WinSystem::tick_count() const { return GetTickCount(); }

// Empty when the path does not fit MAX_PATH: the system then cuts it, and a cut
// path names some other file.
std::string WinSystem::module_path() const
{
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(path, length);
}

bool WinSystem::is_lead_byte(unsigned char c) const { return IsDBCSLeadByte(c) != FALSE; }

int WinSystem::compare_text_no_case(std::string_view a, std::string_view b) const
{
    return lstrcmpiA(std::string(a).c_str(), std::string(b).c_str());
}

std::string system_error_text(DWORD code)
{
    char buffer[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer - 1, nullptr);
    return buffer;
}

void show_system_error(HWND owner, DWORD code)
{
    MessageBoxA(owner, system_error_text(code).c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
}

} // namespace tx9
