// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Desktop.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

bool installToolkitTranslation()
{
    auto* catalogue = new QTranslator(QCoreApplication::instance());
    if (catalogue->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(catalogue))
        return true;
    delete catalogue;
    return false;
}

QIcon programIcon()
{
    const QIcon themed = QIcon::fromTheme(QStringLiteral("org.zentu.Zentu"));
    return themed.pixmap(64).isNull() ? QIcon(QStringLiteral(":/org.zentu.Zentu.png")) : themed;
}

void showAboutBox()
{
    QMessageBox::about(nullptr, QObject::tr("О программе"),
                       QObject::tr("<h2>Zentu 1.0</h2>"
                                   "<p>Программа производит сравнение двух независимых групп "
                                   "по одному признаку с вычислением t-критерия Стъюдента.</p>"));
}

// The buttons are actions: the yes and no roles are reordered by some desktops.
// Belonging to the dialog, the box is kept above it and centred over it.
bool confirmed(QWidget* dialog, const QString& title, const QString& text, bool byDefault)
{
    QMessageBox question(QMessageBox::Warning, title, text, QMessageBox::NoButton, dialog);
    QPushButton* yes = question.addButton(QCoreApplication::translate("StudentForm", "&Да"),
                                          QMessageBox::ActionRole);
    QPushButton* no = question.addButton(QCoreApplication::translate("StudentForm", "&Нет"),
                                         QMessageBox::ActionRole);
    question.setDefaultButton(byDefault ? yes : no);
    question.setEscapeButton(byDefault ? yes : no);
    question.exec();
    return question.clickedButton() == yes;
}
