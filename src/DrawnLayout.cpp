// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DrawnLayout.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>
#include <utility>

const std::array<DrawnLayout::Place, 14> DrawnLayout::places = {{
    {"V1Label", {10, 40, 140, 20}},
    {"V2Label", {10, 110, 140, 20}},
    {"P1Label", {160, 40, 183, 20}},
    {"P2Label", {160, 110, 183, 20}},
    {"V1Edit", {10, 70, 140, 22}},
    {"MessageLabel", {10, 10, 580, 20}},
    {"ResultEdit", {10, 180, 580, 290}},
    {"SubmitButton", {350, 70, 111, 30}},
    {"EndButton", {470, 70, 111, 30}},
    {"P1Edit", {160, 70, 140, 22}},
    {"V2Edit", {10, 140, 140, 22}},
    {"P2Edit", {160, 140, 140, 22}},
    {"CalculateButton", {350, 130, 111, 30}},
    {"SaveButton", {470, 130, 111, 30}},
}};

namespace {

const QSize drawnSize(600, 480);
// The same widgets for a narrower screen, in the same order: the message line
// wrapped, each sample's buttons below its edits, the protocol below all; and
// for a narrower one still, everything in one column.
struct Arrangement
{
    std::array<QRect, 14> places;
    QSize size;
};
const Arrangement narrower[] = {
    {{{
         {10, 60, 140, 20},   // V1Label
         {10, 162, 140, 20},  // V2Label
         {160, 60, 183, 20},  // P1Label
         {160, 162, 183, 20}, // P2Label
         {10, 90, 140, 22},   // V1Edit
         {10, 10, 333, 40},   // MessageLabel
         {10, 264, 333, 206}, // ResultEdit
         {10, 122, 140, 30},  // SubmitButton
         {160, 122, 140, 30}, // EndButton
         {160, 90, 140, 22},  // P1Edit
         {10, 192, 140, 22},  // V2Edit
         {160, 192, 140, 22}, // P2Edit
         {10, 224, 140, 30},  // CalculateButton
         {160, 224, 140, 30}, // SaveButton
     }},
     {353, 480}},
    {{{
         {10, 60, 183, 20},   // V1Label
         {10, 272, 183, 20},  // V2Label
         {10, 122, 183, 20},  // P1Label
         {10, 334, 183, 20},  // P2Label
         {10, 90, 183, 22},   // V1Edit
         {10, 10, 183, 40},   // MessageLabel
         {10, 484, 183, 206}, // ResultEdit
         {10, 184, 183, 30},  // SubmitButton
         {10, 224, 183, 30},  // EndButton
         {10, 152, 183, 22},  // P1Edit
         {10, 302, 183, 22},  // V2Edit
         {10, 364, 183, 22},  // P2Edit
         {10, 396, 183, 30},  // CalculateButton
         {10, 436, 183, 30},  // SaveButton
     }},
     {203, 700}},
};
constexpr int message = 5;
constexpr int protocol = 6;

// A variant's caption may reach 4 px before its frequency's; a frequency's the
// right margin, where the message line ends.
const int variantCaptionRoom = 146;
const int frequencyCaptionRoom = 430;

template <typename T> T* widget(const QWidget* dialog, const char* name)
{
    return dialog->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QRect drawnPlace(const char* name)
{
    for (const DrawnLayout::Place& place : DrawnLayout::places)
        if (qstrcmp(place.name, name) == 0)
            return place.rect;
    return {};
}

// Edges scaled rather than sizes, so that neighbours stay neighbours.
QRect scaled(const QRect& rect, double factor)
{
    const auto scale = [factor](int value) { return qRound(value * factor); };
    return {QPoint(scale(rect.left()), scale(rect.top())),
            QPoint(scale(rect.right() + 1) - 1, scale(rect.bottom() + 1) - 1)};
}

const char* const captions[] = {"V1Label", "V2Label", "P1Label", "P2Label"};

// Room left for the window's frame, as much as Qt itself allows for one when it
// places a dialog.
QSize screenRoom(const QWidget* dialog)
{
    return dialog->screen()->availableGeometry().size() - QSize(10, 40);
}

// Four lines of the protocol, its frame and margins with them.
int fewLines(const QTextEdit* text)
{
    return 4 * QFontMetrics(text->font()).lineSpacing() +
           2 * (text->frameWidth() + qCeil(text->document()->documentMargin()));
}

} // namespace

DrawnLayout::DrawnLayout(QWidget* dialog, QStringList hints)
    : QObject(dialog), m_dialog(dialog), m_hints(std::move(hints)),
      m_scroll(new QScrollBar(Qt::Vertical, dialog))
{
    m_scroll->hide();
    m_scroll->setFocusPolicy(Qt::NoFocus);
    connect(m_scroll, &QScrollBar::valueChanged, this, &DrawnLayout::placeAll);
    // A step changes the protocol, then moves the focus on: the newest line is
    // kept in view until the focus has moved, and with it.
    connect(widget<QTextEdit>(dialog, "ResultEdit"), &QTextEdit::textChanged, this, [this] {
        m_newest = true;
        follow(QApplication::focusWidget(), true);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->parentWidget() == m_dialog && !now->isWindow())
            follow(now, std::exchange(m_newest, false));
    });
    dialog->installEventFilter(this);
}

