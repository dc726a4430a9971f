// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Protocol.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

QString real(double value)
{
    return QString::number(value, 'g', 6);
}

QString variantEcho(int k, double value)
{
    return QLatin1Char('v') + QString::number(k) + QLatin1String(": ") + real(value) +
           QLatin1String(" - ");
}

QString frequencyEcho(int k, int value)
{
    return QLatin1Char('p') + QString::number(k) + QLatin1String(": ") + QString::number(value) +
           QLatin1Char('.');
}

// Nobody edits the protocol, so it keeps no undo history of its own, which
// would grow with every line.
Protocol::Protocol(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The caret on the newest line, and the view at the end, so that the newest
    // line shows whole however many lines it wraps to.
    connect(this, &QTextEdit::textChanged, this, [this] {
        setTextCursor(QTextCursor(document()->lastBlock()));
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    });
}

// The newest lines from the end of the one before them: one edit, however long
// the protocol is.
void Protocol::removeLastLines(QTextEdit* protocol, int count)
{
    QTextBlock first = protocol->document()->lastBlock();
    for (int k = 1; k < count; ++k)
        first = first.previous();
    QTextCursor cursor(protocol->document());
    cursor.movePosition(QTextCursor::End);
    cursor.setPosition(first.position() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

QMenu* Protocol::createContextMenu()
{
    QMenu* menu = createStandardContextMenu();
    if (!m_leading.isEmpty()) {
        QAction* first = menu->actions().value(0);
        menu->insertActions(first, m_leading);
        menu->insertSeparator(first);
    }
    return menu;
}

void Protocol::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
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
