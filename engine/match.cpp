#include "engine/match.h"
#include "res/resource.h"

#include "core/system.h"
#include "core/text.h"
#include "engine/game_rules.h"
#include "engine/statistics.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tx9 {

namespace {

constexpr int kMaxVisit = 180;

int other(int player) {
    return 1 - player;
}

// Room in both score arrays for one more row: capacity grows by a block when
// rows + 1 would exceed it, the old cells kept. False, with the leg unchanged
// (a larger array may be left behind, unused), when memory runs out.
bool grow_for_next_row(LegRecord& leg) {
    if (leg.rows + 1 <= leg.capacity) return true;
    const int capacity = leg.capacity + kRoundsPerBlock;
    try {
        for (std::vector<int>& cells : leg.scores)
            if (static_cast<int>(cells.size()) < capacity + 1)
                cells.resize(static_cast<size_t>(capacity) + 1, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    leg.capacity = capacity;
    return true;
}

int& cell(LegRecord& leg, int player, int round) {
    return leg.scores[static_cast<size_t>(player)][static_cast<size_t>(round)];
}

std::string text_of(int id) {
    return system_services().load_string(id);
}

} // namespace

// ---------------------------------------------------------------------------
// Sheet geometry

int visible_rows(const SheetGeometry& g) {
    if (g.row_height <= 0) return 0;
    return (g.client_height - g.header_height) / g.row_height;
}

CellHit hit_test_cell(const SheetGeometry& g, const LegRecord& leg, int x, int y) {
    CellHit miss;
    int u = g.client_width / 17;
    int player;
    if (x >= 0 && x < 7 * u)
        player = 0;
    else if (x > 10 * u && x < g.client_width)
        player = 1;
    else
        return miss;
    if (y < g.header_height || g.row_height <= 0) return miss;
    int round = (y - g.header_height) / g.row_height + g.top_row - 1;
    if (round > leg.cur_round) round = leg.cur_round;
    if (round >= leg.rows) return miss;
    return CellHit{true, player, round};
}

int scroll_into_view(int sel_round, int top_row, int visible, int max_top_row) {
    if (sel_round + 1 < top_row) top_row = sel_round + 1;
    if (sel_round + 1 > top_row + visible - 1) top_row = std::min(sel_round + 2 - visible, max_top_row);
    return top_row;
}

SheetScroll sheet_scroll(int rows, int visible, int top_row) {
    SheetScroll s;
    if (visible >= rows + 1) return s;
    s.enabled = true;
    s.max_top_row = rows - visible + 1;
    s.top_row = std::min(top_row, s.max_top_row);
    s.range_max = rows;
    s.page = visible;
    return s;
}

EntryRect entry_rect(const SheetGeometry& g, int player, int round) {
    int u = g.client_width / 17;
    EntryRect r;
    r.x = player == 0 ? 0 : 10 * u + 1;
    r.y = (std::max(round, 0) - g.top_row + 1) * g.row_height + g.header_height + 1;
    r.width = player == 0 ? 3 * u : 3 * u - 1;
    r.height = g.row_height - 1;
    return r;
}

// ---------------------------------------------------------------------------
// State

Match::Match(GameRecord& record, MatchHost& host, const Settings& settings)
    : record_(&record), host_(host), settings_(settings) {
    shown_leg_ = std::max(record.leg_no, 0);
    sel_player_ = record.leg_records.empty() ? 0 : shown().first;
}

void Match::set_record(GameRecord& record) {
    record_ = &record;
    shown_leg_ = std::max(record.leg_no, 0);
}

void Match::show_leg(int index) {
    shown_leg_ = std::clamp(index, 0, std::max(record_->leg_no, 0));
    // A round picked on a longer leg is not a cell of this one: the selection stays inside it.
    const LegRecord& leg = shown();
    sel_round_ = std::min(sel_round_, std::max(0, std::min(leg.cur_round, leg.rows - 1)));
}

std::string Match::loaded_entry_text() const {
    const LegRecord& leg = shown();
    int round = std::max(sel_round_, 0);
    if (round == leg.cur_round && (sel_player_ == leg.turn || sel_player_ != leg.first)) return std::string();
    const std::vector<int>& cells = leg.scores[static_cast<size_t>(sel_player_)];
    if (round >= static_cast<int>(cells.size())) return std::string();
    return strprintf("%d", cells[static_cast<size_t>(round)]);
}

bool Match::selected_is_com() const {
    return record_->player[static_cast<size_t>(sel_player_)].com == 1;
}

bool Match::either_com() const {
    return record_->player[0].com == 1 || record_->player[1].com == 1;
}

void Match::reposition(bool scroll_into_view, bool load_cell) {
    host_.reposition_entry(scroll_into_view, load_cell);
    // The top of the sheet stands for round 0 once the view is there.
    if (sel_round_ < 0) sel_round_ = 0;
}

void Match::notify(int message, int wparam, int lparam) {
    host_.notify(message, wparam, lparam);
}

void Match::notify_both_players() {
    notify(kNotifyPlayerChanged, 0);
    notify(kNotifyPlayerChanged, 1);
}

void Match::recompute(int player) {
    update_statistics(*record_, shown_leg_, player);
}

// ---------------------------------------------------------------------------
// Rules

bool Match::enter_visit(int points) {
    GameRecord& rec = *record_;
    const int p = sel_player_;
    const int r = sel_round_;
    {
        const LegRecord& leg = shown();
        // A finished leg takes no entries; a round past the current one was never selectable.
        if (leg.finished == 1 || r < 0 || r > leg.cur_round || r >= static_cast<int>(leg.scores[0].size()))
            return false;
    }
    if (points < 0 || points > kMaxVisit) return false;

    const int before = remaining(rec, shown_leg_, r - 1, p);
    if (points == before) {
        int dart = host_.ask_finishing_dart(before);
        if (dart >= 1 && dart <= 3)
            finish_leg(dart, false);
        else
            reposition(false, true);
        return false;
    }
    if (points > before) return cell(shown(), p, r) == points;

    LegRecord& leg = shown();
    // The round this visit completes may need room for one more: made before
    // anything changes, so a failure leaves the leg as it was and open.
    const bool completes_round = r == leg.cur_round && p == leg.turn && p != leg.first;
    if (completes_round && !rec.round_limit && leg.cur_round + 1 >= leg.rows && !grow_for_next_row(leg)) {
        host_.show_error(out_of_memory_text());
        return false;
    }
    PlayerBlock& player = rec.player[static_cast<size_t>(p)];
    cell(leg, p, r) = points;
    player.left = remaining(rec, shown_leg_, leg.cur_round, p);
    leg.left[static_cast<size_t>(p)] = player.left;
    if (r == leg.cur_round)
        leg.darts[static_cast<size_t>(p)] = 3 * leg.cur_round + 3;
    else
        leg.darts[static_cast<size_t>(p)] =
            3 * leg.cur_round + (leg.turn != leg.first && leg.turn != p ? 3 : 0);

    recompute(p);
    notify(kNotifyPlayerChanged, p);

    if (r < leg.cur_round) {
        // A correction: later rounds are not checked again and may go below zero.
        notify(kNotifyActivePlayer, leg.turn);
        host_.repaint_from_round(r);
        return true;
    }

    if (p != leg.turn && p != leg.first) {
        // The second thrower's visit came in first: that player opens the leg.
        leg.first = p;
        host_.repaint_from_round(-1);
        notify(kNotifyFirstThrower, 1);
    }

    if (p != leg.first) {
        leg.turn = leg.first;
        leg.cur_round += 1;
        if (leg.cur_round >= leg.rows) {
            if (rec.round_limit && !either_com()) {
                host_.repaint_from_round(-1);
                if (middle_for_diddle() == 1) return false;
                // Cancelled: the leg stays open with no round left until Middle
                // for Diddle is chosen from the menu.
            } else if (rec.round_limit) {
                leg.finished = 1;
                reposition(false, false);
                host_.repaint_from_round(-1);
                host_.show_information(text_of(IDS_DRAW));
                after_leg_end();
                return false;
            } else {
                leg.rows += 1; // room was made above
                host_.update_scroll_bar();
            }
        }
    } else {
        leg.turn = other(p);
    }

    LegRecord& now = shown();
    if (rec.player[static_cast<size_t>(now.turn)].com == 1) host_.start_com_timer(true);
    notify(kNotifyActivePlayer, now.turn);
    host_.repaint_from_round(r);
    return true;
}

void Match::finish_leg(int dart, bool by_com) {
    GameRecord& rec = *record_;
    const int p = sel_player_;
    const int r = sel_round_;
    const int o = other(p);
    const int n = shown_leg_;
    if (rec.leg(n).finished == 1 || r < 0 || r >= static_cast<int>(rec.leg(n).scores[0].size())) return;

    // Everything a Cancel must put back, taken before the first change.
    GameRecord saved_header;
    LegRecord saved_leg;
    std::vector<LegRecord> legs = std::move(rec.leg_records);
    try {
        saved_header = rec;
        rec.leg_records = std::move(legs);
        saved_leg = rec.leg(n);
    } catch (const std::bad_alloc&) {
        if (rec.leg_records.empty()) rec.leg_records = std::move(legs);
        host_.show_error(out_of_memory_text());
        return;
    }

    LegRecord& leg = rec.leg(n);
    PlayerBlock& winner = rec.player[static_cast<size_t>(p)];
    const int finish = remaining(rec, n, r - 1, p);

    if (r == leg.cur_round && p != leg.turn && p != leg.first) {
        leg.first = p;
        notify(kNotifyFirstThrower, 1);
    }
    cell(leg, p, r) = -dart;
    winner.left = 0;
    if (p != leg.first) {
        leg.turn = leg.first;
        leg.cur_round = r + 1;
    } else {
        leg.turn = o;
        leg.cur_round = r;
    }
    leg.finished = 1;
    reposition(false, false);
    host_.repaint_from_round(-1);

    const int darts = 3 * r + dart;
    winner.legs += 1;
    winner.high_off = std::max(winner.high_off, finish);
    if (winner.short_ == 0 || winner.short_ > darts) winner.short_ = darts;

    leg.winner = p;
    leg.win_darts = darts;
    leg.checkout = finish;
    leg.left[static_cast<size_t>(p)] = 0;
    leg.darts[static_cast<size_t>(p)] = darts;

    PlayerBlock& loser = rec.player[static_cast<size_t>(o)];
    loser.left = remaining(rec, n, leg.cur_round - 1, o);
    leg.left[static_cast<size_t>(o)] = loser.left;
    leg.darts[static_cast<size_t>(o)] = 3 * leg.cur_round;

    recompute(0);
    recompute(1);
    notify_both_players();

    std::string text = strprintf(text_of(IDS_FINISHED_BY).c_str(), dart, darts);
    std::string title = by_com ? std::string("COM") : winner.name;
    if (host_.show_finish_message(text, title, by_com)) {
        after_leg_end();
        return;
    }

    saved_header.leg_records = std::move(rec.leg_records);
    rec = std::move(saved_header);
    rec.leg(n) = std::move(saved_leg);
    reposition(false, false);
    host_.repaint_from_round(-1);
    notify(kNotifyFirstThrower, 0);
    recompute(0);
    recompute(1);
    notify_both_players();
}

void Match::finish_by_menu(int dart) {
    if (shown().finished == 1) return;
    if (selected_is_com()) {
        host_.beep();
        return;
    }
    reposition(false, false);
    int finish = remaining(*record_, shown_leg_, sel_round_ - 1, sel_player_);
    if (finish > 60 * dart) {
        host_.beep();
        return;
    }
    finish_leg(dart, false);
}

int Match::middle_for_diddle() {
    GameRecord& rec = *record_;
    if (shown().finished == 1) return 0;
    reposition(false, false);
    if (!host_.ask_leg_winner(rec)) return 0;

    LegRecord& leg = shown();
    // The dialog writes the winner into the record's current leg, which is the shown one.
    leg.winner = std::clamp(rec.current_leg().winner, 0, 1);
    PlayerBlock& w = rec.player[static_cast<size_t>(leg.winner)];
    w.legs += 1;
    int darts = 3 * leg.cur_round + 1;
    if (w.short_ == 0 || w.short_ > darts) w.short_ = darts;
    leg.finished = 1;
    leg.win_darts = leg.first == leg.turn ? 3 * leg.cur_round + 1 : 3 * leg.cur_round + 4;
    recompute(leg.winner);
    after_leg_end();
    return 1;
}

void Match::after_leg_end() {
    if (leg_over() == 1) start_leg();
}

void Match::start_leg() {
    GameRecord& rec = *record_;
    shown_leg_ = rec.leg_no;
    LegRecord& leg = rec.current_leg();

    LegRecord fresh;
    fresh.first = leg.first;
    fresh.scores = std::move(leg.scores);
    size_new_leg(fresh, rec);
    // The arrays are reused, but a restarted leg that had grown goes back to its first size.
    for (std::vector<int>& cells : fresh.scores)
        cells.assign(static_cast<size_t>(fresh.capacity) + 1, 0);
    fresh.turn = fresh.first;
    for (size_t i = 0; i < 2; ++i) {
        fresh.left[i] = rec.player[i].start_score;
        rec.player[i].left = rec.player[i].start_score;
    }
    leg = std::move(fresh);

    sel_player_ = leg.first;
    sel_round_ = -1;
    show_live_leg();
}

void Match::resume(int player, int round) {
    GameRecord& rec = *record_;
    shown_leg_ = rec.leg_no;
    const LegRecord& leg = shown();
    sel_player_ = player == 1 ? 1 : 0;
    sel_round_ = std::clamp(round, -1, std::max(std::min(leg.cur_round, leg.rows - 1), -1));
    show_live_leg();
}

// The live leg on the sheet from the selection set: scroll bar, cells, entry,
// the displays told, and the COM player started when it is to throw.
void Match::show_live_leg() {
    const GameRecord& rec = *record_;
    const LegRecord& leg = rec.current_leg();
    host_.update_scroll_bar();
    host_.repaint_from_round(-1);
    reposition(true, true);
    notify(kNotifyFirstThrower, 0);
    notify_both_players();
    notify(kNotifyActivePlayer, leg.turn);
    if (leg.finished != 1 && rec.player[static_cast<size_t>(leg.turn)].com == 1) host_.start_com_timer(false);
}

int Match::leg_over() {
    GameRecord& rec = *record_;
    const int previous_first = rec.current_leg().first;
    rec.leg_no += 1;
    // Saved before the next leg exists: the file holds the finished legs 0 to
    // leg_no - 1, and the last leg of a set is saved like every other.
    if (settings_.auto_save == 1) host_.auto_save(rec);
    try {
        rec.leg_records.push_back(new_leg(rec));
    } catch (const std::bad_alloc&) {
        rec.leg_no -= 1;
        host_.show_error(out_of_memory_text());
        return 0;
    }

    rec.current_leg().first = other(previous_first);

    if (rec.leg_limit == 1 && rec.max_leg > 0) {
        const int majority = rec.max_leg / 2 + 1;
        bool decided = rec.best_of == 1 && (rec.player[0].legs >= majority || rec.player[1].legs >= majority);
        if (rec.leg_no >= rec.max_leg || decided) {
            if (rec.player[0].legs > rec.player[1].legs)
                rec.player[0].sets += 1;
            else if (rec.player[1].legs > rec.player[0].legs)
                rec.player[1].sets += 1;
            notify(kNotifySetOver, 0);
            return 0;
        }
    }
    return 1;
}

void Match::exchange_scores() {
    GameRecord& rec = *record_;
    if (either_com()) {
        host_.beep();
        return;
    }
    if (shown().finished == 1) return;
    if (!host_.ask_yes_no(text_of(IDS_EXCHANGE_QUESTION))) return;

    LegRecord& leg = shown();
    std::swap(leg.scores[0], leg.scores[1]);
    leg.first = other(leg.first);
    leg.turn = other(leg.turn);
    sel_player_ = other(sel_player_);
    host_.repaint_from_round(-1);
    reposition(true, true);
    // The visits change sides but the start scores stay: with a handicap the
    // swapped remaining scores would be wrong, so each is counted again.
    for (int p = 0; p < 2; ++p) {
        rec.player[static_cast<size_t>(p)].left = remaining(rec, shown_leg_, leg.cur_round, p);
        leg.left[static_cast<size_t>(p)] = rec.player[static_cast<size_t>(p)].left;
    }
    std::swap(leg.darts[0], leg.darts[1]);
    recompute(0);
    recompute(1);
    notify(kNotifyFirstThrower, 0);
    notify_both_players();
    notify(kNotifyActivePlayer, leg.turn);
}

void Match::clear_scores() {
    if (either_com()) {
        host_.beep();
        return;
    }
    if (!host_.ask_yes_no(text_of(IDS_CLEAR_QUESTION))) return;
    start_leg();
    recompute(0);
    recompute(1);
    notify_both_players();
}

void Match::left_score_input() {
    if (shown().finished == 1) return;
    if (selected_is_com()) {
        host_.beep();
        return;
    }
    reposition(false, false);
    std::string typed = host_.entry_text();
    if (typed.empty()) {
        host_.beep();
        return;
    }
    // Counted wide: a typed number near the int limits must not overflow.
    const long long points =
        static_cast<long long>(remaining(*record_, shown_leg_, sel_round_ - 1, sel_player_)) - parse_int(typed);
    if (points < 0 || points > kMaxVisit) {
        host_.beep();
        return;
    }
    host_.set_entry_text(strprintf("%lld", points));
    tab_key();
}

// ---------------------------------------------------------------------------
// Sheet commands

bool Match::run_command(int id) {
    if (disabled_) return true;
    switch (id) {
    case kCmdEnter: enter_key(); return true;
    case kCmdEscape: escape_key(); return true;
    case kCmdUp: up_key(); return true;
    case kCmdDown: down_key(); return true;
    case kCmdTab: tab_key(); return true;
    case kCmdShiftTab: shift_tab_key(); return true;
    case kCmdFinish1: finish_by_menu(1); return true;
    case kCmdFinish2: finish_by_menu(2); return true;
    case kCmdFinish3: finish_by_menu(3); return true;
    case kCmdMiddleForDiddle: middle_for_diddle(); return true;
    case kCmdHome: home_key(); return true;
    case kCmdEnd: end_key(); return true;
    case kCmdLeftScore: left_score_input(); return true;
    case kCmdExchange: exchange_scores(); return true;
    case kCmdClear: clear_scores(); return true;
    case kCmdCellLeft: cell_left(); return true;
    case kCmdCellRight: cell_right(); return true;
    default: return false;
    }
}

bool Match::commit_entry() {
    std::string typed = host_.entry_text();
    if (!typed.empty()) return enter_visit(parse_int(typed));
    return sel_round_ == shown().cur_round;
}

bool Match::select(int player, int round) {
    const LegRecord& leg = shown();
    if (player != 0 && player != 1) return false;
    if (round < -1 || round >= leg.rows || round > leg.cur_round) return false;
    if (player == sel_player_ && round == sel_round_) return false;
    sel_player_ = player;
    sel_round_ = round;
    return true;
}

void Match::move_after_commit(int player, int round) {
    select(player, round);
    reposition(true, true);
}

void Match::enter_key() {
    if (shown().finished == 1) return;
    reposition(true, false);
    if (!host_.entry_text().empty()) tab_key();
}

void Match::escape_key() {
    const LegRecord& leg = shown();
    if (leg.finished == 1) return;
    if (leg.cur_round < leg.rows) select(leg.turn, leg.cur_round);
    reposition(true, true);
}

void Match::up_key() {
    if (shown().finished == 1) return;
    reposition(false, false);
    if (!commit_entry()) return;
    if (select(sel_player_, sel_round_ - 1)) reposition(true, true);
}

void Match::down_key() {
    if (shown().finished == 1) return;
    reposition(false, false);
    if (!commit_entry()) return;
    if (select(sel_player_, sel_round_ + 1)) reposition(true, true);
}

void Match::tab_key() {
    if (!commit_entry()) return;
    // The commit may have made the selected player the first thrower.
    if (sel_player_ == shown().first)
        move_after_commit(other(sel_player_), sel_round_);
    else
        move_after_commit(other(sel_player_), sel_round_ + 1);
}

void Match::shift_tab_key() {
    if (!commit_entry()) return;
    if (sel_player_ != shown().first)
        move_after_commit(other(sel_player_), sel_round_);
    else
        move_after_commit(other(sel_player_), sel_round_ - 1);
}

void Match::home_key() {
    if (shown().finished == 1) return;
    if (!commit_entry()) return;
    move_after_commit(shown().first, -1);
}

void Match::end_key() {
    if (shown().finished == 1) return;
    if (!commit_entry()) return;
    move_after_commit(shown().turn, shown().cur_round);
}

void Match::cell_left() {
    if (shown().finished == 1 || sel_player_ == 0) return;
    if (!commit_entry()) return;
    move_after_commit(0, sel_round_);
}

void Match::cell_right() {
    if (shown().finished == 1 || sel_player_ == 1) return;
    if (!commit_entry()) return;
    move_after_commit(1, sel_round_);
}

void Match::enter_template(int points, bool then_enter) {
    if (selected_is_com()) {
        host_.beep();
        return;
    }
    host_.set_entry_text(strprintf("%d", points));
    if (then_enter) enter_key();
}

int Match::checkout_score() const {
    const LegRecord& leg = shown();
    int round = std::max(sel_round_, 0);
    if (round < leg.cur_round) return remaining(*record_, shown_leg_, round, sel_player_);
    return record_->player[static_cast<size_t>(sel_player_)].left;
}

bool Match::click(const SheetGeometry& geometry, int x, int y) {
    if (shown().finished == 1) return false;
    if (!commit_entry()) return true;
    // Hit-tested after the commit, which may have moved the current round on.
    CellHit hit = hit_test_cell(geometry, shown(), x, y);
    if (!hit.hit) return true;
    move_after_commit(hit.player, hit.round);
    return true;
}

void Match::apply_com_result(int player) {
    PlayerBlock& com = record_->player[static_cast<size_t>(player)];
    const int result = com.com_result;
    if (result == kComStopped) {
        shown().finished = 1;
        reposition(false, false);
    } else if (result >= 0) {
        host_.set_entry_text(strprintf("%d", result));
        enter_key();
        // enter_key may have started a new set: the record's player is the same block.
        record_->player[static_cast<size_t>(player)].com_result = 0;
    } else if (result >= -3) {
        finish_leg(-result, true);
    }
}

} // namespace tx9
