// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerServiceImpl.h"
#include "CoroTest.h"
#include "FakeEngine.h"
#include "IdleExit.h"
#include "L10n.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
QDBusUnixFileDescriptor openForReading(const QString &path)
{
    QDBusUnixFileDescriptor descriptor;
    descriptor.giveFileDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    return descriptor;
}

QByteArray request(const char *interfaceCode = "en")
{
    AnalyzeRequest request;
    request.interfaceCode = QString::fromLatin1(interfaceCode);
    return request.toJson();
}
} // namespace

TEST(IdleExit, FiresOnlyAfterTheLastEndWithNothingActive)
{
    IdleExit idle(60ms);
    QSignalSpy fired(&idle, &IdleExit::idle);

    idle.begin();
    idle.begin();
    idle.end(); // one call still running: its check must not fire
    EXPECT_FALSE(fired.wait(150));
    idle.end();
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_EQ(fired.count(), 1);
}

TEST(IdleExit, ALaterCallPostponesTheExit)
{
    IdleExit idle(100ms);
    QSignalSpy fired(&idle, &IdleExit::idle);
    QElapsedTimer clock;
    clock.start();
    idle.begin();
    idle.end();
    QTest::qWait(60);
    idle.begin();
    idle.end();
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_GE(clock.elapsed(), 160);
    EXPECT_FALSE(fired.wait(200)) << "the first end's check must not fire as well";
}

TEST(Watchdog, FiresForAnExpiredTicketAndNotForCancelledOnes)
{
    std::atomic<int> expired = 0;
    Watchdog watchdog([&expired] { ++expired; });
    const Watchdog::Ticket cancelled = watchdog.arm(40ms);
    watchdog.arm(120ms);
    watchdog.cancel(cancelled);
    QTest::qWait(80);
    EXPECT_EQ(expired.load(), 0);
    QTest::qWait(200);
    EXPECT_EQ(expired.load(), 1);
}

TEST(Watchdog, AnEarlierTicketArmedLaterStillFiresFirst)
{
    std::atomic<int> expired = 0;
    Watchdog watchdog([&expired] { ++expired; });
    const Watchdog::Ticket late = watchdog.arm(10s);
    watchdog.arm(30ms);
    QTest::qWait(300);
    EXPECT_EQ(expired.load(), 1);
    watchdog.cancel(late);
}

TEST(ServiceJob, ReadsTheDescriptorToTheEndAndHandsTheBytesToTheEngine)
{
    TempDir dir;
    const QByteArray bytes(300 * 1024, 'x'); // more than one read
    const QString path = dir.write(QStringLiteral("shot.png"), bytes);
    auto log = std::make_shared<EngineLog>();
    AnalyzerServiceImpl job(FakeEngine::factory(log)());

    const AnalyzeResponse response = runTask(job.analyze(openForReading(path), request()));
    ASSERT_EQ(log->images.size(), 1);
    EXPECT_EQ(log->images.first(), bytes);
    EXPECT_EQ(response.title, QStringLiteral("307200 bytes"));
}

TEST(ServiceJob, BadRequestIsAnsweredWithoutTouchingTheFileOrTheEngine)
{
    auto log = std::make_shared<EngineLog>();
    AnalyzerServiceImpl job(FakeEngine::factory(log)());
    for (const QByteArray &bytes : {QByteArray("not json"), QByteArray(R"({"nameLanguage":"auto"})"), QByteArray()}) {
        const AnalyzeResponse response = runTask(job.analyze(QDBusUnixFileDescriptor(), bytes));
        EXPECT_EQ(response.errorCode, AnalyzeResponse::ErrorCode::other);
        EXPECT_EQ(response.errorMessage, QStringLiteral("Bad request"));
        EXPECT_FALSE(response.title.has_value());
    }
    EXPECT_TRUE(log->images.isEmpty());
}

TEST(ServiceJob, AnUnreadableDescriptorIsUnreadableInTheRequestsLanguage)
{
    TempDir dir;
    auto log = std::make_shared<EngineLog>();
    AnalyzerServiceImpl job(FakeEngine::factory(log)());
    // A directory opens but cannot be read.
    const AnalyzeResponse response = runTask(job.analyze(openForReading(dir.path()), request("ru")));
    EXPECT_EQ(response.errorCode, AnalyzeResponse::ErrorCode::unreadable);
    EXPECT_EQ(L10n::code(), QStringLiteral("ru"));
    EXPECT_EQ(response.errorMessage, L("error.unreadableImage"));
    EXPECT_NE(response.errorMessage, QStringLiteral("error.unreadableImage")) << "the analyzer's table has the text";
    EXPECT_TRUE(log->images.isEmpty());

    runTask(job.analyze(openForReading(dir.write(QStringLiteral("a.png"), "x")), request("de")));
    EXPECT_EQ(L10n::code(), QStringLiteral("en")) << "every code but ru selects English";
}

TEST(ServiceJob, ReadsFromAPipeUntilTheWriterCloses)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "abc", 3), 3);
    ::close(fds[1]);
    EXPECT_EQ(AnalyzerServiceImpl::readToEnd(fds[0]), QByteArray("abc"));
    ::close(fds[0]);
    EXPECT_FALSE(AnalyzerServiceImpl::readToEnd(-1).has_value());
}
