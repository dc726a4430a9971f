// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "TTest.h"

// Beside the printed table's verdict, the numbers a journal asks for, from the
// report's own N, M, S, m and t: the exact two-sided p for N1 + N2 - 2 degrees
// of freedom, Welch's degrees of freedom and p for the same t (the report's t is
// Welch's statistic), the 95 % interval of M1 - M2, Cohen's d and Hedges' g.
struct ExactNumbers
{
    bool defined = false; // both samples of two observations or more, with finite spread
    int df = 0;
    double p = 0.0;
    double welchDf = 0.0; // NaN where neither sample varies
    double welchP = 0.0;
    double low = 0.0; // the 95 % interval of M1 - M2
    double high = 0.0;
    double d = 0.0;
    double g = 0.0;
    float level = 0.0F; // what the exact p reaches, as the table's levels: 99.9, 99, 95 or 0
};

ExactNumbers exactNumbers(const TTestResult& report);

// Two-sided p of t with df degrees of freedom (df may be fractional); 0 for an
// infinite t.
double twoSidedP(double t, double df);
