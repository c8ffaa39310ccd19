// Left-score panel sizes and the main window's layout at sizes the window
// can be dragged to.
#include "app/main_layout.h"
#include "ui/score/left_score.h"

#include <gtest/gtest.h>

namespace tx9 {
namespace {

TEST(LeftPanelMetrics, FontFromTheSmallerSideAndAThinFrame) {
    struct Case {
        int width, height, points, margin;
    } cases[] = {{300, 60, 60, 2}, {200, 90, 50, 3}, {120, 29, 29, 0}, {0, 0, 0, 0}, {-5, -8, 0, 0}};
    for (const Case& c : cases) {
        const LeftPanelMetrics m = left_panel_metrics(c.width, c.height);
        EXPECT_EQ(c.points, m.font_points) << c.width << "x" << c.height;
        EXPECT_EQ(c.margin, m.frame_margin) << c.width << "x" << c.height;
    }
    EXPECT_EQ("-12", left_score_text(-12));
}

TEST(MainLayout, EveryDisplayOnInATinyWindowGetsNoNegativeSize) {
    for (int width : {0, 3, 9, 40})
        for (int height : {0, 5, 30}) {
            const MainLayout l = layout_main_window(width, height, 20, 10, true);
            for (const ChildPlace* p :
                 {&l.sheet, &l.left[0], &l.left[1], &l.player[0], &l.player[1], &l.guide}) {
                EXPECT_GE(p->width, 0) << width << "x" << height;
                EXPECT_GE(p->height, 0) << width << "x" << height;
            }
        }
    // Room left for the panels keeps its sides as laid out.
    const MainLayout l = layout_main_window(40, 30, 20, 10, true);
    EXPECT_EQ(18, l.left[0].width);
    EXPECT_EQ(8, l.player[1].width);
    EXPECT_EQ(0, l.sheet.height);
}

} // namespace
} // namespace tx9
