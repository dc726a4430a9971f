// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "SampleSeries.h"

#include <limits>
#include <numeric>

void SampleSeries::appendVariant(double value)
{
    variants.push_back(value);
    ++variantCount;
}

void SampleSeries::appendFrequency(int value)
{
    frequencies.push_back(value);
    ++frequencyCount;
}

void SampleSeries::removeVariant()
{
    variants.pop_back();
    --variantCount;
}

void SampleSeries::removeFrequency()
{
    frequencies.pop_back();
    --frequencyCount;
}

void SampleSeries::removePairs(int count)
{
    variants.resize(variants.size() - static_cast<std::size_t>(count));
    frequencies.resize(frequencies.size() - static_cast<std::size_t>(count));
    variantCount -= count;
    frequencyCount -= count;
}

std::int64_t SampleSeries::frequencySum() const
{
    return std::accumulate(frequencies.begin(), frequencies.begin() + pairCount(), std::int64_t{0});
}

bool SampleSeries::frequencyFits(int value) const
{
    const std::int64_t sum = frequencySum() + value;
    return sum >= std::numeric_limits<int>::min() && sum <= std::numeric_limits<int>::max();
}
