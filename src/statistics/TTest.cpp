// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TTest.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The complete pairs of one series, taken once per pass: read through the
// vectors on every step, they would be reloaded after each deviation stored.
struct Pairs
{
    const double* variants;
    const int* frequencies;
    std::size_t count;
};

Pairs pairsOf(const SampleSeries& series)
{
    return {series.variants.data(), series.frequencies.data(),
            static_cast<std::size_t>(series.pairCount())};
}

// N and the sum of frequency times variant, in one pass over the series. Each
// sum runs in entry order, as it would in a pass of its own.
struct Totals
{
    int n;
    double weighted;
};

Totals totals(const Pairs pairs)
{
    std::int64_t n = 0; // the entry never lets N leave int; saturated below all the same
    double weighted = 0.0;
    for (std::size_t k = 0; k < pairs.count; ++k) {
        n += pairs.frequencies[k];
        weighted += static_cast<double>(pairs.frequencies[k]) * pairs.variants[k];
    }
    return {static_cast<int>(std::clamp<std::int64_t>(n, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max())),
            weighted};
}

// Fills the deviations (mean minus variant) and returns their frequency-weighted
// sum of squares. Two passes overall, mean first: values with a large common
// offset keep their digits.
double deviationsAndSquares(const Pairs pairs, double mean, std::vector<double>& deviations)
{
    deviations.resize(pairs.count);
    double* const out = deviations.data();
    double sum = 0.0;
    for (std::size_t k = 0; k < pairs.count; ++k) {
        const double d = mean - pairs.variants[k];
        out[k] = d;
        sum += static_cast<double>(pairs.frequencies[k]) * (d * d);
    }
    return sum;
}

double standardDeviation(double sumOfSquares, int n)
{
    // N - 1 in integers, as the textbook formula reads; int64 so that N = INT_MIN
    // cannot overflow.
    const std::int64_t divisor = static_cast<std::int64_t>(n) - 1;
    return std::sqrt(sumOfSquares / static_cast<double>(divisor));
}

} // namespace

void computeTTest(const SampleSeries& sample1, const SampleSeries& sample2, TTestResult& result)
{
    const Pairs pairs1 = pairsOf(sample1);
    const Pairs pairs2 = pairsOf(sample2);
    const Totals totals1 = totals(pairs1);
    const Totals totals2 = totals(pairs2);
    result.iN1 = totals1.n;
    result.iN2 = totals2.n;
    result.dSVP1 = totals1.weighted;
    result.dSVP2 = totals2.weighted;

    result.dM1 = result.dSVP1 / static_cast<double>(result.iN1);
    result.dM2 = result.dSVP2 / static_cast<double>(result.iN2);

    result.dSdd1 = deviationsAndSquares(pairs1, result.dM1, result.d1);
    result.dSdd2 = deviationsAndSquares(pairs2, result.dM2, result.d2);

    result.dS1 = standardDeviation(result.dSdd1, result.iN1);
    result.dS2 = standardDeviation(result.dSdd2, result.iN2);

    result.dm1 = result.dS1 / std::sqrt(static_cast<double>(result.iN1));
    result.dm2 = result.dS2 / std::sqrt(static_cast<double>(result.iN2));

    result.dT = std::fabs(result.dM1 - result.dM2) /
                std::sqrt(result.dm1 * result.dm1 + result.dm2 * result.dm2);
}
