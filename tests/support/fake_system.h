// A SystemServices with fixed, settable answers for tests. Its strings are
// the program's English string table.
#pragma once

#include "core/system.h"

#include <map>
#include <string>

namespace tx9::test {

class FakeSystem : public SystemServices {
public:
    FakeSystem();

    std::string load_string(int id) const override;
    Color sys_color(int index) const override;
    ScreenRect work_area() const override { return work_area_; }
    LocalTime local_time() const override { return now_; }
    std::uint32_t tick_count() const override { return ticks_; }
    std::string module_path() const override { return module_path_; }
    bool is_lead_byte(unsigned char c) const override;
    // ASCII letters fold; so do the accented letters of code page 1252
    // (0xC0-0xDE with 0xE0-0xFE, but for 0xD7 and 0xF7), as the system's compare does.
    int compare_text_no_case(std::string_view a, std::string_view b) const override;

    std::map<int, std::string> strings;
    std::map<int, Color> sys_colors; // index -> colour; missing: a value made from the index
    ScreenRect work_area_{0, 0, 1280, 1000};
    LocalTime now_{2004, 11, 5, 13, 5, 9};
    std::uint32_t ticks_ = 12345;
    std::string module_path_ = "C:\\games\\tx9\\tx9.exe";
    bool shift_jis = false; // treat 0x81-0x9F and 0xE0-0xFC as lead bytes
};

// Installs a FakeSystem as the process-wide services for the scope.
class ScopedFakeSystem {
public:
    ScopedFakeSystem();
    ~ScopedFakeSystem();
    FakeSystem sys;
};

// The English string table as read from res/strings_en.inc.
const std::map<int, std::string>& english_strings();

// Path of a file in the source tree.
std::string source_path(const std::string& relative);

} // namespace tx9::test
