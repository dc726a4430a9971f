// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the parsing of what the user types into the four edits.
// Whatever the bytes, parsing must not crash, an accepted variant must be
// finite, and an accepted frequency must be a nonzero int that reads back the same.
#include "TypedNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<double> variant = parseVariant(text);
    const std::optional<int> frequency = parseFrequency(text);
    if ((variant && !std::isfinite(*variant)) ||
        (frequency &&
         (*frequency == 0 || parseFrequency(QString::number(*frequency)) != frequency)))
        std::abort();
    return 0;
}
