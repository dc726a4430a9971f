#include "TTest.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The entry never lets N leave the int range; saturating keeps direct callers
// away from signed overflow all the same.
int observationCount(const SampleSeries& series)
{
    const std::int64_t sum = series.frequencySum();
    if (sum > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(sum);
}

double weightedSum(const SampleSeries& series)
{
    double sum = 0.0;
    for (int k = 0; k < series.pairCount(); ++k)
        sum += static_cast<double>(series.frequency(k)) * series.variant(k);
    return sum;
}

void fillDeviations(const SampleSeries& series, double mean, std::vector<double>& deviations)
{
    deviations.clear();
    deviations.reserve(static_cast<std::size_t>(series.pairCount()));
    for (int k = 0; k < series.pairCount(); ++k)
        deviations.push_back(mean - series.variant(k));
}

double weightedSquares(const SampleSeries& series, const std::vector<double>& deviations)
{
    double sum = 0.0;
    for (int k = 0; k < series.pairCount(); ++k) {
        const double d = deviations[static_cast<std::size_t>(k)];
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
    result.iN1 = observationCount(sample1);
    result.iN2 = observationCount(sample2);

    result.dSVP1 = weightedSum(sample1);
    result.dSVP2 = weightedSum(sample2);

    result.dM1 = result.dSVP1 / static_cast<double>(result.iN1);
    result.dM2 = result.dSVP2 / static_cast<double>(result.iN2);

    // Two passes: the deviations are taken from the mean first, so values with a
    // large common offset keep their digits.
    fillDeviations(sample1, result.dM1, result.d1);
    fillDeviations(sample2, result.dM2, result.d2);

    result.dSdd1 = weightedSquares(sample1, result.d1);
    result.dSdd2 = weightedSquares(sample2, result.d2);

    result.dS1 = standardDeviation(result.dSdd1, result.iN1);
    result.dS2 = standardDeviation(result.dSdd2, result.iN2);

    result.dm1 = result.dS1 / std::sqrt(static_cast<double>(result.iN1));
    result.dm2 = result.dS2 / std::sqrt(static_cast<double>(result.iN2));

    result.dT = std::fabs(result.dM1 - result.dM2)
                / std::sqrt(result.dm1 * result.dm1 + result.dm2 * result.dm2);
}
