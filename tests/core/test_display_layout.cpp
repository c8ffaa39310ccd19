// Left-score panel sizes, the main window's layout at sizes the window can be
// dragged to, and the key guide bar's grid, hit test, layers and sizes.
#include "app/key_guide.h"
#include "app/main_layout.h"
#include "support/fake_system.h"
#include "ui/score/left_score.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

TEST(LeftPanelMetrics, FontFromTheSmallerSideAndAThinFrame) {
    // width, height, font points, frame margin
    const int cases[][4] = {
        {300, 60, 60, 2}, {200, 90, 50, 3}, {120, 29, 29, 0}, {0, 0, 0, 0}, {-5, -8, 0, 0}};
    for (auto [width, height, points, margin] : cases) {
        const LeftPanelMetrics m = left_panel_metrics(width, height);
        EXPECT_EQ(std::make_pair(points, margin), std::make_pair(m.font_points, m.frame_margin))
            << width << "x" << height;
    }
    EXPECT_EQ("-12", left_score_text(-12));
}

TEST(MainLayout, EveryDisplayOnInATinyWindowGetsNoNegativeSize) {
    for (int width : {0, 3, 9, 40})
        for (int height : {0, 5, 30}) {
            const MainLayout l = layout_main_window(width, height, 20, 10, true);
            for (const ChildPlace* p :
                 {&l.sheet, &l.left[0], &l.left[1], &l.player[0], &l.player[1], &l.guide})
                EXPECT_TRUE(p->width >= 0 && p->height >= 0) << width << "x" << height;
        }
    // Room left for the panels keeps its sides as laid out.
    const MainLayout l = layout_main_window(40, 30, 20, 10, true);
    EXPECT_EQ(std::vector<int>({l.left[0].width, l.player[1].width, l.sheet.height}),
              std::vector<int>({18, 8, 0}));
}

TEST(GuideGrid, PointsLieOnTheirKeyOrOnNone) {
    const int cases[][5] = {
        // x, y, width, height, key
        {0, 0, 600, 40, 1},   {99, 19, 600, 40, 1},   {100, 0, 600, 40, 2},  {599, 0, 600, 40, 6},
        {0, 20, 600, 40, 7},  {599, 39, 600, 40, 12}, {604, 10, 604, 41, 0}, // left over at the right
        {10, 40, 604, 41, 0},                                                // left over below
        {-1, 5, 600, 40, 0},  {5, 0, 5, 40, 0},       {0, 0, 600, 1, 0},     // too small for any key
    };
    for (auto [x, y, width, height, key] : cases)
        EXPECT_EQ(key, guide_key_at(x, y, width, height))
            << x << "," << y << " in " << width << "x" << height;

    const GuideCell f9 = guide_cell(9, 604, 41);
    EXPECT_EQ((std::vector<int>{200, 20, 100, 20}), (std::vector<int>{f9.x, f9.y, f9.width, f9.height}));
}

TEST(GuideLayers, DefaultBindingsUnderEachModifierState) {
    test::ScopedFakeSystem fake;
    const std::vector<KeyBinding> bindings = default_key_bindings();
    auto layer = [&](int modifiers) {
        std::string out;
        for (int n = 1; n <= kGuideKeyCount; ++n) {
            const KeyBinding* b = guide_binding(bindings, n, modifiers);
            out += (b ? guide_action_text(b->action) : "-") + "|";
        }
        return out;
    };
    EXPECT_EQ("0|26|41|45|60|81|85|100|Inputs by Left Score|Finish - 1st Throw|Finish - 2nd Throw|"
              "Finish - 3rd Throw|",
              layer(guide_modifier_state(false, false, false)));
    EXPECT_EQ("43|55|83|95|121|125|140|180|Middle for Diddle|-|-|-|",
              layer(guide_modifier_state(true, false, false)));
    EXPECT_EQ("-|-|-|-|-|-|-|-|-|-|-|-|", layer(guide_modifier_state(true, true, false)))
        << "modifiers must match exactly";

    // The first of two bindings on one key and state is shown.
    const std::vector<KeyBinding> twice = {{40021, kModAlt, kVkF1 + 1}, {40018, kModAlt, kVkF1 + 1}};
    EXPECT_EQ(40021, guide_binding(twice, 2, guide_modifier_state(false, false, true))->action);
}

TEST(GuideSize, FontFromTheWidthAndHeightFromTheFont) {
    const int sizes[][2] = {{1200, 20}, {300, 9}, {599, 9}, {600, 10}};
    for (const auto& s : sizes)
        EXPECT_EQ(s[1], guide_font_points(s[0])) << s[0];
    EXPECT_EQ(39, guide_bar_height(16));
}

} // namespace
} // namespace tx9