// Each caption, hint and button against the room drawn for it, a line and an
// edit against their heights: Qt's default font needs no more room.
double DrawnLayout::fontScale() const
{
    double factor = 1.0;
    const auto needs = [&factor](double needed, double room) {
        factor = std::max(factor, needed / room);
    };
    const int variantX = drawnPlace("V1Label").x();
    for (const char* name : captions) {
        const QLabel* caption = widget<QLabel>(m_dialog, name);
        needs(caption->sizeHint().width(),
              drawnPlace(name).x() == variantX ? variantCaptionRoom : frequencyCaptionRoom);
        needs(caption->sizeHint().height(), drawnPlace(name).height());
    }
    const QLabel* line = widget<QLabel>(m_dialog, "MessageLabel");
    for (const QString& hint : m_hints)
        needs(line->fontMetrics().horizontalAdvance(hint), drawnPlace("MessageLabel").width());
    for (const char* name : {"SubmitButton", "EndButton", "CalculateButton", "SaveButton"}) {
        const QSize hint = widget<QPushButton>(m_dialog, name)->sizeHint();
        needs(hint.width(), drawnPlace(name).width());
        needs(hint.height(), drawnPlace(name).height());
    }
    needs(widget<QLineEdit>(m_dialog, "V1Edit")->sizeHint().height(),
          drawnPlace("V1Edit").height());
    return factor;
}

void DrawnLayout::relayout()
{
    const double factor = fontScale();
    auto* text = widget<QTextEdit>(m_dialog, "ResultEdit");
    QFont protocolFont = text->font();
    protocolFont.setPointSizeF(protocolPoints * factor);
    text->setFont(protocolFont);
    const QSize room = screenRoom(m_dialog);
    const int scrollWidth = m_scroll->sizeHint().width();
    auto* line = widget<QLabel>(m_dialog, "MessageLabel");
    // As drawn where that fits across the screen, with a scroll bar beside it
    // where it must scroll; else the first narrower one that fits, or the
    // narrowest.
    for (int k = -1; k < static_cast<int>(std::size(narrower)); ++k) {
        const bool drawn = k < 0;
        line->setWordWrap(!drawn);
        QSize size = scaled(QRect(QPoint(), drawn ? drawnSize : narrower[k].size), factor).size();
        int below = 0; // how much taller than drawn the wrapped message line is
        for (std::size_t n = 0; n < places.size(); ++n) {
            const QRect at = scaled(drawn ? places[n].rect : narrower[k].places[n], factor);
            if (!drawn && n == message) // on as many lines as its longest hint wants
                for (const QString& hint : m_hints)
                    below = std::max(below, line->fontMetrics()
                                                    .boundingRect(QRect(0, 0, at.width(), 1 << 20),
                                                                  Qt::TextWordWrap, hint)
                                                    .height() -
                                                at.height());
            m_at[n] = n == message ? at.adjusted(0, 0, 0, below) : at.translated(0, below);
            const auto* caption = widget<QLabel>(m_dialog, places[n].name);
            if (caption != nullptr && n != message)
                m_at[n].setWidth(std::max(m_at[n].width(), caption->sizeHint().width()));
            if (!drawn) // a caption wider than drawn widens a narrower dialog
                size.setWidth(std::max(size.width(), m_at[n].right() + 1 + m_at[0].x()));
        }
        size.rheight() += below;
        if (m_at[protocol].y() + fewLines(text) + m_at[protocol].x() > room.height())
            size.rwidth() += scrollWidth;
        if (size.width() <= room.width() || k + 1 == static_cast<int>(std::size(narrower))) {
            m_dialog->resize(size.boundedTo(room));
            break;
        }
    }
    placeProtocol();
}

