// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTextEdit>

// Six significant digits, a point as decimal separator in every locale.
QString real(double value);
// "v3: 5 - " and "p3: 2.", the halves of a pair's protocol line.
QString variantEcho(int k, double value);
QString frequencyEcho(int k, int value);

// The running protocol: read-only, with a caret so that it can be read line by
// line from the keyboard, as a screen reader does. It shows the keyboard focus
// as the edits do, a frame in the palette's highlight over the style's own,
// which marks no focus on a text area. Its caret follows it as it grows: on the
// newest line, in view, so that the keyboard lands on the line just read.
class Protocol : public QTextEdit
{
public:
    explicit Protocol(QWidget* parent);

    // Actions of the dialog's at the head of the context menu, above the
    // toolkit's own items.
    void setLeadingActions(QList<QAction*> actions) { m_leading = std::move(actions); }
    QMenu* createContextMenu();

    // A step taken back takes its lines with it.
    static void removeLastLines(QTextEdit* protocol, int count);

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<QAction*> m_leading;
};
