// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QStringList>

#include <array>

class QWidget;

// The dialog as it was drawn for Qt's own default font: every widget's place,
// the dialog's size and the protocol's type. A font that needs more room for
// the dialog's texts scales all of it by one factor. The widgets are found by
// their object names, so this knows the drawing and the screen, not the entry.
namespace DrawnLayout {

struct Place
{
    const char* name;
    QRect rect;
};
// In the order the dialog makes its widgets.
extern const std::array<Place, 14> places;
constexpr int protocolPoints = 12;

// How much larger than drawn the dialog must be for its texts in its font;
// hints are every text the message line takes. Never below 1.
double fontScale(const QWidget* dialog, const QStringList& hints);
// Every widget at its place for the font, the protocol's type with them, and
// the dialog as large as drawn for that font, but no larger than its screen.
void relayout(QWidget* dialog, const QStringList& hints);
// The protocol alone follows the dialog's size.
void placeProtocol(QWidget* dialog);

} // namespace DrawnLayout
