#include "app/key_bindings.h"
#include "res/resource.h"

#include "core/system.h"
#include "core/text.h"

#include <algorithm>

namespace tx9 {

namespace {

constexpr int kVkApps = 0x5D, kVkPrior = 0x21, kVkDown = 0x28, kVkInsert = 0x2D, kVkDelete = 0x2E,
              kVkNumLock = 0x90;

constexpr int template_action(int score) {
    return kTemplateBase + score;
}
constexpr int f_key(int n) {
    return kVkF1 + n - 1;
}

} // namespace

std::vector<KeyBinding> default_key_bindings() {
    return {
        {template_action(0), 0, f_key(1)},
        {template_action(26), 0, f_key(2)},
        {template_action(41), 0, f_key(3)},
        {template_action(45), 0, f_key(4)},
        {template_action(60), 0, f_key(5)},
        {template_action(81), 0, f_key(6)},
        {template_action(85), 0, f_key(7)},
        {template_action(100), 0, f_key(8)},
        {template_action(43), kModShift, f_key(1)},
        {template_action(55), kModShift, f_key(2)},
        {template_action(83), kModShift, f_key(3)},
        {template_action(95), kModShift, f_key(4)},
        {template_action(121), kModShift, f_key(5)},
        {template_action(125), kModShift, f_key(6)},
        {template_action(140), kModShift, f_key(7)},
        {template_action(180), kModShift, f_key(8)},
        {IDM_FINISH_1, kModCtrl, '1'},
        {IDM_FINISH_2, kModCtrl, '2'},
        {IDM_FINISH_3, kModCtrl, '3'},
        {IDM_MIDDLE, kModCtrl, 'M'},
        {IDM_LEFT_SCORE_INPUT, kModCtrl, 'T'},
        {IDM_NEW_GAME, kModCtrl, 'N'},
        {IDM_HISTORY, kModCtrl, 'H'},
        {IDM_CHECKOUT, kModCtrl, 'A'},
        {IDM_LEFT_SCORE_INPUT, 0, f_key(9)},
        {IDM_MIDDLE, kModShift, f_key(9)},
        {IDM_FINISH_1, 0, f_key(10)},
        {IDM_FINISH_2, 0, f_key(11)},
        {IDM_FINISH_3, 0, f_key(12)},
    };
}

const std::vector<int>& bindable_commands() {
    // The main menu's commands in menu order, one group a line: file, view, score.
    static const std::vector<int> commands = {
        IDM_NEW_GAME, IDM_NEW_SCHEDULE, IDM_HISTORY, IDM_AUTO_SAVE, IDM_OPTION, IDM_EXIT,
        IDM_VIEW_PLAYER, IDM_VIEW_LEFT, IDM_VIEW_GUIDE, IDM_VIEW_THROW_COUNT,
        IDM_FINISH_1, IDM_FINISH_2, IDM_FINISH_3, IDM_MIDDLE, IDM_LEFT_SCORE_INPUT, IDM_EXCHANGE,
        IDM_CLEAR_SCORES, IDM_CHECKOUT,
    };
    return commands;
}

bool is_bindable_action(int action) {
    const std::vector<int>& commands = bindable_commands();
    return is_template_action(action) || std::find(commands.begin(), commands.end(), action) != commands.end();
}

const std::vector<ActionChoice>& action_list() {
    static const std::vector<ActionChoice> list = [] {
        const std::vector<int>& commands = bindable_commands();
        std::vector<ActionChoice> out;
        out.push_back({kTemplateBase});
        // Separators stand before the file, view and score groups.
        for (size_t i = 0; i < commands.size(); ++i) {
            if (i == 0 || i == 6 || i == 10) out.push_back({0});
            out.push_back({commands[i]});
        }
        return out;
    }();
    return list;
}

std::string action_name(int action) {
    const SystemServices& sys = system_services();
    if (is_template_action(action))
        return strprintf("%s - %d", sys.load_string(IDS_TEMPLATE).c_str(), action - kTemplateBase);
    return clean_menu_text(sys.load_string(action));
}

std::string action_choice_text(const ActionChoice& choice) {
    if (choice.command == 0) return kActionSeparator;
    if (choice.command == kTemplateBase) return system_services().load_string(IDS_TEMPLATE);
    return action_name(choice.command);
}

std::vector<AccelEntry> accelerator_entries(const std::vector<KeyBinding>& bindings) {
    std::vector<AccelEntry> out;
    out.reserve(bindings.size());
    for (const KeyBinding& b : bindings) {
        if (b.key == 0 && b.modifiers == 0) continue;
        AccelEntry entry;
        entry.flags = static_cast<std::uint8_t>((b.modifiers & 0xFF) | kAccelVirtKey);
        entry.key = static_cast<std::uint16_t>(b.key);
        entry.command = static_cast<std::uint16_t>(b.action);
        out.push_back(entry);
    }
    return out;
}

bool is_extended_key(int virtual_key) {
    return virtual_key == kVkApps || (virtual_key >= kVkPrior && virtual_key <= kVkDown) ||
           virtual_key == kVkInsert || virtual_key == kVkDelete || virtual_key == kVkNumLock;
}

std::string key_binding_name(const KeyNamer& namer, int modifiers, int key) {
    if (key == 0) return std::string();
    std::string name = namer.key_name(key);
    if (name.empty()) return std::string();
    std::string out;
    if (modifiers & kModCtrl) out += "Ctrl+";
    if (modifiers & kModShift) out += "Shift+";
    if (modifiers & kModAlt) out += "Alt+";
    out += name;
    return cut255(out);
}

std::string key_binding_display(const KeyNamer& namer, const KeyBinding& binding) {
    std::string name = key_binding_name(namer, binding.modifiers, binding.key);
    return name.empty() ? system_services().load_string(IDS_NO_KEY) : name;
}

const KeyBinding* first_named_binding(const KeyNamer& namer, const std::vector<KeyBinding>& bindings,
                                      int command) {
    for (const KeyBinding& b : bindings)
        if (b.action == command && !key_binding_name(namer, b.modifiers, b.key).empty()) return &b;
    return nullptr;
}

const KeyBinding* binding_for_key(const std::vector<KeyBinding>& bindings, int key, int modifiers) {
    for (const KeyBinding& b : bindings)
        if (b.key == key && b.modifiers == modifiers) return &b;
    return nullptr;
}

std::vector<TemplateItem> template_menu_items(const KeyNamer& namer,
                                              const std::vector<KeyBinding>& bindings) {
    std::vector<TemplateItem> out;
    bool seen[kTemplateMax + 1] = {};
    for (const KeyBinding& b : bindings) {
        if (!is_template_action(b.action)) continue;
        int score = b.action - kTemplateBase;
        // The first binding of a template decides, with a key name or without.
        if (seen[score]) continue;
        seen[score] = true;
        std::string name = key_binding_name(namer, b.modifiers, b.key);
        if (name.empty()) continue;
        out.push_back({b.action, strprintf("%d\t%s", score, name.c_str())});
    }
    return out;
}

KeyBinding binding_from_hotkey(int action, unsigned hotkey_value) {
    KeyBinding b;
    b.action = action;
    b.key = static_cast<int>(hotkey_value & 0xFF);
    b.modifiers = static_cast<int>((hotkey_value >> 8) & 7) * 4;
    return b;
}

unsigned hotkey_from_binding(const KeyBinding& binding) {
    if (binding.key == 0) return 0;
    unsigned control_modifiers = static_cast<unsigned>(binding.modifiers / 4) & 7;
    return (static_cast<unsigned>(binding.key) & 0xFF) | (control_modifiers << 8);
}

} // namespace tx9
