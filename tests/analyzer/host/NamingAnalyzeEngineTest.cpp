// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingAnalyzeEngine.h"
#include "../naming/NamingTestSupport.h"
#include "L10n.h"

#include <gtest/gtest.h>

using namespace NamingTestSupport;
using Code = AnalyzeResponse::ErrorCode;

namespace {

TEST(NamingAnalyzeEngine, OutcomeBecomesTheSuccessResponseWithTheFiveMostProminentLines)
{
    // Seven lines whose prominence order (their height falls with the rank) differs from their reading order.
    ScreenshotFeatures features;
    for (const int rank : {4, 2, 6, 1, 5, 3, 7})
        features.lines.push_back({QStringLiteral("Line %1").arg(rank), 0.06 - 0.005 * rank, 0.6, 0.1, 1.0, 0.5});
    features.labels = {u"document scan"_qs, u"chart"_qs};
    AnalyzeResponse expected;
    expected.title = u"Quarterly report"_qs;
    expected.engine = NamingEngineKind::ocr;
    expected.languageFallback = true;
    expected.duration = 1.25;
    expected.labels = features.labels;
    expected.prominentText = {u"Line 1"_qs, u"Line 2"_qs, u"Line 3"_qs, u"Line 4"_qs, u"Line 5"_qs};
    EXPECT_EQ(
        NamingAnalyzeEngine::response(NamingOutcome{*expected.title, NamingEngineKind::ocr, true, features, 1.25}),
        expected);
}

TEST(NamingAnalyzeEngine, FailuresBecomeCodedResponsesInTheInterfaceLanguage)
{
    L10n::apply(InterfaceLanguage::ru);
    const std::tuple<NamingResult, Code, QString> cases[] = {
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
    for (const auto &[result, code, message] : cases) {
        EXPECT_EQ(NamingAnalyzeEngine::response(result), AnalyzeResponse::failure(code, message))
            << rawValue(code).toStdString();
        EXPECT_FALSE(message.startsWith(u"error.")) << "the analyzer's table has the text";
    }
    L10n::apply(InterfaceLanguage::en);
}

} // namespace
