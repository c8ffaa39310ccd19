// The process-wide record of persisted options and the INI cycles that load
// and save it.
#pragma once

#include "app/key_bindings.h"
#include "core/system.h"
#include "settings/game_settings.h"

#include <array>
#include <string>
#include <vector>

namespace tx9 {

inline constexpr int kMaxScheduleEntries = 256;
inline constexpr int kMaxNameList = 30;
inline constexpr int kColorCount = 21;
inline constexpr Color kMaxRgb = 0xFFFFFF;

// What the Game Option dialog lets a game have (a hand-edited file is held to it).
inline constexpr int kMinStartScore = 2;
inline constexpr int kMaxStartScore = 99999;
inline constexpr int kMinRounds = 1;
inline constexpr int kMaxRounds = 3333;
inline constexpr int kMinLegs = 1;
inline constexpr int kMaxLegs = 9999;
inline constexpr int kComLevelCount = 6;

// Colour indexes, in the order of the INI section `color` and the View page.
enum ColorIndex : int {
    kColorBackground,
    kColorOddBackground,
    kColorText,
    kColorHeaderBackground,
    kColorHeaderText,
    kColorLast3NumberText,
    kColorLine,
    kColorSeparate,
    kColorTonCircle,
    kColorInputBackground,
    kColorInputText,
    kColorInputSelectBackground,
    kColorInputSelectText,
    kColorLeftBackground,
    kColorLeftText,
    kColorLeftActiveBorder,
    kColorPlayerNameBackground,
    kColorPlayerNameText,
    kColorPlayerBackground,
    kColorPlayerText,
    kColorPlayerInfoTitle,
};

struct DialogPlacement {
    int left = 0, top = 0, right = 0, bottom = 0; // right = width, bottom = height
};

struct PlayerPanelFlags {
    int name = 1, first = 1, total_sets = 1, total_legs = 1, total_tons = 1, total_180s = 0;
    int total_high_off = 1, total_short = 0, avg_score = 1, avg_darts = 1, arrange = 0;
};

struct Settings {
    std::string app_folder;
    std::string ini_path;

    // window
    int left = 0, top = 0, right = 0, bottom = 0; // right = width, bottom = height
    int state = 10;

    // view
    int view_player = 1, view_left = 1, view_guide = 1, throw_count = 1;

    // game
    int auto_save = 0;
    std::string auto_save_path;
    GameSettings game;
    std::vector<std::string> name_list; // at most kMaxNameList, most recent first

    std::vector<GameSettings> schedule; // at most kMaxScheduleEntries

    DialogPlacement history, score_list;

    std::array<Color, kColorCount> colors{};
    std::string font_name = "Arial";

    KeyBindingTable keys;

    PlayerPanelFlags player;
};

// The process-wide Settings.
Settings& settings();

// Key name of each colour in section `color`, by index (nullptr out of range).
const char* color_key(int index);
// Default of a colour at this moment: system colours are read now.
Color color_default(int index, const SystemServices& sys);

// Text as strtoul with base 0 on a 32-bit unsigned long: "0x" hexadecimal,
// leading 0 octal, else decimal, stopping at the first character that does not
// fit; empty text gives the default.
Color color_parse(const std::string& text, Color default_color);
// Puts one key of section `color`: empty while the colour equals its default,
// else "0x%06lX" (stored quoted).
bool color_put(const char* key, Color color, Color default_color, const std::string& path);

// Application folder from the module path and the INI path "%s\tx9.ini".
void settings_build_paths(Settings& s, const SystemServices& sys);
// Fills every field from s.ini_path; a missing file gives all defaults.
void settings_load(Settings& s, const SystemServices& sys);
// Saves all but the game settings and the Schedule (at exit and after the option sheet).
bool settings_save(const Settings& s, const SystemServices& sys);
// The fourteen game-settings keys of section `game`.
bool settings_save_game(const Settings& s);
// Section `schedule`. Both report whether the file was written.
bool settings_save_schedule(const Settings& s);

// The seven entries used when the INI file has no schedule/count.
std::vector<GameSettings> default_schedule(const SystemServices& sys);

// Move a name to the front of the Name list (case-insensitive by the system's
// compare, empty entries skipped), at most kMaxNameList names; an empty name changes nothing.
void name_list_update(std::vector<std::string>& names, const std::string& name);

} // namespace tx9
