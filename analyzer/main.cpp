// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeCommand.h"
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
    QTextStream err(stderr);
    const AnalyzeEngineFactory factory = namingEngineFactory();
    const std::unique_ptr<AnalyzeEngine> engine = factory();
    const int status = co_await AnalyzeCommand::run(std::move(arguments), *engine, out, err);
    QCoreApplication::exit(status);
}
} // namespace

int main(int argc, char *argv[])
{
    // Before anything else runs: the restart replaces this process.
    OpenMpThreadLimit::restartSingleThreadedIfNeeded(argv);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zentrope-analyzer"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Names screenshots for Zentrope. Without options it serves the session bus; the bus starts "
                       "it on demand."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    parser.addOptions({analyze, nameLanguage, interface, ocrFallback, appName});
    parser.process(app);

    if (parser.isSet(analyze)) {
        QString error;
        std::optional<AnalyzeCommand::Arguments> arguments =
            AnalyzeCommand::parse(parser.value(analyze), parser.value(nameLanguage), parser.value(interface),
                                  parser.isSet(ocrFallback), parser.value(appName), &error);
        if (!arguments) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
        QTimer::singleShot(0, &app, [arguments = *arguments] { analyzeAndQuit(arguments); });
        return app.exec();
    }

    // A call past its limit means the engine is stuck; the bus starts a fresh process for the next call.
    ServiceHost host(namingEngineFactory(),
                     ServiceHost::Options::fromEnvironment(QProcessEnvironment::systemEnvironment()),
                     [] { ::_exit(1); });
    QObject::connect(&host, &ServiceHost::idle, &app, [] { QCoreApplication::exit(0); });
    QString error;
    if (!host.publish(QDBusConnection::sessionBus(), &error)) {
        std::fprintf(stderr, "zentrope-analyzer: %s\n", qPrintable(error));
        return 1;
    }
    return app.exec();
}
