// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DataSet.h"

void resetDataSet(DataSet& data)
{
    data.sample1 = SampleSeries{};
    data.sample2 = SampleSeries{};
    data.result.d1.clear();
    data.result.d2.clear();
    data.result.iN1 = 0;
    data.result.iN2 = 0;
}
