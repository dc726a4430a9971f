// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QIcon;
class QString;
class QWidget;

// The program's face on the desktop: its icon, its greeting, the toolkit's own
// words in Russian and the one question every yes/no box asks.

// The program's icon from the icon theme, or the one built in where the theme
// has none that can be drawn (a bare build, no SVG support).
QIcon programIcon();

// The program's start-up greeting, modal, before the dialog is shown.
void showAboutBox();

// The toolkit's own texts (file dialog, context menus, standard buttons) in
// Russian, like the program's, whatever the locale. Without the catalogue they
// stay as the toolkit has them; false then.
bool installToolkitTranslation();

// "&Да" and "&Нет" in this order on every desktop, in a warning box that
// belongs to dialog; true for "&Да". The default answer is also what Escape
// and the box's own close mean.
bool confirmed(QWidget* dialog, const QString& title, const QString& text, bool byDefault = false);
