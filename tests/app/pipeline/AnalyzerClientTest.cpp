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

AnalyzerFailure failureOf(const AnalyzeResult &result)
{
    EXPECT_TRUE(std::holds_alternative<AnalyzerFailure>(result));
    return std::holds_alternative<AnalyzerFailure>(result) ? std::get<AnalyzerFailure>(result) : AnalyzerFailure{};
}
} // namespace

TEST(AnalyzerClientTest, PassesAReadOnlyDescriptorTimesOutRetryablyAndNeverRetriesWhatCannotWork)
{
    PrivateBus bus{PrivateBus::configWithoutServices()};
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection service = bus.connect();
    ScriptedAnalyzer analyzer;
    ASSERT_TRUE(service.registerObject(AnalyzerBus::objectPath, &analyzer, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(AnalyzerBus::serviceName));
    AnalyzeResponse named;
    named.title = QStringLiteral("Pull request review");
    named.engine = NamingEngineKind::ai;
    analyzer.answer = named.toJson();
    TempDir dir;
    AnalyzerClient client(bus.connect(), 500ms);
    const auto analyze = [&](const QString &name = QStringLiteral("shot.png")) {
        return runTask(client.analyze(dir.filePath(name), AnalyzeRequest{}));
    };
    dir.write(QStringLiteral("shot.png"), "PNG bytes");

    const AnalyzeResult result = analyze();
    ASSERT_TRUE(std::holds_alternative<AnalyzeResponse>(result));
    EXPECT_EQ(std::get<AnalyzeResponse>(result).title, QStringLiteral("Pull request review"));
    EXPECT_EQ(analyzer.accessMode, O_RDONLY);
    EXPECT_EQ(analyzer.imageBytes, QByteArray("PNG bytes"));

    analyzer.delay = 1000ms;
    EXPECT_EQ(failureOf(analyze()), (AnalyzerFailure{AnalyzeResponse::ErrorCode::other, u"Timed out"_qs, true}));
    QTest::qWait(800); // the late reply arrives and must go nowhere
    analyzer.delay = 0ms;
    EXPECT_TRUE(std::holds_alternative<AnalyzeResponse>(analyze()));

    for (const QByteArray &answer : {QByteArray(), QByteArray("{}"), QByteArray(R"({"errorCode":"newCode"})")}) {
        analyzer.answer = answer;
        EXPECT_EQ(failureOf(analyze()),
                  (AnalyzerFailure{AnalyzeResponse::ErrorCode::other, u"Invalid analyzer response"_qs, false}));
    }
    // A file that cannot be opened fails before any call.
    const int calls = analyzer.calls;
    EXPECT_FALSE(failureOf(analyze(QStringLiteral("gone.png"))).retryable);
    EXPECT_EQ(analyzer.calls, calls);
    // Without the service and without an activation file for it the analyzer is unavailable for good.
    ASSERT_TRUE(service.unregisterService(AnalyzerBus::serviceName));
    EXPECT_EQ(failureOf(analyze()),
              (AnalyzerFailure{AnalyzeResponse::ErrorCode::other, u"Analyzer unavailable"_qs, false}));
    client.prewarm(QStringLiteral("en")); // nothing happens, nothing is raised
}

#include "AnalyzerClientTest.moc"
