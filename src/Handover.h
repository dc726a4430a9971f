// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

// Moves the user on: the next widget is enabled and focused before the current
// one is disabled, so the focus never wanders through the widgets in between.
// What the user should hear now (the pair just echoed, a new hint, t and the
// verdict) becomes the description of the widget taking the focus, set before
// the focus moves: screen readers speak a description with the focus, while a
// changed label or description on its own goes unspoken by some (Orca 43). The
// widget left behind forgets its news, so nothing stale is read out later.
void handOver(QWidget* from, QWidget* to, const QString& news = QString());

// The news for a widget that keeps the focus: its description, heard when the
// focus comes back to it, and announced where the toolkit can (Qt 6.8 on).
void tell(QWidget* widget, const QString& news);
