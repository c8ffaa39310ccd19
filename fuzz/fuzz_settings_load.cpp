// The start-up load on an arbitrary tx9.ini: afterwards every value lies within
// what the program's dialogs could have set, and saving and loading again
// gives the same Settings.
#include "fuzz_check.h"
#include "settings/settings.h"
#include "support/fake_system.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace tx9;

const ScreenRect kWork{0, 0, 1280, 1000};

bool is_flag(int v) {
    return v == 0 || v == 1;
}
bool in(int v, int low, int high) {
    return v >= low && v <= high;
}

void check_game(const GameSettings& g, const char* what) {
    FUZZ_CHECK(in(g.start_score, 2, 99999), "%s start_score %d", what, g.start_score);
    FUZZ_CHECK(in(g.round, 1, 3333), "%s round %d", what, g.round);
    FUZZ_CHECK(in(g.max_leg, 1, 9999), "%s max_leg %d", what, g.max_leg);
    for (int handicap : {g.p1_start_score, g.p2_start_score})
        FUZZ_CHECK(handicap == 0 || in(handicap, 2, 99999), "%s handicap %d", what, handicap);
    for (int level : {g.p1_com_level, g.p2_com_level})
        FUZZ_CHECK(in(level, 0, 5), "%s COM level %d", what, level);
    for (int on : {g.round_limit, g.leg_limit, g.best_of, g.p1_com, g.p2_com, g.schedule_entry})
        FUZZ_CHECK(is_flag(on), "%s flag %d", what, on);
    FUZZ_CHECK(g.p1_name.size() <= 255 && g.p2_name.size() <= 255, "%s name too long", what);
}

// Left and top put the title bar on the work area, or are 0, 0 after a place beyond it.
void check_place(int left, int top, int width, int height, bool dialog, const char* what) {
    if (dialog && width == 0 && height == 0) return;
    FUZZ_CHECK(width >= 240 && height >= 160, "%s size %dx%d", what, width, height);
    if (left == 0 && top == 0) return;
    FUZZ_CHECK(in(left, kWork.left, std::max(kWork.left, kWork.right - width)) &&
                   in(top, kWork.top, kWork.bottom - 32),
               "%s at %d,%d size %dx%d", what, left, top, width, height);
}

void check_limits(const Settings& s) {
    check_place(s.left, s.top, s.right, s.bottom, false, "window");
    check_place(s.history.left, s.history.top, s.history.right, s.history.bottom, true, "history");
    check_place(s.score_list.left, s.score_list.top, s.score_list.right, s.score_list.bottom, true,
                "score list");
    FUZZ_CHECK(s.state == 3 || s.state == 10, "state %d", s.state);
    for (int on : {s.view_player, s.view_left, s.view_guide, s.throw_count, s.auto_save, s.player.name,
                   s.player.first, s.player.total_sets, s.player.total_legs, s.player.total_tons,
                   s.player.total_180s, s.player.total_high_off, s.player.total_short, s.player.avg_score,
                   s.player.avg_darts, s.player.arrange})
        FUZZ_CHECK(is_flag(on), "flag %d", on);
    check_game(s.game, "game");
    FUZZ_CHECK(s.schedule.size() <= 256, "%zu schedule entries", s.schedule.size());
    for (const GameSettings& entry : s.schedule)
        check_game(entry, "schedule entry");
    FUZZ_CHECK(s.name_list.size() <= 30, "%zu names", s.name_list.size());
    for (const std::string& name : s.name_list)
        FUZZ_CHECK(name.size() <= 255, "name of %zu", name.size());
    FUZZ_CHECK(s.font_name.size() <= 255 && s.auto_save_path.size() <= 255, "text too long");
    for (Color c : s.colors)
        FUZZ_CHECK(c <= 0xFFFFFFu, "colour 0x%X", static_cast<unsigned>(c));
    FUZZ_CHECK(s.keys.bindings.size() <= 256, "%zu bindings", s.keys.bindings.size());
    for (const KeyBinding& b : s.keys.bindings) {
        FUZZ_CHECK(in(b.key, 0, 254), "key %d", b.key);
        FUZZ_CHECK((b.modifiers & ~(4 | 8 | 16)) == 0, "modifiers %d", b.modifiers);
        const bool action = in(b.action, 51000, 51180) || in(b.action, 40001, 40041);
        FUZZ_CHECK(b.key != 0 || action, "binding without key or action (%d)", b.action);
    }
    FUZZ_CHECK(is_flag(s.keys.keys_customised), "keys_customised %d", s.keys.keys_customised);
}

