// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeResponse.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

TEST(AnalyzeResponse, EveryFailureAndEverySuccessRoundTripsAndNonFiniteDurationsAreNotEncoded)
{
    using enum AnalyzeResponse::ErrorCode;
    for (const auto code : {aiUnavailable, aiFailed, nothingRecognized, unreadable, other, busy}) {
        const AnalyzeResponse failure = AnalyzeResponse::failure(code, u"m"_qs);
        EXPECT_EQ(AnalyzeResponse::fromJson(failure.toJson()), failure);
    }
    EXPECT_EQ(QJsonDocument::fromJson(AnalyzeResponse::failure(other, u"Bad request"_qs).toJson()).object(),
              QJsonDocument::fromJson(R"({"duration":0,"errorCode":"other","errorMessage":"Bad request",)"
                                      R"("labels":[],"languageFallback":false,"prominentText":[]})")
                  .object());

    AnalyzeResponse response;
    response.title = u"Обзор pull request"_qs;
    response.engine = NamingEngineKind::ai;
    response.languageFallback = true;
    response.labels = {u"screenshot"_qs};
    response.prominentText = {u"Pull requests"_qs, u"Review"_qs};
    for (const double duration : {2.718281828459045, 0.1, 1e-9, 170.00000000000003}) {
        response.duration = duration;
        const auto decoded = AnalyzeResponse::fromJson(response.toJson());
        EXPECT_EQ(decoded, response);
        EXPECT_EQ(decoded.value_or(AnalyzeResponse()).duration, duration);
    }
    EXPECT_FALSE(QJsonDocument::fromJson(response.toJson()).object().contains(u"errorCode"_qs));
    for (const double broken : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        response.duration = broken;
        EXPECT_TRUE(response.toJson().isEmpty());
    }
}

TEST(AnalyzeResponse, DecodingIsStrict)
{
    const auto decodes = [](const char *json, bool expected) {
        QString error;
        EXPECT_EQ(AnalyzeResponse::fromJson(QByteArray(json), &error).has_value(), expected)
            << json << " " << error.toStdString();
        EXPECT_EQ(error.isEmpty(), expected) << json;
    };
    decodes(R"({"languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", true);
    decodes(R"({"title":null,"engine":null,"errorCode":null,"errorMessage":null,
                "languageFallback":false,"duration":1,"labels":[],"prominentText":[]})",
            true);
    decodes(
        R"({"title":"A","engine":"ocr","languageFallback":false,"duration":0.5,"labels":["x"],"prominentText":["y"]})",
        true);
    // A title without labels, as an older or broken peer might send it.
    decodes(R"({"title":"A","engine":"ai","languageFallback":false,"duration":0.5,"prominentText":[]})", false);
    decodes(R"({"title":"A","engine":"vision","languageFallback":false,"duration":0,"labels":[],"prominentText":[]})",
            false);
    decodes(R"({"errorCode":"timeout","languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", false);
    decodes(R"({"languageFallback":null,"duration":0,"labels":[],"prominentText":[]})", false);
    decodes(R"({"languageFallback":false,"duration":"0","labels":[],"prominentText":[]})", false);
    decodes(R"({"languageFallback":false,"duration":0,"labels":[null],"prominentText":[]})", false);
    decodes(R"({"languageFallback":false,"duration":0,"labels":"x","prominentText":[]})", false);
    decodes(R"({"title":3,"languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", false);
    decodes(R"({"languageFallback":false,"duration":1e400,"labels":[],"prominentText":[]})", false);
}
