// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Figure.h"

#include "CriticalValueTable.h"
#include "ExactTest.h"
#include "Protocol.h"
#include "TTest.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Figure", text);
}

QString sampleName(int k)
{
    return k == 0 ? tr("1-я выборка") : tr("2-я выборка");
}

// «M₁ ± m₁ = 5.5 ± 0.5»
QString meanAndError(int k, double mean, double error)
{
    const QString index = k == 0 ? QStringLiteral("\u2081") : QStringLiteral("\u2082");
    return QStringLiteral("M%1 \u00b1 m%1 = %2 \u00b1 %3").arg(index, real(mean), real(error));
}

// The smallest of 1, 2, 2.5 and 5 times a power of ten that is at least raw.
double roundStep(double raw)
{
    if (!(raw > 0) || !std::isfinite(raw))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * power >= raw * (1 - 1e-12))
            return factor * power;
    return 10.0 * power;
}

// Round numbers from first to last, about five of them.
std::vector<double> ticksOver(double first, double last)
{
    const double step = roundStep((last - first) / 5);
    std::vector<double> ticks;
    const double start = std::ceil(first / step - 1e-9);
    for (double k = start; (k * step) <= last + step * 1e-9 && ticks.size() < 50; ++k)
        ticks.push_back(k * step == 0 ? 0.0 : k * step); // never "-0"
    return ticks;
}

// A sample's variants, each once, ascending, with the sum of their frequencies;
// those that cancel out to 0 left out.
using Counts = std::vector<std::pair<double, std::int64_t>>;

