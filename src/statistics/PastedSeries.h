// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A sample pasted whole, as a spreadsheet or a text file puts it on the
// clipboard: one row a line, a variant and its frequency a row, or one
// observation a row; or, into an empty first sample, two groups side by side,
// one observation a cell.

enum class PasteRefusal
{
    None,
    Variant,      // a variant that is not a finite number
    Frequency,    // a frequency that is not a nonzero whole number in range
    FrequencySum, // the sample's sum of frequencies beyond int
    Fields,       // more than two fields, or a row narrower than the others
    EmptyColumn,  // a column with a heading but no number under it
};

struct PastedSeries
{
    struct Pair
    {
        double variant;
        int frequency;
    };
    enum class Layout
    {
        Pairs,      // variants and their frequencies, or one column of observations
        TwoSamples, // two columns of observations, sample 1 and sample 2
        Either,     // two columns that both readings take: the user decides
    };
    // Two rows or more, or one row with two numbers: anything less is pasted as
    // text, as the toolkit does.
    bool isSeries = false;
    Layout layout = Layout::Pairs;
    // Pairs and Either: in the order of the rows; one observation a row gives
    // each distinct value once, ascending, with how often it occurs.
    std::vector<Pair> pairs;
    // TwoSamples and Either: each column grouped so.
    std::vector<Pair> first;
    std::vector<Pair> second;
    // Either: the first rows of numbers as given, cells joined by a tab.
    QStringList firstRows;
    // The first refused row, counted from 1 with blank rows, and why (with the
    // column, for EmptyColumn); no pair is given then.
    int refusedRow = 0;
    int refusedColumn = 0;
    PasteRefusal refusal = PasteRefusal::None;
};

// Rows end in LF, CRLF or CR; rows with no cell in them are skipped. Cells are
// split by tabs where the text has any, else by semicolons, else by runs of
// spaces; double quotes around a cell are dropped, and a column empty in every
// row is no column. A first row where no cell is a number is a heading (over one
// column, the whole line). Numbers are read as a spreadsheet displays them: digit
// groups joined by a no-break, narrow no-break or thin space (an ordinary one
// where spaces do not split the cells), a minus sign U+2212, a trailing per cent
// sign. The sums of frequencies start at frequencySum, the sample's so far.
// Where twoSamples is allowed, two columns may be read as two samples.
PastedSeries readPastedSeries(const QString& text, std::int64_t frequencySum,
                              bool twoSamples = false);

// Whether a column's heading names frequencies: «Частота», f, n, «вес» and the like.
bool namesFrequencies(const QString& heading);
