#include "records/csv_export.h"
#include "res/resource.h"

#include "core/system.h"
#include "core/text.h"
#include "records/file_util.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace tx9 {

namespace {


// Measuring and formatting both run walk_csv below, one with each of these
// sinks, so the measured length is the formatted length by construction.
class CountingSink {
  public:
    void text(std::string_view s) { size_ += s.size(); }
    void number(long long value) {
        char digits[24];
        size_ += static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    }
    size_t size() const { return size_; }

  private:
    size_t size_ = 0;
};

class TextSink {
  public:
    explicit TextSink(std::string& out) : out_(out) {}
    void text(std::string_view s) { out_.append(s); }
    void number(long long value) {
        char digits[24];
        out_.append(digits,
                    static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
    }

  private:
    std::string& out_;
};

int score_cell(const LegRecord& leg, int player, int round) {
    const std::vector<int>& cells = leg.scores[static_cast<size_t>(player)];
    return round >= 0 && static_cast<size_t>(round) < cells.size() ? cells[static_cast<size_t>(round)] : 0;
}

// A player's pair of a round is written once that visit is in: every round
// before cur_round, and cur_round itself for the first thrower when the
// second has not thrown yet.
bool visit_entered(const LegRecord& leg, int player, int round) {
    return round < leg.cur_round || (round == leg.cur_round && player == leg.first && leg.turn != player);
}

template <class Sink> void walk_leg(const GameRecord& record, const LegRecord& leg, Sink& out) {
    const long long start[2] = {record.player[0].start_score, record.player[1].start_score};
    if (leg.first == 0) {
        out.text(",*,");
        out.number(start[0]);
        out.text(",,");
    } else {
        out.text(",,");
        out.number(start[0]);
        out.text(",*,");
    }
    out.number(start[1]);
    out.text("\r\n");

    long long to_go[2] = {start[0], start[1]};
    for (int r = 0; r < leg.rows; ++r) {
        out.number(r + 1);
        for (int p = 0; p < 2; ++p) {
            if (!visit_entered(leg, p, r)) {
                out.text(",,");
                continue;
            }
            const long long v = score_cell(leg, p, r);
            if (v >= 0) {
                to_go[p] -= v;
                out.text(",");
                out.number(v);
                out.text(",");
                out.number(to_go[p]);
            } else {
                // The finishing visit: the dart it was won with, and no to-go.
                out.text(",(");
                out.number(-v);
                out.text("),");
            }
        }
        out.text("\r\n");
    }

    if (leg.winner == 0) {
        out.text("Darts,");
        out.number(leg.win_darts);
        out.text(",,,\r\n");
    } else {
        out.text("Darts,,,");
        out.number(leg.win_darts);
        out.text(",\r\n");
    }
}

template <class Sink> void walk_csv(const GameRecord& record, Sink& out) {
    out.text(",");
    out.text(player_display_name(record.player[0]));
    out.text(",,");
    out.text(player_display_name(record.player[1]));
    out.text(",\r\n");
    out.text("Round,Scored,To Go,Scored,To Go\r\n");
    // Only finished legs: the current one (index leg_no) is never written.
    const size_t legs = std::min(static_cast<size_t>(std::max(record.leg_no, 0)), record.leg_records.size());
    for (size_t i = 0; i < legs; ++i)
        walk_leg(record, record.leg_records[i], out);
}

bool refuse_long_path(const std::string& path, std::string* error) {
    if (path.size() <= kMaxPath) return false;
    if (error)
        *error =
            strprintf("The file name is too long to be saved (%u characters; at most %u are possible):\n%s",
                      static_cast<unsigned>(path.size()), static_cast<unsigned>(kMaxPath), path.c_str());
    return true;
}

} // namespace

std::string player_display_name(const PlayerBlock& player) {
    if (player.com == 1)
        return fill_number(system_services().load_string(IDS_COM_NAME), player.com_level + 1);
    return player.name;
}

size_t measure_csv(const GameRecord& record) {
    CountingSink sink;
    walk_csv(record, sink);
    return sink.size();
}

std::string format_csv(const GameRecord& record) {
    std::string text;
    text.reserve(measure_csv(record));
    TextSink sink(text);
    walk_csv(record, sink);
    return text;
}

namespace {
// auto_save_path when set, else "data" in the application folder.
std::string auto_save_folder(const std::string& auto_save_path, const std::string& app_folder) {
    return auto_save_path.empty() ? join_path(app_folder, "data") : auto_save_path;
}
} // namespace

void remove_interrupted_auto_saves(const std::string& auto_save_path, const std::string& app_folder) {
    remove_interrupted_writes(without_trailing_separators(auto_save_folder(auto_save_path, app_folder)), ".csv");
}

std::string auto_save_path_for(const GameRecord& record, const std::string& auto_save_path,
                               const std::string& app_folder, std::string* error) {
    const std::string folder = auto_save_folder(auto_save_path, app_folder);
    std::string full = join_path(folder, record.csv_name);
    // Refused before anything is created: cutting the path would write
    // somewhere else than the user asked.
    if (refuse_long_path(full, error)) return std::string();
    // A folder that cannot be made shows up as the write failure that follows.
    create_directories(without_trailing_separators(folder));
    return full;
}

bool write_csv_file(const GameRecord& record, const std::string& path, std::string* error) {
    if (refuse_long_path(path, error)) return false;
    return write_whole_file(path, format_csv(record), error);
}

bool auto_save_csv(const GameRecord& record, const std::string& auto_save_path, const std::string& app_folder,
                   std::string* error) {
    std::string path = auto_save_path_for(record, auto_save_path, app_folder, error);
    return !path.empty() && write_csv_file(record, path, error);
}

} // namespace tx9
