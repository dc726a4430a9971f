// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SampleSeries.h"
#include "TTest.h"

#include <QString>

#include <vector>

// One step accepted into a data set, with what taking it back needs.
struct EntryStep
{
    enum Kind
    {
        Variant,
        Frequency,
        Paste,
        TwoSamples, // two groups pasted side by side: both samples entered and closed
        SampleClosed,
        Calculation,
    };
    Kind kind;
    QString typed = QString(); // a variant or a frequency as it was typed
    int pairs = 0;             // a paste's
};

// The one data set the dialog works on: both samples as typed, the protocol line
// of the pair being entered, the results of the last calculation, and the steps
// that made it, newest last.
struct DataSet
{
    SampleSeries sample1;
    SampleSeries sample2;
    QString sVariables; // first half of the pending protocol line
    QString sMessage;   // text of the last "frequency awaited" warning
    TTestResult result;
    std::vector<EntryStep> steps = {};
};

// Makes ready for the next data set after a saved report: both samples and the
// steps emptied, the accumulators N1, N2 and the deviations cleared. The other results are left
// as they are; the next calculation assigns each before it reads it.
void resetDataSet(DataSet& data);
// The accumulators of a calculation taken back cleared, so the next one starts
// from nothing as the first did.
void clearCalculation(TTestResult& result);
