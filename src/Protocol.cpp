// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Protocol.h"

#include <QPainter>
#include <QTextBlock>

#include <algorithm>

Protocol::Protocol(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    connect(this, &QTextEdit::textChanged, this,
            [this] { setTextCursor(QTextCursor(document()->lastBlock())); });
}

bool Protocol::event(QEvent* event)
{
    const bool handled = QTextEdit::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        const int width = std::max(frameWidth(), 1);
        painter.setPen(QPen(palette().color(QPalette::Highlight), width));
        painter.drawRect(
            QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }
    return handled;
}
