// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CriticalValueTable.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

constexpr std::array<CriticalValueTable::Row, CriticalValueTable::rowCount> table{{
    {1, 12.71, 63.66, 0.0, false},  {2, 4.30, 9.93, 31.60, false},  {3, 3.18, 5.84, 12.94, false},
    {4, 2.78, 4.60, 8.61, false},   {5, 2.57, 4.03, 6.86, false},   {6, 2.45, 3.71, 5.96, false},
    {7, 2.37, 3.50, 5.41, false},   {8, 2.31, 3.36, 5.04, false},   {9, 2.26, 3.25, 4.78, false},
    {10, 2.23, 3.17, 4.59, false},  {11, 2.20, 3.11, 4.44, false},  {12, 2.18, 3.06, 4.32, false},
    {13, 2.16, 3.01, 4.22, false},  {14, 2.15, 2.98, 4.14, false},  {15, 2.13, 2.95, 4.07, false},
    {16, 2.12, 2.92, 4.02, false},  {17, 2.11, 2.90, 3.97, false},  {18, 2.10, 2.88, 3.92, false},
    {19, 2.09, 2.86, 3.88, false},  {20, 2.09, 2.85, 3.85, false},  {21, 2.08, 2.83, 3.82, false},
    {22, 2.07, 2.82, 3.79, false},  {23, 2.07, 2.81, 3.77, false},  {24, 2.06, 2.80, 3.75, false},
    {25, 2.06, 2.79, 3.73, false},  {26, 2.06, 2.78, 3.71, false},  {27, 2.05, 2.77, 3.69, false},
    {28, 2.05, 2.76, 3.67, false},  {29, 2.04, 2.76, 3.66, true},   {30, 2.04, 2.75, 3.65, false},
    {40, 2.02, 2.70, 3.55, false},  {50, 2.01, 2.68, 3.50, false},  {60, 2.00, 2.66, 3.46, false},
    {80, 1.99, 2.64, 3.42, false},  {100, 1.98, 2.63, 3.39, false}, {120, 1.98, 2.62, 3.37, false},
    {200, 1.97, 2.60, 3.34, false}, {500, 1.96, 2.59, 3.31, false},
}};

bool reaches(const CriticalValueTable::Row& row, double t, double critical)
{
    return row.inclusive ? t >= critical : t > critical;
}

} // namespace

const std::array<CriticalValueTable::Row, CriticalValueTable::rowCount>& CriticalValueTable::rows()
{
    return table;
}

int CriticalValueTable::rowFor(int df)
{
    if (df < 1)
        return df;
    const auto above = std::upper_bound(table.begin(), table.end(), df,
                                        [](int value, const Row& row) { return value < row.df; });
    return std::prev(above)->df;
}

float CriticalValueTable::levelFor(int df, double t)
{
    const auto row =
        std::find_if(table.begin(), table.end(), [df](const Row& r) { return r.df == df; });
    if (row == table.end())
        return 0.0F;
    // From the highest level down; row 1 has no 99.9 test.
    if (row->c999 > 0.0 && reaches(*row, t, row->c999))
        return 99.9F;
    if (reaches(*row, t, row->c99))
        return 99.0F;
    if (reaches(*row, t, row->c95))
        return 95.0F;
    return 0.0F;
}

int CriticalValueTable::degreesOfFreedom(int n1, int n2)
{
    const std::int64_t df = static_cast<std::int64_t>(n1) + n2 - 2;
    return static_cast<int>(std::clamp<std::int64_t>(df, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}
