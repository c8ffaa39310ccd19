// The match rules driven by arbitrary sheet commands, typed entries, dialog
// answers and new games: after every step the Game record and the history keep
// their invariants, and a record's CSV is exactly as long as measured.
#include "engine/game_flow.h"
#include "engine/match.h"
#include "fuzz_check.h"
#include "records/csv_export.h"
#include "support/fake_system.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace tx9;

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return size_ == 0; }
    int byte() {
        if (size_ == 0) return 0;
        --size_;
        return *data_++;
    }
    int below(int n) { return byte() % n; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// The operator's answers come from the input; the entry field is a string.
class Host : public MatchHost, public GameFlowHost {
  public:
    explicit Host(Input& input) : in(input) {}
    Input& in;
    Match* match = nullptr;
    GameFlow* flow = nullptr;
    std::string entry;

    int ask_finishing_dart(int) override { return in.below(4); }
    bool ask_leg_winner(GameRecord& record) override {
        const int answer = in.below(3);
        if (answer == 2) return false;
        record.current_leg().winner = answer;
        return true;
    }
    bool ask_yes_no(const std::string&) override { return in.below(2) == 1; }
    bool show_finish_message(const std::string&, const std::string&, bool ok_only) override {
        return ok_only || in.below(2) == 1;
    }
    void show_information(const std::string&) override {}
    void show_error(const std::string&) override {}
    void beep() override {}
    void reposition_entry(bool, bool load_cell) override {
        if (match->shown().finished == 1)
            entry.clear();
        else if (load_cell)
            entry = match->loaded_entry_text();
    }
    void repaint_from_round(int) override {}
    void update_scroll_bar() override {}
    std::string entry_text() override { return entry; }
    void set_entry_text(const std::string& text) override { entry = text; }
    long notify(int message, int, int) override {
        return message == kNotifySetOver && flow->set_over() ? 1 : 0;
    }
    void start_com_timer(bool) override {}
    bool auto_save(const GameRecord& record) override {
        check_csv(record);
        return true;
    }
    void start_leg() override { match->start_leg(); }
    void refresh_player_panels() override {}
    void set_leg_limit(bool) override {}

    static void check_csv(const GameRecord& record) {
        const std::size_t measured = measure_csv(record);
        const std::size_t written = format_csv(record).size();
        FUZZ_CHECK(measured == written, "CSV measured %zu, formatted %zu", measured, written);
    }
};

void check_record(const GameRecord& r, bool archived_copy) {
    FUZZ_CHECK(r.leg_no >= 0 && r.leg_records.size() == static_cast<std::size_t>(r.leg_no) + 1,
               "leg_no %d with %zu legs", r.leg_no, r.leg_records.size());
    for (int i = 0; i <= r.leg_no; ++i) {
        const LegRecord& leg = r.leg(i);
        FUZZ_CHECK(i == r.leg_no || leg.finished == 1, "leg %d of %d unfinished", i, r.leg_no);
        FUZZ_CHECK(0 <= leg.cur_round && leg.cur_round <= leg.rows && leg.rows <= leg.capacity,
                   "leg %d: round %d rows %d capacity %d", i, leg.cur_round, leg.rows, leg.capacity);
        FUZZ_CHECK(leg.cur_round < leg.rows || leg.finished == 1 ||
                       (r.round_limit == 1 && leg.rows == r.round),
                   "leg %d: open at round %d of %d rows", i, leg.cur_round, leg.rows);
        FUZZ_CHECK((leg.turn == 0 || leg.turn == 1) && (leg.first == 0 || leg.first == 1), "turn %d first %d",
                   leg.turn, leg.first);
        for (int p = 0; p < 2; ++p) {
            const std::vector<int>& cells = leg.scores[static_cast<std::size_t>(p)];
            FUZZ_CHECK(cells.size() == static_cast<std::size_t>(leg.capacity) + 1, "leg %d: %zu cells for %d",
                       i, cells.size(), leg.capacity);
            long long sum = 0;
            for (int cell : cells) {
                FUZZ_CHECK(cell >= -3 && cell <= 180, "leg %d: cell %d", i, cell);
                sum += cell;
            }
            const PlayerBlock& player = r.player[static_cast<std::size_t>(p)];
            // An archived set ends with the next leg, made but never started: all zero.
            const bool never_started = archived_copy && leg.left[0] == 0 && leg.left[1] == 0 && sum == 0;
            if (leg.finished == 0 && !never_started) {
                // (A corrected earlier visit may take it below zero: later ones are not checked again.)
                FUZZ_CHECK(leg.left[p] == player.start_score - sum,
                           "leg %d player %d: left %d, start %d, scored %lld", i, p, leg.left[p],
                           player.start_score, sum);
                if (!archived_copy)
                    FUZZ_CHECK(player.left == leg.left[p], "player %d left %d, leg says %d", p, player.left,
                               leg.left[p]);
            }
        }
    }
    for (const PlayerBlock& player : r.player) {
        FUZZ_CHECK(player.legs >= 0 && player.legs <= r.leg_no + 1, "%d legs won in %d", player.legs,
                   r.leg_no);
        if (archived_copy)
            FUZZ_CHECK(player.carried_tons == 0 && player.carried_180s == 0 && player.carried_high_off == 0 &&
                           player.carried_short == 0 && player.carried_avg_score == 0 &&
                           player.carried_avg_darts == 0,
                       "a history copy carries statistics");
    }
    Host::check_csv(r);
}

GameSettings game_from(Input& in) {
    static const int kStartScores[] = {2, 3, 41, 101, 170, 301, 501};
    GameSettings g;
    g.start_score = kStartScores[in.below(7)];
    g.round_limit = in.below(2);
    g.round = 1 + in.below(12);
    g.leg_limit = in.below(2);
    g.max_leg = 1 + in.below(5);
    g.best_of = in.below(2);
    g.p1_start_score = in.below(4) == 0 ? 2 + in.below(200) : 0;
    g.p2_start_score = in.below(4) == 0 ? 2 + in.below(200) : 0;
    g.p1_name = "Ann";
    return g;
}

// What the operator types: mostly visits, sometimes text no visit is.
std::string typed(Input& in) {
    static const char* kOdd[] = {"", "-1", "abc", "0180", "999", "18O", " 60", "2147483648"};
    const int pick = in.byte();
    return pick < 240 ? std::to_string(pick % 181) : kOdd[pick % 8];
}

void step(Input& in, Host& host, Match& match, GameFlow& flow, Settings& settings, GameRecord& record) {
    const int command = in.below(20);
    // TX9_FUZZ_TRACE=1 shows the steps of a saved input when it is run again.
    static const bool trace = std::getenv("TX9_FUZZ_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "step %d (leg %d round %d turn %d sel %d,%d left %d,%d)\n", command,
                     record.leg_no, record.current_leg().cur_round, record.current_leg().turn,
                     match.sel_player(), match.sel_round(), record.player[0].left, record.player[1].left);
    switch (command) {
    case 0:
        host.entry = typed(in);
        match.tab_key();
        break;
    case 1:
        host.entry = typed(in);
        match.enter_key();
        break;
    case 2: host.entry = typed(in); break;
    case 3: match.escape_key(); break;
    case 4: match.up_key(); break;
    case 5: match.down_key(); break;
    case 6: match.shift_tab_key(); break;
    case 7: match.home_key(); break;
    case 8: match.end_key(); break;
    case 9: match.cell_left(); break;
    case 10: match.cell_right(); break;
    case 11: match.finish_by_menu(1 + in.below(3)); break;
    case 12: match.middle_for_diddle(); break;
    case 13: match.exchange_scores(); break;
    case 14: match.clear_scores(); break;
    case 15:
        host.entry = typed(in);
        match.left_score_input();
        break;
    case 16: match.enter_template(in.below(181), in.below(2) == 1); break;
    case 17: match.select(in.below(2), in.below(14) - 1); break;
    case 18: match.show_leg(in.below(8)); break;
    case 19:
        settings.game = game_from(in);
        if (flow.start_new_game()) {
            match.set_record(record);
            match.start_leg();
        }
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tx9::test::ScopedFakeSystem fake;
    Input in(data, size);
    Settings settings;
    settings.game = game_from(in);
    GameRecord record;
    History history;
    history.live = &record;
    Host host(in);
    GameFlow flow(record, history, settings, host);
    Match match(record, host, settings);
    host.match = &match;
    host.flow = &flow;
    if (!flow.start_first_set()) return 0;
    match.set_record(record);
    match.start_leg();

    for (int steps = 0; steps < 400 && !in.empty(); ++steps) {
        step(in, host, match, flow, settings, record);
        check_record(record, false);
    }
    for (const GameRecord& copy : history.records)
        check_record(copy, true);
    return 0;
}
