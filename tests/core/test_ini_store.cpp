#include "settings/ini_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tx9 {
namespace {

using test::read_test_file;
using test::ScopedTempDir;
using test::write_test_file;

// A string literal with its NUL bytes.
template <size_t N> std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

IniDocument parsed(std::string_view text) {
    IniDocument doc;
    doc.parse(text);
    return doc;
}

// What the store writes back after reading the text.
std::string rewritten(std::string_view text) {
    return parsed(text).text();
}

TEST(NameHash, SkipsSpacesFoldsCapitalsAndCountsHighBytesNegative) {
    struct Row {
        const char* name;
        std::uint32_t hash;
    } rows[] = {
        {"", 0},
        {"a", 97},
        {"ab", 2 * 97 + 98},
        {"A B", 2 * 97 + 98},
        {" ab ", 2 * 97 + 98},
        {"\t", 9},               // tabs are neither skipped nor folded
        {"a\x80", 2 * 97 - 128}, // bytes from 0x80 count negative
        {"\xff", 0xFFFFFFFFu},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 0u - 97u}, // 97 * (2^32 - 1), wrapped
    };
    for (const Row& row : rows)
        EXPECT_EQ(name_hash(row.name), row.hash) << "name \"" << row.name << "\"";
}

TEST(IniParse, FileIsWrittenBackInTheStoresOwnShape) {
    // Every rule of the reader in one file: keys before any header, comments,
    // ';' lines, headers with blanks after ']', empty headers, repeated
    // sections, keys without '=', indented lines, blank lines and all line ends.
    const std::string in = "root_key=1\n"
                           "# top comment   \r\n"
                           "\r\n\r\n"
                           "[game]\r\n"
                           "start_score = 501\r"
                           "; not a comment\n"
                           "p1_name= \" two words \" \n"
                           "[view] \n"
                           "player=0\n"
                           "[]\n"
                           "[   ]\n"
                           "  round=15\n"
                           "novalue\n"
                           "   [indented]\n"
                           "  # indented comment\n"
                           "=no name\n"
                           "   =blank name\n"
                           "[empty_section]\n"
                           "[game]\n"
                           "start_score=301\n"
                           "[broken\n"
                           "eq=a=b\n";
    const std::string out = "root_key=1\r\n"
                            "# top comment\r\n"
                            "\r\n"
                            "[game]\r\n"
                            "start_score= 501\r\n"
                            "; not a comment=\r\n"
                            "p1_name= \" two words \" \r\n"
                            "player=0\r\n"
                            "round=15\r\n"
                            "novalue=\r\n"
                            "[indented]=\r\n"
                            "# indented comment=\r\n"
                            "\r\n"
                            "[game]\r\n"
                            "start_score=301\r\n"
                            "eq=a=b\r\n"
                            "\r\n";
    EXPECT_EQ(rewritten(in), out);
    // Read again, everything stays but the indented header, which now starts
    // the line and, not ending in ']', is dropped.
    std::string again = out;
    again.erase(again.find("[indented]=\r\n"), 13);
    EXPECT_EQ(rewritten(out), again);
}

TEST(IniParse, LookupsFollowTheFirstMatch) {
    IniDocument doc = parsed("root_key=1\n"
                             "[game]\n"
                             "start_score=501\n"
                             "# p1_name=commented\n"
                             "p1_name= \" two words \" \n"
                             "start_score=999\n"
                             "[view] \n"
                             "player=0\n"
                             "[game]\n"
                             "round=20\n");
    EXPECT_EQ(doc.get_int("game", "start_score", -1), 501) << "the first of two equal keys wins";
    EXPECT_EQ(doc.get_int("GAME", "START_SCORE", -1), 501) << "names compare without case";
    EXPECT_EQ(doc.get_int("game", "round", -1), -1) << "keys of a second [game] are never read";
    EXPECT_EQ(doc.get_int("game", "player", -1), 0)
        << "a dropped header leaves its keys in the section before";
    EXPECT_EQ(doc.get_int("view", "player", -1), -1);
    EXPECT_EQ(doc.get_int("", "root_key", -1), -1) << "the root section is never found";
    EXPECT_EQ(doc.get_string("game", "p1_name", ""), " two words ");
    EXPECT_EQ(doc.get_string("game", "# p1_name=commented", "dflt"), "dflt") << "comments are not keys";
}

