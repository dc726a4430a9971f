// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of one t-test calculation per entered pair, for series of 10^3 to 10^7
// pairs each. Run: build/bench/bench_ttest
#include "TTest.h"

#include <benchmark/benchmark.h>

namespace {

SampleSeries makeSeries(int pairs, double offset)
{
    SampleSeries series;
    series.variants.reserve(static_cast<std::size_t>(pairs));
    series.frequencies.reserve(static_cast<std::size_t>(pairs));
    for (int k = 0; k < pairs; ++k) {
        series.appendVariant(offset + 0.001 * (k % 1000));
        series.appendFrequency(1 + k % 5);
    }
    return series;
}

void computeTTestPerPair(benchmark::State& state)
{
    const int pairs = static_cast<int>(state.range(0));
    const SampleSeries sample1 = makeSeries(pairs, 10.0);
    const SampleSeries sample2 = makeSeries(pairs, 10.2);
    TTestResult result;
    computeTTest(sample1, sample2, result); // the deviation vectors reach their size once
    for (auto _ : state) {
        computeTTest(sample1, sample2, result);
        benchmark::DoNotOptimize(result.dT);
    }
    // Both series' pairs; shown as time per pair.
    state.counters["per_pair"] = benchmark::Counter(
        2.0 * pairs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(computeTTestPerPair)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
