#include "support/match_harness.h"

#include "engine/game_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tx9::test {

namespace {
std::string flag(bool b) {
    return b ? "1" : "0";
}
} // namespace

int FakeMatchHost::ask_finishing_dart(int finish) {
    log.push_back("ask_dart " + std::to_string(finish));
    if (darts.empty()) {
        ADD_FAILURE() << "Finish dialog opened for " << finish << " with no answer scripted";
        return 0;
    }
    int d = darts.front();
    darts.pop_front();
    return d;
}

bool FakeMatchHost::ask_leg_winner(GameRecord& record) {
    log.push_back("ask_winner");
    if (leg_winners.empty()) {
        ADD_FAILURE() << "Middle-for-Diddle dialog opened with no answer scripted";
        return false;
    }
    int w = leg_winners.front();
    leg_winners.pop_front();
    if (w < 0) return false;
    record.current_leg().winner = w;
    return true;
}

bool FakeMatchHost::ask_yes_no(const std::string& text) {
    log.push_back("ask " + text);
    if (yes_no.empty()) {
        ADD_FAILURE() << "question \"" << text << "\" with no answer scripted";
        return false;
    }
    bool yes = yes_no.front();
    yes_no.pop_front();
    return yes;
}

bool FakeMatchHost::show_finish_message(const std::string& text, const std::string& title, bool ok_only) {
    log.push_back("finish_message " + text + " | " + title + " | " + flag(ok_only));
    if (ok_only) return true;
    if (finish_oks.empty()) {
        ADD_FAILURE() << "finish message \"" << text << "\" with no answer scripted";
        return true;
    }
    bool ok = finish_oks.front();
    finish_oks.pop_front();
    return ok;
}

void FakeMatchHost::show_information(const std::string& text) {
    log.push_back("info " + text);
}
void FakeMatchHost::show_error(const std::string& text) {
    log.push_back("error " + text);
}
void FakeMatchHost::beep() {
    log.push_back("beep");
}

void FakeMatchHost::reposition_entry(bool scroll_into_view, bool load_cell) {
    log.push_back("reposition " + flag(scroll_into_view) + " " + flag(load_cell));
    if (!match) return;
    // As the sheet does: hidden and emptied on a finished leg, else loaded when asked.
    if (match->shown().finished == 1)
        entry.clear();
    else if (load_cell)
        entry = match->loaded_entry_text();
}

void FakeMatchHost::repaint_from_round(int round) {
    log.push_back("repaint " + std::to_string(round));
}
void FakeMatchHost::update_scroll_bar() {
    log.push_back("scroll");
}
void FakeMatchHost::set_entry_text(const std::string& text) {
    log.push_back("set_entry " + text);
    entry = text;
}

long FakeMatchHost::notify(int message, int wparam, int lparam) {
    log.push_back("notify " + std::to_string(message) + " " + std::to_string(wparam) + " " +
                  std::to_string(lparam));
    if (message == kNotifySetOver && flow) return flow->set_over() ? 1 : 0;
    return 0;
}

void FakeMatchHost::start_com_timer(bool disable_main_window) {
    log.push_back("com_timer " + flag(disable_main_window));
}

bool FakeMatchHost::auto_save(const GameRecord& record) {
    log.push_back("auto_save");
    saved_leg_counts.push_back(record.leg_no);
    return auto_save_ok;
}

std::vector<std::string> FakeMatchHost::calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

