// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TTest.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// N and the sum of frequency times variant, in one pass over the series. Each
// sum runs in entry order, as it would in a pass of its own.
struct Totals
{
    int n;
    double weighted;
};

Totals totals(const SampleSeries& series)
{
    std::int64_t n = 0; // the entry never lets N leave int; saturated below all the same
    double weighted = 0.0;
    for (int k = 0; k < series.pairCount(); ++k) {
        n += series.frequency(k);
        weighted += static_cast<double>(series.frequency(k)) * series.variant(k);
    }
    return {static_cast<int>(std::clamp<std::int64_t>(n, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max())),
            weighted};
}

// Fills the deviations (mean minus variant) and returns their frequency-weighted
// sum of squares. Two passes overall, mean first: values with a large common
// offset keep their digits.
double deviationsAndSquares(const SampleSeries& series, double mean,
                            std::vector<double>& deviations)
{
    deviations.clear();
    deviations.reserve(static_cast<std::size_t>(series.pairCount()));
    double sum = 0.0;
    for (int k = 0; k < series.pairCount(); ++k) {
        const double d = mean - series.variant(k);
        deviations.push_back(d);
        sum += static_cast<double>(series.frequency(k)) * (d * d);
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
    const Totals totals1 = totals(sample1);
    const Totals totals2 = totals(sample2);
    result.iN1 = totals1.n;
    result.iN2 = totals2.n;
    result.dSVP1 = totals1.weighted;
    result.dSVP2 = totals2.weighted;

    result.dM1 = result.dSVP1 / static_cast<double>(result.iN1);
    result.dM2 = result.dSVP2 / static_cast<double>(result.iN2);

    result.dSdd1 = deviationsAndSquares(sample1, result.dM1, result.d1);
    result.dSdd2 = deviationsAndSquares(sample2, result.dM2, result.d2);

    result.dS1 = standardDeviation(result.dSdd1, result.iN1);
    result.dS2 = standardDeviation(result.dSdd2, result.iN2);

    result.dm1 = result.dS1 / std::sqrt(static_cast<double>(result.iN1));
    result.dm2 = result.dS2 / std::sqrt(static_cast<double>(result.iN2));

    result.dT = std::fabs(result.dM1 - result.dM2) /
                std::sqrt(result.dm1 * result.dm1 + result.dm2 * result.dm2);
}
