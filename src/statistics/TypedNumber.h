// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// What the user typed into an edit, turned into a number or refused.

// A variant is any finite real. Surrounding spaces are ignored and a decimal
// comma is read as a point, as Russian users write it. Empty text, letters,
// "inf", "nan" and values beyond the double range are refused.
std::optional<double> parseVariant(const QString& text);

// A frequency is a nonzero whole number in the range of int, negative allowed (a
// negative frequency lets the user cancel a mistyped pair). 0, fractions, letters
// and values beyond int are refused.
std::optional<int> parseFrequency(const QString& text);
