// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerClient.h"
#include "AnalyzerBus.h"
#include "CoroTest.h"
#include "PrivateBus.h"
#include "TempDir.h"

#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// Stands in for the analyzer: answers from a script after a delay and notes what it was given.
class ScriptedAnalyzer : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zentrope.Zentrope.Analyzer1")

public:
    QByteArray answer;
    std::chrono::milliseconds delay{0};
    int calls = 0;
    int accessMode = -1;
    QByteArray imageBytes;

public Q_SLOTS:
    QByteArray Analyze(const QDBusUnixFileDescriptor &image, const QByteArray &)
    {
        ++calls;
        accessMode = ::fcntl(image.fileDescriptor(), F_GETFL) & O_ACCMODE;
        char buffer[256];
        const ssize_t count = ::read(image.fileDescriptor(), buffer, sizeof buffer);
        imageBytes = QByteArray(buffer, std::max<ssize_t>(count, 0));
        setDelayedReply(true);
        QTimer::singleShot(
            delay, this,
            [reply = message().createReply(QVariant(answer)), bus = connection()]() mutable { bus.send(reply); });
        return {};
    }
};

QByteArray successJson()
{
    AnalyzeResponse response;
    response.title = QStringLiteral("Pull request review");
    response.engine = NamingEngineKind::ai;
    return response.toJson();
}

class AnalyzerClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        m_service = m_bus.connect();
        ASSERT_TRUE(m_service.registerObject(AnalyzerBus::objectPath, &m_analyzer, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(m_service.registerService(AnalyzerBus::serviceName));
        m_analyzer.answer = successJson();
        m_image = m_dir.write(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"), "PNG bytes");
    }

    AnalyzeResult analyze(AnalyzerClient &client) { return runTask(client.analyze(m_image, AnalyzeRequest{})); }

    PrivateBus m_bus{PrivateBus::configWithoutServices()};
    QDBusConnection m_service{QString()};
    ScriptedAnalyzer m_analyzer;
    TempDir m_dir;
    QString m_image;
};

AnalyzerFailure failureOf(const AnalyzeResult &result)
{
    EXPECT_TRUE(std::holds_alternative<AnalyzerFailure>(result));
    return std::holds_alternative<AnalyzerFailure>(result) ? std::get<AnalyzerFailure>(result) : AnalyzerFailure{};
}
} // namespace

TEST_F(AnalyzerClientTest, PassesAReadOnlyDescriptorDecodesTheReplyAndNeverRetriesWhatCannotWork)
{
    AnalyzerClient client(m_bus.connect());
    const AnalyzeResult result = analyze(client);
    ASSERT_TRUE(std::holds_alternative<AnalyzeResponse>(result));
    EXPECT_EQ(std::get<AnalyzeResponse>(result).title, QStringLiteral("Pull request review"));
    EXPECT_EQ(m_analyzer.accessMode, O_RDONLY);
    EXPECT_EQ(m_analyzer.imageBytes, QByteArray("PNG bytes"));

    for (const QByteArray &answer : {QByteArray(), QByteArray("{}"), QByteArray(R"({"errorCode":"newCode"})")}) {
        m_analyzer.answer = answer;
        EXPECT_EQ(failureOf(analyze(client)), (AnalyzerFailure{AnalyzeResponse::ErrorCode::other,
                                                               QStringLiteral("Invalid analyzer response"), false}));
    }

    // A file that cannot be opened fails before any call.
    const int calls = m_analyzer.calls;
    EXPECT_FALSE(
        failureOf(runTask(client.analyze(m_dir.filePath(QStringLiteral("gone.png")), AnalyzeRequest{}))).retryable);
    EXPECT_EQ(m_analyzer.calls, calls);

    // Without the service and without an activation file for it the analyzer is unavailable for good.
    ASSERT_TRUE(m_service.unregisterService(AnalyzerBus::serviceName));
    EXPECT_EQ(failureOf(analyze(client)),
              (AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QStringLiteral("Analyzer unavailable"), false}));
    client.prewarm(QStringLiteral("en")); // nothing happens, nothing is raised
}

TEST_F(AnalyzerClientTest, TimesOutRetryablyIgnoresTheLateReplyAndWorksAgain)
{
    AnalyzerClient client(m_bus.connect(), 300ms);
    m_analyzer.delay = 700ms;
    EXPECT_EQ(failureOf(analyze(client)),
              (AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QStringLiteral("Timed out"), true}));
    QTest::qWait(600); // the late reply arrives and must go nowhere

    m_analyzer.delay = 0ms;
    EXPECT_TRUE(std::holds_alternative<AnalyzeResponse>(analyze(client)));
    EXPECT_EQ(m_analyzer.calls, 2);
}

#include "AnalyzerClientTest.moc"
