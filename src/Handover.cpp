// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Handover.h"

#include <QWidget>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

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
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // A screen reader speaks no field that takes a focus it already had (Orca
    // 43 and 48 alike), so where the toolkit can, the news is announced too.
    QAccessibleAnnouncementEvent announcement(widget, news);
    QAccessible::updateAccessibility(&announcement);
#endif
}
