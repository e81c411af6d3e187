// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingEngine.h"
#include "CoroTest.h"
#include "L10n.h"
#include "NamingTestSupport.h"
#include "TestClock.h"

#include <QBuffer>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>

using namespace std::chrono_literals;

using namespace NamingTestSupport;

namespace {

QByteArray pngBytes()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    return bytes;
}

const ScreenshotFeatures titledScreen =
    screen(u"en"_qs, {"Quarterly report for the board", "Revenue grew in every region", "Costs stayed flat"});
const ScreenshotFeatures clockOnly = screen(std::nullopt, {"10:42", "File Edit View"});

class NamingEngineTest : public testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    // Perception is replaced by a fixed screen; reading it takes two seconds of test time.
    NamingEngine &engine(ScreenshotFeatures features)
    {
        m_engine = std::make_unique<NamingEngine>(
            environmentFor(server),
            [this, features](const QImage &image) -> PerceptionResult {
                ++perceived;
                lastImageSize = image.size();
                clock.advance(2);
                return features;
            },
            clock);
        return *m_engine;
    }

    NamingResult suggest(ScreenshotFeatures features, bool ocrFallback, QByteArray bytes = pngBytes(),
                         ModelDeadline deadline = ample())
    {
        return runTask(
            engine(std::move(features))
                .suggestTitle(std::move(bytes), NameLanguage::en, u"en"_qs, ocrFallback, std::nullopt, deadline));
    }

    ModelServerDouble server;
    TestClock clock;
    std::atomic<int> perceived = 0;
    QSize lastImageSize;

private:
    std::unique_ptr<NamingEngine> m_engine;
};

const auto outcomeOf = alternative<NamingOutcome, NamingResult>;
const auto errorOf = alternative<NamingError, NamingResult>;

TEST_F(NamingEngineTest, UnavailableModelFailsBeforeDecodingOrFallsBackToTheTextAndBadImagesFail)
{
    server.serveOllama({});
    EXPECT_EQ(errorOf(suggest(titledScreen, false, "not an image")),
              NamingError::aiUnavailableNoFallback(AIAvailability::modelNotReady()));
    EXPECT_EQ(alternative<PerceptionError>(suggest(titledScreen, true, "not an image")).code,
              PerceptionError::Code::unreadableImage);
    EXPECT_EQ(perceived, 0);

    const NamingOutcome outcome = outcomeOf(suggest(titledScreen, true));
    EXPECT_EQ(std::tuple(outcome.title, outcome.engine, outcome.duration, outcome.features.lines),
              std::tuple(u"Quarterly report for the board"_qs, NamingEngineKind::ocr, 2.0, titledScreen.lines));
    EXPECT_EQ(lastImageSize, QSize(64, 48));

    server.serveOllama({textModel()});

    NamingEngine failing(environmentFor(server), [](const QImage &) -> PerceptionResult {
        return PerceptionError{PerceptionError::Code::recognitionFailed, u"tesseract could not start"_qs};
    });
    const NamingResult failed =
        runTask(failing.suggestTitle(pngBytes(), NameLanguage::en, u"en"_qs, true, std::nullopt, ample()));
    EXPECT_EQ(alternative<PerceptionError>(failed).detail, u"tesseract could not start"_qs);
    EXPECT_TRUE(chats(server).isEmpty());
}

TEST_F(NamingEngineTest, ModelTitleSeesThePictureWhenTheModelCanAndFailuresFallBackOnlyWhenAllowed)
{
    server.serveOllama({visionModel()});
    server.enqueue(chatPath, answer(u"name"_qs, u"Quarterly board report"_qs));
    const NamingOutcome named = outcomeOf(suggest(titledScreen, false));
    EXPECT_EQ(std::tuple(named.title, named.engine, named.duration),
              std::tuple(u"Quarterly board report"_qs, NamingEngineKind::ai, 2.0));
    ASSERT_EQ(chats(server).size(), 1);
    EXPECT_TRUE(hasImage(chats(server)[0]));
    EXPECT_EQ(server.requests(u"/api/tags"_qs).size(), 1) << "one reading of the model per call";

    server.serveOllama({textModel()});
    const auto fail = [this](int status, const QString &message) {
        server.enqueue(chatPath, ModelServerDouble::ollamaError(status, message));
    };
    fail(503, u"server busy"_qs);
    EXPECT_EQ(errorOf(suggest(titledScreen, false)), NamingError::aiBusy(u"server busy"_qs));
    fail(503, u"server busy"_qs);
    EXPECT_EQ(outcomeOf(suggest(titledScreen, true)).title, u"Quarterly report for the board"_qs);
    fail(500, u"runner crashed"_qs);
    EXPECT_EQ(errorOf(suggest(titledScreen, false)), NamingError::aiFailedNoFallback(u"runner crashed"_qs));

    // An ungrounded answer with fallback: the text's own title, never flagged as another language; without, the
    // namer's own reason inside the message.
    server.setDefault(chatPath, answer(u"summary"_qs, u"Mountain lake at sunset"_qs));
    const NamingOutcome ungrounded = outcomeOf(suggest(titledScreen, true));
    EXPECT_EQ(ungrounded.engine, NamingEngineKind::ocr);
    EXPECT_FALSE(ungrounded.languageFallback);
    EXPECT_EQ(errorOf(suggest(titledScreen, false)), NamingError::aiFailedNoFallback(L("error.ungrounded")));

    // Nothing for the model to describe and no title in the text.
    EXPECT_EQ(errorOf(suggest(clockOnly, true)), NamingError::nothingRecognized());
}

TEST_F(NamingEngineTest, SlowUngroundedAnswersStillEndByTheDeadline)
{
    // Each picture answer takes 0.4 s and is not on the screen: the third attempt cannot finish in time.
    server.serveOllama({visionModel()});
    server.setAnswerDelay(chatPath, 400ms);
    server.setDefault(chatPath, answer(u"name"_qs, u"Mountain lake at sunset"_qs));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(outcomeOf(suggest(titledScreen, true, pngBytes(), ModelDeadline::after(1000ms))).engine,
              NamingEngineKind::ocr);
    EXPECT_EQ(errorOf(suggest(titledScreen, false, pngBytes(), ModelDeadline::after(1000ms))),
              NamingError::aiBusy(L("error.modelTooSlow")));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(chats(server).size(), 6);
}

TEST_F(NamingEngineTest, ALoadingModelIsWaitedForUntilTheDeadline)
{
    server.serveLlamaServer(u"qwen3-4b"_qs, false);
    server.setDefault(u"/v1/chat/completions"_qs, ModelServerDouble::openAIAnswer(ModelServerDouble::record(
                                                      u"summary"_qs, u"Quarterly board report"_qs)));
    server.startLoading(300ms, true);
    EXPECT_EQ(outcomeOf(suggest(titledScreen, false)).engine, NamingEngineKind::ai);
    server.startLoading(10s, true);
    EXPECT_EQ(errorOf(suggest(titledScreen, false, pngBytes(), ModelDeadline::after(300ms))),
              NamingError::aiBusy(L("error.modelLoading")));
    EXPECT_EQ(outcomeOf(suggest(titledScreen, true, pngBytes(), ModelDeadline::after(300ms))).engine,
              NamingEngineKind::ocr);
}

} // namespace
