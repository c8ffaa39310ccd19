#include "app/entry_model.h"

#include <algorithm>

namespace tx9 {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_digits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), is_digit);
}

} // namespace

void EntryModel::set_text(const std::string& text) {
    text_ = text;
    pending_.clear();
    insertion_point_ = -1;
    overwritten_ = 0;
    deletion_start_ = -1;
    deletion_length_ = 0;
    undo_.clear();
    undo_position_ = 0;
    caret_ = anchor_ = 0;
    modified_ = true;
}

const std::string& EntryModel::text() {
    commit();
    return text_;
}

std::string EntryModel::visible_text() const {
    if (has_insertion())
        return text_.substr(0, insertion_point_) + pending_ + text_.substr(insertion_point_ + overwritten_);
    if (has_deletion())
        return text_.substr(0, deletion_start_) + text_.substr(deletion_start_ + deletion_length_);
    return text_;
}

void EntryModel::select(unsigned first, unsigned second) {
    commit();
    auto cut = [this](unsigned value) { return static_cast<int>(std::min<unsigned>(value, length())); };
    int a = cut(first);
    int b = cut(second);
    anchor_ = std::min(a, b);
    caret_ = std::max(a, b);
}

void EntryModel::select_all() {
    commit();
    anchor_ = 0;
    caret_ = length();
}

// ---- Pending edits and undo steps

void EntryModel::record(UndoStep step) {
    undo_.resize(undo_position_); // whatever could have been redone is gone now
    undo_.push_back(std::move(step));
    ++undo_position_;
}

void EntryModel::commit(bool recording) {
    if (has_insertion()) {
        if (recording) {
            if (overwritten_ > 0)
                record({UndoKind::deletion, insertion_point_, overwritten_,
                        text_.substr(insertion_point_, overwritten_)});
            record({UndoKind::insertion, insertion_point_, static_cast<int>(pending_.size()), std::nullopt});
        }
        text_.replace(insertion_point_, overwritten_, pending_);
        pending_.clear();
        pending_.shrink_to_fit();
        insertion_point_ = -1;
        overwritten_ = 0;
    }
    if (has_deletion()) {
        if (recording)
            record({UndoKind::deletion, deletion_start_, deletion_length_,
                    text_.substr(deletion_start_, deletion_length_)});
        text_.erase(deletion_start_, deletion_length_);
        deletion_start_ = -1;
        deletion_length_ = 0;
    }
}

// Deletes [start, end) of the shown text; consecutive Delete or Backspace
// presses grow one pending run, which becomes one undo step.
void EntryModel::delete_range(int start, int end, bool recording) {
    if (has_insertion()) commit(recording);
    if (has_deletion() && deletion_start_ != start && deletion_start_ != end) commit(recording);
    end = std::min(end, length());
    if (start < end) {
        // A new run starts from length 0; joined at either side, the run's
        // committed characters stay contiguous.
        deletion_start_ = start;
        deletion_length_ += end - start;
        modified_ = true;
    }
}

void EntryModel::delete_selection() {
    int start = selection_start();
    delete_range(start, selection_end());
    caret_ = anchor_ = start;
}

// Inserts at the caret, replacing characters after it when not inserting.
// Undo and redo put back exactly what was there (recording off), so they
// skip the checks that guard typing and pasting.
EditResult EntryModel::insert(const std::string& chars, bool inserting, bool recording) {
    if (recording && !all_digits(chars)) return EditResult::refused;
    if (chars.empty()) return EditResult::unchanged;
    int count = static_cast<int>(chars.size());
    if (recording && limit_ > 0) {
        // Checked on the length the text would have, before anything changes:
        // a refused paste leaves a selection it would have replaced in place.
        int remaining = length() - (selection_end() - selection_start());
        int replaced = inserting ? 0 : std::min(count, remaining - selection_start());
        if (remaining + count - replaced > limit_) return EditResult::refused;
    }
    if (has_selection()) delete_selection();
    if (has_deletion()) commit(recording);
    // Typing continues the pending insertion only right where it ends.
    if (has_insertion() && caret_ != insertion_point_ + static_cast<int>(pending_.size())) commit(recording);

    if (!has_insertion()) insertion_point_ = caret_;
    pending_ += chars;
    caret_ += count;
    anchor_ = caret_;
    if (!inserting) {
        int replaceable = static_cast<int>(text_.size()) - insertion_point_ - overwritten_;
        overwritten_ += std::max(0, std::min(count, replaceable));
    }
    modified_ = true;
    return EditResult::changed;
}

