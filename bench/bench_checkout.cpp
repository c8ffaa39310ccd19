// Reading the built-in route text, and the look-ups the COM player and the
// player panels make for every visit.
#include "checkout/checkout_table.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

const std::string& route_text() {
    static const std::string text = tx9::test::read_test_file(TX9_ROUTES_FILE);
    return text;
}

void BM_ParseBuiltInRoutes(benchmark::State& state) {
    const std::string& text = route_text();
    tx9::CheckoutTable table;
    for (auto _ : state) {
        table.parse(text);
        benchmark::DoNotOptimize(table.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["routes"] = static_cast<double>(table.size());
}
BENCHMARK(BM_ParseBuiltInRoutes);

void BM_FirstRouteEveryScore(benchmark::State& state) {
    tx9::CheckoutTable table;
    table.parse(route_text());
    for (auto _ : state) {
        for (int score = 0; score <= 501; ++score)
            benchmark::DoNotOptimize(table.first_route(score));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 502);
}
BENCHMARK(BM_FirstRouteEveryScore);

} // namespace
