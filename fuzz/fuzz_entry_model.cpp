// Drives the entry field's editing model with random operations and checks
// every step against a plain model of the same rules, written here from the
// user's side: whole-text snapshots for undo instead of pending buffers and
// index bookkeeping. Any difference in the text, caret, selection, flags,
// result or cell request aborts with both states printed.
#include "app/entry_model.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using tx9::CaretKey;
using tx9::CellRequest;
using tx9::EditResult;

bool digits_only(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The field as a user sees it: the text, caret, anchor and a list of undo
// steps, each the text before and after with the caret each way leaves.
// A run of typing (at one place, continued where it ends) or of deleting
// (Delete at one place, Backspace towards it) stays open and becomes its
// steps when anything else happens.
class Reference {
  public:
    std::string text;
    int caret = 0, anchor = 0, limit = 0;
    bool modified = false, read_only = false, inserting = true;

    void set_text(const std::string& t) {
        text = t;
        run_ = Run{};
        steps_.clear();
        position_ = 0;
        caret = anchor = 0;
        modified = true;
    }
    int lo() const { return std::min(caret, anchor); }
    int hi() const { return std::max(caret, anchor); }
    int size() const { return static_cast<int>(text.size()); }
    bool can_undo() const { return position_ > 0 || run_.kind != Run::none; }
    bool can_redo() const { return position_ < static_cast<int>(steps_.size()); }

    void select(unsigned a, unsigned b) {
        close();
        int x = static_cast<int>(std::min<unsigned>(a, size()));
        int y = static_cast<int>(std::min<unsigned>(b, size()));
        anchor = std::min(x, y);
        caret = std::max(x, y);
    }
    void select_all() {
        close();
        anchor = 0;
        caret = size();
    }
    std::string committed_text() {
        close();
        return text;
    }
    std::string copy() {
        close();
        return text.substr(lo(), hi() - lo());
    }

    EditResult type(char c) { return put(std::string(1, c), inserting); }
    EditResult paste(const std::string& chars) { return put(chars, true); }

    EditResult backspace() {
        if (read_only) return EditResult::refused;
        if (caret != anchor) return cut_selection();
        if (caret == 0) return EditResult::unchanged;
        caret = anchor = caret - 1;
        erase(caret, caret + 1);
        return EditResult::changed;
    }
    EditResult delete_forward() {
        if (read_only) return EditResult::refused;
        if (caret != anchor) return cut_selection();
        std::string before = text;
        erase(caret, caret + 1);
        return text != before ? EditResult::changed : EditResult::unchanged;
    }
    EditResult clear() {
        if (read_only) return EditResult::refused;
        if (caret == anchor) return EditResult::unchanged;
        return cut_selection();
    }

    EditResult undo() {
        if (read_only) return EditResult::refused;
        close();
        if (position_ == 0) return EditResult::unchanged;
        const Step& s = steps_[--position_];
        text = s.before;
        caret = anchor = s.caret_undone;
        modified = true;
        return EditResult::changed;
    }
    EditResult redo() {
        if (read_only) return EditResult::refused;
        close();
        if (!can_redo()) return EditResult::unchanged;
        const Step& s = steps_[position_++];
        text = s.after;
        caret = anchor = s.caret_redone;
        modified = true;
        return EditResult::changed;
    }

    CellRequest move(CaretKey key, bool shift) {
        close();
        int to = caret;
        switch (key) {
        case CaretKey::home: to = 0; break;
        case CaretKey::end: to = size(); break;
        case CaretKey::left:
            if (!shift && caret == 0 && anchor == 0) return CellRequest::previous;
            to = !shift && caret != anchor ? lo() : caret - 1;
            break;
        case CaretKey::right:
            if (!shift && caret == size() && anchor == size()) return CellRequest::next;
            to = !shift && caret != anchor ? hi() : caret + 1;
            break;
        }
        caret = std::max(0, std::min(to, size()));
        if (!shift) anchor = caret;
        return CellRequest::none;
    }
    void press_at(int p, bool keep_anchor) {
        close();
        caret = std::max(0, std::min(p, size()));
        if (!keep_anchor) anchor = caret;
    }
    void drag_to(int p) { caret = std::max(0, std::min(p, size())); }
    void select_word() {
        close();
        anchor = caret;
        if (caret >= size()) return;
        auto digit = [this](int i) { return text[i] >= '0' && text[i] <= '9'; };
        int a = caret, b = caret + 1;
        if (digit(caret)) {
            while (a > 0 && digit(a - 1))
                --a;
            while (b < size() && digit(b))
                ++b;
        }
        anchor = a;
        caret = b;
    }
    void right_press_at(int p) {
        close();
        p = std::max(0, std::min(p, size()));
        if (!(caret != anchor && p >= lo() && p <= hi())) caret = anchor = p;
    }

  private:
    struct Step {
        std::string before, after;
        int caret_undone, caret_redone;
    };
    struct Run {
        enum Kind { none, typing, deleting } kind = none;
        std::string before; // the text when the run began
        int at = 0;         // where it began (a deletion run: where it now starts)
        int typed = 0;      // characters typed
        int replaced = 0;   // characters they overwrote
        int deleted = 0;    // characters a deletion run took
    };

    void push(Step s) {
        steps_.resize(position_);
        steps_.push_back(std::move(s));
        ++position_;
    }
    // The open run becomes its undo steps: overwriting first takes the old
    // characters away, then puts the typed ones in.
    void close() {
        if (run_.kind == Run::typing) {
            std::string middle = run_.before;
            middle.erase(run_.at, run_.replaced);
            if (run_.replaced > 0) push({run_.before, middle, run_.at + run_.replaced, run_.at});
            push({middle, text, run_.at, run_.at + run_.typed});
        } else if (run_.kind == Run::deleting) {
            push({run_.before, text, run_.at + run_.deleted, run_.at});
        }
        run_ = Run{};
    }

    EditResult cut_selection() {
        int from = lo();
        erase(from, hi());
        caret = anchor = from;
        return EditResult::changed;
    }

    // Deletes [a, b) of the shown text, joining an open deletion run that
    // starts at a (Delete) or at b (Backspace).
    void erase(int a, int b) {
        if (run_.kind == Run::typing) close();
        bool joins = run_.kind == Run::deleting && (run_.at == a || run_.at == b);
        if (run_.kind == Run::deleting && !joins) close();
        b = std::min(b, size());
        if (a >= b) return;
        if (run_.kind == Run::none) {
            run_.kind = Run::deleting;
            run_.before = text;
        }
        run_.at = a;
        run_.deleted += b - a;
        text.erase(a, b - a);
        modified = true;
    }

    EditResult put(const std::string& chars, bool insert_here) {
        if (read_only || !digits_only(chars)) return EditResult::refused;
        if (chars.empty()) return EditResult::unchanged;
        // What the text would be: the selection gone, the characters in.
        std::string result = text;
        result.erase(lo(), hi() - lo());
        int at = lo();
        if (!insert_here) result.erase(at, std::min(chars.size(), result.size() - at));
        result.insert(at, chars);
        if (limit > 0 && static_cast<int>(result.size()) > limit) return EditResult::refused;

        if (caret != anchor) cut_selection();
        if (run_.kind == Run::deleting) close();
        if (run_.kind == Run::typing && caret != run_.at + run_.typed) close();
        if (run_.kind == Run::none) {
            run_.kind = Run::typing;
            run_.before = text;
            run_.at = caret;
        }
        int count = static_cast<int>(chars.size());
        if (!insert_here) {
            int gone = std::min(count, size() - caret);
            text.erase(caret, gone);
            run_.replaced += gone;
        }
        text.insert(caret, chars);
        run_.typed += count;
        caret = anchor = caret + count;
        modified = true;
        return EditResult::changed;
    }

    std::vector<Step> steps_;
    int position_ = 0;
    Run run_;
};

// Reads the fuzzer's bytes one at a time; zeros once they run out.
struct Bytes {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool more() const { return at < size; }
    uint8_t next() { return at < size ? data[at++] : 0; }
};

const char kTyped[] = "0123456789012345678901234567890123456789a -";

std::string some_text(Bytes& in, bool digits) {
    std::string out;
    int n = in.next() % 7;
    for (int i = 0; i < n; ++i) {
        uint8_t b = in.next();
        out += digits ? static_cast<char>('0' + b % 10) : kTyped[b % (sizeof kTyped - 1)];
    }
    return out;
}

[[noreturn]] void differ(const char* what, const tx9::EntryModel& m, const Reference& r, int step) {
    std::fprintf(
        stderr,
        "step %d: %s differs\n  model: \"%s\" caret %d anchor %d\n  plain: \"%s\" caret %d anchor %d\n", step,
        what, m.visible_text().c_str(), m.caret(), m.anchor(), r.text.c_str(), r.caret, r.anchor);
    std::abort();
}

void check(bool same, const char* what, const tx9::EntryModel& m, const Reference& r, int step) {
    if (!same) differ(what, m, r, step);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in{data, size};
    tx9::EntryModel m;
    Reference r;
    m.set_limit(3);
    r.limit = 3;
    for (int step = 0; in.more() && step < 4096; ++step) {
        uint8_t op = in.next();
        int length_before = m.length();
        EditResult got = EditResult::unchanged, want = EditResult::unchanged;
        CellRequest cell_got = CellRequest::none, cell_want = CellRequest::none;
        switch (op % 24) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            char c = kTyped[in.next() % (sizeof kTyped - 1)];
            got = m.type(c);
            want = r.type(c);
            break;
        }
        case 6: {
            std::string t = some_text(in, in.next() % 4 != 0);
            got = m.paste(t);
            want = r.paste(t);
            break;
        }
        case 7:
            got = m.backspace();
            want = r.backspace();
            break;
        case 8:
            got = m.delete_forward();
            want = r.delete_forward();
            break;
        case 9:
            got = m.clear();
            want = r.clear();
            break;
        case 10: check(m.copy() == r.copy(), "copy", m, r, step); break;
        case 11:
        case 12:
            got = m.undo();
            want = r.undo();
            break;
        case 13:
            got = m.redo();
            want = r.redo();
            break;
        case 14: {
            auto key = static_cast<CaretKey>(in.next() % 4);
            bool shift = (op & 0x80) != 0;
            cell_got = m.move(key, shift);
            cell_want = r.move(key, shift);
            break;
        }
        case 15: {
            // Small positions, and now and then one past every text (as -1 is).
            unsigned a = in.next() % 6, b = in.next();
            b = b >= 250 ? 0xFFFFFFFFu : b % 6;
            m.select(a, b);
            r.select(a, b);
            break;
        }
        case 16:
            m.select_all();
            r.select_all();
            break;
        case 17: {
            int p = in.next() % 8 - 1;
            bool keep = (op & 0x80) != 0;
            m.press_at(p, keep);
            r.press_at(p, keep);
            break;
        }
        case 18: {
            int p = in.next() % 8 - 1;
            m.drag_to(p);
            r.drag_to(p);
            break;
        }
        case 19:
            m.select_word();
            r.select_word();
            break;
        case 20: {
            int p = in.next() % 8 - 1;
            m.right_press_at(p);
            r.right_press_at(p);
            break;
        }
        case 21:
            m.toggle_insert_mode();
            r.inserting = !r.inserting;
            break;
        case 22: {
            switch (in.next() % 8) {
            case 0:
                m.set_read_only(!m.read_only());
                r.read_only = !r.read_only;
                break;
            case 1: {
                int limit = in.next() % 6;
                m.set_limit(limit);
                r.limit = limit;
                break;
            }
            case 2: {
                std::string t = some_text(in, in.next() % 4 != 0);
                m.set_text(t);
                r.set_text(t);
                break;
            }
            case 3:
                m.set_modified(false);
                r.modified = false;
                break;
            default: check(m.text() == r.committed_text(), "committed text", m, r, step); break;
            }
            break;
        }
        default: break; // a step that only checks
        }
        check(got == want, "result", m, r, step);
        check(cell_got == cell_want, "cell request", m, r, step);
        check(m.visible_text() == r.text, "text", m, r, step);
        check(m.length() == r.size(), "length", m, r, step);
        check(m.caret() == r.caret && m.anchor() == r.anchor, "selection", m, r, step);
        check(m.modified() == r.modified, "modified flag", m, r, step);
        check(m.insert_mode() == r.inserting, "mode", m, r, step);
        check(m.can_undo() == r.can_undo(), "can undo", m, r, step);
        check(m.can_redo() == r.can_redo(), "can redo", m, r, step);
        // Typing and pasting never take the text past the limit (the owner's
        // own text, or undo back to it, may be longer).
        bool typed = op % 24 <= 6;
        check(!typed || m.limit() <= 0 || m.length() <= std::max(m.limit(), length_before), "limit", m, r,
              step);
    }
    return 0;
}
