#include "app/key_bindings.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace tx9 {
namespace {

// Names keys as a keyboard layout would; keys it does not list have no scan code.
class FakeKeyNamer : public KeyNamer {
  public:
    std::string key_name(int virtual_key) const override {
        if (virtual_key >= 0x70 && virtual_key <= 0x7B) return "F" + std::to_string(virtual_key - 0x70 + 1);
        if ((virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z'))
            return std::string(1, static_cast<char>(virtual_key));
        auto it = names.find(virtual_key);
        return it == names.end() ? std::string() : it->second;
    }
    std::map<int, std::string> names{{0x24, "Home"}, {0x0D, "Enter"}};
};

constexpr int kF1 = 0x70;

TEST(KeyBindingDefaults, TwentyNineBindingsWithTheirKeyCodes) {
    struct Row {
        int action, modifiers, key;
    } want[] = {
        {51000, 0, 0x70}, {51026, 0, 0x71}, {51041, 0, 0x72}, {51045, 0, 0x73}, {51060, 0, 0x74},
        {51081, 0, 0x75}, {51085, 0, 0x76}, {51100, 0, 0x77}, {51043, 4, 0x70}, {51055, 4, 0x71},
        {51083, 4, 0x72}, {51095, 4, 0x73}, {51121, 4, 0x74}, {51125, 4, 0x75}, {51140, 4, 0x76},
        {51180, 4, 0x77}, {40018, 8, 0x31}, {40019, 8, 0x32}, {40020, 8, 0x33}, {40021, 8, 0x4D},
        {40026, 8, 0x54}, {40016, 8, 0x4E}, {40038, 8, 0x48}, {40034, 8, 0x41}, {40026, 0, 0x78},
        {40021, 4, 0x78}, {40018, 0, 0x79}, {40019, 0, 0x7A}, {40020, 0, 0x7B},
    };
    std::vector<KeyBinding> got = default_key_bindings();
    ASSERT_EQ(got.size(), std::size(want));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].action, want[i].action) << "binding " << i;
        EXPECT_EQ(got[i].modifiers, want[i].modifiers) << "binding " << i;
        EXPECT_EQ(got[i].key, want[i].key) << "binding " << i;
    }
}

TEST(ActionList, TemplateThenThreeGroupsOfCommands) {
    test::ScopedFakeSystem fake;
    const char* want[] = {
        "Template",
        "----------------------------------------",
        "New Game",
        "New Schedule",
        "Game History",
        "Auto Save",
        "Option",
        "Exit",
        "----------------------------------------",
        "Player Information",
        "Left Score",
        "Function Key",
        "Index of Throw",
        "----------------------------------------",
        "Finish - 1st Throw",
        "Finish - 2nd Throw",
        "Finish - 3rd Throw",
        "Middle for Diddle",
        "Inputs by Left Score",
        "Exchange of Scores",
        "Clear of Scores",
        "Check-Out",
    };
    const std::vector<ActionChoice>& list = action_list();
    ASSERT_EQ(list.size(), std::size(want));
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(action_choice_text(list[i]), want[i]) << "line " << i;
    EXPECT_EQ(list[0].command, kTemplateBase);
    EXPECT_EQ(list[1].command, 0) << "a separator carries no command";

    std::vector<int> commands;
    for (const ActionChoice& choice : list)
        if (choice.command != 0 && choice.command != kTemplateBase) commands.push_back(choice.command);
    EXPECT_EQ(commands, bindable_commands());
    EXPECT_EQ(bindable_commands().size(), 18u);
}

TEST(ActionName, TemplatesAndCleanedMenuTexts) {
    test::ScopedFakeSystem fake;
    fake.sys.strings[40027] = "\xe5\x85\xa5\xe6\x9b\xbf(&X)"; // a Japanese menu text
    struct Row {
        int action;
        const char* name;
    } rows[] = {
        {51000, "Template - 0"},
        {51026, "Template - 26"},
        {51180, "Template - 180"},
        {40034, "Check-Out"},
        {40021, "Middle for Diddle"},
        {40027, "\xe5\x85\xa5\xe6\x9b\xbf"},
        {40025, ""}, // no string: not shown on the Key page
        {51181, ""}, // past the templates
        {0, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(action_name(row.action), row.name) << "action " << row.action;

    fake.sys.strings[504] = "Vorlage";
    EXPECT_EQ(action_name(51060), "Vorlage - 60");
}

TEST(AcceleratorEntries, EveryBindingWithAKeyOrModifiers) {
    std::vector<KeyBinding> bindings = {
        {51000, 0, kF1},
        {40018, kModCtrl | kModShift | kModAlt, '1'},
        {40021, 0, 0},        // neither key nor modifiers: left out
        {40034, kModCtrl, 0}, // modifiers alone still count
        {51180, kModShift, 0x0D},
    };
    std::vector<AccelEntry> entries = accelerator_entries(bindings);
    struct Row {
        int flags, key, command;
    } want[] = {
        {1, kF1, 51000},
        {1 | 4 | 8 | 16, '1', 40018},
        {1 | 8, 0, 40034},
        {1 | 4, 0x0D, 51180},
    };
    ASSERT_EQ(entries.size(), std::size(want));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].flags, want[i].flags) << "entry " << i;
        EXPECT_EQ(entries[i].key, want[i].key) << "entry " << i;
        EXPECT_EQ(entries[i].command, want[i].command) << "entry " << i;
    }
    EXPECT_TRUE(accelerator_entries({{40016, 0, 0}}).empty());
}

