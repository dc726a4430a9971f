#pragma once

#include <QString>

#include <optional>

// What the user typed into an edit, turned into a number or refused.

// A variant is any finite real. Surrounding spaces are ignored and a decimal
// comma is read as a point, as Russian users write it. Empty text, letters,
// "inf", "nan" and values beyond the double range are refused.
std::optional<double> parseVariant(const QString& text);

// A frequency is a whole number in the range of int, negative allowed (a negative
// frequency lets the user cancel a mistyped pair). Anything else, 0 included,
// gives 0, which the caller refuses.
int parseFrequency(const QString& text);
