// Editing in the score-entry field: typing, deleting, undo steps, the limit,
// clipboard text and the caret keys, played on the model as the control does.
#include "app/entry_model.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace tx9 {
namespace {

using Sel = std::pair<int, int>;

struct Played {
    int refusals = 0;
    std::string cells; // "<" previous cell, ">" next cell, in order
};

// A character is typed; "[...]" is a key or a request, "+" in front holding
// Shift: BS, Del, Ins (mode), Home, Left, Right, Z (undo), Y (redo), X (cut),
// W (word under the caret), ro (read-only), "=text" (paste text),
// "Pn" / "+Pn" (press at n), "Dn" (drag to n), "Rn" (right press at n).
Played play(EntryModel& m, const char* keys) {
    Played out;
    const char* p = keys;
    bool shift = false;
    std::string argument;
    auto go = [&](CaretKey key) {
        const CellRequest r = m.move(key, shift);
        if (r != CellRequest::none) out.cells += r == CellRequest::previous ? "<" : ">";
        return EditResult::unchanged;
    };
    auto at = [&] { return std::atoi(argument.c_str()); };
    using E = EditResult;
    const std::map<std::string, std::function<EditResult()>> actions = {
        {"", [&] { return m.type(*p); }},
        {"=", [&] { return m.paste(argument); }},
        {"BS", [&] { return m.backspace(); }},
        {"Del", [&] { return m.delete_forward(); }},
        {"Z", [&] { return m.undo(); }},
        {"Y", [&] { return m.redo(); }},
        {"X", [&] { return m.clear(); }},
        {"Ins", [&] { return m.toggle_insert_mode(), E::unchanged; }},
        {"W", [&] { return m.select_word(), E::unchanged; }},
        {"ro", [&] { return m.set_read_only(true), E::unchanged; }},
        {"Home", [&] { return go(CaretKey::home); }},
        {"Left", [&] { return go(CaretKey::left); }},
        {"Right", [&] { return go(CaretKey::right); }},
        {"P", [&] { return m.press_at(at(), shift), E::unchanged; }},
        {"D", [&] { return m.drag_to(at()), E::unchanged; }},
        {"R", [&] { return m.right_press_at(at()), E::unchanged; }},
    };
    for (; *p; ++p) {
        std::string token;
        if (*p == '[') {
            const char* end = std::strchr(p, ']');
            token.assign(p + 1, end);
            p = end;
        }
        shift = token.size() > 1 && token[0] == '+';
        if (shift) token.erase(0, 1);
        if (token.size() > 1 && (token[0] == '=' || std::isdigit(static_cast<unsigned char>(token[1]))))
            argument = token.substr(1), token.resize(1);
        const auto action = actions.find(token);
        if (action == actions.end())
            ADD_FAILURE() << "no key " << token;
        else
            out.refusals += action->second() == EditResult::refused;
    }
    return out;
}

// Each row starts on a field with the score sheet's limit of 3 in insert
// mode, holding `text` with the selection set as the owner sets it.
TEST(EntryModel, KeysEditSelectUndoAndRedo) {
    struct Row {
        const char* what;
        const char* text;
        int anchor, caret;
        const char* keys;
        const char* after;
        Sel sel;
        int refusals;
        const char* cells = "";
    };
    const Row rows[] = {
        // Typing and the limit.
        {"typing over a selection", "180", 1, 2, "4", "140", {2, 2}, 0},
        {"non-digits", "12", 2, 2, "a -+.", "12", {2, 2}, 5},
        {"overwrite at the end of a full field", "180", 3, 3, "[Ins]7", "180", {3, 3}, 1},
        {"insert into a full field", "180", 1, 1, "9", "180", {1, 1}, 1},
        {"a typing run moved by the caret", "1", 1, 1, "2[Left]3", "132", {2, 2}, 0},
        // Deleting, and undo in steps: a run of typing or deleting is one step.
        {"Backspace run undone", "123", 3, 3, "[BS][BS][BS][Z]", "123", {3, 3}, 0},
        {"Delete run undone", "123", 0, 0, "[Del][Del][Del][Z]", "123", {3, 3}, 0},
        {"Backspace then Delete undone", "123", 2, 2, "[BS][Del][Z]", "123", {3, 3}, 0},
        {"a deletion elsewhere is a step of its own", "123", 3, 3, "[BS][Home][Del][Z]", "12", {1, 1}, 0},
        {"overwrite undone: the 6 goes", "45", 0, 0, "[Ins]6[Z]", "5", {0, 0}, 0},
        {"typing over a selection undone", "180", 1, 2, "4[Z]", "10", {1, 1}, 0},
        {"and redone in order", "180", 1, 2, "4[Z][Z][Y][Y]", "140", {2, 2}, 0},
        {"typing after an undo drops the redo", "", 0, 0, "12[Z]3[Y]", "3", {1, 1}, 0},
        {"undo puts back text the owner set", "a1", 0, 1, "[Del][Z]", "a1", {1, 1}, 0},
        // Clipboard text.
        {"paste with a letter", "45", 2, 2, "[=1a]", "45", {2, 2}, 1},
        {"paste up to the limit", "1", 1, 1, "[=99]", "199", {3, 3}, 0},
        {"refused paste keeps the selection", "180", 0, 1, "[=99]", "180", {0, 1}, 1},
        {"paste inserts in overwrite mode", "45", 0, 0, "[Ins][=7]", "745", {1, 1}, 0},
        // Selection by the owner, caret keys and requests for another cell.
        {"select 0, -1", "123", 0, -1, "", "123", {0, 3}, 0},
        {"select 5, 1", "123", 5, 1, "", "123", {1, 3}, 0},
        {"Left at 0", "123", 0, 0, "[Left]", "123", {0, 0}, 0, "<"},
        {"Right at the end after typing", "1", 1, 1, "2[Right]", "12", {2, 2}, 0, ">"},
        {"Left collapses to the lower end", "123", 1, 3, "[Left]", "123", {1, 1}, 0},
        {"Left collapses a selection from 0", "123", 0, 3, "[Left]", "123", {0, 0}, 0},
        {"Shift extends across the anchor", "123", 1, 1, "[+Left][+Right][+Right]", "123", {1, 2}, 0},
        // The mouse.
        {"press and drag", "123", 3, 3, "[P0][D2]", "123", {0, 2}, 0},
        {"Shift+press keeps the anchor", "123", 1, 1, "[+P3]", "123", {1, 3}, 0},
        {"a word of digits", "123", 1, 1, "[W]", "123", {0, 3}, 0},
        {"one other character is a word", "1-2", 1, 1, "[W]", "1-2", {1, 2}, 0},
        {"digits stop at another character", "1-23", 2, 2, "[W]", "1-23", {2, 4}, 0},
        {"right press inside the selection keeps it", "123", 0, 2, "[R1]", "123", {0, 2}, 0},
        {"right press outside it moves the caret", "123", 0, 2, "[R3]", "123", {3, 3}, 0},
        // Read-only: every change refused, selecting and copying allowed.
        {"read-only", "123", 3, 3, "[ro]4[=9][Del][BS][X][Z][Home][+Right]", "123", {0, 1}, 6},
        {"read-only undo", "", 0, 0, "5[ro][Z][Y]", "5", {1, 1}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": \"" + row.text + "\" then " + row.keys);
        EntryModel m;
        m.set_limit(3);
        m.set_text(row.text);
        m.select(static_cast<unsigned>(row.anchor), static_cast<unsigned>(row.caret));
        Played played = play(m, row.keys);
        EXPECT_EQ(row.after, m.text());
        EXPECT_EQ(row.sel, Sel(m.selection_start(), m.selection_end()));
        EXPECT_EQ(row.refusals, played.refusals) << "refusals";
        EXPECT_EQ(row.cells, played.cells) << "cell requests";
    }
}

// Flags, copies and the pending runs are also checked step by step against a
// plain model by the entry-model fuzz target.
TEST(EntryModel, PendingEditsCountAndNewTextForgetsTheSteps) {
    EntryModel m;
    m.set_text("123");
    m.select(3, 3);
    play(m, "45[BS]");
    EXPECT_EQ(4, m.length()) << "pending typing and deleting count";
    EXPECT_EQ("1234", m.visible_text());
    EXPECT_TRUE(m.can_undo());
    m.set_text("9");
    EXPECT_FALSE(m.can_undo()) << "setting the text forgets the steps";
}

} // namespace
} // namespace tx9
