// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Handover.h"

#include <QWidget>

void handOver(QWidget* from, QWidget* to, const QString& news)
{
    to->setAccessibleDescription(news);
    to->setEnabled(true);
    to->setFocus();
    from->setAccessibleDescription(QString());
    from->setDisabled(true);
}

void tell(QWidget* widget, const QString& news)
{
    widget->setAccessibleDescription(news);
    if (widget->hasFocus())
        widget->clearFocus();
    widget->setFocus();
}
