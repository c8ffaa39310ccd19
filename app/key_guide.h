// The key guide bar's grid of F1 to F12 and the bindings it shows under the
// modifier keys held at the moment.
#pragma once

#include "app/key_bindings.h"

#include <string>
#include <vector>

namespace tx9 {

inline constexpr int kGuideKeyCount = 12;
inline constexpr int kGuideColumns = 6;
inline constexpr int kGuideRows = 2;

struct GuideCell {
    int x = 0, y = 0, width = 0, height = 0;
};

// Cell of key number n (1 to 12): F1 to F6 the top row, F7 to F12 the bottom one.
GuideCell guide_cell(int n, int width, int height);

// Key number (1 to 12) under a client point; 0 off the keys (the pixels the
// divisions leave over, outside the bar, or a bar too small for any key).
int guide_key_at(int x, int y, int width, int height);

// The modifier state as the bindings hold it: Shift 4, Ctrl 8, Alt 16.
int guide_modifier_state(bool shift, bool ctrl, bool alt);

// The binding shown for key number n: the first on that function key whose
// modifiers equal the state exactly; nullptr when none.
const KeyBinding* guide_binding(const std::vector<KeyBinding>& bindings, int n, int modifiers);

// Name the bar shows for an action: the template value, or the command's
// menu text cleaned of "&", "(...)" and ".".
std::string guide_action_text(int action);

// Font size of the bar for a client width, in points: max(9, width / 60).
int guide_font_points(int width);

// The bar height wanted for a font of this text height: two rows and 7 pixels.
inline int guide_bar_height(int font_text_height) {
    return font_text_height * 2 + 7;
}

} // namespace tx9
