// What the portable core needs from the operating system. The Win32 layer
// implements it with the real calls; tests use a fake with fixed answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tx9 {

using Color = std::uint32_t; // 0x00BBGGRR

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

class SystemServices {
public:
    virtual ~SystemServices() = default;

    // Resource string by number; empty when missing; never longer than 255 characters.
    virtual std::string load_string(int id) const = 0;
    // Colour of the platform's numbered system colour (GetSysColor index).
    virtual Color sys_color(int index) const = 0;
    // Desktop work area of the primary monitor.
    virtual ScreenRect work_area() const = 0;
    virtual LocalTime local_time() const = 0;
    // Milliseconds since start-up (wraps like GetTickCount).
    virtual std::uint32_t tick_count() const = 0;
    // Full path of the executable, at most 259 characters.
    virtual std::string module_path() const = 0;
    // True for a lead byte of a double-byte character of the system code page.
    virtual bool is_lead_byte(unsigned char c) const = 0;
    // The system's locale-aware case-insensitive compare (it folds accented
    // and full-width letters too); returns <0, 0, >0.
    virtual int compare_text_no_case(std::string_view a, std::string_view b) const = 0;
};

// The process-wide services; set once at start-up (or by a test).
SystemServices& system_services();
void set_system_services(SystemServices* services);

} // namespace tx9
