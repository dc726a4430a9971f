// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// «Рисунок» on large samples (offscreen): the figure of 10^4 and 10^5 pairs a
// sample built and painted into an image, against a frame of 16 ms; then a pair
// typed on top of 10^4 pasted pairs with the window open against closed, each
// until the event loop has drawn what follows from it.
// Run: QT_QPA_PLATFORM=offscreen XDG_STATE_HOME=/proc/zentu build/bench/bench_figure
#include "DataSet.h"
#include "Figure.h"
#include "FigureWindow.h"
#include "Journal.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Raw observations of two groups, most of them distinct: the classes' case.
DataSet largeSamples(int pairs)
{
    DataSet data;
    for (int k = 0; k < pairs; ++k) {
        data.sample1.appendVariant(50.0 + 0.001 * k);
        data.sample1.appendFrequency(1 + k % 3);
        data.sample2.appendVariant(52.0 + 0.0011 * k);
        data.sample2.appendFrequency(1 + k % 5);
    }
    return data;
}

// Milliseconds per pair typed (variant and frequency), the event loop drained
// after each, so that a window open redraws as the user would see it.
double typing(StudentForm& form, int pairs)
{
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < pairs; ++k) {
        form.V1Edit->setText(QString::number(60 + k));
        form.SubmitButton->click();
        form.P1Edit->setText(QStringLiteral("2"));
        form.SubmitButton->click();
        QApplication::processEvents();
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6 / pairs;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ModalCatcher catcher;
    std::printf("pairs a sample    build    paint    both (frame: 16 ms)\n");
    for (const int pairs : {10000, 100000}) {
        const DataSet data = largeSamples(pairs);
        QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
        std::vector<double> built;
        std::vector<double> painted;
        for (int run = 0; run < 9; ++run) {
            QElapsedTimer timer;
            timer.start();
            const FigureModel model = FigureModel::of(data);
            built.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            timer.start();
            QPainter painter(&image);
            paintFigure(painter, QRectF(image.rect()), model, QPalette(), QFont());
            painter.end();
            painted.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("%15d %7.2f ms %6.2f ms %6.2f ms\n", pairs, median(built), median(painted),
                    median(built) + median(painted));
    }

    currentJournal().discard();
    StudentForm form;
    form.show();
    QString text;
    for (int k = 0; k < 10000; ++k)
        text += QString::number(10.0 + 0.001 * k).replace('.', ',') + QStringLiteral("\t2\n");
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(form.V1Edit, Qt::Key_V, Qt::ControlModifier);
    constexpr int typed = 100;
    const double closed = typing(form, typed);
    form.showFigure();
    QApplication::processEvents();
    const double open = typing(form, typed);
    std::printf("\na pair typed on 10^4 pasted pairs: window closed %.2f ms, open %.2f ms, "
                "ratio %.2f (boxes: %lld)\n",
                closed, open, open / closed, static_cast<long long>(catcher.boxes().size()));
    return catcher.boxes().isEmpty() && currentDataSet().sample1.pairCount() == 10000 + 2 * typed
               ? 0
               : 1;
}
