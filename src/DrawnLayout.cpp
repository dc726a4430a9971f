// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DrawnLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QtMath>

#include <algorithm>

namespace DrawnLayout {

const QSize designedSize(600, 480);
const std::array<Place, 14> places = {{
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
    for (const Place& place : places)
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

} // namespace

// Each caption, hint and button against the room drawn for it, a line and an
// edit against their heights: Qt's default font needs no more room.
double fontScale(const QWidget* dialog, const QStringList& hints)
{
    double factor = 1.0;
    const auto needs = [&factor](double needed, double room) {
        factor = std::max(factor, needed / room);
    };
    const int variantX = drawnPlace("V1Label").x();
    for (const char* name : captions) {
        const QLabel* caption = widget<QLabel>(dialog, name);
        needs(caption->sizeHint().width(),
              drawnPlace(name).x() == variantX ? variantCaptionRoom : frequencyCaptionRoom);
        needs(caption->sizeHint().height(), drawnPlace(name).height());
    }
    const QLabel* message = widget<QLabel>(dialog, "MessageLabel");
    for (const QString& hint : hints)
        needs(message->fontMetrics().horizontalAdvance(hint), drawnPlace("MessageLabel").width());
    for (const char* name : {"SubmitButton", "EndButton", "CalculateButton", "SaveButton"}) {
        const QSize hint = widget<QPushButton>(dialog, name)->sizeHint();
        needs(hint.width(), drawnPlace(name).width());
        needs(hint.height(), drawnPlace(name).height());
    }
    needs(widget<QLineEdit>(dialog, "V1Edit")->sizeHint().height(), drawnPlace("V1Edit").height());
    return factor;
}

void relayout(QWidget* dialog, const QStringList& hints)
{
    const double factor = fontScale(dialog, hints);
    for (const Place& place : places)
        widget<QWidget>(dialog, place.name)->setGeometry(scaled(place.rect, factor));
    for (const char* name : captions) {
        QLabel* caption = widget<QLabel>(dialog, name);
        caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());
    }
    QTextEdit* protocol = widget<QTextEdit>(dialog, "ResultEdit");
    QFont protocolFont = protocol->font();
    protocolFont.setPointSizeF(protocolPoints * factor);
    protocol->setFont(protocolFont);
    // Room left for the window's frame, as much as Qt itself allows for one when
    // it places a dialog.
    const QSize screenRoom = dialog->screen()->availableGeometry().size() - QSize(10, 40);
    dialog->resize(scaled(QRect(QPoint(), designedSize), factor).size().boundedTo(screenRoom));
    placeProtocol(dialog);
}

// It takes what room there is below the buttons, keeping its margins, and
// shows at least four lines.
void placeProtocol(QWidget* dialog)
{
    QTextEdit* protocol = widget<QTextEdit>(dialog, "ResultEdit");
    const int margin = protocol->x();
    const int fewLines =
        4 * QFontMetrics(protocol->font()).lineSpacing() +
        2 * (protocol->frameWidth() + qCeil(protocol->document()->documentMargin()));
    protocol->resize(std::max(dialog->width() - 2 * margin, fewLines),
                     std::max(dialog->height() - protocol->y() - margin, fewLines));
}

} // namespace DrawnLayout
