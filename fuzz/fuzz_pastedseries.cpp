// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the reading of a pasted sample. Whatever the bytes, it
// must not crash; a refusal names a row and gives no pair; an accepted series
// holds only pairs the dialog would take typed, within the sum of frequencies;
// two samples are each a whole sample, and only where they may be read.
#include "PastedSeries.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the sample's sum so far (none, or near either bound)
    // and whether two samples may be read (into an empty sample 1 only).
    const std::int64_t sums[] = {0, std::numeric_limits<int>::max() - 2,
                                 std::numeric_limits<int>::min() + 2};
    std::int64_t sum = sums[data[0] % 3];
    const bool twoSamples = sum == 0 && (data[0] & 0x80) != 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    const PastedSeries read = readPastedSeries(text, sum, twoSamples);
    using Layout = PastedSeries::Layout;
    const bool refused = read.refusedRow != 0;
    const bool given = read.isSeries && !refused;
    const bool pairs = given && read.layout != Layout::TwoSamples;
    const bool samples = given && read.layout != Layout::Pairs;
    if (refused != (read.refusal != PasteRefusal::None) || read.refusedRow < 0 ||
        (!read.isSeries && refused) || pairs == read.pairs.empty() ||
        samples == read.first.empty() || samples == read.second.empty() ||
        (samples && !twoSamples) ||
        read.firstRows.isEmpty() == (given && read.layout == Layout::Either))
        std::abort();
    for (const PastedSeries::Pair& pair : read.pairs) {
        sum += pair.frequency;
        if (!std::isfinite(pair.variant) || pair.frequency == 0 ||
            sum > std::numeric_limits<int>::max() || sum < std::numeric_limits<int>::min())
            std::abort();
    }
    for (const auto* sample : {&read.first, &read.second})
        for (const PastedSeries::Pair& pair : *sample)
            if (!std::isfinite(pair.variant) || pair.frequency <= 0)
                std::abort();
    return 0;
}
