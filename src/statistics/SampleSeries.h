// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

// One sample as the user typed it: pairs of a variant (an observed value) and its
// frequency (how often it occurs). A variant waits alone until its frequency is
// accepted, so variantCount runs at most one ahead of frequencyCount.
struct SampleSeries
{
    std::vector<double> variants;
    std::vector<int> frequencies;
    int variantCount = 0;
    int frequencyCount = 0;

    void appendVariant(double value);
    // The frequency must be a nonzero int; negative ones are kept as they are.
    void appendFrequency(int value);
    // Taking a step back: the variant whose frequency is awaited, the frequency
    // of the newest pair (its variant then awaits one again), or whole pairs.
    void removeVariant();
    void removeFrequency();
    void removePairs(int count);

    int pairCount() const { return frequencyCount; }
    double variant(int k) const { return variants[static_cast<std::size_t>(k)]; }
    int frequency(int k) const { return frequencies[static_cast<std::size_t>(k)]; }

    // N, the sum of the frequencies of the complete pairs, in a type wide enough
    // never to overflow.
    std::int64_t frequencySum() const;
    // Whether appending this frequency keeps N within int, as the calculation needs.
    bool frequencyFits(int value) const;
};
