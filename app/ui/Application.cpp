// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Application.h"

#include "AppShell.h"
#include "CrashReport.h"
#include "InstanceGate.h"
#include "TerminationSignals.h"

#include <QApplication>

int runApplication(int argc, char **argv, bool loginStart)
{
    QApplication app(argc, argv);
    AppShell::configureApplication();
    const QString crashDirectory = CrashReport::defaultDirectory();
    CrashReport::install(crashDirectory);

    // A second start only brings the running application's window forward.
    AppShell *running = nullptr;
    InstanceGate gate([&running] {
        if (running)
            running->reopen();
    });
    if (!gate.claim())
        return 0;

    AppShell shell({loginStart, crashDirectory});
    if (!shell.launch())
        return 0;
    running = &shell;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &shell, &AppShell::shutdown);
    const TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    const int status = QApplication::exec();
    running = nullptr;
    return status;
}
