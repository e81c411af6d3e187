// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OpenMpThreadLimit.h"
#include "Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // Before anything else runs: the restart replaces this process.
    OpenMpThreadLimit::restartSingleThreadedIfNeeded(argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentrope-analyzer"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Names one screenshot at a time for Zentrope."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    parser.showVersion();
}
