// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "DataSet.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <vector>

class QColor;
class QFont;
class QPainter;
class QPalette;
class QPaintDevice;

// The picture of a data set as the method draws it: each sample's frequency
// polygon, y the relative frequency in per cent of its N, its ends down on the
// axis one step beyond its extreme variants; over class intervals where a
// sample has more than 15 distinct variants; and each mean on the x axis with
// its interval M ± m.
struct FigureModel
{
    struct Sample
    {
        QString trouble; // why it is not drawn; empty where it is
        std::int64_t n = 0;
        double mean = 0.0;
        double error = 0.0;             // m, the report's standard error
        std::vector<QPointF> polygon{}; // (variant or class middle, per cent), ends included
    };
    std::array<Sample, 2> samples;
    double classWidth = 0.0; // 0 where the variants are drawn as they are
    QRectF range;            // of the values drawn: x the variants, y the per cents

    static FigureModel of(const DataSet& data);
    bool drawable(int k) const { return samples[static_cast<std::size_t>(k)].trouble.isEmpty(); }
};

// Where the figure lands in a rectangle, for painting and for checking it.
class FigurePlot
{
public:
    // device: what the font is measured for; none for the screen.
    FigurePlot(const FigureModel& model, const QRectF& area, const QFont& font,
               const QPaintDevice* device = nullptr);
    QPointF toPixel(QPointF value) const;
    // The height at which sample k's M ± m lies over the x axis.
    double markRow(int k) const;
    QRectF frame() const { return m_frame; } // the axes; empty where nothing is drawn
    double legendLine() const { return m_line; }
    const std::vector<double>& xTicks() const { return m_xTicks; }
    const std::vector<double>& yTicks() const { return m_yTicks; }

private:
    std::vector<double> m_xTicks;
    std::vector<double> m_yTicks;
    QRectF m_range;
    QRectF m_frame;
    double m_line = 0;
};

// Each sample's colour, from the palette, so that dark and high-contrast themes
// hold; the samples also differ by line style and marker.
QColor sampleColour(const QPalette& palette, int k);

// The one painting of the figure, on any device: the window, an image, a file.
void paintFigure(QPainter& painter, const QRectF& area, const FigureModel& model,
                 const QPalette& palette, const QFont& font);

// The figure in words, for a screen reader.
QString describeFigure(const FigureModel& model);

// The numbers under the figure: N and M ± m of each sample so far; once both
// samples are closed, the exact p, Welch's, the interval, d and g, and where
// the table's verdict and the exact p disagree, a line that says so.
QString figureNumbers(const DataSet& data, bool closed);
