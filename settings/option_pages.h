// What the pages of the Option sheet decide without a window: the colour
// items of the View page, which item a click on a preview picks, the rows of
// the Key page and the checks of the Select key dialog.
#pragma once

#include "app/key_bindings.h"
#include "core/system.h"
#include "settings/settings.h"

#include <array>
#include <string>
#include <vector>

namespace tx9 {

// String id of each colour item of the View page, in colour-index order.
const std::array<int, kColorCount>& color_item_strings();

// The three previews of the View page.
enum class Preview { Sheet, Player, Left };

// The colour item a screen colour picks over a preview: the first of the
// preview's own colours that equals it, else the preview's text colour.
int preview_item_for_pixel(Preview preview, Color pixel, const std::array<Color, kColorCount>& colors);

// The colour button keeps its colour as its window text, "%ld".
std::string color_button_text(Color color);
Color color_from_button_text(const std::string& text);

// The caption of the Option sheet: the Option command's menu text, cleaned.
std::string option_sheet_caption(const SystemServices& sys);

// The Key page lists a binding only when it can name its action: a template,
// or a command with a menu text.
bool key_page_lists(const KeyBinding& binding);
// The bindings of the table the Key page starts with, in table order.
std::vector<KeyBinding> key_page_bindings(const std::vector<KeyBinding>& bindings);
// The two column texts of a binding: its action name and its key ("Nothing").
std::vector<std::string> key_page_texts(const KeyNamer& namer, const KeyBinding& binding);

// The line of the action list a binding's action selects, or -1.
int action_choice_index(int action);

// The Select key dialog's controls when OK is pressed.
struct SelectKeyInput {
    int choice = -1; // selected line of the action list, -1 for none
    bool number_enabled = false;
    std::string number_text; // digits; empty means template 0
    unsigned hotkey = 0;     // the hot-key control's value
};
enum class SelectKeyVerdict {
    Accept,
    TemplateRange, // a template above 180: the message, focus on the number
    NoFunction,    // no line or a separator: focus on the list
};
// The verdict, and the binding the controls give when it is Accept.
SelectKeyVerdict check_select_key(const SelectKeyInput& input, KeyBinding* binding);

} // namespace tx9
