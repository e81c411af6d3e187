// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingAnalyzeEngine.h"
#include "../naming/NamingTestSupport.h"
#include "L10n.h"

#include <gtest/gtest.h>

using namespace NamingTestSupport;
using Code = AnalyzeResponse::ErrorCode;

namespace {

// Seven lines whose prominence order differs from their reading order.
ScreenshotFeatures sevenLines()
{
    const std::pair<const char *, double> lines[] = {{"Fourth heading line", 0.02},  {"Second heading line", 0.04},
                                                     {"Sixth heading line", 0.01},   {"First heading line", 0.05},
                                                     {"Fifth heading line", 0.015},  {"Third heading line", 0.03},
                                                     {"Seventh heading line", 0.005}};
    ScreenshotFeatures features;
    for (const auto &[text, height] : lines)
        features.lines.push_back({QString::fromUtf8(text), height, 0.6, 0.1, 1.0, 0.5});
    features.labels = {u"document scan"_qs, u"chart"_qs};
    return features;
}

TEST(NamingAnalyzeEngine, OutcomeBecomesTheSuccessResponseWithTheFiveMostProminentLines)
{
    AnalyzeResponse expected;
    expected.title = u"Quarterly report"_qs;
    expected.engine = NamingEngineKind::ocr;
    expected.languageFallback = true;
    expected.duration = 1.25;
    expected.labels = {u"document scan"_qs, u"chart"_qs};
    expected.prominentText = {u"First heading line"_qs, u"Second heading line"_qs, u"Third heading line"_qs,
                              u"Fourth heading line"_qs, u"Fifth heading line"_qs};
    EXPECT_EQ(
        NamingAnalyzeEngine::response(NamingOutcome{*expected.title, NamingEngineKind::ocr, true, sevenLines(), 1.25}),
        expected);
}

TEST(NamingAnalyzeEngine, FailuresBecomeCodedResponsesInTheInterfaceLanguage)
{
    L10n::apply(InterfaceLanguage::ru);
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
        EXPECT_EQ(NamingAnalyzeEngine::response(c.result), AnalyzeResponse::failure(c.code, c.message))
            << rawValue(c.code).toStdString();
        EXPECT_FALSE(c.message.startsWith(u"error.")) << "the table has the text";
    }
    L10n::apply(InterfaceLanguage::en);
}

} // namespace
