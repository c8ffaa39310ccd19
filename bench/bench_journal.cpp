// The journal written after a visit: format (finished sets from the cache)
// and the atomic replacement of the file, at round 10 and round 1,000 of a
// leg, and with a History of 100 sets behind the live one.
#include "records/file_util.h"
#include "records/journal.h"
#include "support/match_harness.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

using tx9::test::Table;

// Best of 3 legs of 501.
tx9::GameSettings best_of_three() {
    tx9::GameSettings g = tx9::test::game_of(501);
    g.leg_limit = 1;
    g.max_leg = 3;
    g.best_of = 1;
    return g;
}

// `sets` finished sets of two legs in the history, then a live leg at the
// given round (visits of 1 and 0, so it never ends).
void play(Table& t, int rounds, int sets) {
    for (int s = 0; s < sets; ++s)
        t.play("w0 w0");
    for (int r = 0; r < rounds; ++r)
        t.round(r % 2, 0);
}

void BM_JournalWrite(benchmark::State& state) {
    Table t(best_of_three());
    play(t, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    tx9::test::ScopedTempDir dir;
    const std::string path = dir.file("tx9.journal");
    tx9::JournalWriter writer;
    const tx9::JournalSource source{t.settings.game, t.settings.schedule, t.history.records, t.record,
                                    tx9::SheetSelection{t.match.sel_player(), t.match.sel_round()}};
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string& text = writer.format(source);
        bytes = text.size();
        if (!tx9::write_whole_file(path, text, nullptr)) state.SkipWithError("write failed");
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_JournalWrite)->ArgNames({"round", "sets"})->Args({10, 0})->Args({1000, 0})->Args({10, 100})
    ->Unit(benchmark::kMicrosecond);

void BM_JournalFormatOnly(benchmark::State& state) {
    Table t(best_of_three());
    play(t, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    tx9::JournalWriter writer;
    const tx9::JournalSource source{t.settings.game, t.settings.schedule, t.history.records, t.record,
                                    tx9::SheetSelection{t.match.sel_player(), t.match.sel_round()}};
    for (auto _ : state)
        benchmark::DoNotOptimize(writer.format(source).size());
}
BENCHMARK(BM_JournalFormatOnly)->ArgNames({"round", "sets"})->Args({10, 0})->Args({1000, 0})->Args({10, 100})
    ->Unit(benchmark::kMicrosecond);

} // namespace