std::string describe(const Settings& s) {
    std::ostringstream out;
    auto game = [&out](const GameSettings& g) {
        out << g.start_score << ' ' << g.round_limit << ' ' << g.round << ' ' << g.leg_limit << ' '
            << g.max_leg << ' ' << g.best_of << " [" << g.p1_name << "][" << g.p2_name << "] "
            << g.p1_start_score << ' ' << g.p2_start_score << ' ' << g.p1_com << ' ' << g.p2_com << ' '
            << g.p1_com_level << ' ' << g.p2_com_level << '\n';
    };
    out << s.left << ' ' << s.top << ' ' << s.right << ' ' << s.bottom << ' ' << s.state << ' '
        << s.view_player << s.view_left << s.view_guide << s.throw_count << s.auto_save << " ["
        << s.auto_save_path << "]\n";
    game(s.game);
    for (const GameSettings& entry : s.schedule)
        game(entry);
    for (const std::string& name : s.name_list)
        out << '[' << name << ']';
    for (const DialogPlacement& p : {s.history, s.score_list})
        out << '\n' << p.left << ' ' << p.top << ' ' << p.right << ' ' << p.bottom;
    for (Color c : s.colors)
        out << ' ' << c;
    out << "\n[" << s.font_name << "] " << s.keys.keys_customised;
    for (const KeyBinding& b : s.keys.bindings)
        out << ' ' << b.action << ':' << b.modifiers << ':' << b.key;
    const PlayerPanelFlags& p = s.player;
    out << '\n'
        << p.name << p.first << p.total_sets << p.total_legs << p.total_tons << p.total_180s
        << p.total_high_off << p.total_short << p.avg_score << p.avg_darts << p.arrange;
    return out.str();
}

struct Folder {
    Folder() {
        // In memory where there is such a file system: every save flushes its file.
        char pattern[] = "/dev/shm/tx9_fuzz_XXXXXX";
        if (access("/dev/shm", W_OK) != 0) std::snprintf(pattern, sizeof pattern, "/tmp/tx9_fuzz_XXXXXX");
        if (const char* made = mkdtemp(pattern)) path = made;
        FUZZ_CHECK(!path.empty(), "no temporary folder");
    }
    ~Folder() {
        std::remove((path + "/tx9.ini").c_str());
        rmdir(path.c_str());
    }
    std::string path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tx9::test::ScopedFakeSystem fake;
    static Folder folder;
    fake.sys.work_area_ = kWork;

    Settings s;
    s.ini_path = folder.path + "/tx9.ini";
    FILE* file = std::fopen(s.ini_path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr, "cannot write %s", s.ini_path.c_str());
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    settings_load(s, fake.sys);
    check_limits(s);

    // The first save may change what a load finds (a section without keys is not
    // written, so a later one of the same name comes first); from then on a save
    // and a load give back the same Settings.
    auto save_and_load = [](const Settings& from) {
        settings_save(from, fake.sys);
        settings_save_game(from);
        settings_save_schedule(from);
        Settings loaded;
        loaded.ini_path = from.ini_path;
        settings_load(loaded, fake.sys);
        check_limits(loaded);
        return loaded;
    };
    const Settings first = save_and_load(s);
    const Settings second = save_and_load(first);
    FUZZ_CHECK(describe(second) == describe(first), "saved and loaded again:\n%s\n-- was --\n%s",
               describe(second).c_str(), describe(first).c_str());
    return 0;
}
