// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerBus.h"
#include "AnalyzerClient.h"
#include "CoroTest.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// The real analyzer, activated by name from the build tree. Nothing answers on the model port, so naming falls
// back to the recognised text when the request allows it.
QProcessEnvironment analyzerEnvironment(qint64 idleMs, qint64 callLimitMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OLLAMA_HOST"), QStringLiteral("127.0.0.1:9"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QString::number(idleMs));
    environment.insert(QStringLiteral("ZENTROPE_TEST_CALL_LIMIT_MS"), QString::number(callLimitMs));
    return environment;
}

QString renderScreenshot(const TempDir &dir, const QString &heading)
{
    return dir.write(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"),
                     renderedScreenPng(heading, {QStringLiteral("Spending stayed within the budget agreed in spring."),
                                                 QStringLiteral("Please review the figures before Thursday.")}));
}

AnalyzeRequest fallbackRequest()
{
    AnalyzeRequest request;
    request.interfaceCode = QStringLiteral("en");
    request.ocrFallback = true;
    return request;
}

uint servicePid(QDBusConnection bus)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(AnalyzerBus::serviceName);
    return pid.isValid() ? pid.value() : 0;
}

template <typename T>
T as(const AnalyzeResult &result)
{
    EXPECT_TRUE(std::holds_alternative<T>(result));
    return std::holds_alternative<T>(result) ? std::get<T>(result) : T{};
}
} // namespace

TEST(AnalyzerActivation, NamesARealScreenshotThroughTheBusAndQuitsWhenIdle)
{
    PrivateBus bus(PrivateBus::defaultConfig(), analyzerEnvironment(1500, 60000));
    TempDir dir;
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection);

    const AnalyzeResponse response = as<AnalyzeResponse>(
        runTask(client.analyze(renderScreenshot(dir, QStringLiteral("Budget review")), fallbackRequest())));
    EXPECT_EQ(response.title, QStringLiteral("Budget review"));
    EXPECT_EQ(response.engine, NamingEngineKind::ocr);
    EXPECT_GT(response.duration, 0);

    // An empty file is unreadable, in the request's interface language.
    AnalyzeRequest russian = fallbackRequest();
    russian.interfaceCode = QStringLiteral("ru");
    const AnalyzeResponse empty =
        as<AnalyzeResponse>(runTask(client.analyze(dir.write(QStringLiteral("empty.png")), russian)));
    EXPECT_EQ(empty.errorCode, AnalyzeResponse::ErrorCode::unreadable);
    EXPECT_TRUE(empty.errorMessage.value_or(QString()).contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))))
        << empty.errorMessage.value_or(QString()).toStdString();

    QDBusServiceWatcher watcher(AnalyzerBus::serviceName, connection, QDBusServiceWatcher::WatchForUnregistration);
    QSignalSpy gone(&watcher, &QDBusServiceWatcher::serviceUnregistered);
    EXPECT_TRUE(gone.wait(10000)) << "the analyzer should exit once idle";
}

TEST(AnalyzerActivation, BadRequestAndTwoPeersAtOnce)
{
    PrivateBus bus(PrivateBus::defaultConfig(), analyzerEnvironment(2000, 60000));
    TempDir dir;
    const QString shot = renderScreenshot(dir, QStringLiteral("Release notes"));

    QDBusUnixFileDescriptor descriptor;
    descriptor.giveFileDescriptor(::open(QFile::encodeName(shot).constData(), O_RDONLY | O_CLOEXEC));
    QDBusMessage call = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                       AnalyzerBus::interfaceName, QStringLiteral("Analyze"));
    call << QVariant::fromValue(descriptor) << QByteArray("not json at all");
    QDBusConnection raw = bus.connect();
    const QDBusPendingCall pending = raw.asyncCall(call, 30000);
    ASSERT_TRUE(QTest::qWaitFor([&pending] { return pending.isFinished(); }, 30000));
    const std::optional<AnalyzeResponse> bad =
        AnalyzeResponse::fromJson(pending.reply().arguments().value(0).toByteArray());
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(bad->errorMessage, QStringLiteral("Bad request"));

    AnalyzerClient first(bus.connect());
    AnalyzerClient second(bus.connect());
    AnalyzeResult a, b;
    auto run = [&](AnalyzerClient &client, AnalyzeResult &out) -> QCoro::Task<void> {
        out = co_await client.analyze(shot, fallbackRequest());
    };
    QCoro::Task<void> ta = run(first, a);
    QCoro::Task<void> tb = run(second, b);
    runTask(std::move(ta));
    runTask(std::move(tb));
    EXPECT_EQ(as<AnalyzeResponse>(a).title, QStringLiteral("Release notes"));
    EXPECT_EQ(as<AnalyzeResponse>(b).title, QStringLiteral("Release notes"));
}

TEST(AnalyzerActivation, AStuckCallTimesOutTheWatchdogEndsTheServiceAndTheNextCallGetsAFreshOne)
{
    PrivateBus bus(PrivateBus::defaultConfig(), analyzerEnvironment(2000, 1500));
    TempDir dir;
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection, 400ms);

    // A fifo with a writer that never writes: the analyzer's read never ends.
    const QString fifo = dir.filePath(QStringLiteral("stuck.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);

    const AnalyzerFailure timedOut = as<AnalyzerFailure>(runTask(client.analyze(fifo, fallbackRequest())));
    EXPECT_EQ(timedOut.message, QStringLiteral("Timed out"));
    EXPECT_TRUE(timedOut.retryable);
    const uint stuckPid = servicePid(connection);
    EXPECT_NE(stuckPid, 0u);

    // The service's own limit ends the stuck process.
    QDBusServiceWatcher watcher(AnalyzerBus::serviceName, connection, QDBusServiceWatcher::WatchForUnregistration);
    QSignalSpy gone(&watcher, &QDBusServiceWatcher::serviceUnregistered);
    EXPECT_TRUE(gone.wait(10000));
    ::close(writer);

    AnalyzerClient patient(connection);
    const AnalyzeResponse response = as<AnalyzeResponse>(
        runTask(patient.analyze(renderScreenshot(dir, QStringLiteral("Fresh start")), fallbackRequest())));
    EXPECT_EQ(response.title, QStringLiteral("Fresh start"));
    EXPECT_NE(servicePid(connection), stuckPid);
}

TEST(AnalyzerActivation, AServiceKilledMidCallIsRetryableAndPrewarmStartsTheNextOne)
{
    PrivateBus bus(PrivateBus::defaultConfig(), analyzerEnvironment(2000, 60000));
    TempDir dir;
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection);

    const QString fifo = dir.filePath(QStringLiteral("held.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);

    AnalyzeResult result;
    auto run = [&]() -> QCoro::Task<void> { result = co_await client.analyze(fifo, fallbackRequest()); };
    QCoro::Task<void> call = run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return servicePid(connection) != 0; }, 10000));
    const uint pid = servicePid(connection);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    runTask(std::move(call));
    const AnalyzerFailure failure = as<AnalyzerFailure>(result);
    EXPECT_TRUE(failure.retryable);
    EXPECT_NE(failure.message, QStringLiteral("Timed out"));
    ::close(writer);

    client.prewarm(QStringLiteral("en"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return servicePid(connection) != 0 && servicePid(connection) != pid; }, 10000))
        << "prewarm activates a fresh analyzer";
}
