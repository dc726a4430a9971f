// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "EntryEdit.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

EntryEdit::EntryEdit(QWidget* parent) : QLineEdit(parent) {}

void EntryEdit::setTaker(Taker taker)
{
    m_taker = std::move(taker);
}

bool EntryEdit::offer(const QString& text)
{
    return !isReadOnly() && m_taker && m_taker(this, text);
}

void EntryEdit::pasteFrom(QClipboard::Mode mode)
{
    const QString text = QGuiApplication::clipboard()->text(mode);
    if (offer(text))
        return;
    if (mode == QClipboard::Clipboard) {
        paste();
    } else { // as the toolkit pastes the selection on a middle click
        deselect();
        insert(text);
    }
}

bool EntryEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) &&
        (text().isEmpty() || !isUndoAvailable())) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void EntryEdit::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Paste && !isReadOnly()) {
        pasteFrom(QClipboard::Clipboard);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        pasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EntryEdit::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasText() && offer(event->mimeData()->text())) {
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dropEvent(event);
}

QMenu* EntryEdit::createContextMenu()
{
    QMenu* menu = createStandardContextMenu();
    // Qt 6.4 connects its paste by name, later ones by member.
    for (QAction* action : menu->actions())
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
            disconnect(action, &QAction::triggered, this, &QLineEdit::paste))
            connect(action, &QAction::triggered, this,
                    [this] { pasteFrom(QClipboard::Clipboard); });
    return menu;
}

void EntryEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
