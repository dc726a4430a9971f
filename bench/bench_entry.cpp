// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// 10,000 pairs entered through the dialog's real slots (offscreen), timing each
// pair: the last hundred should cost about what the first hundred did.
// Each step is written through to the journal where XDG_STATE_HOME points
// (~/.local/state without it): a folder on the disk in question shows its cost;
// one that cannot be made, such as /proc/zentu, turns the journal off.
// Run: QT_QPA_PLATFORM=offscreen XDG_STATE_HOME=/var/tmp/state build/bench/bench_entry
#include "DataSet.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
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
    return currentDataSet().sample1.pairCount() == pairs && catcher.boxes().isEmpty() ? 0 : 1;
}
