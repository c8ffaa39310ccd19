// Editing model of the score-entry field: the text, caret and selection,
// insert and overwrite typing, the length limit, clipboard text and a
// multi-level undo in which a run of typing or of deleting is one step.
// The Win32 control (app/win/entry_control) owns one, turns messages into
// calls, beeps when a call is refused and repaints when it changed something.
//
// Typing and deleting are kept pending (a run at one place) and written into
// the committed text when the caret moves, the text is read or an edit of the
// other kind begins; each commit records undo steps.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tx9 {

// What an edit did: a change is repainted, a refusal beeps.
enum class EditResult { unchanged, changed, refused };

// Caret keys of the field.
enum class CaretKey { home, end, left, right };

// Where a caret key asks the owner to go instead of moving inside the field.
enum class CellRequest { none, previous, next };

class EntryModel {
  public:
    // ---- What the owner sets and reads
    // Replaces the text without a digit check and forgets every undo step.
    void set_text(const std::string& text);
    // The text as shown, with pending edits committed first.
    const std::string& text();
    // The text as shown, pending edits included.
    std::string visible_text() const;
    int length() const {
        return static_cast<int>(text_.size() + pending_.size()) - overwritten_ - deletion_length_;
    }
    // 0 or below: no limit.
    void set_limit(int limit) { limit_ = limit; }
    int limit() const { return limit_; }

    int caret() const { return caret_; }
    int anchor() const { return anchor_; }
    int selection_start() const { return caret_ < anchor_ ? caret_ : anchor_; }
    int selection_end() const { return caret_ < anchor_ ? anchor_ : caret_; }
    bool has_selection() const { return caret_ != anchor_; }
    // Both ends cut to the length; the anchor takes the smaller (so 0 and -1,
    // taken unsigned, select everything).
    void select(unsigned first, unsigned second);
    void select_all();

    bool modified() const { return modified_; }
    void set_modified(bool modified) { modified_ = modified; }
    bool read_only() const { return read_only_; }
    void set_read_only(bool read_only) { read_only_ = read_only; }
    bool insert_mode() const { return insert_mode_; }
    void toggle_insert_mode() { insert_mode_ = !insert_mode_; }

    // ---- Editing; everything but copying is refused while read-only
    // One typed character in the current mode; anything but a digit is refused.
    EditResult type(char c);
    // Clipboard text, always inserted; refused whole when it holds a non-digit
    // or would take the text past the limit.
    EditResult paste(const std::string& chars);
    EditResult backspace();
    EditResult delete_forward();
    // Deletes the selection; nothing without one.
    EditResult clear();
    // The selected characters (pending edits committed first).
    std::string copy();

    bool can_undo() const;
    bool can_redo() const;
    EditResult undo();
    EditResult redo();

    // ---- Caret keys and the mouse
    // Home, End, Left, Right; Shift extends the selection. Left at 0 and
    // Right at the end, with nothing selected and no Shift, ask for a cell.
    CellRequest move(CaretKey key, bool shift);
    // A press: the caret to the position, the anchor too unless it is kept.
    void press_at(int position, bool keep_anchor);
    // Dragging with the button held: only the caret follows.
    void drag_to(int position);
    // A double click selects the word holding the caret: a run of digits or
    // one other character; nothing when the caret is after the last character.
    void select_word();
    // A right press keeps a selection it lands in, else places the caret.
    void right_press_at(int position);

  private:
    enum class UndoKind { insertion, deletion };
    struct UndoStep {
        UndoKind kind;
        int position; // index where the change happened
        int length;
        // A deletion keeps its text from the start; an insertion from its first undo.
        std::optional<std::string> saved;
    };

    bool has_insertion() const { return insertion_point_ >= 0; }
    bool has_deletion() const { return deletion_start_ >= 0; }
    void record(UndoStep step);
    void commit(bool recording = true);
    void delete_range(int start, int end, bool recording = true);
    void delete_selection();
    EditResult insert(const std::string& chars, bool inserting, bool recording = true);

    std::string text_; // committed text
    int limit_ = 0;

    std::string pending_; // typed at the insertion point, not yet committed
    int insertion_point_ = -1;
    int overwritten_ = 0; // committed characters after the insertion point it replaces
    int deletion_start_ = -1;
    int deletion_length_ = 0;

    std::vector<UndoStep> undo_; // steps before undo_position_ can be undone, the rest redone
    int undo_position_ = 0;

    int caret_ = 0;
    int anchor_ = 0;
    bool modified_ = false;
    bool read_only_ = false;
    bool insert_mode_ = true;
};

} // namespace tx9
