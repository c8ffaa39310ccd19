// The figures of a left-score panel: the size of its digits and of the frame
// that marks the player to throw.
#pragma once

#include <string>

namespace tx9 {

struct LeftPanelMetrics {
    int font_points = 0;  // bold score font: the smaller of the height and a quarter of the width
    int frame_margin = 0; // width of the active frame: a thirtieth of the height
};

LeftPanelMetrics left_panel_metrics(int width, int height);

// Point size of the font whose text height gives the panel height wanted for a width.
inline int left_panel_wanted_points(int width) {
    return width / 4;
}

// The remaining score as the panel shows it, minus sign included.
std::string left_score_text(int left);

} // namespace tx9
