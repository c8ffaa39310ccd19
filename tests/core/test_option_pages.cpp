#include "settings/option_pages.h"
#include "settings/schedule_list.h"
#include "res/resource.h"
#include "support/fake_system.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tx9 {
namespace {

TEST(OptionPages, ColourItemsInColourOrderAndTheButtonTextInDecimal) {
    test::ScopedFakeSystem fake;
    std::string texts;
    for (int id : color_item_strings())
        texts += fake.sys.load_string(id) + "|";
    EXPECT_EQ(texts, "Background|Odd Background|Text|Header Background|Header Text|Last three Number|Line|"
                     "Separate|Ton circle|Input Background|Input Text|Input Select|Input Select Text|"
                     "Left score Background|Left score Text|Left score Active Border|Player name Background|"
                     "Player name Text|Player information Background|Player information Text|"
                     "Player information Header|");
    EXPECT_EQ(color_button_text(0x00FFFF80), "16777088");
    EXPECT_EQ(color_from_button_text("16777088"), 0x00FFFF80u);
}

TEST(OptionPages, PreviewPixelPicksTheFirstMatchingItem) {
    std::array<Color, kColorCount> colors{};
    for (int i = 0; i < kColorCount; ++i)
        colors[static_cast<size_t>(i)] = 0x100u + static_cast<Color>(i);
    colors[kColorOddBackground] = colors[kColorBackground]; // equal colours: the earlier item wins
    colors[kColorPlayerNameText] = colors[kColorPlayerNameBackground];
    const std::tuple<Preview, Color, int> cases[] = {
        {Preview::Sheet, 0x100, kColorBackground},
        {Preview::Sheet, 0x103, kColorHeaderBackground},
        {Preview::Sheet, 0x109, kColorInputBackground},
        {Preview::Sheet, 0x112, kColorText}, // a player colour over the sheet: its text
        {Preview::Player, 0x112, kColorPlayerBackground},
        {Preview::Player, 0x110, kColorPlayerNameBackground},
        {Preview::Player, 0x100, kColorPlayerText},
        {Preview::Left, 0x10F, kColorLeftActiveBorder},
        {Preview::Left, 0x10D, kColorLeftBackground},
        {Preview::Left, 0x0, kColorLeftText},
    };
    for (auto [preview, pixel, item] : cases)
        EXPECT_EQ(preview_item_for_pixel(preview, pixel, colors), item)
            << "preview " << static_cast<int>(preview) << " pixel " << pixel;
    colors[kColorOddBackground] = 0x555;
    EXPECT_EQ(preview_item_for_pixel(Preview::Sheet, 0x555, colors), kColorOddBackground);
}

TEST(OptionPages, KeyPageListsNameableActionsWithTheirTexts) {
    test::ScopedFakeSystem fake;
    const std::vector<KeyBinding> table = {
        {kTemplateBase + 60, kModShift, 'Q'}, {IDM_CHECKOUT, 0, 0},
        {IDM_TEMPLATE_NOTHING, 0, 'A'},       {IDM_ENTER, 0, 'B'},
        {kTemplateBase + 181, 0, 'C'},        {IDM_ABOUT, kModCtrl, 'D'},
    };
    test::FakeKeyNamer namer;
    std::string rows;
    for (const KeyBinding& b : key_page_bindings(table)) {
        std::vector<std::string> texts = key_page_texts(namer, b);
        rows += texts[0] + " = " + texts[1] + "|";
    }
    EXPECT_EQ(rows, "Template - 60 = Shift+Q|Check-Out = Nothing|About = Ctrl+D|");
}

TEST(OptionPages, ActionChoiceOfABinding) {
    const std::pair<int, int> cases[] = {
        {kTemplateBase + 180, 0}, {IDM_NEW_GAME, 2}, {IDM_EXIT, 7}, {IDM_VIEW_PLAYER, 9},
        {IDM_CHECKOUT, 21},       {IDM_ABOUT, -1},   {0, -1},
    };
    for (auto [action, choice] : cases)
        EXPECT_EQ(action_choice_index(action), choice) << action;
}

TEST(OptionPages, SelectKeyChecksThenFillsTheBinding) {
    const unsigned ctrl_shift_f = 'F' | (3u << 8);
    // The verdict, then the binding: a refused OK leaves it alone.
    const std::pair<SelectKeyInput, const char*> cases[] = {
        {{0, true, "180", ctrl_shift_f}, "accept 51180:12:70 "},
        {{0, true, "", 0}, "accept 51000:0:0 "},
        {{1, true, "181", 'F'}, "range -1:-1:-1 "}, // the number is checked first
        {{1, false, "", 'F'}, "function -1:-1:-1 "},
        {{-1, false, "", 'F'}, "function -1:-1:-1 "},
        {{22, false, "", 'F'}, "function -1:-1:-1 "},
        {{21, false, "999", 'A' | (4u << 8)}, "accept 40034:16:65 "},
    };
    const char* verdicts[] = {"accept", "range", "function"};
    for (const auto& [input, want] : cases) {
        KeyBinding b{-1, -1, -1};
        const int verdict = static_cast<int>(check_select_key(input, &b));
        EXPECT_EQ(verdicts[verdict] + (" " + test::describe({b})), want)
            << input.choice << " " << input.number_text;
    }
}

TEST(ScheduleList, ColumnTextsAndNewEntries) {
    test::ScopedFakeSystem fake;
    GameSettings g;
    g.round = 15, g.leg_limit = 1, g.p1_name = "Ann", g.p2_com_level = 2;
    const std::tuple<int, int, int, int, int, int, const char*> rows[] = {
        // start score, round limit, legs, best of, COM players, columns
        {301, 0, 3, 0, 0, 1, "[301][][3][Ann][COM (Lv.3)]"},
        {1001, 1, 7, 0, 1, 0, "[1001][15][7][COM (Lv.1)][]"},
    };
    for (auto [start, round_limit, legs, best_of, p1_com, p2_com, want] : rows) {
        g.start_score = start, g.round_limit = round_limit, g.max_leg = legs, g.best_of = best_of;
        g.p1_com = p1_com, g.p2_com = p2_com;
        std::string columns;
        for (const std::string& column : schedule_columns(g))
            columns += "[" + column + "]";
        EXPECT_EQ(columns, want);
    }
    g.leg_limit = 0;
    const GameSettings made = new_schedule_entry(g);
    EXPECT_EQ(made.p1_name + " " + std::to_string(made.start_score) + " " + std::to_string(made.p1_com) +
                  " " + std::to_string(made.leg_limit) + " " + std::to_string(made.schedule_entry),
              "Ann 1001 1 1 1");
}

TEST(ScheduleList, LimitAndMoves) {
    EXPECT_TRUE(schedule_can_add(255));
    EXPECT_FALSE(schedule_can_add(256));
    const int rows[][4] = {// index, step, count, target
                           {1, -1, 3, 0},  {1, +1, 3, 2},   {0, -1, 3, -1},
                           {2, +1, 3, -1}, {-1, +1, 3, -1}, {3, -1, 3, -1}};
    for (auto [index, step, count, target] : rows)
        EXPECT_EQ(target, list_move_target(index, step, count)) << index << " " << step << " " << count;
}

} // namespace
} // namespace tx9
