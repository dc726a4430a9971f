// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QRect>
#include <QStringList>

#include <array>

class QScrollBar;
class QWidget;

// The dialog as it was drawn for Qt's own default font: every widget's place,
// the dialog's size and the protocol's type. A font that needs more room for
// the dialog's texts scales all of it by one factor. Where the drawing so grown
// is wider than the screen, a narrower one of the same widgets is taken, the
// buttons below the edits; where even that is taller than the screen, the
// dialog's content scrolls and follows the focus, and the protocol's newest line
// with it after each line the protocol gains. The widgets are found by
// their object names, so this knows the drawing and the screen, not the entry.
class DrawnLayout : public QObject
{
    Q_OBJECT

public:
    struct Place
    {
        const char* name;
        QRect rect;
    };
    // In the order the dialog makes its widgets.
    static const std::array<Place, 14> places;
    static constexpr int protocolPoints = 12;

    // hints: every text the message line takes.
    DrawnLayout(QWidget* dialog, QStringList hints);

    // How much larger than drawn the dialog must be for its texts in its font.
    // Never below 1.
    double fontScale() const;
    // Every widget at its place for the font and the screen, the protocol's type
    // with them, and the dialog as large as that, but no larger than its screen.
    void relayout();
    // The protocol takes the room the dialog's size leaves it.
    void placeProtocol();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scrollBy(int pixels);
    void follow(QWidget* focused, bool newest);
    QRect newestLine() const;
    void placeAll();

    QWidget* m_dialog;
    QStringList m_hints;
    QScrollBar* m_scroll;
    bool m_newest = false;        // the protocol changed since the focus last moved
    std::array<QRect, 14> m_at{}; // each widget's place before any scrolling
};
