// CSV of a long set: what auto save does after every leg.
#include "records/csv_export.h"
#include "support/fake_system.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

// 50 finished legs of 501 with ordinary visits, alternating first thrower.
tx9::GameRecord fifty_leg_set() {
    tx9::GameRecord record;
    record.start_score = 501;
    record.player[0].name = "Phil Taylor";
    record.player[1].name = "Raymond van Barneveld";
    record.player[0].start_score = record.player[1].start_score = 501;
    std::mt19937 random(501u);
    std::uniform_int_distribution<int> visit(26, 140);
    for (int i = 0; i < 50; ++i) {
        tx9::LegRecord leg;
        leg.first = i % 2;
        leg.capacity = 10;
        leg.scores[0].assign(11, 0);
        leg.scores[1].assign(11, 0);
        int left[2] = {501, 501};
        int r = 0, p = leg.first;
        for (;; p = 1 - p) {
            int v = visit(random);
            if (left[p] <= 170 && v >= 60) {
                leg.scores[static_cast<size_t>(p)][static_cast<size_t>(r)] = -2;
                break;
            }
            v = std::min(v, left[p] - 2);
            left[p] -= v;
            leg.scores[static_cast<size_t>(p)][static_cast<size_t>(r)] = v;
            if (p != leg.first) ++r;
        }
        leg.winner = p;
        leg.turn = p == leg.first ? 1 - p : leg.first;
        leg.cur_round = p == leg.first ? r : r + 1;
        leg.rows = r + 1;
        leg.win_darts = 3 * r + 2;
        leg.finished = 1;
        record.leg_records.push_back(leg);
    }
    record.leg_no = 50;
    return record;
}

void BM_MeasureCsv50Legs(benchmark::State& state) {
    tx9::test::ScopedFakeSystem fake;
    const tx9::GameRecord record = fifty_leg_set();
    for (auto _ : state)
        benchmark::DoNotOptimize(tx9::measure_csv(record));
    state.counters["bytes"] = static_cast<double>(tx9::measure_csv(record));
}
BENCHMARK(BM_MeasureCsv50Legs);

// format_csv measures first to size its buffer, so this is Measure + Format.
void BM_MeasureAndFormatCsv50Legs(benchmark::State& state) {
    tx9::test::ScopedFakeSystem fake;
    const tx9::GameRecord record = fifty_leg_set();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = tx9::format_csv(record);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MeasureAndFormatCsv50Legs);

} // namespace
