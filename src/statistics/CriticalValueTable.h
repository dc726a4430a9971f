// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

// Two-sided critical values of Student's t as printed in the tables our users
// learned from, two decimals each. The values are kept as printed even where the
// exact quantile rounds otherwise, so that the tool agrees with those tables.
class CriticalValueTable
{
public:
    struct Row
    {
        int df;
        double c95;     // p = 0.05
        double c99;     // p = 0.01
        double c999;    // p = 0.001; 0 where the table has no value (df 1)
        bool inclusive; // t equal to a critical value suffices (df 29 only)
    };

    static constexpr int rowCount = 38;
    static const std::array<Row, rowCount>& rows();

    // The largest tabulated df not above df; a df below 1 names no row and comes
    // back unchanged.
    static int rowFor(int df);
    // The level t reaches in the row named by df: 99.9, 99, 95, or 0 for none (and
    // for a df that names no row). A NaN t reaches none.
    static float levelFor(int df, double t);
    // iN1 + iN2 - 2 without overflow, clamped into int (any df from 500 on uses
    // the last row anyway).
    static int degreesOfFreedom(int n1, int n2);
};