Counts countsOf(const SampleSeries& series)
{
    Counts pairs;
    pairs.reserve(static_cast<std::size_t>(series.pairCount()));
    for (int k = 0; k < series.pairCount(); ++k)
        pairs.emplace_back(series.variant(k), series.frequency(k));
    std::sort(pairs.begin(), pairs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    Counts merged;
    for (const auto& [variant, count] : pairs) {
        if (merged.empty() || merged.back().first != variant)
            merged.emplace_back(variant, 0);
        merged.back().second += count;
    }
    merged.erase(std::remove_if(merged.begin(), merged.end(),
                                [](const auto& each) { return each.second == 0; }),
                 merged.end());
    return merged;
}

// The smallest gap between neighbouring variants; 0 where there is none.
double smallestGap(const Counts& variants)
{
    double gap = 0;
    for (std::size_t k = 1; k < variants.size(); ++k) {
        const double next = variants[k].first - variants[k - 1].first;
        if (next > 0)
            gap = gap == 0 ? next : std::min(gap, next);
    }
    return gap;
}

// Text measured as it will be drawn: on a printer or in a PDF, at its resolution.
QFontMetricsF metricsOf(const QFont& font, const QPaintDevice* device)
{
    return device != nullptr ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

bool isFinitePoint(const QPointF& point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

} // namespace

FigureModel FigureModel::of(const DataSet& data)
{
    FigureModel model;
    TTestResult r;
    computeTTest(data.sample1, data.sample2, r);
    const SampleSeries* series[] = {&data.sample1, &data.sample2};
    Counts counts[2];
    bool classes = false;
    for (int k = 0; k < 2; ++k) {
        Sample& sample = model.samples[static_cast<std::size_t>(k)];
        sample.n = series[k]->frequencySum();
        sample.mean = k == 0 ? r.dM1 : r.dM2;
        sample.error = k == 0 ? r.dm1 : r.dm2;
        counts[k] = countsOf(*series[k]);
        const bool negative = std::any_of(counts[k].cbegin(), counts[k].cend(),
                                          [](const auto& count) { return count.second < 0; });
        QString why;
        if (series[k]->pairCount() == 0)
            why = tr("пар ещё нет.");
        else if (sample.n <= 0)
            why = tr("сумма частот не положительна.");
        else if (negative)
            why = tr("есть отрицательные частоты.");
        else if (sample.n == 1)
            why = tr("одно наблюдение, полигон не строится.");
        else if (!std::isfinite(sample.mean) || !std::isfinite(sample.error))
            why = tr("значения вне допустимого диапазона.");
        if (!why.isEmpty())
            sample.trouble = sampleName(k) + QStringLiteral(": ") + why;
        classes = classes || (why.isEmpty() && counts[k].size() > 15);
    }

    if (classes) { // Sturges' number for the larger N, equal widths, round bounds
        std::int64_t most = 0;
        double low = 0;
        double high = 0;
        bool first = true;
        for (int k = 0; k < 2; ++k) {
            if (!model.drawable(k))
                continue;
            most = std::max(most, model.samples[static_cast<std::size_t>(k)].n);
            low = first ? counts[k].front().first : std::min(low, counts[k].front().first);
            high = first ? counts[k].back().first : std::max(high, counts[k].back().first);
            first = false;
        }
        const double number = std::ceil(std::log2(static_cast<double>(most))) + 1;
        const double width = roundStep((high - low) / number);
        const double start = std::floor(low / width) * width;
        model.classWidth = width;
        for (int k = 0; k < 2; ++k) {
            if (!model.drawable(k))
                continue;
            Sample& sample = model.samples[static_cast<std::size_t>(k)];
            std::map<std::int64_t, std::int64_t> bins;
            for (const auto& [variant, count] : counts[k])
                bins[static_cast<std::int64_t>(std::floor((variant - start) / width))] += count;
            const auto middle = [&](double bin) { return start + (bin + 0.5) * width; };
            const std::int64_t firstBin = bins.begin()->first;
            const std::int64_t lastBin = bins.rbegin()->first;
            sample.polygon.emplace_back(middle(static_cast<double>(firstBin) - 1), 0.0);
            for (std::int64_t bin = firstBin; bin <= lastBin && bin - firstBin < 100000; ++bin)
                sample.polygon.emplace_back(middle(static_cast<double>(bin)),
                                            100.0 * static_cast<double>(bins[bin]) /
                                                static_cast<double>(sample.n));
            sample.polygon.emplace_back(middle(static_cast<double>(lastBin) + 1), 0.0);
        }
    } else {
        // The step beyond the extremes: the smallest gap between neighbouring
        // variants; of both samples where one has a single variant.
        Counts both;
        for (int k = 0; k < 2; ++k)
            if (model.drawable(k))
                both.insert(both.end(), counts[k].cbegin(), counts[k].cend());
        std::sort(both.begin(), both.end());
        for (int k = 0; k < 2; ++k) {
            if (!model.drawable(k))
                continue;
            Sample& sample = model.samples[static_cast<std::size_t>(k)];
            double step = counts[k].size() > 1 ? smallestGap(counts[k]) : smallestGap(both);
            if (step == 0)
                step = 1;
            sample.polygon.emplace_back(counts[k].front().first - step, 0.0);
            for (const auto& [variant, count] : counts[k])
                sample.polygon.emplace_back(variant, 100.0 * static_cast<double>(count) /
                                                         static_cast<double>(sample.n));
            sample.polygon.emplace_back(counts[k].back().first + step, 0.0);
        }
    }

    bool any = false;
    for (int k = 0; k < 2; ++k) {
        Sample& sample = model.samples[static_cast<std::size_t>(k)];
        if (!model.drawable(k))
            continue;
        if (!std::all_of(sample.polygon.cbegin(), sample.polygon.cend(), isFinitePoint)) {
            sample.polygon.clear();
            sample.trouble =
                sampleName(k) + QStringLiteral(": ") + tr("значения вне допустимого диапазона.");
            continue;
        }
        double left = sample.mean - sample.error;
        double right = sample.mean + sample.error;
        double top = 0;
        for (const QPointF& point : sample.polygon) {
            left = std::min(left, point.x());
            right = std::max(right, point.x());
            top = std::max(top, point.y());
        }
        if (any) {
            left = std::min(left, model.range.left());
            right = std::max(right, model.range.right());
            top = std::max(top, model.range.bottom());
        }
        model.range = QRectF(QPointF(left, 0), QPointF(right, top));
        any = true;
    }
    return model;
}

FigurePlot::FigurePlot(const FigureModel& model, const QRectF& area, const QFont& font,
                       const QPaintDevice* device)
    : m_line(metricsOf(font, device).lineSpacing())
{
    if (!model.drawable(0) && !model.drawable(1))
        return;
    m_xTicks = ticksOver(model.range.left(), model.range.right());
    // y from 0 to the first round number at or above the highest point.
    const double step = roundStep(model.range.bottom() / 5);
    const double top = std::max(1.0, std::ceil(model.range.bottom() / step - 1e-9)) * step;
    m_yTicks = ticksOver(0, top);
    m_range = QRectF(QPointF(model.range.left(), 0), QPointF(model.range.right(), top));
    const QFontMetricsF metrics = metricsOf(font, device);
    double labels = 0;
    for (const double tick : m_yTicks)
        labels = std::max(labels, metrics.horizontalAdvance(real(tick)));
    const int legendLines = 2 + (model.classWidth > 0 ? 1 : 0);
    m_frame = QRectF(
        QPointF(area.left() + m_line * 1.8 + labels, area.top() + m_line * (legendLines + 0.7)),
        QPointF(area.right() - m_line, area.bottom() - m_line * 2.5));
}

double FigurePlot::markRow(int k) const
{
    return m_frame.bottom() - (k + 1) * m_line * 0.6;
}

QPointF FigurePlot::toPixel(QPointF value) const
{
    return {m_frame.left() + (value.x() - m_range.left()) / m_range.width() * m_frame.width(),
            m_frame.bottom() - value.y() / m_range.height() * m_frame.height()};
}

QColor sampleColour(const QPalette& palette, int k)
{
    return palette.color(k == 0 ? QPalette::Highlight : QPalette::Text);
}

void paintFigure(QPainter& painter, const QRectF& area, const FigureModel& model,
                 const QPalette& palette, const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    painter.fillRect(area, palette.color(QPalette::Base));
    const FigurePlot plot(model, area, font, painter.device());
    const double line = plot.legendLine();
    const double width = std::max(1.0, line / 8);
    const QColor ink = palette.color(QPalette::Text);

    // Each sample told apart by colour, line style and marker.
    const auto style = [&](int k) {
        QPen pen(sampleColour(palette, k), width, k == 0 ? Qt::SolidLine : Qt::DashLine);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
    };
    const auto marker = [&](int k, QPointF at, bool filled) {
        const double r = line / 5;
        painter.setPen(QPen(sampleColour(palette, k), width));
        painter.setBrush(filled ? sampleColour(palette, k) : palette.color(QPalette::Base));
        if (k == 0)
            painter.drawEllipse(at, r, r);
        else
            painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        painter.setBrush(Qt::NoBrush);
    };

    // The legend, or in its place why a sample is not drawn.
    double y = area.top() + line * 0.2;
    for (int k = 0; k < 2; ++k, y += line) {
        const FigureModel::Sample& sample = model.samples[static_cast<std::size_t>(k)];
        const QRectF row(area.left() + line * 0.5, y, area.width() - line, line);
        painter.setPen(ink);
        if (!model.drawable(k)) {
            painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, sample.trouble);
            continue;
        }
        const double middle = row.center().y();
        style(k);
        painter.drawLine(QPointF(row.left(), middle), QPointF(row.left() + 2 * line, middle));
        marker(k, QPointF(row.left() + line, middle), false);
        painter.setPen(ink);
        painter.drawText(row.adjusted(2.5 * line, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1, N = %2; %3")
                             .arg(sampleName(k))
                             .arg(sample.n)
                             .arg(meanAndError(k, sample.mean, sample.error)));
    }
    if (model.classWidth > 0)
        painter.drawText(QRectF(area.left() + line * 0.5, y, area.width() - line, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         tr("Ширина класса: %1").arg(real(model.classWidth)));
    const QRectF frame = plot.frame();
    if (frame.isEmpty()) {
        painter.restore();
        return;
    }

    // Axes with ticks at round numbers, written as the report writes numbers.
    painter.setPen(QPen(ink, width));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.bottomLeft(), frame.topLeft());
    for (const double tick : plot.xTicks()) {
        const double x = plot.toPixel(QPointF(tick, 0)).x();
        painter.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() + line / 4));
        painter.drawText(QRectF(x - line * 3, frame.bottom() + line / 4, line * 6, line),
                         Qt::AlignHCenter | Qt::AlignTop, real(tick));
    }
    for (const double tick : plot.yTicks()) {
        const double at = plot.toPixel(QPointF(0, tick)).y();
        painter.drawLine(QPointF(frame.left() - line / 4, at), QPointF(frame.left(), at));
        painter.drawText(
            QRectF(area.left(), at - line / 2, frame.left() - line / 3 - area.left(), line),
            Qt::AlignRight | Qt::AlignVCenter, real(tick));
    }
    painter.drawText(QRectF(frame.left(), frame.bottom() + line * 1.3, frame.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop,
                     model.classWidth > 0 ? tr("Варианта (середина класса)") : tr("Варианта"));
    painter.save();
    painter.translate(area.left(), frame.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-frame.height() / 2, 0, frame.height(), line),
                     Qt::AlignHCenter | Qt::AlignTop, tr("Частость, %"));
    painter.restore();

    for (int k = 0; k < 2; ++k) {
        if (!model.drawable(k))
            continue;
        const FigureModel::Sample& sample = model.samples[static_cast<std::size_t>(k)];
        QPolygonF polygon;
        for (const QPointF& point : sample.polygon)
            polygon << plot.toPixel(point);
        style(k);
        painter.drawPolyline(polygon);
        for (qsizetype n = 1; n + 1 < polygon.size(); ++n)
            marker(k, polygon[n], false);
        // M on the x axis, its interval M ± m beside it, each sample a row.
        const double at = plot.markRow(k);
        const QPointF from(plot.toPixel({sample.mean - sample.error, 0}).x(), at);
        const QPointF to(plot.toPixel({sample.mean + sample.error, 0}).x(), at);
        painter.setPen(QPen(sampleColour(palette, k), width));
        painter.drawLine(from, to);
        painter.drawLine(from - QPointF(0, line / 5), from + QPointF(0, line / 5));
        painter.drawLine(to - QPointF(0, line / 5), to + QPointF(0, line / 5));
        marker(k, QPointF(plot.toPixel({sample.mean, 0}).x(), at), true);
    }
    painter.restore();
}

