// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Desktop.h"
#include "StudentForm.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>
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
    const int status = MyProgramme.exec();
    // Tearing down its Wayland connection, Qt 6.4 can wait for good on its own
    // event thread, which waits in wl_display_read_events for a read the GUI
    // thread never finishes: the window is gone, the process stays. Once the
    // loop is over nothing is left to keep (the journal went with the close), so
    // there the process ends without that teardown.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        std::_Exit(status);
    return status;
}
