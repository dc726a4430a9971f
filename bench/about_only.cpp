// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick for zentu's start-up: a Qt program that shows nothing but the
// same About box.
#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMessageBox::about(nullptr, QObject::tr("О программе"),
                       QObject::tr("<h2>Zentu 1.0</h2>"
                                   "<p>Программа производит сравнение двух независимых групп "
                                   "по одному признаку с вычислением t-критерия Стъюдента.</p>"));
    return 0;
}
