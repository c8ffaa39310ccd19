#include "records/journal.h"

#include "settings/settings.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace tx9 {

namespace {

// Bounds that keep a hostile file from asking for more than a real evening
// could hold: rounds per leg, score cells over the whole file, sets of a run.
constexpr int kMaxRounds = 100000;
constexpr long long kMaxCells = 8000000;
constexpr int kMaxHistory = 100000;
constexpr size_t kMaxText = 255;

std::uint32_t fnv1a(std::string_view bytes) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

// ---- Writing

void put_int(std::string& out, int value) {
    char buffer[16];
    int n = std::snprintf(buffer, sizeof buffer, " %d", value);
    out.append(buffer, static_cast<size_t>(n));
}

void put_ints(std::string& out, std::initializer_list<int> values) {
    for (int v : values)
        put_int(out, v);
}

void put_float(std::string& out, float value) {
    char buffer[32];
    int n = std::snprintf(buffer, sizeof buffer, " %.9g", static_cast<double>(value));
    out.append(buffer, static_cast<size_t>(n));
}

void put_text(std::string& out, const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    out += " =";
    for (unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F || c == '%') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
}

void end_line(std::string& out) {
    out += "\r\n";
}

void put_game(std::string& out, const char* tag, const GameSettings& g) {
    out += tag;
    put_ints(out, {g.start_score, g.round_limit, g.round, g.leg_limit, g.max_leg, g.best_of, g.p1_start_score,
                   g.p2_start_score, g.p1_com, g.p2_com, g.p1_com_level, g.p2_com_level, g.schedule_entry});
    put_text(out, g.p1_name);
    put_text(out, g.p2_name);
    end_line(out);
}

void put_record(std::string& out, const GameRecord& r) {
    out += "record";
    put_ints(out, {r.schedule_mode, r.archived, r.start_score, r.set_no, r.leg_no, r.leg_limit, r.max_leg,
                   r.best_of, r.round_limit, r.round});
    put_text(out, r.csv_name);
    end_line(out);
    for (const PlayerBlock& p : r.player) {
        out += "player";
        put_text(out, p.name);
        put_ints(out, {p.start_score, p.left, p.sets, p.legs, p.tons, p.one80s, p.high_off, p.short_});
        put_float(out, p.avg_score);
        put_float(out, p.avg_darts);
        put_ints(out, {p.carried_tons, p.carried_180s, p.carried_high_off, p.carried_short});
        put_float(out, p.carried_avg_score);
        put_float(out, p.carried_avg_darts);
        put_ints(out, {p.com, p.com_level, p.com_result});
        end_line(out);
    }
    for (const LegRecord& l : r.leg_records) {
        out += "leg";
        put_ints(out, {l.cur_round, l.turn, l.rows, l.capacity, l.first, l.finished, l.winner, l.win_darts,
                       l.checkout, l.tons[0], l.tons[1], l.one80s[0], l.one80s[1], l.left[0], l.left[1],
                       l.darts[0], l.darts[1]});
        end_line(out);
        for (const std::vector<int>& cells : l.scores) {
            size_t used = cells.size();
            while (used > 0 && cells[used - 1] == 0)
                --used;
            out += "cells";
            for (size_t i = 0; i < used; ++i)
                put_int(out, cells[i]);
            end_line(out);
        }
    }
}

void put_head(std::string& out, const JournalSource& s) {
    out += "tx9 journal";
    put_int(out, kJournalVersion);
    end_line(out);
    put_game(out, "game", s.game);
    out += "schedule";
    put_int(out, static_cast<int>(s.schedule.size()));
    end_line(out);
    for (const GameSettings& entry : s.schedule)
        put_game(out, "entry", entry);
    out += "history";
    put_int(out, static_cast<int>(s.history.size()));
    end_line(out);
}

void put_tail(std::string& out, const JournalSource& s) {
    out += "live";
    end_line(out);
    put_record(out, s.live);
    out += "selection";
    put_ints(out, {s.selection.player, s.selection.round});
    end_line(out);
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "end %08x\r\n", static_cast<unsigned>(fnv1a(out)));
    out += buffer;
}

// ---- Reading

// The lines of the text, each taken off only when it ended in CR LF.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        size_t end = text_.find("\r\n", at_);
        if (end == std::string_view::npos) return false;
        line = text_.substr(at_, end - at_);
        start_ = at_;
        at_ = end + 2;
        return true;
    }
    size_t line_start() const { return start_; }
    bool at_end() const { return at_ == text_.size(); }

  private:
    std::string_view text_;
    size_t at_ = 0;
    size_t start_ = 0;
};

// The blank-separated fields of one line, read in order.
class Fields {
  public:
    explicit Fields(std::string_view line) : line_(line) {}

