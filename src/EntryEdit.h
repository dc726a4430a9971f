// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QClipboard>
#include <QLineEdit>

#include <functional>

class QMenu;

// A line edit that offers every text pasted or dropped into it to its dialog
// first: by Ctrl+V and Shift+Insert, the context menu, the X11 selection's
// middle click, or a drop. What the dialog does not take is pasted as usual.
// Its Ctrl+Z undoes only what was typed and is still there; past that, Ctrl+Z
// is the dialog's.
class EntryEdit : public QLineEdit
{
public:
    // True when the dialog took the text, which then goes nowhere else.
    using Taker = std::function<bool(QLineEdit* edit, const QString& text)>;

    explicit EntryEdit(QWidget* parent);
    void setTaker(Taker taker);
    // The toolkit's own menu, with its paste going through the dialog.
    QMenu* createContextMenu();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool offer(const QString& text);
    void pasteFrom(QClipboard::Mode mode);

    Taker m_taker;
};
