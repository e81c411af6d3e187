// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingAnalyzeEngine.h"
#include "../naming/NamingTestSupport.h"
#include "CoroTest.h"
#include "L10n.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <atomic>

using namespace NamingTestSupport;
using Code = AnalyzeResponse::ErrorCode;

namespace {

ScreenshotFeatures::Line line(const char *text, double height)
{
    return {QString::fromUtf8(text), height, 0.6, 0.1, 1.0, 0.5};
}

// Seven lines whose prominence order differs from their reading order.
ScreenshotFeatures sevenLines()
{
    ScreenshotFeatures features;
    features.lines = {line("Fourth heading line", 0.02),  line("Second heading line", 0.04),
                      line("Sixth heading line", 0.01),   line("First heading line", 0.05),
                      line("Fifth heading line", 0.015),  line("Third heading line", 0.03),
                      line("Seventh heading line", 0.005)};
    features.labels = {u"document scan"_qs, u"chart"_qs};
    return features;
}

TEST(NamingAnalyzeEngine, OutcomeBecomesTheSuccessResponse)
{
    const NamingOutcome outcome{u"Quarterly report"_qs, NamingEngineKind::ocr, true, sevenLines(), 1.25};
    const AnalyzeResponse response = NamingAnalyzeEngine::response(outcome);
    EXPECT_EQ(response.title, u"Quarterly report"_qs);
    EXPECT_EQ(response.engine, NamingEngineKind::ocr);
    EXPECT_TRUE(response.languageFallback);
    EXPECT_DOUBLE_EQ(response.duration, 1.25);
    EXPECT_EQ(response.labels, (QStringList{u"document scan"_qs, u"chart"_qs}));
    EXPECT_EQ(response.prominentText,
              (QStringList{u"First heading line"_qs, u"Second heading line"_qs, u"Third heading line"_qs,
                           u"Fourth heading line"_qs, u"Fifth heading line"_qs}));
    EXPECT_FALSE(response.errorCode.has_value());
    EXPECT_FALSE(response.errorMessage.has_value());

    ScreenshotFeatures two;
    two.lines = {line("Only line", 0.02), line("Bigger line", 0.05)};
    EXPECT_EQ(NamingAnalyzeEngine::response(NamingOutcome{u"x"_qs, NamingEngineKind::ai, false, two, 0}).prominentText,
              (QStringList{u"Bigger line"_qs, u"Only line"_qs}));
}

TEST(NamingAnalyzeEngine, FailuresBecomeCodedResponsesInTheInterfaceLanguage)
{
    for (const InterfaceLanguage language : {InterfaceLanguage::en, InterfaceLanguage::ru}) {
        L10n::apply(language);
        const struct
        {
            NamingResult result;
            Code code;
            QString message;
        } cases[] = {
            {NamingError::aiUnavailableNoFallback(AIAvailability::notEnabled()), Code::aiUnavailable,
             L("error.aiUnavailableKeep")},
            {NamingError::aiFailedNoFallback(u"runner crashed"_qs), Code::aiFailed,
             L("error.aiFailedKeep", u"runner crashed"_qs)},
            {NamingError::aiBusy(u"server busy"_qs), Code::busy, u"server busy"_qs},
            {NamingError::nothingRecognized(), Code::nothingRecognized, L("error.nothingRecognized")},
            {PerceptionError{PerceptionError::Code::unreadableImage, {}}, Code::unreadable, L("error.unreadableImage")},
            {PerceptionError{PerceptionError::Code::recognitionFailed, u"tesseract failed"_qs}, Code::other,
             u"tesseract failed"_qs},
        };
        for (const auto &c : cases) {
            const AnalyzeResponse response = NamingAnalyzeEngine::response(c.result);
            EXPECT_EQ(response, AnalyzeResponse::failure(c.code, c.message)) << rawValue(c.code).toStdString();
            EXPECT_FALSE(c.message.startsWith(u"error."));
        }
    }
    // The message follows the language applied last.
    L10n::apply(InterfaceLanguage::en);
    const auto english = NamingAnalyzeEngine::response(NamingError::nothingRecognized()).errorMessage;
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_NE(NamingAnalyzeEngine::response(NamingError::nothingRecognized()).errorMessage, english);
    L10n::apply(InterfaceLanguage::en);
}

QByteArray pngBytes()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class NamingAnalyzeEngineRun : public testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }

    NamingAnalyzeEngine adapter()
    {
        auto perceive = [](const QImage &) -> PerceptionResult { return sevenLines(); };
        return NamingAnalyzeEngine(std::make_unique<NamingEngine>(environmentFor(server), perceive),
                                   [this] { ++warmUps; });
    }

    ModelServerDouble server;
    std::atomic<int> warmUps = 0;
};

TEST_F(NamingAnalyzeEngineRun, AnalyzePassesTheRequestThrough)
{
    server.serveOllama({});
    NamingAnalyzeEngine engine = adapter();
    AnalyzeRequest request;
    request.nameLanguage = NameLanguage::en;
    request.interfaceCode = u"en"_qs;
    request.ocrFallback = false;
    EXPECT_EQ(runTask(engine.analyze(pngBytes(), request)),
              AnalyzeResponse::failure(Code::aiUnavailable, L("error.aiUnavailableKeep")));

    request.ocrFallback = true;
    const AnalyzeResponse named = runTask(engine.analyze(pngBytes(), request));
    EXPECT_EQ(named.title, u"First heading line"_qs);
    EXPECT_EQ(named.engine, NamingEngineKind::ocr);
    EXPECT_EQ(named.prominentText.size(), 5);

    EXPECT_EQ(runTask(engine.analyze("not an image", request)).errorCode, Code::unreadable);
}

TEST_F(NamingAnalyzeEngineRun, PrewarmReadiesTheSessionThenTheRecognition)
{
    server.serveOllama({});
    NamingAnalyzeEngine engine = adapter();
    runTask(engine.prewarm(u"ru"_qs));
    EXPECT_EQ(warmUps, 1);
    EXPECT_TRUE(server.requests(chatPath).isEmpty());

    server.serveOllama({visionModel()});
    server.setDefault(chatPath, ModelServerDouble::ollamaAnswer(QString()));
    runTask(engine.prewarm(u"ru"_qs));
    EXPECT_EQ(warmUps, 2);
    EXPECT_EQ(server.requests(chatPath).size(), 1);
}

} // namespace
