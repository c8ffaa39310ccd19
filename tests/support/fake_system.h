// A SystemServices with fixed, settable answers for tests. Its strings are
// the program's English string table. Also a key namer and readable forms of
// settings records shared by the suites.
#pragma once

#include "app/key_bindings.h"
#include "core/system.h"
#include "settings/game_settings.h"

#include <map>
#include <string>
#include <vector>

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

// Names keys as a keyboard layout would; keys it does not list have no scan code.
class FakeKeyNamer : public KeyNamer {
  public:
    std::string key_name(int vk) const override;
    std::map<int, std::string> names{{0x24, "Home"}, {0x0D, "Enter"}};
};

// "501/1/15/0/3/1 [Ann] 0/0/0 [Bob] 0/0/0 entry 0": every field, one line per record.
std::string describe(const GameSettings& g);
std::string describe(const std::vector<GameSettings>& games);
// "action:modifiers:key " for each binding.
std::string describe(const std::vector<KeyBinding>& bindings);

} // namespace tx9::test
