// Cost of one visit with its statistics, deep into a long leg and late in a long set.
#include "engine/game_rules.h"
#include "engine/match.h"
#include "support/fake_system.h"

#include <benchmark/benchmark.h>

namespace tx9 {
namespace {

// A sheet that finishes every leg with the third dart and takes every finish.
class QuietHost : public MatchHost {
  public:
    int ask_finishing_dart(int) override { return 3; }
    bool ask_leg_winner(GameRecord&) override { return false; }
    bool ask_yes_no(const std::string&) override { return true; }
    bool show_finish_message(const std::string&, const std::string&, bool) override { return true; }
    void show_information(const std::string&) override {}
    void show_error(const std::string&) override {}
    void beep() override {}
    void reposition_entry(bool, bool) override {}
    void repaint_from_round(int) override {}
    void update_scroll_bar() override {}
    std::string entry_text() override { return std::string(); }
    void set_entry_text(const std::string&) override {}
    long notify(int, int, int) override { return 0; }
    void start_com_timer(bool) override {}
    bool auto_save(const GameRecord&) override { return true; }
};

struct Game {
    explicit Game(int start_score) : match(record, host, settings) {
        GameSettings g;
        g.start_score = start_score;
        init_for_set(record, g, true, nullptr);
        match.set_record(record);
        match.start_leg();
    }
    // The next visit of the leg, in throwing order.
    void visit(int points) {
        const LegRecord& leg = match.shown();
        match.select(leg.turn, leg.cur_round);
        match.enter_visit(points);
    }
    // Plays a leg of rounds of 60 that player 1 finishes.
    void play_leg() {
        const int leg_no = record.leg_no;
        while (record.leg_no == leg_no) {
            const LegRecord& leg = match.shown();
            int left = record.player[static_cast<size_t>(leg.turn)].left;
            visit(leg.turn == 0 && left <= 60 ? left : std::min(60, left - 2));
        }
    }

    test::ScopedFakeSystem fake;
    Settings settings;
    GameRecord record;
    QuietHost host;
    Match match;
};

// The first thrower's visit of the current round entered again: the leg stays
// as it is, so every iteration costs the same.
void enter_again(benchmark::State& state, Game& game) {
    const LegRecord& leg = game.match.shown();
    game.match.select(leg.first, leg.cur_round);
    int points = 0;
    for (auto _ : state) {
        points = (points + 7) % 181;
        benchmark::DoNotOptimize(game.match.enter_visit(points));
    }
}

void BM_EnterVisitDeepInALeg(benchmark::State& state) {
    const int rounds = static_cast<int>(state.range(0));
    Game game(1000000000);
    for (int r = 0; r < rounds; ++r) {
        game.visit(100);
        game.visit(100);
    }
    game.visit(100);
    enter_again(state, game);
    state.SetComplexityN(rounds);
}
BENCHMARK(BM_EnterVisitDeepInALeg)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

void BM_EnterVisitLateInASet(benchmark::State& state) {
    const int legs = static_cast<int>(state.range(0));
    Game game(501);
    for (int k = 1; k < legs; ++k)
        game.play_leg();
    for (int r = 0; r < 5; ++r) {
        game.visit(60);
        game.visit(60);
    }
    game.visit(60);
    enter_again(state, game);
    state.SetComplexityN(legs);
}
BENCHMARK(BM_EnterVisitLateInASet)->Arg(1)->Arg(10)->Arg(50)->Arg(500)->Complexity(benchmark::oN);

} // namespace
} // namespace tx9
