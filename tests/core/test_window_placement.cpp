#include "core/window_placement.h"
#include "records/history_view.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tx9 {
namespace {

std::string show(const SavedPlacement& p) {
    return std::to_string(p.left) + "," + std::to_string(p.top) + " " + std::to_string(p.width) + "x" +
           std::to_string(p.height);
}

TEST(WindowPlacement, OnlyMaximisedAndDefaultAreShowStates) {
    const int rows[][2] = {{3, 3}, {10, 10}, {0, 10}, {-1, 10}, {99999, 10}, {1, 10}, {2, 10}, {6, 10}};
    for (const auto& row : rows)
        EXPECT_EQ(usable_show_state(row[0]), row[1]) << "state " << row[0];
}

TEST(WindowPlacement, TitleBarIsBroughtOntoTheWorkArea) {
    const ScreenRect work{10, 20, 1290, 1020};
    struct Row {
        SavedPlacement saved;
        int default_width, default_height;
        SavedPlacement want;
        const char* why;
    } rows[] = {
        {{100, 200, 640, 480}, 1280, 1000, {100, 200, 640, 480}, "inside: kept"},
        {{1291, 30, 640, 480}, 1280, 1000, {0, 0, 640, 480}, "beyond the right edge: origin"},
        {{30, 1021, 640, 480}, 1280, 1000, {0, 0, 640, 480}, "beyond the bottom edge: origin"},
        {{1290, 1020, 640, 480}, 1280, 1000, {650, 988, 640, 480}, "on the far edges: pulled in"},
        {{-5000, 300, 640, 480}, 1280, 1000, {10, 300, 640, 480}, "far left"},
        {{300, -99999999, 640, 480}, 1280, 1000, {300, 20, 640, 480}, "far above"},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1280, 1000, {10, 20, INT_MAX, INT_MAX}, "no overflow"},
        {{900, 500, 640, 480}, 1280, 1000, {650, 500, 640, 480}, "partly off the right"},
        {{-100, 40, 2000, 480}, 1280, 1000, {10, 40, 2000, 480}, "wider than the work area"},
        {{50, 60, 239, 480}, 1280, 1000, {10, 60, 1280, 1000}, "too narrow: default size"},
        {{50, 60, 640, 159}, 1280, 1000, {10, 60, 1280, 1000}, "too low: default size"},
        {{50, 60, 240, 160}, 1280, 1000, {50, 60, 240, 160}, "the minimum is usable"},
        {{50, 60, -640, 480}, 0, 0, {50, 60, 0, 0}, "a dialog's own size and place"},
        {{-500, -400, 0, 0}, 0, 0, {-500, -400, 0, 0}, "no size: position unused"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(show(place_on_work_area(row.saved, work, row.default_width, row.default_height)),
                  show(row.want))
            << row.why;
}

TEST(WindowPlacement, DialogsUseTheirOwnMinimumSize) {
    const ScreenRect work{0, 0, 1280, 1000};
    struct Row {
        int min_width, min_height;
        SavedPlacement saved, want;
    } rows[] = {
        {kHistoryMinWidth, kHistoryMinHeight, {-900, 5, 339, 600}, {-900, 5, 0, 0}},
        {kHistoryMinWidth, kHistoryMinHeight, {-900, 5, 340, 200}, {0, 5, 340, 200}},
        {kScoreListMinWidth, kScoreListMinHeight, {50, 60, 600, 319}, {50, 60, 0, 0}},
        {kScoreListMinWidth, kScoreListMinHeight, {1200, 990, 400, 320}, {880, 968, 400, 320}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(show(place_on_work_area(row.saved, work, 0, 0, row.min_width, row.min_height)), show(row.want))
            << "minimum " << row.min_width << "x" << row.min_height;
}

TEST(WindowPlacement, SettingsLoadPlacesTheWindowAndBothDialogs) {
    test::ScopedFakeSystem fake;
    fake.sys.work_area_ = {0, 0, 1280, 1000};
    test::ScopedTempDir dir;
    Settings s;
    s.ini_path = dir.file("tx9.ini");
    ASSERT_TRUE(test::write_test_file(s.ini_path, "[window]\nleft=-5000\ntop=-99999999\nright=2\nbottom=2\n"
                                                  "state=0\n[history]\nleft=-900\ntop=5\nright=300\n"
                                                  "bottom=200\n[score_list]\nleft=20\ntop=5000\nright=1\n"
                                                  "bottom=900\n"));
    settings_load(s, fake.sys);
    EXPECT_EQ(show({s.left, s.top, s.right, s.bottom}), "0,0 1280x1000");
    EXPECT_EQ(s.state, 10);
    EXPECT_EQ(show({s.history.left, s.history.top, s.history.right, s.history.bottom}), "0,5 300x200");
    EXPECT_EQ(show({s.score_list.left, s.score_list.top, s.score_list.right, s.score_list.bottom}),
              "0,0 0x0");
}

} // namespace
} // namespace tx9
