#include "settings/settings.h"
#include "res/resource.h"

#include "core/text.h"
#include "core/window_placement.h"
#include "records/file_util.h"
#include "settings/ini_store.h"

#include <algorithm>
#include <cctype>

namespace tx9 {

namespace {

constexpr const char* kIniFileName = "tx9.ini";

// System colour numbers (GetSysColor indexes).
constexpr int kSysActiveCaption = 2;
constexpr int kSysWindow = 5;
constexpr int kSysWindowText = 8;
constexpr int kSysCaptionText = 9;
constexpr int kSysHighlight = 13;
constexpr int kSysHighlightText = 14;
constexpr int kSysButtonFace = 15;
constexpr int kSysButtonShadow = 16;
constexpr int kSysButtonText = 18;
constexpr int kFixed = -1;

struct ColorEntry {
    const char* key;
    int sys_index; // kFixed: the value below
    Color value;
};

constexpr ColorEntry kColors[kColorCount] = {
    {"background", kSysWindow, 0},
    {"odd_background", kSysWindow, 0},
    {"text", kSysWindowText, 0},
    {"header_background", kSysButtonFace, 0},
    {"header_text", kSysButtonText, 0},
    {"last3number_text", kFixed, 0x000080},
    {"line", kSysButtonShadow, 0},
    {"separate", kSysButtonText, 0},
    {"ton_circle", kSysButtonShadow, 0},
    {"input_background", kFixed, 0x80FFFF},
    {"input_text", kFixed, 0x000000},
    {"input_select_background", kSysHighlight, 0},
    {"input_select_text", kSysHighlightText, 0},
    {"left_background", kSysWindow, 0},
    {"left_text", kSysWindowText, 0},
    {"left_active_border", kSysHighlight, 0},
    {"player_name_background", kSysActiveCaption, 0},
    {"player_name_text", kSysCaptionText, 0},
    {"player_background", kSysButtonFace, 0},
    {"player_text", kSysButtonText, 0},
    {"player_info_title", kSysHighlight, 0},
};

// The eleven player-panel flags with their keys and defaults, in file order.
struct PlayerFlag {
    const char* key;
    int PlayerPanelFlags::*field;
    int default_value;
};
constexpr PlayerFlag kPlayerFlags[] = {
    {"name", &PlayerPanelFlags::name, 1},
    {"first", &PlayerPanelFlags::first, 1},
    {"total_sets", &PlayerPanelFlags::total_sets, 1},
    {"total_legs", &PlayerPanelFlags::total_legs, 1},
    {"total_tons", &PlayerPanelFlags::total_tons, 1},
    {"total_180s", &PlayerPanelFlags::total_180s, 0},
    {"total_high_off", &PlayerPanelFlags::total_high_off, 1},
    {"total_short", &PlayerPanelFlags::total_short, 0},
    {"avg_score", &PlayerPanelFlags::avg_score, 1},
    {"avg_darts", &PlayerPanelFlags::avg_darts, 1},
    {"arrange", &PlayerPanelFlags::arrange, 0},
};

// Frees the process-wide document however the cycle ends.
struct IniCycle {
    IniCycle() { ini_free(); }
    ~IniCycle() { ini_free(); }
    IniCycle(const IniCycle&) = delete;
    IniCycle& operator=(const IniCycle&) = delete;
};

// Counts from a hand-edited file: never more than the table holds, none when negative.
int bounded_count(int count, int limit) {
    return count < 0 ? 0 : count < limit ? count : limit;
}

std::string numbered(const char* key, int i) {
    return strprintf("%s_%d", key, i);
}

// A dialog too small to use opens at its own size and place (0 by 0).
void load_placement(const char* section, DialogPlacement& p, const ScreenRect& work,
                    const std::string& path) {
    SavedPlacement saved{ini_get_int(section, "left", 0, path), ini_get_int(section, "top", 0, path),
                         ini_get_int(section, "right", 0, path), ini_get_int(section, "bottom", 0, path)};
    SavedPlacement placed = place_on_work_area(saved, work, 0, 0);
    p = {placed.left, placed.top, placed.width, placed.height};
}

void save_placement(const char* section, const DialogPlacement& p, const std::string& path) {
    ini_put_int(section, "left", p.left, path);
    ini_put_int(section, "top", p.top, path);
    ini_put_int(section, "right", p.right, path);
    ini_put_int(section, "bottom", p.bottom, path);
}

// The game keys in file order, shared by the [game] section and the numbered [schedule] keys.
// A name's game default is the string id of the player's default name; a Schedule entry keeps
// no leg_limit of its own (it is always a limited set).
struct GameKey {
    const char* key;
    int GameSettings::*number; // null for a name
    std::string GameSettings::*name;
    int game_default;
    int schedule_default;
    bool in_schedule;
};
const GameKey kGameKeys[] = {
    {"start_score", &GameSettings::start_score, nullptr, 501, 501, true},
    {"round_limit", &GameSettings::round_limit, nullptr, 1, 1, true},
    {"round", &GameSettings::round, nullptr, 15, 15, true},
    {"leg_limit", &GameSettings::leg_limit, nullptr, 0, 1, false},
    {"max_leg", &GameSettings::max_leg, nullptr, 3, 3, true},
    {"best_of", &GameSettings::best_of, nullptr, 1, 1, true},
    {"p1_name", nullptr, &GameSettings::p1_name, IDS_PLAYER1, 0, true},
    {"p1_start_score", &GameSettings::p1_start_score, nullptr, 0, 501, true},
    {"p1_com", &GameSettings::p1_com, nullptr, 0, 0, true},
    {"p1_com_level", &GameSettings::p1_com_level, nullptr, 0, 0, true},
    {"p2_name", nullptr, &GameSettings::p2_name, IDS_PLAYER2, 0, true},
    {"p2_start_score", &GameSettings::p2_start_score, nullptr, 0, 0, true},
    {"p2_com", &GameSettings::p2_com, nullptr, 0, 0, true},
    {"p2_com_level", &GameSettings::p2_com_level, nullptr, 0, 0, true},
};

int flag(int value) {
    return value ? 1 : 0;
}

// A hand-edited file may hold any number: each count and limit takes the nearest
// value the Game Option dialog can give it, so no set starts that could never end.
void keep_game_in_limits(GameSettings& g) {
    g.start_score = std::clamp(g.start_score, kMinStartScore, kMaxStartScore);
    g.round = std::clamp(g.round, kMinRounds, kMaxRounds);
    g.max_leg = std::clamp(g.max_leg, kMinLegs, kMaxLegs);
    // As in the dialog, a handicap below 2 is none (0); a larger one is cut to the edit's five digits.
    for (int* handicap : {&g.p1_start_score, &g.p2_start_score})
        *handicap = *handicap < kMinStartScore ? 0 : std::min(*handicap, kMaxStartScore);
    for (int* level : {&g.p1_com_level, &g.p2_com_level})
        *level = std::clamp(*level, 0, kComLevelCount - 1);
    for (int* on : {&g.round_limit, &g.leg_limit, &g.best_of, &g.p1_com, &g.p2_com})
        *on = flag(*on);
}

void load_game(GameSettings& g, const SystemServices& sys, const std::string& path) {
    for (const GameKey& k : kGameKeys) {
        if (k.name)
            g.*k.name = ini_get_string("game", k.key, sys.load_string(k.game_default), path);
        else
            g.*k.number = ini_get_int("game", k.key, k.game_default, path);
    }
    g.schedule_entry = 0;
    keep_game_in_limits(g);
}

void save_game(const GameSettings& g, const std::string& path) {
    for (const GameKey& k : kGameKeys) {
        if (k.name)
            ini_put_string("game", k.key, g.*k.name, path);
        else
            ini_put_int("game", k.key, g.*k.number, path);
    }
}

GameSettings load_schedule_entry(int i, const std::string& path) {
    GameSettings g;
    for (const GameKey& k : kGameKeys) {
        if (!k.in_schedule)
            g.*k.number = k.schedule_default;
        else if (k.name)
            g.*k.name = ini_get_string("schedule", numbered(k.key, i), "", path);
        else
            g.*k.number = ini_get_int("schedule", numbered(k.key, i), k.schedule_default, path);
    }
    keep_game_in_limits(g);
    return g;
}

void save_schedule_entry(const GameSettings& g, int i, const std::string& path) {
    for (const GameKey& k : kGameKeys) {
        if (!k.in_schedule) continue;
        if (k.name)
            ini_put_string("schedule", numbered(k.key, i), g.*k.name, path);
        else
            ini_put_int("schedule", numbered(k.key, i), g.*k.number, path);
    }
}

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

} // namespace

Settings& settings() {
    static Settings instance;
    return instance;
}

const char* color_key(int index) {
    return index >= 0 && index < kColorCount ? kColors[index].key : nullptr;
}

Color color_default(int index, const SystemServices& sys) {
    if (index < 0 || index >= kColorCount) return 0;
    const ColorEntry& entry = kColors[index];
    return entry.sys_index == kFixed ? entry.value : sys.sys_color(entry.sys_index);
}

Color color_parse(const std::string& text, Color default_color) {
    if (text.empty()) return default_color;
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        base = 8;
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            digit_value(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        }
    }
    // The platform's unsigned long is 32 bits: an overflow gives the largest value.
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        int digit = digit_value(text[i]);
        if (digit >= base) break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow) return 0xFFFFFFFFu;
    auto result = static_cast<Color>(value);
    return negative ? static_cast<Color>(0u - result) : result;
}

