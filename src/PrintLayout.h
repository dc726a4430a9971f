// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Figure.h"

#include <QFont>
#include <QString>

class QPagedPaintDevice;
class QPainter;

// What goes on paper: a title line with the date; the protocol exactly as
// «Сохранить» writes it, every line, in the protocol's typeface; where both
// samples are closed, the figure and its numbers on a page of their own; and
// page numbers. The same on a printer and in a PDF.
struct PrintedDataSet
{
    QString protocol;
    QFont protocolFont;
    const FigureModel* figure = nullptr; // none while entry goes on
    QString numbers;
};

void printDataSet(QPagedPaintDevice* device, const PrintedDataSet& printed);

// The figure and its numbers under it, filling a page: for the print, and for
// the figure saved as a PDF.
void paintFigurePage(QPainter& painter, const QRectF& page, const FigureModel& model,
                     const QString& numbers, const QFont& font);
