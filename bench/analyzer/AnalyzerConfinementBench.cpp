// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
//
// What confinement and the memory budget cost and bound, each against a baseline in the same run:
//  - start-up: the analyzer until its name is on the bus, confined against --no-confinement;
//  - peak memory (VmHWM) of the service under 20 concurrent calls on 100 MB files and under one small 16-bit
//    6300 x 6300 PNG, for this analyzer and, with --baseline PATH, for another build of it (say, before the budget);
//  - how long an innocent caller waits while two peers hand over pipes whose writers never write.
//
//   analyzer_confinement_bench [--baseline PATH] [--runs N]
#include "AnalyzerBus.h"
#include "AnalyzerClient.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCoroTask>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
const QString analyzerPath = QStringLiteral(ZENTROPE_ANALYZER);

struct Bus
{
    QProcess daemon;
    QString address;

    Bus()
    {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--config-file=" ZENTROPE_BINARY_DIR "/dbus/session-without-services.conf"),
                      QStringLiteral("--print-address=1"), QStringLiteral("--nofork")});
        if (daemon.waitForStarted() && daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~Bus()
    {
        daemon.terminate();
        daemon.waitForFinished();
    }
};

// One analyzer serving `bus`, started by hand as the bus would start it.
class Service
{
public:
    Service(const Bus &bus, const QString &program, const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address);
        environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
        environment.insert(QStringLiteral("OLLAMA_HOST"), QStringLiteral("127.0.0.1:9"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        static int services = 0;
        m_connection = QDBusConnection::connectToBus(bus.address, QStringLiteral("bench-%1").arg(++services));
        m_watcher.setConnection(m_connection);
        m_watcher.addWatchedService(AnalyzerBus::serviceName);
        QObject::connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered,
                         [this] { m_serving = m_clock.nsecsElapsed() / 1e9; });
        m_clock.start();
        m_process.start(program, arguments);
    }
    ~Service()
    {
        m_process.kill();
        m_process.waitForFinished();
        QDBusConnection::disconnectFromBus(m_connection.name());
    }

    // Seconds from the start until the name was taken; negative when it never was.
    double waitUntilServing()
    {
        (void)QTest::qWaitFor([this] { return m_serving >= 0; }, 20000);
        return m_serving;
    }

    // The process's peak resident memory so far, in MB.
    double peakMegabytes() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
        return -1;
    }

private:
    QProcess m_process;
    QDBusConnection m_connection{QString()};
    QDBusServiceWatcher m_watcher;
    QElapsedTimer m_clock;
    double m_serving = -1;
};

QString writeScreenshot(const QString &dir)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QPoint(120, 140), QStringLiteral("Quarterly budget review"));
    painter.end();
    const QString path = dir + QStringLiteral("/shot.png");
    image.save(path);
    return path;
}

// The screenshot followed by junk up to 100 MB: decoders stop at the image's end, the bytes are still read.
QString writePadded(const QString &dir, const QString &shot)
{
    QFile source(shot);
    source.open(QIODevice::ReadOnly);
    QByteArray bytes = source.readAll();
    bytes.append(QByteArray(100 * 1024 * 1024 - bytes.size(), '\0'));
    const QString path = dir + QStringLiteral("/padded.png");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    return path;
}

// Noise, so that recognition has work and the file is large: about 30 MB.
QString writeHeavyJpeg(const QString &dir)
{
    QImage image(6300, 6300, QImage::Format_RGB32);
    quint32 state = 1;
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = 0xff000000u | (state >> 8);
        }
    }
    const QString path = dir + QStringLiteral("/heavy.jpg");
    QImageWriter writer(path);
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return path;
}

// 6300 x 6300 RGBA at 16 bits a channel, uniform grey: a few hundred kilobytes that decode to 0.3 GB and more.
QString writeDeep(const QString &dir)
{
    QImage image(6300, 6300, QImage::Format_RGBA64);
    image.fill(QColor(128, 128, 128));
    const QString path = dir + QStringLiteral("/deep.png");
    image.save(path);
    return path;
}