bool color_put(const char* key, Color color, Color default_color, const std::string& path) {
    if (color == default_color) return ini_put_string("color", key, "", path);
    return ini_put_string("color", key, strprintf("0x%06lX", static_cast<unsigned long>(color)), path);
}

void settings_build_paths(Settings& s, const SystemServices& sys) {
    s.app_folder = folder_of(sys.module_path());
    s.ini_path = join_path(s.app_folder, kIniFileName);
}

std::vector<GameSettings> default_schedule(const SystemServices& sys) {
    // Every default set has a round limit and a leg limit, decided best of.
    auto limited_set = [](int start_score, int round, int max_leg) {
        GameSettings g;
        g.start_score = start_score;
        g.round_limit = 1;
        g.round = round;
        g.leg_limit = 1;
        g.max_leg = max_leg;
        g.best_of = 1;
        return g;
    };
    std::vector<GameSettings> out(7, limited_set(501, 15, 3));
    out[0] = limited_set(1001, 30, 1);
    out[0].p1_name = sys.load_string(IDS_PLAYER1);
    out[0].p2_name = sys.load_string(IDS_PLAYER2);
    return out;
}

void settings_load(Settings& s, const SystemServices& sys) {
    const std::string& path = s.ini_path;
    // What a save cut short left beside the file; the file itself is whole.
    remove_file(temp_path_for(path));
    IniCycle cycle;
    ini_load(path); // failing only means there is no file yet

    const ScreenRect work = sys.work_area();
    SavedPlacement window{ini_get_int("window", "left", work.left, path), ini_get_int("window", "top", work.top, path),
                          ini_get_int("window", "right", work.width(), path),
                          ini_get_int("window", "bottom", work.height(), path)};
    window = place_on_work_area(window, work, work.width(), work.height());
    s.left = window.left;
    s.top = window.top;
    s.right = window.width;
    s.bottom = window.height;
    s.state = usable_show_state(ini_get_int("window", "state", kShowDefault, path));

    s.view_player = flag(ini_get_int("view", "player", 1, path));
    s.view_left = flag(ini_get_int("view", "left", 1, path));
    s.view_guide = flag(ini_get_int("view", "guide", 1, path));
    s.throw_count = flag(ini_get_int("view", "throw_count", 1, path));

    load_game(s.game, sys, path);
    s.auto_save = flag(ini_get_int("game", "auto_save", 0, path));
    s.auto_save_path = ini_get_string("game", "auto_save_path", "", path);
    int names = bounded_count(ini_get_int("game", "name_list_count", 0, path), kMaxNameList);
    s.name_list.clear();
    for (int i = 0; i < names; ++i)
        s.name_list.push_back(ini_get_string("game", numbered("name_list", i), "", path));

    int entries = ini_get_int("schedule", "count", -1, path);
    s.schedule.clear();
    if (entries == -1) {
        s.schedule = default_schedule(sys);
    } else {
        entries = bounded_count(entries, kMaxScheduleEntries);
        for (int i = 0; i < entries; ++i)
            s.schedule.push_back(load_schedule_entry(i, path));
    }

    load_placement("history", s.history, work, path);
    load_placement("score_list", s.score_list, work, path);

    // A value beyond 24 bits is no RGB colour (it would paint black): the key's default instead.
    for (int i = 0; i < kColorCount; ++i) {
        const Color fallback = color_default(i, sys);
        const Color color = color_parse(ini_get_string("color", kColors[i].key, "", path), fallback);
        s.colors[i] = color <= kMaxRgb ? color : fallback;
    }

    s.font_name = ini_get_string("font", "name", "Arial", path);

    int bindings = ini_get_int("key", "count", -1, path);
    s.keys.bindings.clear();
    if (bindings == -1) {
        s.keys.bindings = default_key_bindings();
        s.keys.keys_customised = 0;
    } else {
        s.keys.keys_customised = 1;
        bindings = bounded_count(bindings, kMaxKeyBindings);
        for (int i = 0; i < bindings; ++i) {
            KeyBinding b;
            b.action = ini_get_int("key", numbered("action", i), 0, path);
            b.modifiers = ini_get_int("key", numbered("ctrl", i), 0, path) & (kModShift | kModCtrl | kModAlt);
            b.key = ini_get_int("key", numbered("key", i), 0, path);
            if (b.key < 0 || b.key > kMaxVirtualKey) b.key = 0;
            // A row with neither a key nor an action it could run is no binding.
            if (b.key != 0 || is_bindable_action(b.action)) s.keys.bindings.push_back(b);
        }
        // A count that promised bindings and gave none leaves the defaults in place.
        if (bindings > 0 && s.keys.bindings.empty()) {
            s.keys.bindings = default_key_bindings();
            s.keys.keys_customised = 0;
        }
    }

    for (const PlayerFlag& player_flag : kPlayerFlags)
        s.player.*player_flag.field = flag(ini_get_int("player", player_flag.key, player_flag.default_value, path));
}

