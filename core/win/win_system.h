// The system services of the core, on the Win32 API.
#pragma once

#include "core/system.h"

#include <string>

#include <windows.h>

namespace tx9 {

class WinSystem : public SystemServices {
public:
    explicit WinSystem(HINSTANCE instance) : instance_(instance) {}
    std::string load_string(int id) const override;
    Color sys_color(int index) const override;
    ScreenRect work_area() const override;
    LocalTime local_time() const override;
    std::uint32_t tick_count() const override;
    std::string module_path() const override;
    bool is_lead_byte(unsigned char c) const override;
    int compare_text_no_case(std::string_view a, std::string_view b) const override;

private:
    HINSTANCE instance_;
};

// The process's instance handle, kept at start-up for resources and dialogs.
HINSTANCE app_instance();
void set_app_instance(HINSTANCE instance);

// The system's message for an error code in the user's language, at most 255 characters.
std::string system_error_text(DWORD code);
// The failure box: the system's text for the code, the program title, the stop icon.
void show_system_error(HWND owner, DWORD code);

// Resource string by number (at most 255 characters; empty when missing).
std::string load_resource_string(int id);

} // namespace tx9