int FakeMatchHost::count(const std::string& line) const {
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

void FakeFlowHost::start_leg() {
    log.push_back("start_leg");
    if (match) match->start_leg();
}

GameSettings game_of(int start_score) {
    GameSettings g;
    g.start_score = start_score;
    return g;
}

Table::Table(const GameSettings& game, int auto_save)
    : flow(record, history, settings, flow_host), match(record, host, settings) {
    settings.game = game;
    settings.auto_save = auto_save;
    history.live = &record;
    host.match = &match;
    host.flow = &flow;
    flow_host.match = &match;
    EXPECT_TRUE(flow.start_first_set());
    match.set_record(record);
    match.start_leg();
    host.clear();
    flow_host.log.clear();
}

void Table::visit(int points) {
    host.entry = std::to_string(points);
    match.tab_key();
}

void Table::round(int first_points, int second_points) {
    match.escape_key();
    visit(first_points);
    visit(second_points);
}

void Table::win_leg(int p) {
    const int set = record.set_no;
    const int leg_no = record.leg_no;
    for (int guard = 0; guard < 2000; ++guard) {
        if (record.set_no != set || record.leg_no != leg_no || leg().finished == 1) return;
        match.escape_key();
        int who = match.sel_player();
        if (who == p && left(p) <= 180 && left(p) > 0) {
            host.darts.push_back(3);
            host.finish_oks.push_back(true);
            visit(left(p));
            return;
        }
        visit(who == p ? 60 : 0);
    }
    ADD_FAILURE() << "leg did not end";
}

} // namespace tx9::test

namespace tx9 {

bool operator==(const LegRecord& a, const LegRecord& b) {
    return a.cur_round == b.cur_round && a.turn == b.turn && a.rows == b.rows && a.capacity == b.capacity &&
           a.scores == b.scores && a.first == b.first && a.finished == b.finished && a.winner == b.winner &&
           a.win_darts == b.win_darts && a.checkout == b.checkout && a.tons == b.tons &&
           a.one80s == b.one80s && a.left == b.left && a.darts == b.darts;
}

bool operator==(const PlayerBlock& a, const PlayerBlock& b) {
    return a.name == b.name && a.start_score == b.start_score && a.left == b.left && a.sets == b.sets &&
           a.legs == b.legs && a.tons == b.tons && a.one80s == b.one80s && a.high_off == b.high_off &&
           a.short_ == b.short_ && a.avg_score == b.avg_score && a.avg_darts == b.avg_darts &&
           a.carried_tons == b.carried_tons && a.carried_180s == b.carried_180s &&
           a.carried_high_off == b.carried_high_off && a.carried_short == b.carried_short &&
           a.carried_avg_score == b.carried_avg_score && a.carried_avg_darts == b.carried_avg_darts &&
           a.com == b.com && a.com_level == b.com_level && a.com_result == b.com_result;
}

bool operator==(const GameRecord& a, const GameRecord& b) {
    return a.schedule_mode == b.schedule_mode && a.archived == b.archived && a.start_score == b.start_score &&
           a.set_no == b.set_no && a.leg_no == b.leg_no && a.leg_limit == b.leg_limit &&
           a.max_leg == b.max_leg && a.best_of == b.best_of && a.round_limit == b.round_limit &&
           a.round == b.round && a.csv_name == b.csv_name && a.player[0] == b.player[0] &&
           a.player[1] == b.player[1] && a.leg_records == b.leg_records;
}

std::ostream& operator<<(std::ostream& out, const LegRecord& l) {
    out << "{cur_round " << l.cur_round << " turn " << l.turn << " rows " << l.rows << " capacity "
        << l.capacity << " first " << l.first << " finished " << l.finished << " winner " << l.winner
        << " win_darts " << l.win_darts << " checkout " << l.checkout << " left " << l.left[0] << "/"
        << l.left[1] << " darts " << l.darts[0] << "/" << l.darts[1] << " cells";
    for (size_t p = 0; p < 2; ++p) {
        out << " [";
        for (int v : l.scores[p])
            out << v << ' ';
        out << ']';
    }
    return out << '}';
}

std::ostream& operator<<(std::ostream& out, const GameRecord& r) {
    out << "{set " << r.set_no << " leg " << r.leg_no << " start " << r.start_score << " archived "
        << r.archived;
    for (const PlayerBlock& p : r.player)
        out << " [" << p.name << " left " << p.left << " sets " << p.sets << " legs " << p.legs << " tons "
            << p.tons << " high " << p.high_off << " short " << p.short_ << " avg " << p.avg_score << "/"
            << p.avg_darts << ']';
    for (const LegRecord& l : r.leg_records)
        out << ' ' << l;
    return out << '}';
}

} // namespace tx9