TEST(KeyNames, ModifiersInTheOrderCtrlShiftAlt) {
    FakeKeyNamer namer;
    struct Row {
        int modifiers, key;
        const char* name;
    } rows[] = {
        {kModCtrl | kModShift | kModAlt, 0x24, "Ctrl+Shift+Alt+Home"},
        {kModAlt | kModShift, kF1, "Shift+Alt+F1"},
        {kModShift, kF1 + 11, "Shift+F12"},
        {0, 'M', "M"},
        {kModCtrl, 0, ""},    // no key
        {kModCtrl, 0x07, ""}, // no name for the key
    };
    for (const Row& row : rows)
        EXPECT_EQ(key_binding_name(namer, row.modifiers, row.key), row.name)
            << "modifiers " << row.modifiers << " key " << row.key;

    namer.names[0x07] = std::string(300, 'k');
    EXPECT_EQ(key_binding_name(namer, kModCtrl, 0x07), "Ctrl+" + std::string(250, 'k'));

    test::ScopedFakeSystem fake;
    EXPECT_EQ(key_binding_display(namer, {40016, kModCtrl, 'N'}), "Ctrl+N");
    EXPECT_EQ(key_binding_display(namer, {40016, kModCtrl, 0}), "Nothing");
}

TEST(KeyNames, ExtendedKeysAreTheNavigationBlockAppsAndNumLock) {
    for (int vk = 0; vk < 256; ++vk) {
        bool want = vk == 93 || (vk >= 33 && vk <= 40) || vk == 45 || vk == 46 || vk == 144;
        EXPECT_EQ(is_extended_key(vk), want) << "virtual key " << vk;
    }
}

TEST(BindingSearch, FirstNamedBindingAndExactModifiers) {
    FakeKeyNamer namer;
    std::vector<KeyBinding> bindings = {
        {40016, kModCtrl, 0x07}, // key without a name
        {40016, 0, 0},           {40016, kModShift, kF1}, {40016, kModCtrl, 'N'},
        {51043, kModShift, kF1}, {51000, 0, kF1},
    };
    const KeyBinding* found = first_named_binding(namer, bindings, 40016);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &bindings[2]);
    EXPECT_EQ(first_named_binding(namer, bindings, 40017), nullptr);

    EXPECT_EQ(binding_for_key(bindings, kF1, 0), &bindings[5]) << "Shift+F1 does not fire for F1 alone";
    EXPECT_EQ(binding_for_key(bindings, kF1, kModShift), &bindings[2]) << "the first binding wins";
    EXPECT_EQ(binding_for_key(bindings, kF1, kModShift | kModCtrl), nullptr);
    EXPECT_EQ(binding_for_key(bindings, kF1 + 1, 0), nullptr);
}

TEST(TemplateMenu, DefaultBindingsListSixteenValuesInBindingOrder) {
    FakeKeyNamer namer;
    std::vector<TemplateItem> items = template_menu_items(namer, default_key_bindings());
    const int values[] = {0, 26, 41, 45, 60, 81, 85, 100, 43, 55, 83, 95, 121, 125, 140, 180};
    ASSERT_EQ(items.size(), std::size(values));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].command, kTemplateBase + values[i]);
        std::string key = (i < 8 ? "F" : "Shift+F") + std::to_string(i % 8 + 1);
        EXPECT_EQ(items[i].text, std::to_string(values[i]) + "\t" + key);
    }
}

TEST(TemplateMenu, AnEarlierBindingOfTheSameValueDecides) {
    FakeKeyNamer namer;
    std::vector<KeyBinding> bindings = {
        {51060, 0, 0x07},       // no key name: 60 gets no item at all
        {40016, kModCtrl, 'N'}, // not a template
        {51060, 0, kF1},        {51100, kModCtrl, 'B'},
        {51100, 0, kF1 + 1},                         // a second binding of 100 is skipped
        {51000, kModAlt, 0},                         // no key
        {51000, 0, kF1 + 2},    {51181, 0, kF1 + 3}, // not a template value
    };
    std::vector<TemplateItem> items = template_menu_items(namer, bindings);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].command, 51100);
    EXPECT_EQ(items[0].text, "100\tCtrl+B");
    EXPECT_TRUE(template_menu_items(namer, {}).empty());
}

TEST(HotKeyConversion, ControlModifiersTimesFour) {
    struct Row {
        unsigned hotkey;
        int modifiers, key;
    } rows[] = {
        {0x0170, kModShift, 0x70}, {0x0231, kModCtrl, '1'},
        {0x0424, kModAlt, 0x24},   {0x0741, kModShift | kModCtrl | kModAlt, 'A'},
        {0x0070, 0, 0x70},
    };
    for (const Row& row : rows) {
        KeyBinding b = binding_from_hotkey(40016, row.hotkey);
        EXPECT_EQ(b.action, 40016);
        EXPECT_EQ(b.modifiers, row.modifiers) << std::hex << "hot key 0x" << row.hotkey;
        EXPECT_EQ(b.key, row.key) << std::hex << "hot key 0x" << row.hotkey;
        EXPECT_EQ(hotkey_from_binding(b), row.hotkey) << std::hex << "hot key 0x" << row.hotkey;
    }
    // The control's extended-key flag is no modifier of a binding.
    EXPECT_EQ(binding_from_hotkey(40016, 0x0A24).modifiers, kModCtrl);
    EXPECT_EQ(hotkey_from_binding({40016, kModCtrl, 0}), 0u) << "without a key the control is left alone";
}

} // namespace
} // namespace tx9
