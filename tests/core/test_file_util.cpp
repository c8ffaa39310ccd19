#include "records/file_util.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace tx9 {
namespace {

TEST(FileUtil, WriteAndReadRoundTripBytes) {
    test::ScopedTempDir dir;
    struct Row {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"text with CR LF", "a,b\r\nc,d\r\n"},
        {"NUL and high bytes", std::string("x\0y\xff\x81\x5c", 6)},
        {"large", std::string(300000, 'z')},
    };
    for (const Row& row : rows) {
        std::string path = dir.file("f.bin", '\\');
        std::string error;
        ASSERT_TRUE(write_whole_file(path, row.bytes, &error)) << row.what << ": " << error;
        std::string back = "previous";
        ASSERT_TRUE(read_whole_file(path, back, &error)) << row.what << ": " << error;
        EXPECT_EQ(back, row.bytes) << row.what;
    }
}

TEST(FileUtil, FailedWriteKeepsTheOldFile) {
    test::ScopedTempDir dir;
    std::string path = dir.file("set.csv");
    std::string error;
    ASSERT_TRUE(write_whole_file(path, "old contents\r\n", &error)) << error;

    // A directory where the writer puts its temporary file makes the write fail
    // before the target is touched.
    ASSERT_TRUE(create_directories(path + ".tmp~"));
    EXPECT_FALSE(write_whole_file(path, "new", &error));
    EXPECT_NE(error, "") << "the failure comes with the system's text";
    std::string kept;
    ASSERT_TRUE(read_whole_file(path, kept, nullptr));
    EXPECT_EQ(kept, "old contents\r\n");

    // A missing folder: nothing is created, and the reason is given.
    error.clear();
    EXPECT_FALSE(write_whole_file(dir.file("no/such/folder.csv"), "x", &error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(directory_exists(dir.file("no")));
}

TEST(FileUtil, ReadOfAMissingFileFailsWithText) {
    test::ScopedTempDir dir;
    std::string data = "untouched", error;
    EXPECT_FALSE(read_whole_file(dir.file("missing.txt"), data, &error));
    EXPECT_EQ(data, "untouched");
    EXPECT_NE(error, "");
    EXPECT_FALSE(read_whole_file(dir.file("missing.txt"), data, nullptr)) << "the error text is optional";
}

TEST(FileUtil, CreateDirectoriesLevelByLevel) {
    test::ScopedTempDir dir;
    struct Row {
        const char* what;
        std::string path;
        std::string check; // with '/'
    } rows[] = {
        {"backslashes", dir.path() + "\\a\\b\\c", dir.path() + "/a/b/c"},
        {"slashes", dir.path() + "/d/e", dir.path() + "/d/e"},
        {"mixed, trailing separator", dir.path() + "/f\\g/", dir.path() + "/f/g"},
        {"already there", dir.path() + "/a/b", dir.path() + "/a/b"},
    };
    for (const Row& row : rows) {
        EXPECT_TRUE(create_directories(row.path)) << row.what;
        EXPECT_TRUE(directory_exists(row.check)) << row.what;
    }
    ASSERT_TRUE(write_whole_file(dir.file("plain"), "x", nullptr));
    EXPECT_FALSE(directory_exists(dir.file("plain"))) << "a file is not a directory";
    EXPECT_FALSE(create_directories(dir.file("plain") + "/sub")) << "nothing can be made below a file";
    EXPECT_FALSE(directory_exists(dir.file("nothing")));
    EXPECT_FALSE(directory_exists(""));
}

} // namespace
} // namespace tx9
