#include "records/file_util.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace tx9 {
namespace {

TEST(FileUtil, WriteAndReadRoundTripBytes) {
    test::ScopedTempDir dir;
    const std::string path = dir.file("f.bin", '\\');
    for (const std::string& bytes : {std::string(), std::string("a,b\r\nc,d\r\n"),
                                     std::string("x\0y\xff\x81\x5c", 6), std::string(300000, 'z')}) {
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
    std::string kept;
    ASSERT_TRUE(read_whole_file(path, kept, nullptr));
    EXPECT_EQ(kept, "old contents\r\n");

    error.clear();
    EXPECT_FALSE(write_whole_file(dir.file("no/such/folder.csv"), "x", &error));
    EXPECT_NE(error, "");
    EXPECT_FALSE(directory_exists(dir.file("no"))) << "a write creates no folders";

    std::string data = "untouched";
    error.clear();
    EXPECT_FALSE(read_whole_file(dir.file("missing.txt"), data, &error));
    EXPECT_EQ(data, "untouched");
    EXPECT_NE(error, "");
    EXPECT_FALSE(read_whole_file(dir.file("missing.txt"), data, nullptr)) << "the error text is optional";
}

TEST(FileUtil, CreateDirectoriesLevelByLevel) {
    test::ScopedTempDir dir;
    const std::pair<std::string, std::string> rows[] = {// path, then the same with '/'
                                                        {dir.path() + "\\a\\b\\c", dir.path() + "/a/b/c"},
                                                        {dir.path() + "/f\\g/", dir.path() + "/f/g"},
                                                        {dir.path() + "/a/b", dir.path() + "/a/b"}};
    for (const auto& [path, check] : rows) {
        EXPECT_TRUE(create_directories(path)) << path;
        EXPECT_TRUE(directory_exists(check)) << path;
    }
    ASSERT_TRUE(write_whole_file(dir.file("plain"), "x", nullptr));
    EXPECT_FALSE(directory_exists(dir.file("plain"))) << "a file is not a directory";
    EXPECT_FALSE(create_directories(dir.file("plain") + "/sub")) << "nothing can be made below a file";
    EXPECT_FALSE(directory_exists(dir.file("nothing")));
    EXPECT_FALSE(directory_exists(""));
}

} // namespace
} // namespace tx9