    bool word(std::string_view& out) {
        if (at_ >= line_.size()) return false;
        size_t end = line_.find(' ', at_);
        if (end == std::string_view::npos) end = line_.size();
        out = line_.substr(at_, end - at_);
        at_ = end == line_.size() ? end : end + 1;
        // Two blanks in a row, or one at the end, are not written by the program.
        return !out.empty() && !(end + 1 == line_.size());
    }
    bool tag(std::string_view expected) {
        std::string_view w;
        return word(w) && w == expected;
    }
    bool integer(int& out) {
        std::string_view w;
        if (!word(w) || w.size() > 11) return false;
        std::string s(w);
        char* end = nullptr;
        errno = 0;
        long long v = std::strtoll(s.c_str(), &end, 10);
        if (errno != 0 || end != s.c_str() + s.size() || v < INT32_MIN || v > INT32_MAX) return false;
        if (!(s[0] == '-' || (s[0] >= '0' && s[0] <= '9'))) return false;
        out = static_cast<int>(v);
        return true;
    }
    bool integer(int& out, int low, int high) { return integer(out) && out >= low && out <= high; }
    bool flag(int& out) { return integer(out, 0, 1); }
    bool real(float& out) {
        std::string_view w;
        if (!word(w) || w.size() > 31) return false;
        std::string s(w);
        char* end = nullptr;
        double v = std::strtod(s.c_str(), &end);
        if (end != s.c_str() + s.size() || !std::isfinite(v) || std::fabs(v) > 3.0e38) return false;
        out = static_cast<float>(v);
        return true;
    }
    bool text(std::string& out) {
        std::string_view w;
        if (!word(w) || w[0] != '=') return false;
        std::string decoded;
        for (size_t i = 1; i < w.size(); ++i) {
            if (w[i] != '%') {
                decoded += w[i];
                continue;
            }
            if (i + 2 >= w.size()) return false;
            int high = hex_digit(w[i + 1]), low = hex_digit(w[i + 2]);
            if (high < 0 || low < 0) return false;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (decoded.size() > kMaxText) return false;
        out = std::move(decoded);
        return true;
    }
    // A text token that stands alone (a name may be empty: "=").
    bool done() const { return at_ >= line_.size(); }

  private:
    static int hex_digit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::string_view line_;
    size_t at_ = 0;
};

class Reader {
  public:
    explicit Reader(std::string_view text) : lines_(text), text_(text) {}

    // The next line, split into fields after checking its tag.
    bool line(std::string_view tag, Fields& fields) {
        std::string_view text;
        if (!lines_.next(text)) return false;
        fields = Fields(text);
        return fields.tag(tag);
    }

    bool game(std::string_view tag, GameSettings& g) {
        Fields f{{}};
        return line(tag, f) && f.integer(g.start_score) && f.flag(g.round_limit) && f.integer(g.round) &&
               f.flag(g.leg_limit) && f.integer(g.max_leg) && f.flag(g.best_of) && f.integer(g.p1_start_score) &&
               f.integer(g.p2_start_score) && f.flag(g.p1_com) && f.flag(g.p2_com) && f.integer(g.p1_com_level) &&
               f.integer(g.p2_com_level) && f.flag(g.schedule_entry) && f.text(g.p1_name) && f.text(g.p2_name) &&
               f.done();
    }

    bool player(PlayerBlock& p) {
        Fields f{{}};
        return line("player", f) && f.text(p.name) && f.integer(p.start_score) && f.integer(p.left) &&
               f.integer(p.sets, 0, INT32_MAX) && f.integer(p.legs, 0, INT32_MAX) && f.integer(p.tons) &&
               f.integer(p.one80s) && f.integer(p.high_off) && f.integer(p.short_) && f.real(p.avg_score) &&
               f.real(p.avg_darts) && f.integer(p.carried_tons) && f.integer(p.carried_180s) &&
               f.integer(p.carried_high_off) && f.integer(p.carried_short) && f.real(p.carried_avg_score) &&
               f.real(p.carried_avg_darts) && f.flag(p.com) && f.integer(p.com_level) &&
               f.integer(p.com_result, -5, 180) && f.done();
    }

    bool cells(std::vector<int>& cells, int capacity) {
        Fields f{{}};
        if (!line("cells", f)) return false;
        cells_budget_ -= capacity + 1;
        if (cells_budget_ < 0) return false;
        cells.assign(static_cast<size_t>(capacity) + 1, 0);
        for (size_t i = 0; !f.done(); ++i) {
            if (i >= cells.size() || !f.integer(cells[i], -3, 180)) return false;
        }
        return true;
    }