TEST(IniParse, EqualHashesAloneNeverMatch) {
    ASSERT_EQ(name_hash("a b"), name_hash("ab"));
    IniDocument doc = parsed("[s]\na b=1\n");
    EXPECT_EQ(doc.get_int("s", "a b", 0), 1);
    EXPECT_EQ(doc.get_int("s", "ab", 7), 7);

    // Only the last 32 bytes of a name reach the hash, so these collide too.
    std::string tail(40, 'z');
    ASSERT_EQ(name_hash("a" + tail), name_hash("b" + tail));
    std::string text = "[s]\n";
    for (char c = 'a'; c <= 'y'; ++c)
        text += std::string(1, c) + tail + "=" + std::to_string(c - 'a') + "\n";
    text += "a" + tail + "=99\n";
    doc.parse(text);
    for (char c = 'a'; c <= 'y'; ++c)
        EXPECT_EQ(doc.get_int("s", std::string(1, c) + tail, -1), c - 'a') << "key starting with " << c;
    EXPECT_EQ(doc.get_int("s", "z" + tail, -1), -1);
}

TEST(IniParse, EmptyAndHeaderOnlyFilesWriteNothing) {
    for (const char* text : {"", "\r\n\r\n", "[a]\r\n[b]\r\n", "[]\n[ ]\n"}) {
        IniDocument doc = parsed(text);
        EXPECT_FALSE(doc.empty()) << "a parsed document always has its root section";
        EXPECT_EQ(doc.text(), "") << "from \"" << text << "\"";
    }
}

TEST(IniParse, NulEndsTheLineOrTheWholeText) {
    EXPECT_EQ(rewritten(bytes("[s]\nk=ab\0cd\nj=1\n\0l=2\n")), "[s]\r\nk=ab\r\nj=1\r\n\r\n");
    EXPECT_EQ(rewritten(bytes("[s]\0]\nk=1\n")), "[s]\r\nk=1\r\n\r\n") << "the header's text ends at the NUL";
    EXPECT_EQ(rewritten(bytes("\0[s]\nk=1\n")), "");
}

TEST(IniParse, LongLinesAreHeldWholeAndNamesCutTo255) {
    std::string long_name(300, 'n');
    std::string long_value(100000, 'v');
    std::string long_comment = "#" + std::string(400, 'c');
    std::string long_section(260, 's');
    std::string in = "[" + long_section + "]\n" + long_name + "=" + long_value + "\n" + long_comment + "\n";
    IniDocument doc = parsed(in);
    ASSERT_EQ(doc.sections().size(), 2u);
    const IniDocument::Section& section = doc.sections()[1];
    EXPECT_EQ(section.name, long_section.substr(0, 255));
    ASSERT_EQ(section.keys.size(), 2u);
    EXPECT_EQ(section.keys[0].name, long_name.substr(0, 255));
    EXPECT_EQ(section.keys[0].value, long_value);
    EXPECT_EQ(section.keys[1].name, long_comment.substr(0, 255));
    EXPECT_EQ(doc.get_string(long_section.substr(0, 255), long_name.substr(0, 255), "", 200000), long_value);

    // Blanks of a name beyond the cut do not count; the cut comes first.
    doc.parse("[s]\n" + std::string(255, ' ') + "x=1\n" + std::string(250, 'k') + "      y=2\n");
    ASSERT_EQ(doc.sections()[1].keys.size(), 1u);
    EXPECT_EQ(doc.sections()[1].keys[0].name, std::string(250, 'k'));
}

TEST(IniGet, StringsAreTrimmedThenUnquotedOnce) {
    struct Row {
        const char* raw;
        const char* read;
    } rows[] = {
        {" \" two words \" ", " two words "},
        {"plain", "plain"},
        {"\t padded \t", "padded"},
        {"\"open", "open"},
        {"close\"", "close"},
        {"\"", ""},
        {"\"\"", ""},
        {"\"\"\"", "\""},
        {"\"\"x\"\"", "\"x\""},
        {"   ", ""},
        {"", ""},
    };
    for (const Row& row : rows) {
        IniDocument doc = parsed(std::string("[s]\nk=") + row.raw + "\n");
        EXPECT_EQ(doc.get_string("s", "k", "default"), row.read) << "raw value [" << row.raw << "]";
        EXPECT_EQ(doc.text(), std::string("[s]\r\nk=") + row.raw + "\r\n\r\n")
            << "raw values are written back as read";
    }
    IniDocument doc = parsed("[s]\nk=1\n");
    EXPECT_EQ(doc.get_string("s", "missing", " \"dflt\" "), "dflt") << "the default is unquoted the same way";
}