QCoro::Task<int> concurrentCalls(QString address, QString image, int calls)
{
    QList<std::shared_ptr<AnalyzerClient>> clients;
    std::vector<QCoro::Task<AnalyzeResult>> running;
    AnalyzeRequest request;
    request.ocrFallback = true;
    for (int i = 0; i < calls; ++i) {
        static int peers = 0;
        clients.append(std::make_shared<AnalyzerClient>(
            QDBusConnection::connectToBus(address, QStringLiteral("peer-%1").arg(++peers))));
        running.push_back(clients.last()->analyze(image, request));
    }
    int titled = 0;
    for (QCoro::Task<AnalyzeResult> &call : running) {
        const AnalyzeResult result = co_await std::move(call);
        const auto *response = std::get_if<AnalyzeResponse>(&result);
        titled += response && response->title ? 1 : 0;
    }
    co_return titled;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

void startup(int runs)
{
    Bus bus;
    QList<double> confined, unconfined;
    for (int i = 0; i < runs; ++i) {
        confined.append(Service(bus, analyzerPath).waitUntilServing());
        unconfined.append(Service(bus, analyzerPath, {QStringLiteral("--no-confinement")}).waitUntilServing());
    }
    std::printf("start-up until serving, median of %d: confined %.1f ms, unconfined %.1f ms, ratio %.3f\n", runs,
                median(confined) * 1000, median(unconfined) * 1000, median(confined) / median(unconfined));
}

double peak(const QString &program, const QString &image, int calls, int *titled)
{
    Bus bus;
    Service service(bus, program);
    if (service.waitUntilServing() < 0)
        return -1;
    *titled = QCoro::waitFor(concurrentCalls(bus.address, image, calls));
    return service.peakMegabytes();
}

void memory(const QString &baseline, const QString &padded, const QString &deep, const QString &heavy)
{
    const struct
    {
        const char *name;
        QString image;
        int calls;
        bool compare;
    } loads[] = {{"20 calls on 100 MB files", padded, 20, true},
                 {"one 16-bit 6300x6300 PNG", deep, 1, true},
                 // Each decodes at about 160 MB: without the budget they would all at once.
                 {"6 calls on 6300x6300 progressive JPEGs", heavy, 6, false}};
    for (const auto &load : loads) {
        int titled = 0;
        const double current = peak(analyzerPath, load.image, load.calls, &titled);
        std::printf("peak memory, %s: %.0f MB (%d titled)", load.name, current, titled);
        if (load.compare && !baseline.isEmpty()) {
            int baseTitled = 0;
            const double base = peak(baseline, load.image, load.calls, &baseTitled);
            std::printf("; baseline %.0f MB (%d titled); ratio %.3f", base, baseTitled, current / base);
        }
        std::printf("\n");
    }
}

void stuckPeers(const QString &dir, const QString &shot)
{
    Bus bus;
    Service service(bus, analyzerPath);
    service.waitUntilServing();
    const QString fifo = dir + QStringLiteral("/never.png");
    ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
    QElapsedTimer clock;
    clock.start();
    const auto run = [&]() -> QCoro::Task<void> {
        QCoro::Task<int> stuck = concurrentCalls(bus.address, fifo, 2);
        const int innocent = co_await concurrentCalls(bus.address, shot, 1);
        std::printf("innocent caller beside two never-writing pipes: answered in %.2f s (%s)\n",
                    clock.nsecsElapsed() / 1e9, innocent == 1 ? "titled" : "no title");
        co_await std::move(stuck);
        std::printf("the pipes' callers: answered after %.2f s\n", clock.nsecsElapsed() / 1e9);
    };
    QCoro::waitFor(run());
    ::close(writer);
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption baseline(QStringLiteral("baseline"), QStringLiteral("Another analyzer to compare."),
                                      QStringLiteral("PATH"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Start-ups per mode."), QStringLiteral("N"),
                                  QStringLiteral("15"));
    parser.addOptions({baseline, runs});
    parser.process(app);

    QTemporaryDir dir;
    const QString shot = writeScreenshot(dir.path());
    startup(parser.value(runs).toInt());
    memory(parser.value(baseline), writePadded(dir.path(), shot), writeDeep(dir.path()), writeHeavyJpeg(dir.path()));
    stuckPeers(dir.path(), shot);
    return 0;
}
