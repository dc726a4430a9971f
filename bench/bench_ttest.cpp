// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of one t-test calculation per entered pair, for series of 10^3 to 10^7
// pairs each, then its ratio to the memory-traffic floor at 10^7 pairs per
// series. Run: build/bench/bench_ttest
#include "TTest.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

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

// What any two-pass computation must move: each series' variants and
// frequencies read twice, one deviation written per pair, with the least
// arithmetic that keeps the reads.
double floorPasses(const SampleSeries& series, std::vector<double>& deviations)
{
    const double* const v = series.variants.data();
    const int* const f = series.frequencies.data();
    const std::size_t n = series.frequencies.size();
    double first = 0.0;
    for (std::size_t k = 0; k < n; ++k)
        first += f[k] * v[k];
    double* const out = deviations.data();
    double second = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        out[k] = first - v[k];
        second += f[k];
    }
    return first + second;
}

template <typename Run> double millisecondsOf(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Interleaved, so that both see the same machine; medians of the runs.
void printFloorRatio(int pairs, int runs)
{
    const SampleSeries sample1 = makeSeries(pairs, 10.0);
    const SampleSeries sample2 = makeSeries(pairs, 10.2);
    TTestResult result;
    computeTTest(sample1, sample2, result);
    std::vector<double> d1(result.d1.size());
    std::vector<double> d2(result.d2.size());
    std::vector<double> project;
    std::vector<double> floor;
    for (int run = 0; run < runs; ++run) {
        project.push_back(millisecondsOf([&] {
            computeTTest(sample1, sample2, result);
            benchmark::DoNotOptimize(result.dT);
        }));
        floor.push_back(millisecondsOf([&] {
            benchmark::DoNotOptimize(floorPasses(sample1, d1) + floorPasses(sample2, d2));
            benchmark::ClobberMemory();
        }));
    }
    std::printf("10^%d pairs per series, median of %d interleaved runs: computation %.2f ms, "
                "floor %.2f ms, ratio %.2f (target: at most 1.15)\n",
                static_cast<int>(std::log10(pairs)), runs, median(project), median(floor),
                median(project) / median(floor));
}

} // namespace

BENCHMARK(computeTTestPerPair)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printFloorRatio(10'000'000, 9);
    return 0;
}