TEST(IniGet, StringsFitTheCallersBuffer) {
    IniDocument doc = parsed("[s]\nk=\"abcdef\"\n");
    char buffer[8];
    struct Row {
        size_t size;
        size_t length;
        const char* text;
    } rows[] = {{8, 6, "abcdef"}, {7, 6, "abcdef"}, {4, 3, "abc"}, {1, 0, ""}};
    for (const Row& row : rows) {
        std::fill(std::begin(buffer), std::end(buffer), '#');
        EXPECT_EQ(doc.get_string("s", "k", "", buffer, row.size), row.length) << "buffer size " << row.size;
        EXPECT_STREQ(buffer, row.text);
        if (row.size < sizeof buffer) {
            EXPECT_EQ(buffer[row.size], '#') << "written beyond a buffer of " << row.size;
        }
    }
    buffer[0] = 'x';
    EXPECT_EQ(doc.get_string("s", "k", "", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 'x') << "a zero-size buffer is not touched";
    EXPECT_EQ(doc.get_string("s", "k", "", 4), "abc");
    EXPECT_EQ(ini_get_string("s", "missing", std::string(300, 'd'), "x.ini").size(), 255u);
}

TEST(IniGet, IntegersUseTheStandardDecimalConversion) {
    struct Row {
        const char* raw;
        int read;
    } rows[] = {
        {"12", 12}, {"\"42\"", 42}, {" -7 ", -7}, {"+3", 3},  {"", 0},       {"\"\"", 0},
        {"abc", 0}, {"12abc", 12},  {"0x1F", 0},  {"007", 7}, {"\" 9\"", 9}, {"99999999999", 2147483647},
        {"- 5", 0}, {"\t8", 8},
    };
    for (const Row& row : rows) {
        IniDocument doc = parsed(std::string("[s]\nk=") + row.raw + "\n");
        EXPECT_EQ(doc.get_int("s", "k", -1), row.read) << "raw value [" << row.raw << "]";
    }
    IniDocument doc = parsed("[s]\nnovalue\n");
    EXPECT_EQ(doc.get_int("s", "novalue", 55), 0) << "present but empty is 0, not the default";
    EXPECT_EQ(doc.get_int("s", "missing", 55), 55);
    EXPECT_EQ(doc.get_int("t", "novalue", 55), 55);
    EXPECT_EQ(IniDocument().get_int("s", "novalue", 55), 55) << "an empty document finds nothing";
}

TEST(IniPut, ValuesAreReplacedInPlaceAndNewOnesAppended) {
    IniDocument doc = parsed("# kept\r\n"
                             "[game]\r\n"
                             "start_score=501\r\n"
                             "# comment\r\n"
                             "round=15\r\n"
                             "[view]\r\n"
                             "player=1\r\n"
                             "[game]\r\n"
                             "start_score=1\r\n");
    EXPECT_TRUE(doc.put_int("GAME", "Start_Score", 301));
    EXPECT_TRUE(doc.put_string("game", "p1_name", "Bob"));
    EXPECT_TRUE(doc.put_string("game", "p2_name", ""));
    EXPECT_TRUE(doc.put_int("view", "player", -12));
    EXPECT_TRUE(doc.put_value("font", " name ", "raw \"text\""));
    EXPECT_TRUE(doc.put_string("font", "name", "Arial"));
    EXPECT_EQ(doc.text(), "# kept\r\n"
                          "\r\n"
                          "[game]\r\n"
                          "start_score=301\r\n"
                          "# comment\r\n"
                          "round=15\r\n"
                          "p1_name=\"Bob\"\r\n"
                          "p2_name=\r\n"
                          "\r\n"
                          "[view]\r\n"
                          "player=-12\r\n"
                          "\r\n"
                          "[game]\r\n"
                          "start_score=1\r\n"
                          "\r\n"
                          "[font]\r\n"
                          "name=\"Arial\"\r\n"
                          "\r\n");
    EXPECT_EQ(doc.get_string("game", "p1_name", ""), "Bob");
    EXPECT_EQ(doc.get_string("game", "p2_name", "dflt"), "");
}

TEST(IniPut, EmptyDocumentGetsARootAndRefusesEmptyNames) {
    IniDocument doc;
    EXPECT_FALSE(doc.put_value("", "k", "1")) << "a section without a name could never be found";
    EXPECT_FALSE(doc.put_value("s", "  ", "1"));
    EXPECT_EQ(doc.text(), "");
    EXPECT_TRUE(doc.put_value("s", "k", "1"));
    ASSERT_EQ(doc.sections().size(), 2u);
    EXPECT_EQ(doc.sections()[0].name, "");
    EXPECT_EQ(doc.text(), "[s]\r\nk=1\r\n\r\n");
}

TEST(IniPut, ManyKeysStayInOrderAndFindable) {
    IniDocument doc;
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(doc.put_int("sec" + std::to_string(i % 7), "key_" + std::to_string(i), i));
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(doc.get_int("SEC" + std::to_string(i % 7), "KEY_" + std::to_string(i), -1), i);
    IniDocument copy = parsed(doc.text());
    EXPECT_EQ(copy.text(), doc.text());
    EXPECT_EQ(copy.get_int("sec3", "key_2999", -1), 2999);
    ASSERT_EQ(doc.sections().size(), 8u);
    EXPECT_EQ(doc.sections()[3].keys[5].name, "key_37");
}

// The program's own cycles: the process-wide document over real files.
class IniCycleTest : public ::testing::Test {
  protected:
    void SetUp() override { ini_free(); }
    void TearDown() override { ini_free(); }
    ScopedTempDir dir;
};

TEST_F(IniCycleTest, MissingFileGivesDefaultsAndPutsCreateIt) {
    std::string path = dir.file("tx9.ini");
    EXPECT_FALSE(ini_load(path));
    EXPECT_EQ(ini_get_int("window", "state", 10, path), 10);
    EXPECT_EQ(ini_get_string("font", "name", "Arial", path), "Arial");
    EXPECT_TRUE(ini_put_int("window", "state", 3, path));
    EXPECT_TRUE(ini_put_string("font", "name", "Courier New", path));
    EXPECT_TRUE(ini_put_value("font", "size", "12"));
    EXPECT_TRUE(ini_write(path));
    ini_free();
    EXPECT_EQ(ini_get_int("window", "state", 10, path), 10) << "freed document still answered";

    bool ok = false;
    EXPECT_EQ(read_test_file(path, &ok),
              "[window]\r\nstate=3\r\n\r\n[font]\r\nname=\"Courier New\"\r\nsize=12\r\n\r\n");
    EXPECT_TRUE(ok);
    ASSERT_TRUE(ini_load(path));
    EXPECT_EQ(ini_get_string("font", "name", "", path), "Courier New");
    char buffer[5];
    EXPECT_EQ(ini_get_string("font", "name", "", buffer, sizeof buffer, path), 4u);
    EXPECT_STREQ(buffer, "Cour");
}

TEST_F(IniCycleTest, FileRoundTripIsByteExactAndAtomic) {
    std::string path = dir.file("tx9.ini");
    const std::string original = "; hand edited\n"
                                 "[window]\n"
                                 "left=10\n"
                                 "\n"
                                 "[game]\r\n"
                                 "p1_name= \" two words \" \r\n"
                                 "# comment kept\r\n"
                                 "unknown_key=\"x\"\r\n";
    ASSERT_TRUE(write_test_file(path, original));
    ASSERT_TRUE(ini_load(path));
    EXPECT_TRUE(ini_put_int("window", "left", 20, path));
    EXPECT_TRUE(ini_write(path));
    ini_free();
    const std::string expected = "; hand edited=\r\n"
                                 "\r\n"
                                 "[window]\r\n"
                                 "left=20\r\n"
                                 "\r\n"
                                 "[game]\r\n"
                                 "p1_name= \" two words \" \r\n"
                                 "# comment kept\r\n"
                                 "unknown_key=\"x\"\r\n"
                                 "\r\n";
    EXPECT_EQ(read_test_file(path), expected);
    EXPECT_FALSE(std::ifstream(path + ".tmp~").good()) << "the temporary file was left behind";

    // A second cycle without puts changes nothing.
    ASSERT_TRUE(ini_load(path));
    EXPECT_TRUE(ini_write(path));
    ini_free();
    EXPECT_EQ(read_test_file(path), expected);
}

TEST_F(IniCycleTest, FailedLoadKeepsTheDocumentAndFailedWriteKeepsTheFile) {
    std::string path = dir.file("tx9.ini");
    ASSERT_TRUE(write_test_file(path, "[s]\nk=1\n"));
    ASSERT_TRUE(ini_load(path));
    EXPECT_FALSE(ini_load(dir.file("missing.ini")));
    EXPECT_EQ(ini_get_int("s", "k", 0, path), 1) << "a failed load replaced the document";

    EXPECT_FALSE(ini_write(dir.file("no_such_folder/tx9.ini")));
    EXPECT_TRUE(ini_put_int("s", "k", 2, path));
    EXPECT_EQ(read_test_file(path), "[s]\nk=1\n") << "puts reached the file without a write";
}

TEST_F(IniCycleTest, EmptyFileWritesBackEmpty) {
    std::string path = dir.file("tx9.ini");
    ASSERT_TRUE(write_test_file(path, ""));
    ASSERT_TRUE(ini_load(path));
    EXPECT_TRUE(ini_write(path));
    bool ok = false;
    EXPECT_EQ(read_test_file(path, &ok), "");
    EXPECT_TRUE(ok);
}

} // namespace
} // namespace tx9
