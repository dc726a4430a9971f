// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentForm.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication MyProgramme(argc, argv);
    installToolkitTranslation();
    // Declared after the application, so it is deleted before it.
    const auto MainWindow = std::make_unique<StudentForm>();
    showAboutBox();
    MainWindow->show();
    return MyProgramme.exec();
}