QString describeFigure(const FigureModel& model)
{
    QStringList words{tr("Полигоны частот двух выборок, по оси y частость в процентах.")};
    for (int k = 0; k < 2; ++k) {
        const FigureModel::Sample& sample = model.samples[static_cast<std::size_t>(k)];
        if (!model.drawable(k)) {
            words << sample.trouble;
            continue;
        }
        const double first = sample.polygon.size() > 2 ? sample.polygon[1].x() : 0;
        const double last =
            sample.polygon.size() > 2 ? sample.polygon[sample.polygon.size() - 2].x() : 0;
        words << tr("%1: N = %2, %3, варианты от %4 до %5.")
                     .arg(sampleName(k))
                     .arg(sample.n)
                     .arg(meanAndError(k, sample.mean, sample.error), real(first), real(last));
    }
    if (model.classWidth > 0)
        words << tr("Ширина класса: %1.").arg(real(model.classWidth));
    return words.join(QLatin1Char(' '));
}

QString figureNumbers(const DataSet& data, bool closed)
{
    TTestResult r;
    computeTTest(data.sample1, data.sample2, r);
    QStringList lines;
    const SampleSeries* series[] = {&data.sample1, &data.sample2};
    for (int k = 0; k < 2; ++k) {
        const double mean = k == 0 ? r.dM1 : r.dM2;
        const double error = k == 0 ? r.dm1 : r.dm2;
        lines << (series[k]->pairCount() == 0 ? tr("%1: пар ещё нет.").arg(sampleName(k))
                                              : tr("%1: N = %2, %3.")
                                                    .arg(sampleName(k))
                                                    .arg(k == 0 ? r.iN1 : r.iN2)
                                                    .arg(meanAndError(k, mean, error)));
    }
    if (!closed)
        return lines.join(QLatin1Char('\n'));
    const ExactNumbers exact = exactNumbers(r);
    if (!exact.defined) {
        lines << tr("Точные p, интервал и величина эффекта не определены: в каждой выборке нужно "
                    "не менее двух наблюдений с конечным разбросом.");
        return lines.join(QLatin1Char('\n'));
    }
    const auto p = [](double value) {
        return value < 0.0001 ? QStringLiteral("p < 0.0001")
                              : QStringLiteral("p = ") + QString::number(value, 'g', 3);
    };
    lines << tr("t = %1, число степеней свободы %2: %3.")
                 .arg(real(r.dT))
                 .arg(exact.df)
                 .arg(p(exact.p));
    lines << (std::isnan(exact.welchDf)
                  ? tr("По Уэлчу: разброса нет, %1.").arg(p(exact.welchP))
                  : tr("По Уэлчу: число степеней свободы %1, %2.")
                        .arg(QString::number(exact.welchDf, 'f', 2), p(exact.welchP)));
    lines << tr("95%-й доверительный интервал M1 - M2: от %1 до %2.")
                 .arg(real(exact.low), real(exact.high));
    lines << tr("d Коэна = %1, g Хеджеса = %2.").arg(real(exact.d), real(exact.g));
    const int row = CriticalValueTable::rowFor(exact.df);
    const float table = CriticalValueTable::levelFor(row, r.dT);
    const auto verdict = [](float level) {
        return level != 0.0F
                   ? tr("достоверно с вероятностью %1%").arg(real(static_cast<double>(level)))
                   : tr("недостоверно");
    };
    if (table != exact.level)
        lines << tr("Таблица и точное p расходятся: по таблице (для %1 степеней свободы) различие "
                    "%2, по точному %3 \u2014 %4.")
                     .arg(row)
                     .arg(verdict(table), p(exact.p), verdict(exact.level));
    return lines.join(QLatin1Char('\n'));
}
