// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeEngine.h"
#include "AnalyzerServiceImpl.h"
#include "CoroTest.h"
#include "FakeEngine.h"
#include "IdleExit.h"
#include "L10n.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <QCoroTimer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>

using namespace std::chrono_literals;

namespace {
QDBusUnixFileDescriptor openForReading(const QString &path)
{
    QDBusUnixFileDescriptor descriptor;
    descriptor.giveFileDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    return descriptor;
}

QByteArray request(const QString &interfaceCode)
{
    AnalyzeRequest request;
    request.interfaceCode = interfaceCode;
    return request.toJson();
}

// Makes its message after a pause, as the naming engine does after recognition and the model.
class LateTextEngine final : public AnalyzeEngine
{
public:
    QCoro::Task<AnalyzeResponse> analyze(QByteArray, AnalyzeRequest, ModelDeadline) override
    {
        co_await QCoro::sleepFor(50ms);
        co_return AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::nothingRecognized, L("error.nothingRecognized"));
    }
    QCoro::Task<void> prewarm(QString) override { co_return; }
};
} // namespace

TEST(IdleExit, FiresOnceAfterTheLastEndAndALaterCallPostponesIt)
{
    IdleExit idle(100ms);
    QSignalSpy fired(&idle, &IdleExit::idle);
    idle.begin();
    idle.begin();
    idle.end(); // one call still running: its check must not fire
    EXPECT_FALSE(fired.wait(200));

    QElapsedTimer clock;
    clock.start();
    idle.end();
    QTest::qWait(60);
    idle.begin();
    idle.end();
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_GE(clock.elapsed(), 160);
    EXPECT_FALSE(fired.wait(200)) << "the earlier end's check must not fire as well";
}

TEST(Watchdog, FiresForTheEarliestLiveTicketWhateverTheArmingOrder)
{
    std::atomic<int> expired = 0;
    Watchdog watchdog([&expired] { ++expired; });
    const Watchdog::Ticket late = watchdog.arm(10s);
    const Watchdog::Ticket cancelled = watchdog.arm(40ms);
    watchdog.arm(120ms);
    watchdog.cancel(cancelled);
    QTest::qWait(80);
    EXPECT_EQ(expired.load(), 0);
    QTest::qWait(200);
    EXPECT_EQ(expired.load(), 1);
    watchdog.cancel(late);
}

TEST(ServiceJob, PeersWithDifferentLanguagesEachGetTheirOwnTexts)
{
    TempDir dir;
    const QString image = dir.write(QStringLiteral("shot.png"), "png");
    L10n::apply(InterfaceLanguage::ru);
    const QString russian = L("error.nothingRecognized");
    L10n::apply(InterfaceLanguage::en);
    LateTextEngine engine;
    const auto respond = [&](const QString &code) {
        return AnalyzerServiceImpl::respond(engine, openForReading(image), request(code), ModelDeadline());
    };
    // Started together: each suspends in the engine before it makes its text.
    QCoro::Task<AnalyzeResponse> first = respond(QStringLiteral("ru"));
    QCoro::Task<AnalyzeResponse> second = respond(QStringLiteral("en"));
    EXPECT_EQ(runTask(std::move(first)).errorMessage, russian);
    EXPECT_NE(runTask(std::move(second)).errorMessage, russian);
}

TEST(ServiceJob, HandsTheWholeFileToTheEngineButNeverABadRequestOrAnUnreadableFile)
{
    TempDir dir;
    auto log = std::make_shared<EngineLog>();
    AnalyzerServiceImpl job(FakeEngine::factory(log)());
    for (const QByteArray &bytes : {QByteArray("not json"), QByteArray(R"({"nameLanguage":"auto"})"), QByteArray()}) {
        const AnalyzeResponse response = runTask(job.analyze(QDBusUnixFileDescriptor(), bytes, ModelDeadline()));
        EXPECT_EQ(response, AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::other, u"Bad request"_qs));
    }
    // A directory opens but cannot be read; the message is in the request's language.
    const AnalyzeResponse unreadable =
        runTask(job.analyze(openForReading(dir.path()), request(u"ru"_qs), ModelDeadline()));
    EXPECT_EQ(L10n::code(), QStringLiteral("ru"));
    EXPECT_EQ(unreadable, AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::unreadable, L("error.unreadableImage")));
    EXPECT_TRUE(log->images.isEmpty());

    const QByteArray bytes(300 * 1024, 'x'); // more than one read
    const AnalyzeResponse response = runTask(
        job.analyze(openForReading(dir.write(QStringLiteral("shot.png"), bytes)), request(u"de"_qs), ModelDeadline()));
    EXPECT_EQ(L10n::code(), QStringLiteral("en")) << "every code but ru selects English";
    ASSERT_EQ(log->images.size(), 1);
    EXPECT_EQ(log->images.first(), bytes);
    EXPECT_EQ(response.title, QStringLiteral("307200 bytes"));
}
