#include "settings/ini_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

namespace tx9 {
namespace {

using test::read_test_file;
using test::write_test_file;

IniDocument parsed(std::string_view text) {
    IniDocument doc;
    doc.parse(text);
    return doc;
}

const auto rewritten = [](std::string_view text) { return parsed(text).text(); };

TEST(IniParse, FileIsWrittenBackInTheStoresOwnShape) {
    // Every rule of the reader in one file: keys before any header, comments, ';' lines, headers with
    // blanks after ']', empty and unclosed headers, repeated sections, keys without '=', indented lines,
    // blank lines and all line ends.
    const std::string in = "root_key=1\n# top comment   \r\n\r\n\r\n[game]\r\nstart_score = 501\r"
                           "; not a comment\np1_name= \" two words \" \n[view] \nplayer=0\n[]\n[   ]\n"
                           "  round=15\nnovalue\n   [indented]\n  # indented comment\n=no name\n"
                           "   =blank name\n[empty_section]\n[game]\nstart_score=301\n[broken\neq=a=b\n";
    const std::string out = "root_key=1\r\n# top comment\r\n\r\n[game]\r\nstart_score= 501\r\n"
                            "; not a comment=\r\np1_name= \" two words \" \r\nplayer=0\r\nround=15\r\n"
                            "novalue=\r\n [indented]=\r\n # indented comment=\r\n\r\n"
                            "[game]\r\nstart_score=301\r\neq=a=b\r\n\r\n";
    EXPECT_EQ(rewritten(in), out);
    // Keys named like a header or a comment stay indented, so they are read back as keys.
    EXPECT_EQ(rewritten(out), out);
}

TEST(IniParse, LookupsFollowTheFirstMatch) {
    IniDocument doc =
        parsed("root_key=1\n[game]\nstart_score=501\n# p1_name=commented\n"
               "p1_name= \" two words \" \nstart_score=999\n[view] \nplayer=0\n[game]\nround=20\n");
    EXPECT_EQ(doc.get_int("game", "start_score", -1), 501) << "the first of two equal keys wins";
    EXPECT_EQ(doc.get_int("GAME", "START_SCORE", -1), 501) << "names compare without case";
    EXPECT_EQ(doc.get_int("game", "round", -1), -1) << "keys of a second [game] are never read";
    EXPECT_EQ(doc.get_int("game", "player", -1), 0)
        << "a dropped header leaves its keys in the section before";
    EXPECT_EQ(doc.get_int("view", "player", -1), -1);
    EXPECT_EQ(doc.get_int("", "root_key", -1), -1) << "the root section is never found";
    EXPECT_EQ(doc.get_string("game", "p1_name", ""), " two words ");
    // The lookup hash skips blanks, so "a b" and "ab" hash alike; the names must still match.
    ASSERT_EQ(name_hash("a b"), name_hash("ab"));
    doc.parse("[s]\na b=1\n");
    EXPECT_EQ(doc.get_int("s", "ab", 7), 7);
}

TEST(IniParse, EmptyHeaderOnlyAndNulEndedTexts) {
    for (const char* text : {"", "\r\n\r\n", "[a]\r\n[b]\r\n", "[]\n[ ]\n"})
        EXPECT_EQ(rewritten(text), "") << "from \"" << text << "\"";
    using namespace std::string_literals;
    EXPECT_EQ(rewritten("[s]\nk=ab\0cd\nj=1\n\0l=2\n"s), "[s]\r\nk=ab\r\nj=1\r\n\r\n");
    EXPECT_EQ(rewritten("[s]\0]\nk=1\n"s), "[s]\r\nk=1\r\n\r\n") << "the header's text ends at the NUL";
    EXPECT_EQ(rewritten("\0[s]\nk=1\n"s), "");
}

TEST(IniParse, LongLinesAreHeldWholeAndNamesCutTo255) {
    std::string name(300, 'n'), value(100000, 'v'), comment = "#" + std::string(400, 'c'), section(260, 's');
    IniDocument doc = parsed("[" + section + "]\n" + name + "=" + value + "\n" + comment + "\n");
    EXPECT_EQ(doc.text(), "[" + section.substr(0, 255) + "]\r\n" + name.substr(0, 255) + "=" + value +
                              "\r\n" + comment.substr(0, 255) + "\r\n\r\n");
    EXPECT_EQ(doc.get_string(section.substr(0, 255), name.substr(0, 255), "", 200000), value);

    // Blanks of a name beyond the cut do not count; the cut comes first.
    doc.parse("[s]\n" + std::string(255, ' ') + "x=1\n" + std::string(250, 'k') + "      y=2\n");
    EXPECT_EQ(doc.text(), "[s]\r\n" + std::string(250, 'k') + "=2\r\n\r\n");
}

TEST(IniGet, ValuesAreTrimmedThenUnquotedOnce) {
    const std::pair<const char*, const char*> strings[] = {
        // clang-format off
        {" \" two words \" ", " two words "}, {"plain", "plain"}, {"\t padded \t", "padded"}, {"\"open", "open"},
        {"close\"", "close"}, {"\"", ""}, {"\"\"", ""}, {"\"\"\"", "\""}, {"\"\"x\"\"", "\"x\""}, {"   ", ""},
        {"", ""},
        // clang-format on
    };
    for (auto [raw, read] : strings)
        EXPECT_EQ(parsed(std::string("[s]\nk=") + raw + "\n").get_string("s", "k", "default"), read)
            << "raw value [" << raw << "]";
    EXPECT_EQ(parsed("").get_string("s", "missing", " \"dflt\" "), "dflt") << "the default is unquoted too";

    const std::pair<const char*, int> ints[] = {
        // clang-format off
        {"12", 12}, {"\"42\"", 42}, {" -7 ", -7}, {"+3", 3}, {"", 0}, {"\"\"", 0}, {"abc", 0}, {"12abc", 12},
        {"0x1F", 0}, {"007", 7}, {"\" 9\"", 9}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
        {"- 5", 0}, {"\t8", 8},
        // clang-format on
    };
    for (auto [raw, read] : ints)
        EXPECT_EQ(parsed(std::string("[s]\nk=") + raw + "\n").get_int("s", "k", -1), read)
            << "raw value [" << raw << "]";
    IniDocument doc = parsed("[s]\nnovalue\n");
    EXPECT_EQ(doc.get_int("s", "novalue", 55), 0) << "present but empty is 0, not the default";
    EXPECT_EQ(doc.get_int("t", "novalue", 55), 55);
}

TEST(IniGet, StringsFitTheCallersBuffer) {
    IniDocument doc = parsed("[s]\nk=\"abcdef\"\n");
    char buffer[8];
    const std::tuple<size_t, size_t, const char*> rows[] = {{7, 6, "abcdef"}, {4, 3, "abc"}, {1, 0, ""}};
    for (auto [size, length, text] : rows) {
        std::fill(std::begin(buffer), std::end(buffer), '#');
        EXPECT_EQ(doc.get_string("s", "k", "", buffer, size), length) << "buffer size " << size;
        EXPECT_STREQ(buffer, text);
        EXPECT_EQ(buffer[size], '#') << "written beyond a buffer of " << size;
    }
    buffer[0] = 'x';
    EXPECT_EQ(doc.get_string("s", "k", "", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 'x') << "a zero-size buffer is not touched";
}

TEST(IniPut, ValuesAreReplacedInPlaceAndNewOnesAppended) {
    IniDocument doc = parsed("# kept\r\n[game]\r\nstart_score=501\r\n# comment\r\nround=15\r\n"
                             "[view]\r\nplayer=1\r\n[game]\r\nstart_score=1\r\n");
    EXPECT_TRUE(doc.put_int("GAME", "Start_Score", 301));
    EXPECT_TRUE(doc.put_string("game", "p1_name", "Bob"));
    EXPECT_TRUE(doc.put_string("game", "p2_name", ""));
    EXPECT_TRUE(doc.put_int("view", "player", -12));
    EXPECT_TRUE(doc.put_value("font", " name ", "raw \"text\""));
    EXPECT_TRUE(doc.put_string("font", "name", "Arial"));
    EXPECT_EQ(doc.text(), "# kept\r\n\r\n[game]\r\nstart_score=301\r\n# comment\r\nround=15\r\n"
                          "p1_name=\"Bob\"\r\np2_name=\r\n\r\n[view]\r\nplayer=-12\r\n\r\n"
                          "[game]\r\nstart_score=1\r\n\r\n[font]\r\nname=\"Arial\"\r\n\r\n");

    // An empty document gets its root first, and names empty once trimmed are refused.
    IniDocument fresh;
    EXPECT_FALSE(fresh.put_value("", "k", "1")) << "a section without a name could never be found";
    EXPECT_FALSE(fresh.put_value("s", "  ", "1"));
    EXPECT_EQ(fresh.text(), "");
    EXPECT_TRUE(fresh.put_value("s", "k", "1"));
    EXPECT_EQ(fresh.text(), "[s]\r\nk=1\r\n\r\n");
}

TEST(IniPut, ManyKeysStayFindable) {
    IniDocument doc;
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(doc.put_int("sec" + std::to_string(i % 7), "key_" + std::to_string(i), i));
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(doc.get_int("SEC" + std::to_string(i % 7), "KEY_" + std::to_string(i), -1), i);
}

// The program's own cycle over real files: load, gets and puts, write, free.
TEST(IniCycle, MissingFileGivesDefaultsAndPutsCreateIt) {
    test::ScopedTempDir dir;
    const std::string path = dir.file("tx9.ini");
    ini_free();
    EXPECT_FALSE(ini_load(path));
    EXPECT_EQ(ini_get_int("window", "state", 10, path), 10);
    EXPECT_TRUE(ini_put_int("window", "state", 3, path));
    EXPECT_TRUE(ini_put_string("font", "name", "Courier New", path));
    EXPECT_TRUE(ini_put_value("font", "size", "12"));
    EXPECT_TRUE(ini_write(path));
    ini_free();
    EXPECT_EQ(ini_get_int("window", "state", 10, path), 10) << "freed document still answered";
    EXPECT_EQ(read_test_file(path),
              "[window]\r\nstate=3\r\n\r\n[font]\r\nname=\"Courier New\"\r\nsize=12\r\n\r\n");
    EXPECT_FALSE(std::ifstream(path + ".tmp~").good()) << "the temporary file was left behind";

    ASSERT_TRUE(write_test_file(path, "")); // an empty file writes back empty
    ASSERT_TRUE(ini_load(path));
    EXPECT_TRUE(ini_write(path));
    bool ok = false;
    EXPECT_EQ(read_test_file(path, &ok), "");
    EXPECT_TRUE(ok);
    ini_free();
}

} // namespace
} // namespace tx9
