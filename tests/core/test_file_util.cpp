// Whole-file writes and reads, folders, read-only targets and what
// interrupted saves leave behind.
#include "records/csv_export.h"
#include "records/file_util.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tx9 {
namespace {

namespace fs = std::filesystem;

TEST(FileUtil, WriteAndReadRoundTripBytes) {
    test::ScopedTempDir dir;
    const std::string path = dir.file("f.bin", '\\');
    // A shorter text after a longer one leaves no tail of the old file.
    for (const std::string& bytes : {std::string(300000, 'z'), std::string("a,b\r\nc,d\r\n"),
                                     std::string("x\0y\xff\x81\x5c", 6), std::string()}) {
        std::string error, back = "previous";
        ASSERT_TRUE(write_whole_file(path, bytes, &error)) << bytes.size() << " bytes: " << error;
        ASSERT_TRUE(read_whole_file(path, back, &error)) << bytes.size() << " bytes: " << error;
        EXPECT_EQ(back, bytes);
    }
}

TEST(FileUtil, FailuresKeepWhatWasThereAndSayWhy) {
    test::ScopedTempDir dir;
    std::string path = dir.file("set.csv"), error;
    ASSERT_TRUE(write_whole_file(path, "old contents\r\n", &error)) << error;
    // A directory where the writer puts its temporary file makes the write fail before the target is touched.
    ASSERT_TRUE(create_directories(path + ".tmp~"));
    EXPECT_FALSE(write_whole_file(path, "new", &error));
    EXPECT_NE(error, "") << "the failure comes with the system's text";
    EXPECT_EQ(test::read_test_file(path), "old contents\r\n");

    error.clear();
    EXPECT_FALSE(write_whole_file(dir.file("no/such/folder.csv"), "x", &error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(directory_exists(dir.file("no"))) << "a write creates no folders";

    std::string data = "untouched";
    error.clear();
    EXPECT_FALSE(read_whole_file(dir.file("missing.txt"), data, &error));
    EXPECT_EQ(data, "untouched");
    EXPECT_NE(error, "");
}

TEST(FileUtil, ReadOnlyTargetIsRefusedAndKept) {
    test::ScopedTempDir dir;
    const std::string csv = dir.file("set.csv");
    ASSERT_TRUE(test::write_test_file(csv, "old"));
    fs::permissions(csv, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::string error;
    EXPECT_FALSE(write_csv_file(GameRecord(), csv, &error));
    EXPECT_FALSE(error.empty()) << "the failure box needs the system's text";
    EXPECT_FALSE(fs::exists(temp_path_for(csv)));
    fs::permissions(csv, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(test::read_test_file(csv), "old");
}

TEST(FileUtil, StartUpRemovesOnlyTheTemporaryFilesOfSets) {
    test::ScopedFakeSystem fake; // the folder is trimmed in the system's code page
    test::ScopedTempDir dir;
    fs::create_directory(dir.file("data"));
    const char* files[] = {"data/501_20041105_130509.csv.tmp~", "data/501_20041105_130509.csv",
                           "data/notes.tmp~"};
    for (const char* name : files)
        ASSERT_TRUE(test::write_test_file(dir.file(name), "x"));
    remove_interrupted_auto_saves("", dir.path());
    std::string left;
    for (const char* name : files)
        left += fs::exists(dir.file(name)) ? std::string(name) + " " : "";
    EXPECT_EQ(left, "data/501_20041105_130509.csv data/notes.tmp~ ");
}

} // namespace
} // namespace tx9
