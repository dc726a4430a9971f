// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SampleSeries.h"
#include "TTest.h"

#include <QString>

// The one data set the dialog works on: both samples as typed, the protocol line
// of the pair being entered, and the results of the last calculation.
struct DataSet
{
    SampleSeries sample1;
    SampleSeries sample2;
    QString sVariables; // first half of the pending protocol line
    QString sMessage;   // text of the last "frequency awaited" warning
    TTestResult result;
};

// Makes ready for the next data set after a saved report: both samples emptied,
// the accumulators N1, N2 and the deviations cleared. The other results are left
// as they are; the next calculation assigns each before it reads it.
void resetDataSet(DataSet& data);
