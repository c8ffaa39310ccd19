// Editing in the score-entry field: typing, deleting, undo steps, the limit,
// clipboard text and the caret keys, played on the model as the control does.
#include "app/entry_model.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <cstring>
#include <string>
#include <utility>

namespace tx9 {
namespace {

using Sel = std::pair<int, int>;

struct Played {
    int refusals = 0;
    std::string cells; // "<" previous cell, ">" next cell, in order
    std::string copied;
};

// A character is typed; "[...]" is a key or a request, "+" in front holding
// Shift: BS, Del, Ins (mode), Home, End, Left, Right, Z (undo), Y (redo),
// A (select all), X (cut), C (copy), W (word under the caret), ro (read-only),
// "=text" (paste text), "Pn" / "+Pn" (press at n), "Dn" (drag to n),
// "Rn" (right press at n).
Played play(EntryModel& m, const char* keys) {
    Played out;
    auto count = [&out](EditResult r) { out.refusals += r == EditResult::refused; };
    bool shift = false;
    auto move = [&](CaretKey key) {
        CellRequest r = m.move(key, shift);
        if (r != CellRequest::none) out.cells += r == CellRequest::previous ? "<" : ">";
    };
    const std::map<std::string, std::function<void()>> actions = {
        {"BS", [&] { count(m.backspace()); }},
        {"Del", [&] { count(m.delete_forward()); }},
        {"Z", [&] { count(m.undo()); }},
        {"Y", [&] { count(m.redo()); }},
        {"X", [&] { m.read_only() ? void(++out.refusals) : (out.copied = m.copy(), count(m.clear())); }},
        {"Ins", [&] { m.toggle_insert_mode(); }},
        {"A", [&] { m.select_all(); }},
        {"C", [&] { out.copied = m.copy(); }},
        {"W", [&] { m.select_word(); }},
        {"ro", [&] { m.set_read_only(true); }},
        {"Home", [&] { move(CaretKey::home); }},
        {"End", [&] { move(CaretKey::end); }},
        {"Left", [&] { move(CaretKey::left); }},
        {"Right", [&] { move(CaretKey::right); }},
    };
    for (const char* p = keys; *p; ++p) {
        if (*p != '[') {
            count(m.type(*p));
            continue;
        }
        const char* end = std::strchr(p, ']');
        std::string token(p + 1, end);
        p = end;
        shift = token.size() > 1 && token[0] == '+';
        if (shift) token.erase(0, 1);
        const int n =
            std::isdigit(static_cast<unsigned char>(token.back())) ? std::stoi(token.substr(1)) : -1;
        if (actions.count(token))
            actions.at(token)();
        else if (token[0] == '=')
            count(m.paste(token.substr(1)));
        else if (n >= 0 && token[0] == 'P')
            m.press_at(n, shift);
        else if (n >= 0 && token[0] == 'D')
            m.drag_to(n);
        else if (n >= 0 && token[0] == 'R')
            m.right_press_at(n);
        else
            ADD_FAILURE() << "no key " << token;
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
        {"a fourth digit over the limit", "", 0, 0, "1809", "180", {3, 3}, 1},
        {"typing over a selection", "180", 1, 2, "4", "140", {2, 2}, 0},
        {"non-digits", "12", 2, 2, "a -+.", "12", {2, 2}, 5},
        {"overwrite", "45", 0, 0, "[Ins]6", "65", {1, 1}, 0},
        {"overwrite at the end of a full field", "180", 3, 3, "[Ins]7", "180", {3, 3}, 1},
        {"insert into a full field", "180", 1, 1, "9", "180", {1, 1}, 1},
        {"a typing run moved by the caret", "1", 1, 1, "2[Left]3", "132", {2, 2}, 0},
        // Deleting, and undo in steps: a run of typing or deleting is one step.
        {"Backspace run undone", "123", 3, 3, "[BS][BS][BS][Z]", "123", {3, 3}, 0},
        {"Delete run undone", "123", 0, 0, "[Del][Del][Del][Z]", "123", {3, 3}, 0},
        {"Backspace then Delete undone", "123", 2, 2, "[BS][Del][Z]", "123", {3, 3}, 0},
        {"a deletion elsewhere is a step of its own", "123", 3, 3, "[BS][Home][Del][Z]", "12", {1, 1}, 0},
        {"typing undone", "", 0, 0, "45[Z]", "", {0, 0}, 0},
        {"and redone", "", 0, 0, "45[Z][Y]", "45", {2, 2}, 0},
        {"overwrite undone: the 6 goes", "45", 0, 0, "[Ins]6[Z]", "5", {0, 0}, 0},
        {"typing over a selection undone", "180", 1, 2, "4[Z]", "10", {1, 1}, 0},
        {"and redone in order", "180", 1, 2, "4[Z][Z][Y][Y]", "140", {2, 2}, 0},
        {"typing after an undo drops the redo", "", 0, 0, "12[Z]3[Y]", "3", {1, 1}, 0},
        {"undo puts back text the owner set", "a1", 0, 1, "[Del][Z]", "a1", {1, 1}, 0},
        // Clipboard text.
        {"paste with a letter", "45", 2, 2, "[=1a]", "45", {2, 2}, 1},
        {"paste past the limit", "", 0, 0, "[=12345]", "", {0, 0}, 1},
        {"paste that would pass the limit", "12", 2, 2, "[=99]", "12", {2, 2}, 1},
        {"paste up to the limit", "1", 1, 1, "[=99]", "199", {3, 3}, 0},
        {"refused paste keeps the selection", "180", 0, 1, "[=999]", "180", {0, 1}, 1},
        {"paste inserts in overwrite mode", "45", 0, 0, "[Ins][=7]", "745", {1, 1}, 0},
        {"cut", "123", 1, 3, "[X]", "1", {1, 1}, 0},
        // Selection by the owner, caret keys and requests for another cell.
        {"select 0, -1", "123", 0, -1, "", "123", {0, 3}, 0},
        {"select 5, 1", "123", 5, 1, "", "123", {1, 3}, 0},
        {"Left at 0", "123", 0, 0, "[Left]", "123", {0, 0}, 0, "<"},
        {"Right at the end", "123", 3, 3, "[Right]", "123", {3, 3}, 0, ">"},
        {"Right at the end after typing", "1", 1, 1, "2[Right]", "12", {2, 2}, 0, ">"},
        {"Left collapses to the lower end", "123", 1, 3, "[Left]", "123", {1, 1}, 0},
        {"Left collapses a selection from 0", "123", 0, 3, "[Left]", "123", {0, 0}, 0},
        {"Shift extends across the anchor", "123", 1, 1, "[+Left][+Right][+Right]", "123", {1, 2}, 0},
        {"Shift+Home", "123", 2, 2, "[+Home]", "123", {0, 2}, 0},
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
