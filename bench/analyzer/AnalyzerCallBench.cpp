// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// What one analyzer call costs beyond the naming itself: the first call (the bus activates the service) and
// warm calls, each beside the `duration` the analyzer reports for its own work in the same run.
#include "AnalyzerClient.h"
#include "Version.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
QString renderScreenshot(const QString &dir)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QPoint(120, 140), QStringLiteral("Quarterly budget review"));
    font.setPixelSize(20);
    font.setBold(false);
    painter.setFont(font);
    for (int line = 0; line < 12; ++line)
        painter.drawText(
            QPoint(120, 240 + line * 36),
            QStringLiteral("Line %1: spending stayed within the budget agreed in the spring round.").arg(line + 1));
    painter.end();
    const QString path = dir + QStringLiteral("/Screenshot From 2026-11-12 10-42-17.png");
    image.save(path);
    return path;
}

struct Sample
{
    double wall = 0;
    double engine = 0;
};

QCoro::Task<int> run(const QString &busAddress, const QString &image, int warmCalls)
{
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, QStringLiteral("bench"));
    AnalyzerClient client(bus);
    AnalyzeRequest request;
    request.interfaceCode = QStringLiteral("en");
    request.ocrFallback = true;

    QList<Sample> samples;
    for (int i = 0; i <= warmCalls; ++i) {
        QElapsedTimer timer;
        timer.start();
        const AnalyzeResult result = co_await client.analyze(image, request);
        const double wall = timer.nsecsElapsed() / 1e9;
        if (!std::holds_alternative<AnalyzeResponse>(result)) {
            std::fprintf(stderr, "call failed: %s\n", qPrintable(std::get<AnalyzerFailure>(result).message));
            co_return 1;
        }
        samples.append({wall, std::get<AnalyzeResponse>(result).duration});
    }

    std::printf("%-12s %10s %10s %10s\n", "call", "wall s", "engine s", "overhead s");
    for (int i = 0; i < samples.size(); ++i)
        std::printf("%-12s %10.3f %10.3f %10.3f\n",
                    i == 0 ? "activation" : qPrintable(QStringLiteral("warm %1").arg(i)), samples[i].wall,
                    samples[i].engine, samples[i].wall - samples[i].engine);
    double wall = 0, engine = 0;
    for (int i = 1; i < samples.size(); ++i) {
        wall += samples[i].wall;
        engine += samples[i].engine;
    }
    if (warmCalls > 0)
        std::printf("warm calls: wall/engine = %.3f (overhead %.1f ms per call)\n", wall / engine,
                    (wall - engine) / warmCalls * 1000);
    co_return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString image = renderScreenshot(dir.path());

    // A private bus whose activation files come from the build tree; no model server answers on port 9.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OLLAMA_HOST"), QStringLiteral("127.0.0.1:9"));
    QProcess daemon;
    daemon.setProcessEnvironment(environment);
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file=" ZENTROPE_BINARY_DIR "/dbus/session.conf"),
                  QStringLiteral("--print-address=1"), QStringLiteral("--nofork")});
    if (!daemon.waitForStarted() || !daemon.waitForReadyRead(5000)) {
        std::fprintf(stderr, "cannot start dbus-daemon\n");
        return 1;
    }
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();

    int status = 1;
    QTimer::singleShot(0, [&] {
        [](QString address, QString image, int &status) -> QCoro::Task<void> {
            status = co_await run(address, image, 5);
            QCoreApplication::quit();
        }(address, image, status);
    });
    app.exec();
    daemon.terminate();
    daemon.waitForFinished();
    return status;
}
