// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A sample pasted whole, as a spreadsheet or a text file puts it on the
// clipboard: one row a line, a variant and its frequency a row, or one
// observation a row.

enum class PasteRefusal
{
    None,
    Variant,      // a variant that is not a finite number
    Frequency,    // a frequency that is not a nonzero whole number in range
    FrequencySum, // the sample's sum of frequencies beyond int
    Fields,       // more than two fields, or another count than the first row of numbers
};

struct PastedSeries
{
    struct Pair
    {
        double variant;
        int frequency;
    };
    // Two numbers or more: anything less is pasted as text, as the toolkit does.
    bool isSeries = false;
    // In the order of the rows; one observation a row gives each distinct value
    // once, ascending, with how often it occurs.
    std::vector<Pair> pairs;
    // The first refused row, counted from 1 with blank rows, and why; no pair is
    // given then.
    int refusedRow = 0;
    PasteRefusal refusal = PasteRefusal::None;
};

// Rows end in LF, CRLF or CR; blank rows are skipped. Fields are split by tabs,
// else semicolons, else runs of spaces; empty ones at a row's end are ignored,
// and double quotes around a field dropped. A first row with no number in it is
// a heading. Each number is read as typed; the sums of frequencies start at
// frequencySum, the sample's so far.
PastedSeries readPastedSeries(const QString& text, std::int64_t frequencySum);
