// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "../naming/NamingTestSupport.h"
#include "AnalyzerBus.h"
#include "AnalyzerClient.h"
#include "CoroTest.h"
#include "FakeEngine.h"
#include "ModelServerDouble.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "ServiceHost.h"
#include "TempDir.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
AnalyzeRequest request(const QString &interfaceCode = QStringLiteral("en"))
{
    AnalyzeRequest request;
    request.interfaceCode = interfaceCode;
    request.ocrFallback = true;
    return request;
}

uint servicePid(QDBusConnection bus)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(AnalyzerBus::serviceName);
    return pid.isValid() ? pid.value() : 0;
}

bool waitUntilGone(QDBusConnection bus)
{
    QDBusServiceWatcher watcher(AnalyzerBus::serviceName, bus, QDBusServiceWatcher::WatchForUnregistration);
    QSignalSpy gone(&watcher, &QDBusServiceWatcher::serviceUnregistered);
    return gone.wait(10000);
}

template <typename T>
T as(const AnalyzeResult &result)
{
    EXPECT_TRUE(std::holds_alternative<T>(result));
    return std::holds_alternative<T>(result) ? std::get<T>(result) : T{};
}
} // namespace

// The real analyzer, activated by name from the build tree, confined as it always is. Its model server is a
// scripted double on loopback that at first answers nothing a model server would, so naming falls back to the
// recognised text, which every request here allows.
TEST(AnalyzerActivation, NamesThroughTheBusSurvivesStuckAndKilledServicesAndQuitsWhenIdle)
{
    ModelServerDouble model;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OLLAMA_HOST"), model.url());
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1500"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_CALL_LIMIT_MS"), QStringLiteral("3000"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_WATCHDOG_MARGIN_MS"), QStringLiteral("1000"));
    PrivateBus bus(PrivateBus::defaultConfig(), environment);
    TempDir dir;
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection);

    const QString shot =
        dir.write(QStringLiteral("shot.png"),
                  renderedScreenPng(QStringLiteral("Budget review"),
                                    {QStringLiteral("Spending stayed within the budget agreed in spring."),
                                     QStringLiteral("Please review the figures before Thursday.")}));
    AnalyzeRequest aiOnly = request();
    aiOnly.ocrFallback = false;
    EXPECT_EQ(as<AnalyzeResponse>(runTask(client.analyze(shot, aiOnly))).errorCode,
              AnalyzeResponse::ErrorCode::aiUnavailable)
        << "without the fallback an absent model keeps the name";
    const auto response = as<AnalyzeResponse>(runTask(client.analyze(shot, request())));
    EXPECT_EQ(response.title, QStringLiteral("Budget review"));
    EXPECT_EQ(response.engine, NamingEngineKind::ocr);
    EXPECT_GT(response.duration, 0);
    const uint firstPid = servicePid(connection);
    ASSERT_NE(firstPid, 0u);
    QFile status(QStringLiteral("/proc/%1/status").arg(firstPid));
    EXPECT_TRUE(status.open(QIODevice::ReadOnly) && status.readAll().contains("\nSeccomp:\t2\n"))
        << "the service runs under its system-call filter";

    const auto empty = as<AnalyzeResponse>(
        runTask(client.analyze(dir.write(QStringLiteral("empty.png")), request(QStringLiteral("ru")))));
    EXPECT_EQ(empty.errorCode, AnalyzeResponse::ErrorCode::unreadable);
    EXPECT_TRUE(empty.errorMessage.value_or(QString()).contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))))
        << empty.errorMessage.value_or(QString()).toStdString();

    // Now a model answers, but slower than the caller waits; a fifo, whose read used to hang the service until
    // its watchdog, is refused at once, so nothing left hangs the real service past its time limit.
    ModelServerDouble::OllamaModel gemma;
    gemma.name = QStringLiteral("gemma3:4b");
    model.serveOllama({gemma});
    model.setDefault(QStringLiteral("/api/chat"), {200, QByteArray("{}"), "application/json", 60s});
    AnalyzerClient impatient(connection, 400ms);
    const auto timedOut = as<AnalyzerFailure>(runTask(impatient.analyze(shot, request())));
    EXPECT_EQ(timedOut.message, QStringLiteral("Timed out"));
    EXPECT_TRUE(timedOut.retryable);

    // Killed in the middle of a call: a crash, not a timeout, and worth retrying.
    model.clearRequests();
    AnalyzeResult killed;
    auto run = [&]() -> QCoro::Task<void> { killed = co_await client.analyze(shot, request()); };
    QCoro::Task<void> call = run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.requests(QStringLiteral("/api/chat")).isEmpty(); }, 10000));
    const uint killedPid = servicePid(connection);
    ASSERT_NE(killedPid, 0u) << "0 would signal the whole process group";
    EXPECT_EQ(killedPid, firstPid) << "the process outlived the call its caller gave up on";
    ::kill(static_cast<pid_t>(killedPid), SIGKILL);
    runTask(std::move(call));
    EXPECT_TRUE(as<AnalyzerFailure>(killed).retryable);
    EXPECT_NE(as<AnalyzerFailure>(killed).message, QStringLiteral("Timed out"));

    model.clear(QStringLiteral("/api/chat"));
    client.prewarm(QStringLiteral("en"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return servicePid(connection) != 0 && servicePid(connection) != killedPid; }, 10000))
        << "prewarm activates a fresh analyzer";
    EXPECT_TRUE(waitUntilGone(connection)) << "the analyzer should exit once idle";
}

