// The operator's own keyboard shortcuts: the binding record, the table, the
// list of actions they can bind and the accelerator entries built from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tx9 {

enum : int {
    kModShift = 4, // the accelerator-table flag values
    kModCtrl = 8,
    kModAlt = 16,
};

inline constexpr int kTemplateBase = 51000; // 51000 + v enters the template score v
inline constexpr int kTemplateMax = 180;
inline constexpr int kMaxKeyBindings = 256;
inline constexpr int kMaxVirtualKey = 0xFE;

// Virtual-key codes the defaults and the key guide bar use (F1 to F12 are kVkF1 + 0..11).
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF12 = 0x7B;

struct KeyBinding {
    int action = 0;    // command id, or kTemplateBase + score
    int modifiers = 0; // kModShift | kModCtrl | kModAlt
    int key = 0;       // virtual-key code; 0 = none
};

inline bool is_template_action(int action) {
    return action >= kTemplateBase && action <= kTemplateBase + kTemplateMax;
}

struct KeyBindingTable {
    std::vector<KeyBinding> bindings; // at most kMaxKeyBindings, in order
    int keys_customised = 0;
};

// The 29 bindings installed when the INI file has no key/count.
std::vector<KeyBinding> default_key_bindings();

// One entry of the action list; command 0 marks a separator line.
struct ActionChoice {
    int command = 0; // kTemplateBase for "Template", 0 for a separator
};
inline constexpr const char* kActionSeparator = "----------------------------------------";
// The choices offered when a binding is made, in order, separators included.
const std::vector<ActionChoice>& action_list();
// The menu commands that can be bound (the action list without template and separators).
const std::vector<int>& bindable_commands();
// A template score or one of the bindable commands.
bool is_bindable_action(int action);

// Name of an action: "Template - %d" for a template, else the cleaned menu text
// of the command (empty when the command has no resource string).
std::string action_name(int action);
// Text of an action-list line: "Template", the separator line or the command's name.
std::string action_choice_text(const ActionChoice& choice);

// Six-byte accelerator entry as the platform's ACCEL record holds it.
struct AccelEntry {
    std::uint8_t flags = 0; // modifiers | virtual-key flag (1)
    std::uint16_t key = 0;
    std::uint16_t command = 0;
};
inline constexpr std::uint8_t kAccelVirtKey = 1;
// Entries for every binding whose key or modifiers are not 0, in table order.
std::vector<AccelEntry> accelerator_entries(const std::vector<KeyBinding>& bindings);

// Supplies the system's name of a key (Win32: scan code lookup); empty when
// the key has no name. Tests fake it.
class KeyNamer {
  public:
    virtual ~KeyNamer() = default;
    virtual std::string key_name(int virtual_key) const = 0;
};
// Keys whose name is looked up with the extended-key bit: Applications, Page Up,
// Page Down, End, Home, the arrows, Insert, Delete and Num Lock.
bool is_extended_key(int virtual_key);
// "Ctrl+" "Shift+" "Alt+" and the key's name, at most 255 characters; empty
// when the key is 0 or has no name.
std::string key_binding_name(const KeyNamer& namer, int modifiers, int key);
// The key column of the Key page: the key name, or "Nothing" (string 506).
std::string key_binding_display(const KeyNamer& namer, const KeyBinding& binding);

// First binding in table order for the command whose key has a name (or nullptr).
const KeyBinding* first_named_binding(const KeyNamer& namer, const std::vector<KeyBinding>& bindings,
                                      int command);
// First binding for a function key whose modifiers equal the state exactly.
const KeyBinding* binding_for_key(const std::vector<KeyBinding>& bindings, int key, int modifiers);

// Template submenu items: (command id, "%d\t%s" text) in binding order, each
// template value once: its first binding decides, with a key name or without.
// Empty when no template binding has a key name.
struct TemplateItem {
    int command = 0;
    std::string text;
};
std::vector<TemplateItem> template_menu_items(const KeyNamer& namer, const std::vector<KeyBinding>& bindings);

// Hot-key control conversion: the control's value holds the key in its low
// byte and the modifiers Shift 1, Ctrl 2, Alt 4 in the next; a binding's
// modifiers are those times 4. hotkey_from_binding gives 0 for a binding
// without a key (the control is then left alone).
KeyBinding binding_from_hotkey(int action, unsigned hotkey_value);
unsigned hotkey_from_binding(const KeyBinding& binding);

} // namespace tx9
