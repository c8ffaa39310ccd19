#include "ui/score/left_score.h"

#include <algorithm>

namespace tx9 {

LeftPanelMetrics left_panel_metrics(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    return LeftPanelMetrics{std::min(height, width / 4), height / 30};
}

std::string left_score_text(int left) {
    return std::to_string(left);
}

} // namespace tx9
