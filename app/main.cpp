// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Application.h"
#include "LoginItem.h"
#include "RenameCommand.h"
#include "Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Without a command the tray application starts; it makes its own (widget) application object.
    if (argc < 2)
        return runApplication(argc, argv, false);
    if (argc == 2 && std::strcmp(argv[1], LoginItem::loginArgument) == 0)
        return runApplication(argc, argv, true);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentrope"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments.at(1) == QLatin1String("rename"))
        return RenameCommand::exec(arguments.mid(1));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Gives screenshots meaningful file names."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("rename [--dry-run] [--json] FILE…  Names the given image files."),
                                 QStringLiteral("[command]"));
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "zentrope: unknown command '%s'\n%s", qPrintable(parser.positionalArguments().first()),
                     qPrintable(parser.helpText()));
        return RenameCommand::usageError;
    }
    parser.showVersion();
}
