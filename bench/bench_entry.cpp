// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// 10,000 pairs entered through the dialog's real slots (offscreen), timing each
// pair: the last hundred should cost about what the first hundred did. Then
// samples of 10^3, 10^4 and 10^5 pairs pasted whole: the cost per pair flat;
// two groups of 10^4 observations side by side, pasted and calculated;
// and a take-back by Ctrl+Z as cheap after 10^5 pairs as after 10^2.
// Each step is written through to the journal where XDG_STATE_HOME points
// (~/.local/state without it): a folder on the disk in question shows its cost;
// one that cannot be made, such as /proc/zentu, turns the journal off.
// Run: QT_QPA_PLATFORM=offscreen XDG_STATE_HOME=/var/tmp/state build/bench/bench_entry
#include "DataSet.h"
#include "Journal.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <numeric>
#include <vector>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ModalCatcher catcher; // an unexpected box must not stall the run
    StudentForm form;
    form.show();

    constexpr int pairs = 10000;
    constexpr int window = 100;
    std::vector<double> microseconds;
    microseconds.reserve(pairs);
    QElapsedTimer timer;
    for (int k = 0; k < pairs; ++k) {
        const QString variant = QString::number(10.0 + 0.001 * (k % 997));
        const QString frequency = QString::number(1 + k % 7);
        timer.start();
        form.V1Edit->setText(variant);
        form.SubmitButton->click();
        form.P1Edit->setText(frequency);
        form.SubmitButton->click();
        microseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    const auto mean = [](auto first, auto last) {
        return std::accumulate(first, last, 0.0) / static_cast<double>(last - first);
    };
    const double head = mean(microseconds.begin(), microseconds.begin() + window);
    const double tail = mean(microseconds.end() - window, microseconds.end());
    std::printf("pairs entered:            %d (boxes: %lld)\n",
                currentDataSet().sample1.pairCount(),
                static_cast<long long>(catcher.boxes().size()));
    std::printf("per pair, first %d:      %.1f us\n", window, head);
    std::printf("per pair, last %d:       %.1f us\n", window, tail);
    std::printf("last / first:             %.2f (target: at most 2)\n", tail / head);
    std::printf("per pair, all:            %.1f us\n",
                mean(microseconds.begin(), microseconds.end()));
    bool whole = currentDataSet().sample1.pairCount() == pairs && catcher.boxes().isEmpty();

    // A sample pasted whole, as Calc copies two columns, into a fresh dialog;
    // timed until the protocol has been drawn with its newest line in view.
    std::printf("\npasted rows    paste and draw    per pair    then calculated\n");
    double perPairSmallest = 0;
    double perPairLargest = 0;
    for (const int rows : {1000, 10000, 100000}) {
        currentDataSet() = DataSet{};
        currentJournal().discard();
        StudentForm pasted;
        pasted.show();
        QString text;
        for (int k = 0; k < rows; ++k)
            text += QString::number(10.0 + 0.001 * k).replace('.', ',') + '\t' +
                    QString::number(1 + k % 7) + '\n';
        QGuiApplication::clipboard()->setText(text);
        timer.start();
        QTest::keyClick(pasted.V1Edit, Qt::Key_V, Qt::ControlModifier);
        pasted.ResultEdit->viewport()->repaint();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.start();
        pasted.EndButton->click();
        pasted.V2Edit->setText(QStringLiteral("5"));
        pasted.SubmitButton->click();
        pasted.P2Edit->setText(QStringLiteral("2"));
        pasted.SubmitButton->click();
        pasted.EndButton->click();
        pasted.CalculateButton->click();
        pasted.ResultEdit->viewport()->repaint();
        const double calculated = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double perPair = ms * 1000.0 / rows;
        if (perPairSmallest == 0)
            perPairSmallest = perPair;
        perPairLargest = perPair;
        std::printf("%11d    %11.1f ms    %6.2f us    %8.1f ms\n", rows, ms, perPair, calculated);
        whole =
            whole && currentDataSet().sample1.pairCount() == rows && pasted.SaveButton->isEnabled();
    }
    // Two groups side by side, one observation a cell, as a lab's sheet has them:
    // both samples grouped, entered and closed in one step, then calculated.
    std::printf("\nobservations side by side    paste and draw    then calculated\n");
    {
        constexpr int rows = 10000;
        currentDataSet() = DataSet{};
        currentJournal().discard();
        StudentForm sideBySide;
        sideBySide.show();
        QString text = QStringLiteral("Контроль\tОпыт\n");
        for (int k = 0; k < rows; ++k)
            text += QString::number(50.0 + 0.01 * (k * 7919 % 4001)).replace('.', ',') + '\t' +
                    QString::number(52.0 + 0.01 * (k * 104729 % 3989)).replace('.', ',') + '\n';
        QGuiApplication::clipboard()->setText(text);
        timer.start();
        QTest::keyClick(sideBySide.V1Edit, Qt::Key_V, Qt::ControlModifier);
        sideBySide.ResultEdit->viewport()->repaint();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.start();
        sideBySide.CalculateButton->click();
        sideBySide.ResultEdit->viewport()->repaint();
        const double calculated = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("%13d + %-11d    %11.1f ms    %8.1f ms\n", rows, rows, ms, calculated);
        whole = whole && currentDataSet().result.iN1 == rows &&
                currentDataSet().result.iN2 == rows && sideBySide.SaveButton->isEnabled();
    }
    // Ctrl+Z after a pair typed on top of a pasted sample: the frequency, then
    // the variant taken back, nothing rebuilt however many pairs stand before.
    std::printf("\npairs entered    per take-back\n");
    double takeBackSmall = 0;
    double takeBackLarge = 0;
    for (const int rows : {100, 100000}) {
        currentDataSet() = DataSet{};
        currentJournal().discard();
        StudentForm taking;
        taking.show();
        QString text;
        for (int k = 0; k < rows; ++k)
            text += QString::number(k) + QStringLiteral("\t1\n");
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(taking.V1Edit, Qt::Key_V, Qt::ControlModifier);
        constexpr int cycles = 200;
        qint64 nanoseconds = 0;
        for (int k = 0; k < cycles; ++k) {
            taking.V1Edit->setText(QStringLiteral("5"));
            taking.SubmitButton->click();
            taking.P1Edit->setText(QStringLiteral("2"));
            taking.SubmitButton->click();
            timer.start();
            taking.takeBack();
            taking.takeBack();
            nanoseconds += timer.nsecsElapsed();
        }
        const double us = static_cast<double>(nanoseconds) / 1000.0 / (2 * cycles);
        (rows == 100 ? takeBackSmall : takeBackLarge) = us;
        std::printf("%13d    %10.1f us\n", rows, us);
        whole = whole && currentDataSet().sample1.pairCount() == rows;
    }
    std::printf("take-back, 10^5 / 10^2:   %.2f (target: at most 1.5)\n",
                takeBackLarge / takeBackSmall);
    std::printf("per pair, 10^5 / 10^3:    %.2f (target: at most 1.5; boxes: %lld)\n",
                perPairLargest / perPairSmallest, static_cast<long long>(catcher.boxes().size()));
    return whole && catcher.boxes().isEmpty() ? 0 : 1;
}
