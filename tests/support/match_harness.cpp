#include "support/match_harness.h"

#include "core/text.h"
#include "engine/game_rules.h"

#include <cctype>
#include <iomanip>
#include <map>
#include <sstream>

namespace tx9::test {

std::vector<std::string> FakeMatchHost::calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

GameSettings game_of(int start_score) {
    GameSettings g;
    g.start_score = start_score;
    return g;
}

GameSettings rules(int start, int p2_start, int rounds, int p2_com, int max_leg) {
    GameSettings g = game_of(start);
    g.p2_start_score = p2_start, g.round_limit = rounds > 0, g.round = rounds;
    g.p2_com = p2_com, g.leg_limit = max_leg > 0, g.max_leg = max_leg;
    return g;
}

Table::Table(const GameSettings& game, int auto_save)
    : flow(record, history, settings, flow_host), match(record, host, settings) {
    settings.game = game, settings.auto_save = auto_save, history.live = &record;
    host.match = &match, host.flow = &flow, flow_host.match = &match;
    EXPECT_TRUE(flow.start_first_set());
    EXPECT_TRUE(flow_host.log.empty()) << "the first set is set up quietly";
    match.set_record(record);
    match.start_leg();
    host.clear();
    flow_host.log.clear();
}

void Table::visit(int points) {
    host.entry = std::to_string(points);
    match.tab_key();
}

void Table::play(const std::string& script) {
    static const std::map<std::string, int> keys = {
        {"enter", kCmdEnter},       {"esc", kCmdEscape},       {"up", kCmdUp},
        {"down", kCmdDown},         {"tab", kCmdTab},          {"stab", kCmdShiftTab},
        {"home", kCmdHome},         {"end", kCmdEnd},          {"left", kCmdCellLeft},
        {"right", kCmdCellRight},   {"finish1", kCmdFinish1},  {"finish2", kCmdFinish2},
        {"finish3", kCmdFinish3},   {"lscore", kCmdLeftScore}, {"mfd", kCmdMiddleForDiddle},
        {"exchange", kCmdExchange}, {"clear", kCmdClear}};
    std::istringstream in(script);
    for (std::string step; in >> step;) {
        auto n = [&step] { return std::stoi(step.substr(1)); };
        if (keys.count(step)) {
            match.run_command(keys.at(step));
        } else if (std::isdigit(static_cast<unsigned char>(step[0]))) {
            visit(std::stoi(step));
        } else if (step[0] == '=') {
            host.entry = step.substr(1);
        } else if (step[0] == 'w') {
            win_leg(n());
        } else if (step[0] == 'f' || step[0] == 'c') {
            host.darts.push_back(n());
            host.finish_oks.push_back(step[0] == 'f');
            visit(remaining(record, record.leg_no, match.sel_round() - 1, match.sel_player()));
        } else if (step[0] == 'a') {
            host.leg_winners.push_back(n());
        } else if (step[0] == 'y') {
            host.yes_no.push_back(n() != 0);
        } else if (step[0] == 't') {
            match.enter_template(n(), true);
        } else if (step[0] == 'k') {
            match.escape_key();
            player(leg().turn).com_result = n();
            match.apply_com_result(leg().turn);
        } else {
            ADD_FAILURE() << "unknown step " << step;
        }
    }
}

void Table::round(int first_points, int second_points) {
    match.escape_key();
    visit(first_points);
    visit(second_points);
}

void Table::win_leg(int p) {
    const int set = record.set_no, leg_no = record.leg_no;
    for (int guard = 0; guard < 2000; ++guard) {
        if (record.set_no != set || record.leg_no != leg_no || leg().finished == 1) return;
        match.escape_key();
        int who = match.sel_player();
        if (who == p && player(p).left <= 180 && player(p).left > 0) return play("f3");
        visit(who == p ? 60 : 0);
    }
    ADD_FAILURE() << "leg did not end";
}

std::string Table::state() {
    const LegRecord& l = leg();
    return strprintf("round %d/%d first %d turn %d sel %d,%d left %d,%d darts %d,%d", l.cur_round, l.rows,
                     l.first, l.turn, match.sel_player(), match.sel_round(), player(0).left, player(1).left,
                     l.darts[0], l.darts[1]);
}

std::string Table::progress() {
    return strprintf("set %d leg %d sets %d,%d archived %d history %d", record.set_no, record.leg_no,
                     player(0).sets, player(1).sets, record.archived, int(history.records.size()));
}

template <typename... T> void put(std::ostream& out, const T&... values) {
    ((out << ' ' << values), ...);
}

std::string dump(const GameRecord& r) {
    std::ostringstream out;
    out << std::setprecision(9) << "record";
    put(out, r.schedule_mode, r.archived, r.start_score, r.set_no, r.leg_no, r.leg_limit, r.max_leg,
        r.best_of, r.round_limit, r.round, r.csv_name);
    for (const PlayerBlock& p : r.player) {
        out << "\nplayer";
        put(out, p.name, p.start_score, p.left, p.sets, p.legs, p.tons, p.one80s, p.high_off, p.short_,
            p.carried_tons, p.carried_180s, p.carried_high_off, p.carried_short, p.com, p.com_level,
            p.com_result, p.avg_score, p.avg_darts, p.carried_avg_score, p.carried_avg_darts);
    }
    for (const LegRecord& l : r.leg_records) {
        out << "\nleg";
        put(out, l.cur_round, l.turn, l.rows, l.capacity, l.first, l.finished, l.winner, l.win_darts,
            l.checkout, l.tons[0], l.tons[1], l.one80s[0], l.one80s[1], l.left[0], l.left[1], l.darts[0],
            l.darts[1]);
        for (const std::vector<int>& cells : l.scores) {
            out << " |";
            for (int v : cells)
                out << ' ' << v;
        }
    }
    return out.str();
}

} // namespace tx9::test
