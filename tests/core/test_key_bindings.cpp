#include "app/key_bindings.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tx9 {
namespace {

using test::describe;
using test::FakeKeyNamer;

constexpr int kF1 = 0x70;

TEST(KeyBindingDefaults, TwentyNineBindingsWithTheirKeyCodes) {
    EXPECT_EQ(
        describe(default_key_bindings()),
        "51000:0:112 51026:0:113 51041:0:114 51045:0:115 51060:0:116 51081:0:117 51085:0:118 51100:0:119 "
        "51043:4:112 51055:4:113 51083:4:114 51095:4:115 51121:4:116 51125:4:117 51140:4:118 51180:4:119 "
        "40018:8:49 40019:8:50 40020:8:51 40021:8:77 40026:8:84 40016:8:78 40038:8:72 40034:8:65 "
        "40026:0:120 40021:4:120 40018:0:121 40019:0:122 40020:0:123 ");
}

TEST(ActionNames, TheListOfTemplateAndThreeGroupsAndTemplateNames) {
    test::ScopedFakeSystem fake;
    const std::string line = "----------------------------------------";
    std::string texts;
    for (const ActionChoice& choice : action_list())
        texts += action_choice_text(choice) + "|";
    EXPECT_EQ(texts, "Template|" + line + "|New Game|New Schedule|Game History|Auto Save|Option|Exit|" +
                         line + "|Player Information|Left Score|Function Key|Index of Throw|" + line +
                         "|Finish - 1st Throw|Finish - 2nd Throw|Finish - 3rd Throw|Middle for Diddle|"
                         "Inputs by Left Score|Exchange of Scores|Clear of Scores|Check-Out|");

    // Menu texts, no string and values past 180 are seen through the Key page's rows.
    EXPECT_EQ(action_name(51000) + "|" + action_name(51180) + "|" + action_name(0),
              "Template - 0|Template - 180|");
    fake.sys.strings[504] = "Vorlage";
    EXPECT_EQ(action_name(51060), "Vorlage - 60");
}

TEST(AcceleratorEntries, EveryBindingWithAKeyOrModifiers) {
    std::vector<AccelEntry> entries = accelerator_entries({
        {51000, 0, kF1},
        {40018, kModCtrl | kModShift | kModAlt, '1'},
        {40021, 0, 0},        // neither key nor modifiers: left out
        {40034, kModCtrl, 0}, // modifiers alone still count
        {51180, kModShift, 0x0D},
    });
    std::string got;
    for (const AccelEntry& e : entries)
        got += std::to_string(e.flags) + ":" + std::to_string(e.key) + ":" + std::to_string(e.command) + " ";
    EXPECT_EQ(got, "1:112:51000 29:49:40018 9:0:40034 5:13:51180 ")
        << "flags: 1 virtual key, 4 shift, 8 ctrl, 16 alt";
}

TEST(KeyNames, NoKeyOrNoNameGivesNoTextAndLongNamesAreCut) {
    FakeKeyNamer namer;
    EXPECT_EQ(key_binding_name(namer, kModCtrl, 0), "") << "no key";
    EXPECT_EQ(key_binding_name(namer, kModCtrl, 0x07), "") << "no name for the key";
    namer.names[0x07] = std::string(300, 'k');
    EXPECT_EQ(key_binding_name(namer, kModCtrl, 0x07), "Ctrl+" + std::string(250, 'k'));

    for (int vk = 0; vk < 256; ++vk) { // the navigation block, Apps and Num Lock are extended keys
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
    EXPECT_EQ(first_named_binding(namer, bindings, 40016), &bindings[2]);
    EXPECT_EQ(first_named_binding(namer, bindings, 40017), nullptr);
    EXPECT_EQ(binding_for_key(bindings, kF1, 0), &bindings[5]) << "Shift+F1 does not fire for F1 alone";
    EXPECT_EQ(binding_for_key(bindings, kF1, kModShift), &bindings[2]) << "the first binding wins";
    EXPECT_EQ(binding_for_key(bindings, kF1, kModShift | kModCtrl), nullptr);
    EXPECT_EQ(binding_for_key(bindings, kF1 + 1, 0), nullptr);
}

TEST(TemplateMenu, OneItemPerTemplateValueFromItsFirstNamedBinding) {
    FakeKeyNamer namer;
    auto menu = [&namer](const std::vector<KeyBinding>& bindings) {
        std::string texts;
        for (const TemplateItem& item : template_menu_items(namer, bindings))
            texts += std::to_string(item.command - kTemplateBase) + "=" + item.text + "|";
        return texts;
    };
    EXPECT_EQ(menu(default_key_bindings()),
              "0=0\tF1|26=26\tF2|41=41\tF3|45=45\tF4|60=60\tF5|81=81\tF6|85=85\tF7|100=100\tF8|"
              "43=43\tShift+F1|55=55\tShift+F2|83=83\tShift+F3|95=95\tShift+F4|121=121\tShift+F5|"
              "125=125\tShift+F6|140=140\tShift+F7|180=180\tShift+F8|");
    const std::vector<KeyBinding> bindings = {
        {51060, 0, 0x07},       // no key name: 60 gets no item at all
        {40016, kModCtrl, 'N'}, // not a template
        {51060, 0, kF1},        {51100, kModCtrl, 'B'},
        {51100, 0, kF1 + 1},                         // a second binding of 100 is skipped
        {51000, kModAlt, 0},                         // no key
        {51000, 0, kF1 + 2},    {51181, 0, kF1 + 3}, // not a template value
    };
    EXPECT_EQ(menu(bindings), "100=100\tCtrl+B|");
}

TEST(HotKeyConversion, ControlModifiersTimesFour) {
    // The hot key control's value, then the binding: 4 Shift, 8 Ctrl, 16 Alt.
    const std::tuple<unsigned, const char*> rows[] = {
        {0x0170, "40016:4:112 "}, {0x0231, "40016:8:49 "},  {0x0424, "40016:16:36 "},
        {0x0741, "40016:28:65 "}, {0x0070, "40016:0:112 "},
    };
    for (auto [hotkey, binding] : rows) {
        KeyBinding b = binding_from_hotkey(40016, hotkey);
        EXPECT_EQ(describe({b}), binding) << std::hex << hotkey;
        EXPECT_EQ(hotkey_from_binding(b), hotkey) << std::hex << hotkey;
    }
    EXPECT_EQ(binding_from_hotkey(40016, 0x0A24).modifiers, kModCtrl)
        << "the extended-key flag is no modifier";
    EXPECT_EQ(hotkey_from_binding({40016, kModCtrl, 0}), 0u) << "without a key the control is left alone";
}

} // namespace
} // namespace tx9