    bool leg(LegRecord& l) {
        Fields f{{}};
        if (!(line("leg", f) && f.integer(l.cur_round, 0, kMaxRounds) && f.flag(l.turn) &&
              f.integer(l.rows, 0, kMaxRounds) && f.integer(l.capacity, 0, kMaxRounds) && f.flag(l.first) &&
              f.flag(l.finished) && f.flag(l.winner) && f.integer(l.win_darts) && f.integer(l.checkout) &&
              f.integer(l.tons[0]) && f.integer(l.tons[1]) && f.integer(l.one80s[0]) && f.integer(l.one80s[1]) &&
              f.integer(l.left[0]) && f.integer(l.left[1]) && f.integer(l.darts[0]) && f.integer(l.darts[1]) &&
              f.done()))
            return false;
        if (!(l.cur_round <= l.rows && l.rows <= l.capacity)) return false;
        return cells(l.scores[0], l.capacity) && cells(l.scores[1], l.capacity);
    }

    bool record(GameRecord& r) {
        Fields f{{}};
        if (!(line("record", f) && f.flag(r.schedule_mode) && f.flag(r.archived) && f.integer(r.start_score) &&
              f.integer(r.set_no, 0, INT32_MAX - 1) && f.integer(r.leg_no, 0, kMaxRounds) && f.flag(r.leg_limit) &&
              f.integer(r.max_leg) && f.flag(r.best_of) && f.flag(r.round_limit) && f.integer(r.round) &&
              f.text(r.csv_name) && f.done()))
            return false;
        if (!player(r.player[0]) || !player(r.player[1])) return false;
        r.leg_records.clear();
        for (int i = 0; i <= r.leg_no; ++i) {
            r.leg_records.emplace_back();
            if (!leg(r.leg_records.back())) return false;
            // Only the last leg of a set can still be open.
            if (i < r.leg_no && r.leg_records.back().finished != 1) return false;
        }
        return true;
    }

    bool count(std::string_view tag, int& n, int high) {
        Fields f{{}};
        return line(tag, f) && f.integer(n, 0, high) && f.done();
    }

    JournalRead read(JournalState& s, bool check_sum) {
        Fields f{{}};
        int version = 0;
        if (!line("tx9", f) || !f.tag("journal") || !f.integer(version) || !f.done())
            return JournalRead::damaged;
        if (version > kJournalVersion) return JournalRead::newer;
        if (version != kJournalVersion) return JournalRead::damaged;

        int n = 0;
        if (!game("game", s.game) || !count("schedule", n, kMaxScheduleEntries)) return JournalRead::damaged;
        s.schedule.resize(static_cast<size_t>(n));
        for (GameSettings& entry : s.schedule)
            if (!game("entry", entry)) return JournalRead::damaged;
        if (!count("history", n, kMaxHistory)) return JournalRead::damaged;
        for (int i = 0; i < n; ++i) {
            s.history.emplace_back();
            if (!record(s.history.back())) return JournalRead::damaged;
        }
        if (!line("live", f) || !f.done() || !record(s.live)) return JournalRead::damaged;
        if (!line("selection", f) || !f.flag(s.selection.player) ||
            !f.integer(s.selection.round, -1, kMaxRounds) || !f.done())
            return JournalRead::damaged;

        std::string_view end;
        if (!lines_.next(end) || !lines_.at_end()) return JournalRead::damaged;
        const size_t summed = lines_.line_start();
        char expected[16];
        std::snprintf(expected, sizeof expected, "end %08x", static_cast<unsigned>(fnv1a(text_before(summed))));
        if (end.size() != 12 || end.substr(0, 4) != "end ") return JournalRead::damaged;
        if (check_sum && end != expected) return JournalRead::damaged;
        return JournalRead::ok;
    }

  private:
    std::string_view text_before(size_t n) const { return text_.substr(0, n); }

    Lines lines_;
    std::string_view text_;
    long long cells_budget_ = kMaxCells;
};

} // namespace

std::string format_journal(const JournalSource& source) {
    std::string out;
    put_head(out, source);
    for (const GameRecord& record : source.history)
        put_record(out, record);
    put_tail(out, source);
    return out;
}

const std::string& JournalWriter::format(const JournalSource& source) {
    const std::vector<GameRecord>& history = source.history;
    // Finished sets do not change; a history that was cleared and filled
    // again is told by the last set written no longer being where it was.
    if (history.size() < history_done_ ||
        (history_done_ > 0 && history[history_done_ - 1].csv_name != last_name_)) {
        history_text_.clear();
        history_done_ = 0;
    }
    for (; history_done_ < history.size(); ++history_done_)
        put_record(history_text_, history[history_done_]);
    if (history_done_ > 0) last_name_ = history[history_done_ - 1].csv_name;
    text_.clear();
    put_head(text_, source);
    text_ += history_text_;
    put_tail(text_, source);
    return text_;
}

JournalRead parse_journal(std::string_view text, JournalState& out, bool check_sum) {
    try {
        Reader reader(text);
        JournalState state;
        JournalRead result = reader.read(state, check_sum);
        if (result == JournalRead::ok) out = std::move(state);
        return result;
    } catch (const std::bad_alloc&) {
        return JournalRead::damaged;
    }
}

} // namespace tx9
