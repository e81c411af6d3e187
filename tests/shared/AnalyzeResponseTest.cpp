// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeResponse.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace {

AnalyzeResponse success()
{
    AnalyzeResponse response;
    response.title = u"Обзор pull request"_qs;
    response.engine = NamingEngineKind::ai;
    response.languageFallback = true;
    response.duration = 2.718281828459045;
    response.labels = {u"screenshot"_qs};
    response.prominentText = {u"Pull requests"_qs, u"Review"_qs};
    return response;
}

} // namespace

TEST(AnalyzeResponse, FailuresTravelByTheirCaseNameWithEmptyMembersAndNoTitle)
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
}

TEST(AnalyzeResponse, DecodingIsStrict)
{
    const struct
    {
        const char *json;
        bool decodes;
    } cases[] = {
        {R"({"languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", true},
        {R"({"title":null,"engine":null,"errorCode":null,"errorMessage":null,
             "languageFallback":false,"duration":1,"labels":[],"prominentText":[]})",
         true},
        {R"({"title":"A","engine":"ocr","languageFallback":false,"duration":0.5,"labels":["x"],"prominentText":["y"]})",
         true},
        // A title without labels, as an older or broken peer might send it.
        {R"({"title":"A","engine":"ai","languageFallback":false,"duration":0.5,"prominentText":[]})", false},
        {R"({"title":"A","engine":"vision","languageFallback":false,"duration":0,"labels":[],"prominentText":[]})",
         false},
        {R"({"errorCode":"timeout","languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", false},
        {R"({"languageFallback":null,"duration":0,"labels":[],"prominentText":[]})", false},
        {R"({"languageFallback":false,"duration":"0","labels":[],"prominentText":[]})", false},
        {R"({"languageFallback":false,"duration":0,"labels":[null],"prominentText":[]})", false},
        {R"({"languageFallback":false,"duration":0,"labels":"x","prominentText":[]})", false},
        {R"({"languageFallback":false,"duration":0,"labels":[],"prominentText":[1]})", false},
        {R"({"title":3,"languageFallback":false,"duration":0,"labels":[],"prominentText":[]})", false},
        {R"({"languageFallback":false,"duration":1e400,"labels":[],"prominentText":[]})", false},
        {"", false},
    };
    for (const auto &c : cases) {
        QString error;
        const bool decoded = AnalyzeResponse::fromJson(QByteArray(c.json), &error).has_value();
        EXPECT_EQ(decoded, c.decodes) << c.json << " " << error.toStdString();
        EXPECT_EQ(error.isEmpty(), c.decodes) << c.json;
    }
}

TEST(AnalyzeResponse, SuccessRoundTripsEveryBitAndNonFiniteDurationsAreNotEncoded)
{
    for (const double duration : {2.718281828459045, 0.1, 1e-9, 170.00000000000003}) {
        AnalyzeResponse response = success();
        response.duration = duration;
        const auto decoded = AnalyzeResponse::fromJson(response.toJson());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, response);
        EXPECT_EQ(decoded->duration, duration);
    }
    EXPECT_FALSE(QJsonDocument::fromJson(success().toJson()).object().contains(u"errorCode"_qs));
    AnalyzeResponse broken = success();
    broken.duration = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(broken.toJson().isEmpty());
    broken.duration = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(broken.toJson().isEmpty());
}