bool settings_save(const Settings& s, const SystemServices& sys) {
    const std::string& path = s.ini_path;
    IniCycle cycle;
    ini_load(path);

    ini_put_int("window", "left", s.left, path);
    ini_put_int("window", "top", s.top, path);
    ini_put_int("window", "right", s.right, path);
    ini_put_int("window", "bottom", s.bottom, path);
    ini_put_int("window", "state", s.state, path);

    ini_put_int("view", "player", s.view_player, path);
    ini_put_int("view", "left", s.view_left, path);
    ini_put_int("view", "guide", s.view_guide, path);
    ini_put_int("view", "throw_count", s.throw_count, path);

    ini_put_int("game", "auto_save", s.auto_save, path);
    ini_put_string("game", "auto_save_path", s.auto_save_path, path);
    int names = bounded_count(static_cast<int>(s.name_list.size()), kMaxNameList);
    ini_put_int("game", "name_list_count", names, path);
    for (int i = 0; i < names; ++i)
        ini_put_string("game", numbered("name_list", i), s.name_list[i], path);

    save_placement("history", s.history, path);
    save_placement("score_list", s.score_list, path);

    for (int i = 0; i < kColorCount; ++i)
        color_put(kColors[i].key, s.colors[i], color_default(i, sys), path);

    ini_put_string("font", "name", s.font_name, path);

    if (s.keys.keys_customised == 1) {
        int count = bounded_count(static_cast<int>(s.keys.bindings.size()), kMaxKeyBindings);
        ini_put_int("key", "count", count, path);
        for (int i = 0; i < count; ++i) {
            const KeyBinding& b = s.keys.bindings[i];
            ini_put_int("key", numbered("action", i), b.action, path);
            ini_put_int("key", numbered("ctrl", i), b.modifiers, path);
            ini_put_int("key", numbered("key", i), b.key, path);
        }
    }

    for (const PlayerFlag& flag : kPlayerFlags)
        ini_put_int("player", flag.key, s.player.*flag.field, path);

    return ini_write(path);
}

bool settings_save_game(const Settings& s) {
    const std::string& path = s.ini_path;
    IniCycle cycle;
    ini_load(path);
    save_game(s.game, path);
    return ini_write(path);
}

bool settings_save_schedule(const Settings& s) {
    const std::string& path = s.ini_path;
    IniCycle cycle;
    ini_load(path);
    int count = bounded_count(static_cast<int>(s.schedule.size()), kMaxScheduleEntries);
    ini_put_int("schedule", "count", count, path);
    for (int i = 0; i < count; ++i)
        save_schedule_entry(s.schedule[i], i, path);
    return ini_write(path);
}

void name_list_update(std::vector<std::string>& names, const std::string& name) {
    if (name.empty()) return;
    std::string entry = cut255(name);
    const SystemServices& sys = system_services();
    for (size_t i = 0; i < names.size(); ++i) {
        if (!names[i].empty() && sys.compare_text_no_case(names[i], entry) == 0) {
            names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    names.insert(names.begin(), std::move(entry));
    if (names.size() > static_cast<size_t>(kMaxNameList)) names.resize(kMaxNameList);
}

} // namespace tx9
