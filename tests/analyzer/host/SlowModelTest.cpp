// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "../naming/NamingTestSupport.h"
#include "AnalyzerBus.h"
#include "AnalyzerClient.h"
#include "CoroTest.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace NamingTestSupport;

namespace {
uint servicePid(QDBusConnection bus)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(AnalyzerBus::serviceName);
    return pid.isValid() ? pid.value() : 0;
}

AnalyzeResponse responseOf(const AnalyzeResult &result)
{
    return alternative<AnalyzeResponse>(result);
}
} // namespace

// The real analyzer, activated by name, over a model that answers later than a call's time limit of 6 s.
TEST(AnalyzerWithASlowModel, AnswersByTheTimeLimitAndStaysToServeTheNextCall)
{
    ModelServerDouble server;
    server.serveOllama({textModel()});
    server.setDefault(chatPath, answer(u"summary"_qs, u"Budget review"_qs));
    server.setAnswerDelay(chatPath, 60s);
    TempDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_qs, config.path());
    environment.insert(u"OLLAMA_HOST"_qs, server.url());
    environment.insert(u"ZENTROPE_TEST_CALL_LIMIT_MS"_qs, u"6000"_qs);
    environment.insert(u"ZENTROPE_TEST_WATCHDOG_MARGIN_MS"_qs, u"20000"_qs);
    environment.insert(u"ZENTROPE_TEST_IDLE_EXIT_MS"_qs, u"1000"_qs);
    PrivateBus bus(PrivateBus::defaultConfig(), environment);
    QDBusConnection connection = bus.connect();
    AnalyzerClient client(connection, 60s);
    TempDir dir;
    const QString shot =
        dir.write(u"shot.png"_qs,
                  renderedScreenPng(u"Budget review"_qs, {u"Spending stayed within the budget agreed in spring."_qs,
                                                          u"Please review the figures before Thursday."_qs}));
    AnalyzeRequest request;
    request.interfaceCode = u"en"_qs;
    request.ocrFallback = true;

    QElapsedTimer clock;
    clock.start();
    const AnalyzeResponse fallback = responseOf(runTask(client.analyze(shot, request)));
    EXPECT_EQ(fallback.title, u"Budget review"_qs);
    EXPECT_EQ(fallback.engine, NamingEngineKind::ocr);
    EXPECT_LT(clock.elapsed(), 6000 + 5000) << "answered at the time limit, long before the watchdog";
    const uint pid = servicePid(connection);

    request.ocrFallback = false;
    const AnalyzeResponse busy = responseOf(runTask(client.analyze(shot, request)));
    EXPECT_EQ(busy.errorCode, AnalyzeResponse::ErrorCode::busy);
    EXPECT_FALSE(busy.errorMessage.value_or(QString()).isEmpty());

    server.setAnswerDelay(chatPath, 0ms);
    const AnalyzeResponse named = responseOf(runTask(client.analyze(shot, request)));
    EXPECT_EQ(named.engine, NamingEngineKind::ai);
    EXPECT_EQ(named.title, u"Budget review"_qs);
    EXPECT_EQ(servicePid(connection), pid) << "the same analyzer serves every call";
}
