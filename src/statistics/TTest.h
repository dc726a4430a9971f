// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SampleSeries.h"

#include <vector>

// Everything one calculation produces. The names carry a type prefix and a
// trailing sample number: dM1 is the double mean of sample 1.
struct TTestResult
{
    int iN1 = 0; // observations in sample 1: the sum of its frequencies
    int iN2 = 0;
    int iN = 0;         // degrees of freedom, then the row of the critical-value table used
    double dSVP1 = 0.0; // sum of frequency times variant
    double dSVP2 = 0.0;
    double dM1 = 0.0; // means
    double dM2 = 0.0;
    std::vector<double> d1; // mean minus variant, one per pair
    std::vector<double> d2;
    double dSdd1 = 0.0; // frequency-weighted sum of squared deviations
    double dSdd2 = 0.0;
    double dS1 = 0.0; // standard deviations
    double dS2 = 0.0;
    double dm1 = 0.0; // standard errors of the means
    double dm2 = 0.0;
    double dT = 0.0;  // Student's t
    float fVI = 0.0F; // significance level reached, in per cent; 0 when none
};

// Fills iN1 ... dT from the complete pairs of both series. Divisors and square
// roots are not guarded: an infinity or NaN passes on into the later steps and
// into the report, which is what the user is shown for a degenerate sample.
void computeTTest(const SampleSeries& sample1, const SampleSeries& sample2, TTestResult& result);
