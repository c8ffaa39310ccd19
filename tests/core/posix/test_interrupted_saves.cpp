// Saves cut short: a child process writes a large INI or CSV through the atomic
// writer and is killed at many points of the write; the target always holds the
// whole old or the whole new text, and start-up removes what the child left.
#include "records/csv_export.h"
#include "records/file_util.h"
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/match_harness.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tx9 {
namespace {

namespace fs = std::filesystem;

// 1,000 points in all, half in an INI file and half in a CSV file. Most cut the
// temporary file at a byte; the rest kill the writer after a delay.
constexpr int kPoints = 500;
constexpr int kByteCuts = 450;

// Runs save in a child. A byte limit stops the child (SIGXFSZ) once the file it
// writes reaches that size; a delay has the parent kill it after so many microseconds.
void run_interrupted(const std::function<void()>& save, long byte_limit, long delay_us) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Dies on the spot, as SIGXFSZ would, without leaving a core dump behind.
        signal(SIGXFSZ, [](int) { _exit(9); });
        if (byte_limit >= 0) {
            rlimit size{static_cast<rlim_t>(byte_limit), static_cast<rlim_t>(byte_limit)};
            setrlimit(RLIMIT_FSIZE, &size);
        }
        save();
        _exit(0);
    }
    if (delay_us >= 0) {
        usleep(static_cast<useconds_t>(delay_us));
        kill(child, SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
}

struct Outcome {
    int old_text = 0, new_text = 0;
};

// Every point: the target back to the old text, the save interrupted, the target
// checked, then the start-up cleanup run and checked.
Outcome interrupt_at_every_point(const std::string& target, const std::string& old_text,
                                 const std::string& new_text, const std::function<void()>& save,
                                 const std::function<void()>& start_up) {
    Outcome seen;
    const std::string temp = temp_path_for(target);
    auto started = std::chrono::steady_clock::now();
    run_interrupted(save, -1, -1);
    const long whole_us = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
            .count());
    EXPECT_EQ(test::read_test_file(target), new_text) << "an uninterrupted save";

    for (int point = 0; point < kPoints; ++point) {
        EXPECT_TRUE(test::write_test_file(target, old_text));
        const bool byte_cut = point < kByteCuts;
        const long cut = static_cast<long>(new_text.size()) * point / kByteCuts;
        run_interrupted(save, byte_cut ? cut : -1,
                        byte_cut ? -1 : whole_us * 2 * (point - kByteCuts) / (kPoints - kByteCuts));
        const std::string now = test::read_test_file(target);
        if (now == old_text)
            ++seen.old_text;
        else if (now == new_text)
            ++seen.new_text;
        else
            ADD_FAILURE() << "point " << point << ": the target holds " << now.size()
                          << " bytes of neither text";
        if (byte_cut) {
            EXPECT_EQ(now, old_text) << "cut at byte " << cut;
            EXPECT_EQ(test::read_test_file(temp), new_text.substr(0, static_cast<size_t>(cut)))
                << "cut at byte " << cut;
        }
        start_up();
        EXPECT_FALSE(fs::exists(temp)) << "point " << point << ": the temporary file survived the start";
        if (::testing::Test::HasFailure()) break;
    }
    return seen;
}

// Every uninterrupted save flushes its file: on a memory file system that costs nothing.
void prefer_memory_temp_dir() {
    if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
}

GameSettings entry(int i) {
    GameSettings g = test::game_of(301 + i);
    g.round_limit = 1;
    g.round = 10 + i % 20;
    g.p1_name = "Player number " + std::to_string(i);
    g.p2_name = "Opponent " + std::to_string(i * 7);
    return g;
}

TEST(InterruptedSave, IniIsWholeOldOrWholeNew) {
    prefer_memory_temp_dir();
    test::ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    Settings s;
    s.ini_path = dir.file("tx9.ini");
    for (int i = 0; i < kMaxScheduleEntries; ++i)
        s.schedule.push_back(entry(i));
    ASSERT_TRUE(settings_save_schedule(s));
    const std::string old_text = test::read_test_file(s.ini_path);
    for (GameSettings& g : s.schedule)
        g.p2_name += " (changed)";
    const std::string new_text = [&] {
        Settings copy = s;
        copy.ini_path = dir.file("expected.ini");
        EXPECT_TRUE(test::write_test_file(copy.ini_path, old_text));
        EXPECT_TRUE(settings_save_schedule(copy));
        return test::read_test_file(copy.ini_path);
    }();
    ASSERT_GT(new_text.size(), 50000u);

    IniDocument saving;
    saving.parse(new_text);
    Outcome seen = interrupt_at_every_point(
        s.ini_path, old_text, new_text, [&] { saving.write(s.ini_path); },
        [&] {
            Settings next;
            next.ini_path = s.ini_path;
            settings_load(next, fake.sys);
        });
    EXPECT_EQ(seen.old_text + seen.new_text, kPoints);
    EXPECT_GE(seen.old_text, kByteCuts);
}

TEST(InterruptedSave, CsvIsWholeOldOrWholeNew) {
    test::Table table(test::game_of(1001));
    for (int leg = 0; leg < 200; ++leg)
        table.win_leg(leg % 2);
    const std::string old_text = format_csv(table.record);
    table.win_leg(1);
    const std::string new_text = format_csv(table.record);
    ASSERT_GT(old_text.size(), 50000u);
    prefer_memory_temp_dir();
    test::ScopedTempDir dir;
    fs::create_directory(dir.file("data"));
    const std::string target = dir.file("data/1001_20041105_010509.csv");

    Outcome seen = interrupt_at_every_point(
        target, old_text, new_text, [&] { write_whole_file(target, new_text, nullptr); },
        [&] { remove_interrupted_auto_saves("", dir.path()); });
    EXPECT_EQ(seen.old_text + seen.new_text, kPoints);
    EXPECT_GE(seen.old_text, kByteCuts);
}

} // namespace
} // namespace tx9
