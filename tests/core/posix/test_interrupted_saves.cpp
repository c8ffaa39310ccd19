// Saves cut short: a child process writes a large set file through the atomic
// writer (the INI file goes through the same writer) and is killed at many
// points of the write; the target always holds the whole old or the whole new
// text, and start-up removes what the child left.
#include "records/csv_export.h"
#include "records/file_util.h"
#include "support/match_harness.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tx9 {
namespace {

// Most points cut the temporary file at a byte; the rest kill the writer after a delay.
constexpr int kPoints = 500;
constexpr int kByteCuts = 450;

// Writes the text in a child. A byte limit stops the child (SIGXFSZ) once the file
// reaches that size; a delay has the parent kill it after so many microseconds.
void write_interrupted(const std::string& target, const std::string& text, long byte_limit, long delay_us) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, [](int) { _exit(9); }); // dies on the spot, without a core dump
        if (byte_limit >= 0) {
            rlimit size{static_cast<rlim_t>(byte_limit), static_cast<rlim_t>(byte_limit)};
            setrlimit(RLIMIT_FSIZE, &size);
        }
        write_whole_file(target, text, nullptr);
        _exit(0);
    }
    if (delay_us >= 0) {
        usleep(static_cast<useconds_t>(delay_us));
        kill(child, SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
}

TEST(InterruptedSave, SetFileIsWholeOldOrWholeNew) {
    test::Table table(test::game_of(1001));
    for (int leg = 0; leg < 200; ++leg)
        table.win_leg(leg % 2);
    const std::string old_text = format_csv(table.record);
    table.win_leg(1);
    const std::string new_text = format_csv(table.record);
    ASSERT_GT(old_text.size(), 50000u);
    // Every uninterrupted save flushes its file: on a memory file system that costs nothing.
    if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
    test::ScopedTempDir dir;
    std::filesystem::create_directory(dir.file("data"));
    const std::string target = dir.file("data/1001_20041105_010509.csv"), temp = temp_path_for(target);

    auto started = std::chrono::steady_clock::now();
    write_interrupted(target, new_text, -1, -1);
    const long whole_us = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
            .count());
    ASSERT_EQ(test::read_test_file(target), new_text) << "an uninterrupted save";

    for (int point = 0; point < kPoints && !::testing::Test::HasFailure(); ++point) {
        ASSERT_TRUE(test::write_test_file(target, old_text));
        const bool byte_cut = point < kByteCuts;
        const long cut = static_cast<long>(new_text.size()) * point / kByteCuts;
        write_interrupted(target, new_text, byte_cut ? cut : -1,
                          byte_cut ? -1 : whole_us * 2 * (point - kByteCuts) / (kPoints - kByteCuts));
        const std::string now = test::read_test_file(target);
        // A cut while the new text is written leaves the old one; a kill later may find either.
        EXPECT_TRUE(now == old_text || (!byte_cut && now == new_text))
            << "point " << point << ": the target holds " << now.size() << " bytes of neither text";
        remove_interrupted_auto_saves("", dir.path());
        EXPECT_FALSE(std::filesystem::exists(temp))
            << "point " << point << ": the temporary file survived the start";
    }
}

} // namespace
} // namespace tx9