// The protocol takes what room there is below the buttons, keeping its
// margins, and shows at least four lines; where the dialog is too short for
// that, the content is as tall as it needs and scrolls.
void DrawnLayout::placeProtocol()
{
    auto* text = widget<QTextEdit>(m_dialog, "ResultEdit");
    QRect& at = m_at[protocol];
    const int margin = at.x();
    const int least = fewLines(text);
    const bool scrolls = at.y() + least + margin > m_dialog->height();
    const int width = m_dialog->width() - (scrolls ? m_scroll->sizeHint().width() : 0);
    at.setSize({std::max(width - 2 * margin, least),
                scrolls ? least : m_dialog->height() - at.y() - margin});
    const int contentHeight = at.bottom() + 1 + margin;
    m_scroll->setGeometry(m_dialog->width() - m_scroll->sizeHint().width(), 0,
                          m_scroll->sizeHint().width(), m_dialog->height());
    m_scroll->setRange(0, std::max(0, contentHeight - m_dialog->height()));
    m_scroll->setPageStep(m_dialog->height());
    m_scroll->setSingleStep(QFontMetrics(m_dialog->font()).lineSpacing());
    m_scroll->setVisible(scrolls);
    placeAll();
}

void DrawnLayout::placeAll()
{
    const int offset = m_scroll->isHidden() ? 0 : m_scroll->value();
    for (std::size_t k = 0; k < places.size(); ++k)
        widget<QWidget>(m_dialog, places[k].name)->setGeometry(m_at[k].translated(0, -offset));
}

void DrawnLayout::scrollBy(int pixels)
{
    m_scroll->setValue(m_scroll->value() + pixels);
}

// The keyboard user sees where the focus is: a widget taking it is scrolled
// into view, whole where it fits; and after a step, the protocol's newest line
// with it where both fit, so that what the step wrote is seen.
void DrawnLayout::follow(QWidget* focused, bool newest)
{
    if (focused == nullptr || m_scroll->isHidden() || focused->parentWidget() != m_dialog ||
        focused->isWindow())
        return;
    QRect at = focused->geometry();
    if (newest && at.united(newestLine()).height() <= m_dialog->height())
        at = at.united(newestLine());
    if (at.top() < 0)
        scrollBy(at.top());
    else if (at.bottom() >= m_dialog->height())
        scrollBy(std::min(at.bottom() + 1 - m_dialog->height(), at.top()));
}

// Where the protocol shows its last line, all of it, in the dialog.
QRect DrawnLayout::newestLine() const
{
    const auto* text = widget<QTextEdit>(m_dialog, "ResultEdit");
    QTextCursor end(text->document());
    end.movePosition(QTextCursor::End);
    QTextCursor start(end);
    start.movePosition(QTextCursor::StartOfBlock);
    const QRect line = text->cursorRect(start).united(text->cursorRect(end));
    return QRect(text->viewport()->mapTo(m_dialog, line.topLeft()), line.size()) & text->geometry();
}

// A wheel anywhere on the dialog scrolls it, and a move to another screen takes
// the arrangement that screen needs.
bool DrawnLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dialog && event->type() == QEvent::Wheel && !m_scroll->isHidden()) {
        QApplication::sendEvent(m_scroll, event);
        return true;
    }
    if (watched == m_dialog && event->type() == QEvent::ScreenChangeInternal)
        relayout();
    return QObject::eventFilter(watched, event);
}
