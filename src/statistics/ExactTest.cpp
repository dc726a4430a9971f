// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExactTest.h"

#include <boost/math/distributions/students_t.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

double twoSidedP(double t, double df)
{
    if (std::isinf(t))
        return 0.0;
    const boost::math::students_t distribution(df);
    return 2 * boost::math::cdf(boost::math::complement(distribution, std::fabs(t)));
}

ExactNumbers exactNumbers(const TTestResult& r)
{
    ExactNumbers out;
    const bool finite = std::isfinite(r.dM1) && std::isfinite(r.dM2) && std::isfinite(r.dS1) &&
                        std::isfinite(r.dS2) && !std::isnan(r.dT);
    if (r.iN1 < 2 || r.iN2 < 2 || !finite)
        return out;
    const std::int64_t n1 = r.iN1;
    const std::int64_t n2 = r.iN2;
    out.defined = true;
    out.df = static_cast<int>(std::min<std::int64_t>(n1 + n2 - 2, std::numeric_limits<int>::max()));
    out.p = twoSidedP(r.dT, out.df);

    const double v1 = r.dm1 * r.dm1; // squared standard errors
    const double v2 = r.dm2 * r.dm2;
    const double se = std::sqrt(v1 + v2);
    const double difference = r.dM1 - r.dM2;
    if (se > 0) {
        out.welchDf =
            (v1 + v2) * (v1 + v2) /
            (v1 * v1 / static_cast<double>(n1 - 1) + v2 * v2 / static_cast<double>(n2 - 1));
        out.welchP = twoSidedP(r.dT, out.welchDf);
        const double q = boost::math::quantile(boost::math::students_t(out.welchDf), 0.975);
        out.low = difference - q * se;
        out.high = difference + q * se;
    } else { // no spread at all: the difference is exact
        out.welchDf = std::numeric_limits<double>::quiet_NaN();
        out.welchP = 0.0;
        out.low = out.high = difference;
    }
    const double pooled = std::sqrt((static_cast<double>(n1 - 1) * r.dS1 * r.dS1 +
                                     static_cast<double>(n2 - 1) * r.dS2 * r.dS2) /
                                    static_cast<double>(n1 + n2 - 2));
    out.d = difference / pooled;
    out.g = out.d * (1.0 - 3.0 / (4.0 * static_cast<double>(n1 + n2) - 9.0));
    out.level = out.p < 0.001 ? 99.9F : out.p < 0.01 ? 99.0F : out.p < 0.05 ? 95.0F : 0.0F;
    return out;
}
