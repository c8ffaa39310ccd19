#include "records/csv_export.h"
#include "records/file_util.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tx9 {
namespace {

// A finished leg as the rules leave it.
LegRecord make_leg(int first, int rows, int cur_round, int turn, int winner, int win_darts,
                   std::vector<int> p1, std::vector<int> p2, int capacity = 10) {
    LegRecord leg;
    leg.first = first, leg.rows = rows, leg.cur_round = cur_round, leg.turn = turn, leg.capacity = capacity;
    leg.finished = 1, leg.winner = winner, leg.win_darts = win_darts;
    p1.resize(static_cast<size_t>(capacity) + 1);
    p2.resize(static_cast<size_t>(capacity) + 1);
    leg.scores = {p1, p2};
    return leg;
}

// Auto save runs after leg_no was raised and before the next leg is added.
GameRecord make_record(std::vector<LegRecord> finished, int start1 = 301, int start2 = 301) {
    GameRecord record;
    record.start_score = 301;
    record.csv_name = "301_20041105_130509.csv";
    record.player[0].name = "Ann";
    record.player[1].name = "Bob";
    record.player[0].start_score = start1;
    record.player[1].start_score = start2;
    record.leg_no = static_cast<int>(finished.size());
    record.leg_records = std::move(finished);
    return record;
}

// Ann throws first: 140, 121, then finishes her 40 with the second dart.
const auto worked_example_leg = [] { return make_leg(0, 3, 2, 1, 0, 8, {140, 121, -2}, {100, 81}); };

const std::string kHead = ",Ann,,Bob,\r\nRound,Scored,To Go,Scored,To Go\r\n";
const std::string kWorkedExample =
    ",*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\nDarts,8,,,\r\n";

TEST(CsvFormat, LegBlocks) {
    test::ScopedFakeSystem fake;
    // what, the record, the lines after the names and column lines
    const std::tuple<const char*, GameRecord, std::string> rows[] = {
        {"Bob finishes in round 3 with the third dart",
         make_record({make_leg(0, 3, 3, 0, 1, 9, {140, 121, 20}, {100, 81, -3})}),
         ",*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,20,20,(3),\r\nDarts,,,9,\r\n"},
        {"Bob throws first and finishes before Ann throws",
         make_record({make_leg(1, 2, 1, 0, 1, 4, {100}, {180, -1})}),
         ",,301,*,301\r\n1,100,201,180,121\r\n2,,,(1),\r\nDarts,,,4,\r\n"},
        {"round limit of 5: every round has its line",
         make_record({make_leg(0, 5, 2, 1, 0, 8, {140, 121, -2}, {100, 81}, 5)}),
         ",*,301,,301\r\n1,140,161,100,201\r\n2,121,40,81,120\r\n3,(2),,,\r\n"
         "4,,,,\r\n5,,,,\r\nDarts,8,,,\r\n"},
        {"drawn at the round limit", make_record({make_leg(1, 2, 2, 1, 0, 0, {60, 60}, {45, 0}, 2)}),
         ",,301,*,301\r\n1,60,241,45,256\r\n2,60,181,0,256\r\nDarts,0,,,\r\n"},
        {"handicap start scores", make_record({make_leg(0, 2, 1, 1, 0, 6, {180, -3}, {100})}, 301, 201),
         ",*,301,,201\r\n1,180,121,100,101\r\n2,(3),,,\r\nDarts,6,,,\r\n"},
        {"to go counts from the start score in every leg",
         make_record({make_leg(0, 1, 0, 1, 0, 3, {-3}, {}), make_leg(1, 1, 1, 1, 1, 6, {60}, {100, -3})}, 101,
                     101),
         ",*,101,,101\r\n1,(3),,,\r\nDarts,3,,,\r\n,,101,*,101\r\n1,60,41,100,1\r\nDarts,,,6,\r\n"},
        {"leg_no 0 gives the two head lines only", make_record({}), ""},
    };
    for (const auto& [what, record, body] : rows)
        EXPECT_EQ(format_csv(record), kHead + body) << what;
    GameRecord record = make_record({worked_example_leg()});
    record.leg_records.push_back(make_leg(1, 2, 1, 0, 0, 0, {60}, {45}));
    EXPECT_EQ(format_csv(record), kHead + kWorkedExample)
        << "the next leg, once added and under way, is not written";
}

TEST(CsvFormat, NamesLine) {
    test::ScopedFakeSystem fake;
    GameRecord record = make_record({});
    auto names_line = [&record] { return format_csv(record).substr(0, format_csv(record).find("\r\n")); };
    record.player[0].name = "Smith, J";
    EXPECT_EQ(names_line(), ",Smith, J,,Bob,") << "commas are written as they are";

    record.player[0].name = "Ann";
    record.player[1].com = 1;
    record.player[1].com_level = 2;
    record.player[1].name = "ignored";
    EXPECT_EQ(names_line(), ",Ann,,COM (Lv.3),");
    fake.sys.strings[109] = "CPU %d%%";
    record.player[0].com = 1;
    EXPECT_EQ(names_line(), ",CPU 1%,,CPU 3%,") << "the name comes from string 109";
}

TEST(AutoSavePath, FolderRulesAndCreation) {
    test::ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    GameRecord record = make_record({worked_example_leg()});
    const std::string &name = record.csv_name, &d = dir.path(), app = d + "\\\x95\x5C";
    // what, auto_save_path, the file's path, the folders made
    const std::tuple<const char*, std::string, std::string, std::vector<std::string>> rows[] = {
        {"nested folders, backslashes",
         d + "\\scores\\2004",
         d + "\\scores\\2004\\" + name,
         {d + "/scores", d + "/scores/2004"}},
        {"a folder that is there already", d + "\\scores", d + "\\scores\\" + name, {d + "/scores"}},
        {"trailing backslash", d + "\\b\\", d + "\\b\\" + name, {d + "/b"}},
        {"slashes", d + "/u/v", d + "/u/v\\" + name, {d + "/u/v"}},
        // The application folder's name ends in a double-byte character whose trail byte is a backslash.
        {"empty: data in the application folder", "", app + "\\data\\" + name, {}},
        {"a double-byte folder, trailing backslash", app + "\\", app + "\\" + name, {}},
    };
    fake.sys.shift_jis = true;
    ASSERT_TRUE(create_directories(app));
    for (const auto& [what, auto_save_path, want, created] : rows) {
        std::string error;
        EXPECT_EQ(auto_save_path_for(record, auto_save_path, app, &error), want) << what;
        EXPECT_EQ(error, "") << what;
        for (const std::string& folder : created)
            EXPECT_TRUE(directory_exists(folder)) << what << ": " << folder;
    }
}

TEST(AutoSavePath, TooLongIsRefusedNotCut) {
    test::ScopedFakeSystem fake;
    test::ScopedTempDir dir;
    GameRecord record = make_record({worked_example_leg()});
    // Folder + "\" + name of exactly kMaxPath characters is fine; one more is refused.
    const size_t fits = kMaxPath - record.csv_name.size() - 1 - dir.path().size() - 1;
    std::string error;
    EXPECT_EQ(auto_save_path_for(record, dir.path() + "/" + std::string(fits, 'f'), "", &error).size(),
              kMaxPath);
    EXPECT_EQ(error, "");

    std::string too_long = dir.path() + "/" + std::string(fits + 1, 'g');
    EXPECT_EQ(auto_save_path_for(record, too_long, "", &error), "");
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
    EXPECT_FALSE(directory_exists(too_long)) << "nothing is created for a refused path";
    EXPECT_EQ(auto_save_path_for(record, "", dir.path() + "/" + std::string(kMaxPath, 'h'), &error), "")
        << "through the application folder as well";
}

} // namespace
} // namespace tx9