TEST(AnalyzerHostOnTheBus, PeersGetTheirOwnEngineRunTogetherAndTheHostIdlesOnlyAfterTheLastReply)
{
    PrivateBus bus(PrivateBus::configWithoutServices());
    auto log = std::make_shared<EngineLog>();
    ServiceHost host(FakeEngine::factory(log, 150ms), {300ms, 5000ms}, [] {});
    QString error;
    ASSERT_TRUE(host.publish(bus.connect(), &error)) << error.toStdString();
    QSignalSpy idle(&host, &ServiceHost::idle);
    TempDir dir;
    const QString path = dir.write(QStringLiteral("shot.png"), QByteArray(1234, 'p'));

    AnalyzerClient first(bus.connect());
    AnalyzerClient second(bus.connect());
    AnalyzeResult a, b;
    auto run = [&](AnalyzerClient &client, AnalyzeResult &out) -> QCoro::Task<void> {
        out = co_await client.analyze(path, AnalyzeRequest());
    };
    QCoro::Task<void> ta = run(first, a);
    QCoro::Task<void> tb = run(second, b);
    runTask(std::move(ta));
    runTask(std::move(tb));
    EXPECT_EQ(as<AnalyzeResponse>(a).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(as<AnalyzeResponse>(b).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(log->mostRunning, 2) << "delayed replies let both calls run at once";

    // The same peer keeps its engine, for calls and prewarming alike.
    first.prewarm(QStringLiteral("ru"));
    EXPECT_EQ(as<AnalyzeResponse>(runTask(first.analyze(path, AnalyzeRequest()))).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(log->prewarmed, QStringList{QStringLiteral("ru")});
    EXPECT_EQ(log->created, 2);

    // Each call takes 150 ms and the idle delay is 300 ms: no exit while one runs.
    EXPECT_TRUE(idle.isEmpty());
    EXPECT_TRUE(idle.wait(2000));
}

// The real analyzer over a model that answers later than a call's time limit of 6 s.
TEST(AnalyzerActivation, ASlowModelIsCutAtTheTimeLimitAndTheSameAnalyzerServesOn)
{
    ModelServerDouble server;
    server.serveOllama({NamingTestSupport::textModel()});
    server.setDefault(NamingTestSupport::chatPath, NamingTestSupport::answer(u"summary"_qs, u"Budget review"_qs));
    server.setAnswerDelay(NamingTestSupport::chatPath, 60s);
    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    environment.insert(QStringLiteral("OLLAMA_HOST"), server.url());
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1000"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_CALL_LIMIT_MS"), QStringLiteral("6000"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_WATCHDOG_MARGIN_MS"), QStringLiteral("20000"));
    PrivateBus bus(PrivateBus::defaultConfig(), environment);
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection, 60s);
    const QString shot = dir.write(QStringLiteral("shot.png"),
                                   renderedScreenPng(QStringLiteral("Budget review"),
                                                     {QStringLiteral("Spending stayed within the agreed budget.")}));

    QElapsedTimer clock;
    clock.start();
    const auto fallback = as<AnalyzeResponse>(runTask(client.analyze(shot, request())));
    EXPECT_EQ(fallback.engine, NamingEngineKind::ocr);
    EXPECT_EQ(fallback.title, QStringLiteral("Budget review"));
    EXPECT_LT(clock.elapsed(), 11000) << "answered at the time limit, long before the watchdog";
    const uint pid = servicePid(connection);
    AnalyzeRequest aiOnly = request();
    aiOnly.ocrFallback = false;
    EXPECT_EQ(as<AnalyzeResponse>(runTask(client.analyze(shot, aiOnly))).errorCode, AnalyzeResponse::ErrorCode::busy);

    server.setAnswerDelay(NamingTestSupport::chatPath, 0ms);
    EXPECT_EQ(as<AnalyzeResponse>(runTask(client.analyze(shot, aiOnly))).engine, NamingEngineKind::ai);
    EXPECT_EQ(servicePid(connection), pid);
}
