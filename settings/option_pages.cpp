#include "settings/option_pages.h"

#include "core/text.h"
#include "res/resource.h"

#include <cstdlib>

namespace tx9 {

const std::array<int, kColorCount>& color_item_strings() {
    static const std::array<int, kColorCount> ids = {
        707, 719, 708, 709, 710, 706, 711, 712, 713, 702, 703,
        704, 705, 700, 701, 720, 714, 715, 717, 718, 716,
    };
    return ids;
}

int preview_item_for_pixel(Preview preview, Color pixel, const std::array<Color, kColorCount>& colors) {
    struct Candidates {
        std::vector<int> items; // tested in this order
        int otherwise;
    };
    static const Candidates sheet{
        {kColorBackground, kColorOddBackground, kColorHeaderBackground, kColorInputBackground}, kColorText};
    static const Candidates player{{kColorPlayerBackground, kColorPlayerNameBackground, kColorPlayerNameText},
                                   kColorPlayerText};
    static const Candidates left{{kColorLeftBackground, kColorLeftActiveBorder}, kColorLeftText};
    const Candidates& c = preview == Preview::Sheet ? sheet : preview == Preview::Player ? player : left;
    for (int item : c.items)
        if (colors[static_cast<size_t>(item)] == pixel) return item;
    return c.otherwise;
}

std::string color_button_text(Color color) {
    return strprintf("%ld", static_cast<long>(color));
}

Color color_from_button_text(const std::string& text) {
    return static_cast<Color>(std::strtoul(text.c_str(), nullptr, 10));
}

std::string option_sheet_caption(const SystemServices& sys) {
    return clean_menu_text(sys.load_string(IDM_OPTION));
}

bool key_page_lists(const KeyBinding& binding) {
    return is_template_action(binding.action) || !action_name(binding.action).empty();
}

std::vector<KeyBinding> key_page_bindings(const std::vector<KeyBinding>& bindings) {
    std::vector<KeyBinding> listed;
    for (const KeyBinding& b : bindings)
        if (key_page_lists(b)) listed.push_back(b);
    return listed;
}

std::vector<std::string> key_page_texts(const KeyNamer& namer, const KeyBinding& binding) {
    return {action_name(binding.action), key_binding_display(namer, binding)};
}

int action_choice_index(int action) {
    const int code = is_template_action(action) ? kTemplateBase : action;
    const std::vector<ActionChoice>& list = action_list();
    for (size_t i = 0; i < list.size(); ++i)
        if (code != 0 && list[i].command == code) return static_cast<int>(i);
    return -1;
}

SelectKeyVerdict check_select_key(const SelectKeyInput& input, KeyBinding* binding) {
    const int number = parse_int(input.number_text);
    if (input.number_enabled && number > kTemplateMax) return SelectKeyVerdict::TemplateRange;
    const std::vector<ActionChoice>& list = action_list();
    if (input.choice < 0 || input.choice >= static_cast<int>(list.size()) ||
        list[static_cast<size_t>(input.choice)].command == 0)
        return SelectKeyVerdict::NoFunction;
    int action = list[static_cast<size_t>(input.choice)].command;
    if (action == kTemplateBase) action += number < 0 ? 0 : number;
    if (binding) *binding = binding_from_hotkey(action, input.hotkey);
    return SelectKeyVerdict::Accept;
}

} // namespace tx9
