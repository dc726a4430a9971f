// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PrintLayout", text);
}

// Plain lines laid out for a page width on the device, in the given font.
void fill(QTextDocument& document, QPaintDevice* device, const QFont& font, double width,
          const QString& text)
{
    document.documentLayout()->setPaintDevice(device);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setTextWidth(width);
    document.setPlainText(text);
}

// A light palette for paper, whatever the screen's theme.
QPalette paperPalette()
{
    QPalette paper = QApplication::palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        paper.setColor(role, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        paper.setColor(role, Qt::black);
    return paper;
}

} // namespace

void paintFigurePage(QPainter& painter, const QRectF& page, const FigureModel& model,
                     const QString& numbers, const QFont& font)
{
    QTextDocument text;
    fill(text, painter.device(), font, page.width(), numbers);
    const double below = std::min(text.size().height(), page.height() / 2);
    // As wide as the page, three quarters of that high where the page allows.
    const double high = std::min(page.height() - below, page.width() * 0.75);
    paintFigure(painter, QRectF(page.topLeft(), QSizeF(page.width(), high)), model, paperPalette(),
                font);
    painter.save();
    painter.translate(page.left(), page.top() + high);
    text.drawContents(&painter, QRectF(0, 0, page.width(), below));
    painter.restore();
}

void printDataSet(QPagedPaintDevice* device, const PrintedDataSet& printed)
{
    QPainter painter(device);
    if (!painter.isActive())
        return;
    const QRectF paper = QRectF(QPointF(0, 0), QSizeF(device->width(), device->height()));
    const QFont plain = QApplication::font();
    QTextDocument footer;
    fill(footer, device, plain, paper.width(), QStringLiteral("0"));
    const double footerHeight = footer.size().height() * 2;
    const QRectF body(paper.left(), paper.top(), paper.width(), paper.height() - footerHeight);

    QTextDocument document;
    fill(document, device, printed.protocolFont, body.width(), QString());
    QTextCursor cursor(&document);
    QTextCharFormat title;
    title.setFont(plain);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(
        tr("Сравнение по t-критерию Стъюдента") + QStringLiteral(", ") +
            QLocale(QLocale::Russian).toString(QDate::currentDate(), QLocale::LongFormat),
        title);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat()); // a line between
    cursor.insertBlock();
    cursor.insertFragment(QTextDocumentFragment::fromPlainText(printed.protocol));
    document.setPageSize(body.size());

    const int textPages = document.pageCount();
    const int pages = textPages + (printed.figure != nullptr ? 1 : 0);
    const auto number = [&](int page) {
        painter.save();
        painter.setFont(plain);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(paper.left(), body.bottom(), paper.width(), footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         tr("Страница %1 из %2").arg(page).arg(pages));
        painter.restore();
    };
    for (int page = 0; page < textPages; ++page) {
        if (page > 0)
            device->newPage();
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        const QRectF shown(0, page * body.height(), body.width(), body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = shown;
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(shown);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        number(page + 1);
    }
    if (printed.figure != nullptr) {
        device->newPage();
        paintFigurePage(painter, body, *printed.figure, printed.numbers, plain);
        number(pages);
    }
}
