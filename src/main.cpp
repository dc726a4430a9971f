// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Desktop.h"
#include "StudentForm.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication MyProgramme(argc, argv);
    // The installed desktop entry's name: the Wayland app id, by which the
    // desktop finds the program's name and icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zentu.Zentu"));
    installToolkitTranslation();
    // Declared after the application, so it is deleted before it.
    const auto MainWindow = std::make_unique<StudentForm>();
    showAboutBox();
    // Looked up in the icon theme only once the greeting is up.
    MainWindow->setWindowIcon(programIcon());
    MainWindow->show();
    // Shown first: the box belongs to it, and the steps need its default button.
    MainWindow->offerRecovery();
    return MyProgramme.exec();
}
