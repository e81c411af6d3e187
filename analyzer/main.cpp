// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeCommand.h"
#include "Confinement.h"
#include "ConfinementWatch.h"
#include "NamingAnalyzeEngine.h"
#include "OpenMpThreadLimit.h"
#include "ServiceHost.h"
#include "Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnection>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {
QCoro::Task<void> analyzeAndQuit(AnalyzeCommand::Arguments arguments)
{
    QTextStream out(stdout);
    const AnalyzeEngineFactory factory = namingEngineFactory();
    const std::unique_ptr<AnalyzeEngine> engine = factory();
    const int status = co_await AnalyzeCommand::run(std::move(arguments), *engine, out);
    QCoreApplication::exit(status);
}

void warnAboutGaps(const Confinement &confinement)
{
    const QString problems = confinement.problems();
    if (!problems.isEmpty())
        std::fprintf(stderr, "zentrope-analyzer: %s\n", qPrintable(problems));
}
} // namespace

int main(int argc, char *argv[])
{
    // Before anything else runs: the restart replaces this process, which confinement would forbid.
    OpenMpThreadLimit::restartSingleThreadedIfNeeded(argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentrope-analyzer"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Names screenshots for Zentrope. Without options it serves the session bus; the bus starts "
                       "it on demand."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version and what the analyzer is confined to."));
    const QCommandLineOption analyze(QStringLiteral("analyze"),
                                     QStringLiteral("Name FILE in this process and print the response JSON."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption nameLanguage(QStringLiteral("name-language"),
                                          QStringLiteral("Language of the name: auto, ru or en (default auto)."),
                                          QStringLiteral("LANGUAGE"), QStringLiteral("auto"));
    const QCommandLineOption interface(QStringLiteral("interface"),
                                       QStringLiteral("Language of messages: en or ru (default en)."),
                                       QStringLiteral("CODE"), QStringLiteral("en"));
    const QCommandLineOption ocrFallback(QStringLiteral("ocr-fallback"),
                                         QStringLiteral("Name from the recognised text when no model can."));
    const QCommandLineOption appName(QStringLiteral("app"),
                                     QStringLiteral("The application that was in front when the shot was taken."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption unconfined(
        QStringLiteral("no-confinement"),
        QStringLiteral("Run without Landlock and the system-call filter, to tell whether they are in the way."));
    parser.addOptions({version, analyze, nameLanguage, interface, ocrFallback, appName, unconfined});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0);

    std::optional<AnalyzeCommand::Arguments> arguments;
    if (parser.isSet(analyze)) {
        QString error;
        arguments = AnalyzeCommand::parse(parser.value(analyze), parser.value(nameLanguage), parser.value(interface),
                                          parser.isSet(ocrFallback), parser.value(appName), &error);
        if (!arguments) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
    }

    // Settled from the settings as they are now, before a peer's byte is read; a later change of the model
    // server retires this process (see ConfinementWatch).
    const ModelEnvironment models = ModelEnvironment::system();
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const Confinement::Plan plan = Confinement::plan(models, environment);
    const bool confine = !parser.isSet(unconfined);
    Confinement confinement;
    // Landlock binds only the threads started after it, so it comes before the bus connection's thread.
    if (confine)
        confinement.restrictFiles(plan);

    if (parser.isSet(version)) {
        if (confine)
            confinement.filterSyscalls();
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()), Zentrope::version);
        const QStringList lines = confinement.describe();
        for (const QString &line : lines)
            std::printf("%s\n", qPrintable(line));
        return 0;
    }

    if (arguments) {
        if (confine)
            confinement.filterSyscalls();
        warnAboutGaps(confinement);
        QTimer::singleShot(0, &app, [arguments = *arguments] { analyzeAndQuit(arguments); });
        return app.exec();
    }

    // A call past its limit means the engine is stuck; the bus starts a fresh process for the next call.
    ServiceHost host(namingEngineFactory(), ServiceHost::Options::fromEnvironment(environment), [] { ::_exit(1); });
    QObject::connect(&host, &ServiceHost::idle, &app, [] { QCoreApplication::exit(0); });
    QString error;
    if (!host.publish(QDBusConnection::sessionBus(), &error)) {
        std::fprintf(stderr, "zentrope-analyzer: %s\n", qPrintable(error));
        return 1;
    }
    // The bus connection is made, so the filter may refuse new Unix sockets from here on.
    if (confine)
        confinement.filterSyscalls();
    warnAboutGaps(confinement);
    ConfinementWatch watch(plan, models, environment);
    QObject::connect(&watch, &ConfinementWatch::outdated, &host, &ServiceHost::retire);
    return app.exec();
}
