// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "../naming/NamingTestSupport.h"
#include "AnalyzerBus.h"
#include "AnalyzerClient.h"
#include "CoroTest.h"
#include "FakeEngine.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "ServiceHost.h"
#include "TempDir.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace NamingTestSupport;

namespace {
AnalyzeRequest request(bool ocrFallback = true, const QString &interfaceCode = QStringLiteral("en"))
{
    AnalyzeRequest request;
    request.interfaceCode = interfaceCode;
    request.ocrFallback = ocrFallback;
    return request;
}

uint servicePid(QDBusConnection bus)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(AnalyzerBus::serviceName);
    return pid.isValid() ? pid.value() : 0;
}

AnalyzeResponse responseOf(const AnalyzeResult &result)
{
    EXPECT_TRUE(std::holds_alternative<AnalyzeResponse>(result)) << result.index();
    return std::holds_alternative<AnalyzeResponse>(result) ? std::get<AnalyzeResponse>(result) : AnalyzeResponse{};
}
} // namespace

// The real analyzer, activated by name from the build tree and confined as it always is, over a scripted model
// server on loopback that at first is no model server at all.
TEST(AnalyzerActivation, NamesThroughTheBusCutsASlowModelAtTheTimeLimitAndQuitsWhenIdle)
{
    ModelServerDouble model;
    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    environment.insert(QStringLiteral("OLLAMA_HOST"), model.url());
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1500"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_CALL_LIMIT_MS"), QStringLiteral("6000"));
    environment.insert(QStringLiteral("ZENTROPE_TEST_WATCHDOG_MARGIN_MS"), QStringLiteral("20000"));
    PrivateBus bus(PrivateBus::defaultConfig(), environment);
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection, 60s);
    const QString shot =
        dir.write(QStringLiteral("shot.png"),
                  renderedScreenPng(QStringLiteral("Budget review"),
                                    {QStringLiteral("Spending stayed within the budget agreed in spring."),
                                     QStringLiteral("Please review the figures before Thursday.")}));

    EXPECT_EQ(responseOf(runTask(client.analyze(shot, request(false)))).errorCode,
              AnalyzeResponse::ErrorCode::aiUnavailable);
    const AnalyzeResponse fallback = responseOf(runTask(client.analyze(shot, request())));
    EXPECT_EQ(fallback.title, QStringLiteral("Budget review"));
    EXPECT_EQ(fallback.engine, NamingEngineKind::ocr);
    const uint pid = servicePid(connection);
    ASSERT_NE(pid, 0u);
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    EXPECT_TRUE(status.open(QIODevice::ReadOnly) && status.readAll().contains("\nSeccomp:\t2\n"))
        << "the service runs under its system-call filter";

    // A model slower than the call's time limit: cut there, long before the watchdog, by the same process.
    model.serveOllama({textModel()});
    model.setDefault(chatPath, answer(u"summary"_qs, u"Budget review"_qs));
    model.setAnswerDelay(chatPath, 60s);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(responseOf(runTask(client.analyze(shot, request()))).engine, NamingEngineKind::ocr);
    EXPECT_LT(clock.elapsed(), 11000);
    EXPECT_EQ(responseOf(runTask(client.analyze(shot, request(false)))).errorCode, AnalyzeResponse::ErrorCode::busy);
    model.setAnswerDelay(chatPath, 0ms);
    EXPECT_EQ(responseOf(runTask(client.analyze(shot, request(false)))).engine, NamingEngineKind::ai);
    EXPECT_EQ(servicePid(connection), pid);

    QDBusServiceWatcher watcher(AnalyzerBus::serviceName, connection, QDBusServiceWatcher::WatchForUnregistration);
    QSignalSpy gone(&watcher, &QDBusServiceWatcher::serviceUnregistered);
    EXPECT_TRUE(gone.wait(10000)) << "the analyzer should exit once idle";
    client.prewarm(QStringLiteral("en"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return servicePid(connection) != 0 && servicePid(connection) != pid; }, 10000))
        << "prewarm activates a fresh analyzer";
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
    EXPECT_EQ(responseOf(a).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(responseOf(b).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(log->mostRunning, 2) << "delayed replies let both calls run at once";

    // The same peer keeps its engine, for calls and prewarming alike.
    first.prewarm(QStringLiteral("ru"));
    EXPECT_EQ(responseOf(runTask(first.analyze(path, AnalyzeRequest()))).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(log->prewarmed, QStringList{QStringLiteral("ru")});
    EXPECT_EQ(log->created, 2);

    // Each call takes 150 ms and the idle delay is 300 ms: no exit while one runs.
    EXPECT_TRUE(idle.isEmpty());
    EXPECT_TRUE(idle.wait(2000));
}
