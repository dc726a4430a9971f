// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DataSet.h"

void resetDataSet(DataSet& data)
{
    data.sample1 = SampleSeries{};
    data.sample2 = SampleSeries{};
    clearCalculation(data.result);
    data.steps.clear();
}

void clearCalculation(TTestResult& result)
{
    result.d1.clear();
    result.d2.clear();
    result.iN1 = 0;
    result.iN2 = 0;
}
