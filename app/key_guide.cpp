#include "app/key_guide.h"

#include "core/system.h"
#include "core/text.h"

#include <algorithm>

namespace tx9 {

GuideCell guide_cell(int n, int width, int height) {
    const int w = width / kGuideColumns;
    const int h = height / kGuideRows;
    const int index = n - 1;
    return GuideCell{(index % kGuideColumns) * w, (index / kGuideColumns) * h, w, h};
}

int guide_key_at(int x, int y, int width, int height) {
    const int w = width / kGuideColumns;
    const int h = height / kGuideRows;
    if (w <= 0 || h <= 0 || x < 0 || y < 0) return 0;
    const int column = x / w;
    const int row = y / h;
    if (column >= kGuideColumns || row >= kGuideRows) return 0;
    return column + kGuideColumns * row + 1;
}

int guide_modifier_state(bool shift, bool ctrl, bool alt) {
    return (shift ? kModShift : 0) | (ctrl ? kModCtrl : 0) | (alt ? kModAlt : 0);
}

const KeyBinding* guide_binding(const std::vector<KeyBinding>& bindings, int n, int modifiers) {
    if (n < 1 || n > kGuideKeyCount) return nullptr;
    return binding_for_key(bindings, kVkF1 + n - 1, modifiers);
}

std::string guide_action_text(int action) {
    if (is_template_action(action)) return std::to_string(action - kTemplateBase);
    return clean_menu_text(system_services().load_string(action));
}

int guide_font_points(int width) {
    return std::max(9, width / 60);
}

} // namespace tx9