// ---- Editing

EditResult EntryModel::type(char c) {
    if (read_only_) return EditResult::refused;
    return insert(std::string(1, c), insert_mode_);
}

EditResult EntryModel::paste(const std::string& chars) {
    if (read_only_) return EditResult::refused;
    return insert(chars, true);
}

EditResult EntryModel::backspace() {
    if (read_only_) return EditResult::refused;
    if (has_selection()) {
        delete_selection();
        return EditResult::changed;
    }
    if (caret_ == 0) return EditResult::unchanged;
    caret_ = anchor_ = caret_ - 1;
    delete_range(caret_, caret_ + 1);
    return EditResult::changed;
}

EditResult EntryModel::delete_forward() {
    if (read_only_) return EditResult::refused;
    if (has_selection()) {
        delete_selection();
        return EditResult::changed;
    }
    int before = length();
    delete_range(caret_, caret_ + 1);
    return length() != before ? EditResult::changed : EditResult::unchanged;
}

EditResult EntryModel::clear() {
    if (read_only_) return EditResult::refused;
    if (!has_selection()) return EditResult::unchanged;
    delete_selection();
    return EditResult::changed;
}

std::string EntryModel::copy() {
    commit();
    return text_.substr(selection_start(), selection_end() - selection_start());
}

bool EntryModel::can_undo() const {
    return undo_position_ > 0 || has_insertion() || has_deletion();
}

bool EntryModel::can_redo() const {
    return undo_position_ < static_cast<int>(undo_.size());
}

EditResult EntryModel::undo() {
    if (read_only_) return EditResult::refused;
    commit();
    if (undo_position_ == 0) return EditResult::unchanged;
    UndoStep& step = undo_[undo_position_ - 1];
    caret_ = anchor_ = step.position;
    if (step.kind == UndoKind::insertion) {
        if (!step.saved) step.saved = text_.substr(step.position, step.length);
        delete_range(step.position, step.position + step.length, false);
    } else {
        insert(step.saved.value_or(std::string()), true, false);
    }
    commit(false);
    --undo_position_;
    return EditResult::changed;
}

EditResult EntryModel::redo() {
    if (read_only_) return EditResult::refused;
    commit();
    if (!can_redo()) return EditResult::unchanged;
    const UndoStep& step = undo_[undo_position_];
    caret_ = anchor_ = step.position;
    if (step.kind == UndoKind::insertion)
        insert(step.saved.value_or(std::string()), true, false);
    else
        delete_range(step.position, step.position + step.length, false);
    commit(false);
    ++undo_position_;
    return EditResult::changed;
}

// ---- Caret keys and the mouse

CellRequest EntryModel::move(CaretKey key, bool shift) {
    commit();
    int end = length();
    int to = caret_;
    switch (key) {
    case CaretKey::home: to = 0; break;
    case CaretKey::end: to = end; break;
    case CaretKey::left:
        if (!shift && caret_ == 0 && anchor_ == 0) return CellRequest::previous;
        to = !shift && has_selection() ? selection_start() : caret_ - 1;
        break;
    case CaretKey::right:
        if (!shift && caret_ == end && anchor_ == end) return CellRequest::next;
        to = !shift && has_selection() ? selection_end() : caret_ + 1;
        break;
    }
    caret_ = std::clamp(to, 0, end);
    if (!shift) anchor_ = caret_;
    return CellRequest::none;
}

void EntryModel::press_at(int position, bool keep_anchor) {
    commit();
    caret_ = std::clamp(position, 0, length());
    if (!keep_anchor) anchor_ = caret_;
}

void EntryModel::drag_to(int position) {
    caret_ = std::clamp(position, 0, length());
}

void EntryModel::select_word() {
    commit();
    anchor_ = caret_;
    int size = static_cast<int>(text_.size());
    if (caret_ >= size) return;
    int start = caret_;
    int end = caret_ + 1;
    if (is_digit(text_[caret_])) {
        while (start > 0 && is_digit(text_[start - 1]))
            --start;
        while (end < size && is_digit(text_[end]))
            ++end;
    }
    anchor_ = start;
    caret_ = end;
}

void EntryModel::right_press_at(int position) {
    commit();
    position = std::clamp(position, 0, length());
    bool inside = has_selection() && position >= selection_start() && position <= selection_end();
    if (!inside) caret_ = anchor_ = position;
}

} // namespace tx9
