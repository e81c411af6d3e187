// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeRequest.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

TEST(AnalyzeRequest, DecodesValidRequests)
{
    const struct
    {
        const char *json;
        AnalyzeRequest expected;
    } cases[] = {
        {R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":true,"appName":"Firefox"})",
         {NameLanguage::ru, u"en"_qs, true, u"Firefox"_qs}},
        {R"({"nameLanguage":"auto","interfaceCode":"ru","ocrFallback":false})",
         {NameLanguage::automatic, u"ru"_qs, false, std::nullopt}},
        {R"({"appName":null,"ocrFallback":false,"interfaceCode":"ru","nameLanguage":"en"})",
         {NameLanguage::en, u"ru"_qs, false, std::nullopt}},
        // Members a newer client might add are ignored.
        {R"({"nameLanguage":"en","interfaceCode":"de","ocrFallback":true,"extra":[1,2]})",
         {NameLanguage::en, u"de"_qs, true, std::nullopt}},
        {" {\"nameLanguage\" : \"en\",\n\"interfaceCode\":\"\", \"ocrFallback\":true, \"appName\":\"\"} ",
         {NameLanguage::en, QString(), true, QString()}},
    };
    for (const auto &c : cases) {
        QString error;
        const auto request = AnalyzeRequest::fromJson(QByteArray(c.json), &error);
        ASSERT_TRUE(request) << c.json << " " << error.toStdString();
        EXPECT_EQ(*request, c.expected) << c.json;
    }
}

TEST(AnalyzeRequest, RejectsMalformedRequestsWithAReason)
{
    const struct
    {
        const char *json;
        const char *errorMentions;
    } cases[] = {
        {R"({"nameLanguage":"ru","interfaceCode":"en"})", "ocrFallback"},
        {R"({"nameLanguage":"de","interfaceCode":"en","ocrFallback":true})", "nameLanguage"},
        {R"({"nameLanguage":"RU","interfaceCode":"en","ocrFallback":true})", "nameLanguage"},
        {R"({"nameLanguage":null,"interfaceCode":"en","ocrFallback":true})", "nameLanguage"},
        {R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":"true"})", "ocrFallback"},
        {R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":1})", "ocrFallback"},
        {R"({"nameLanguage":"ru","interfaceCode":7,"ocrFallback":true})", "interfaceCode"},
        {R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":true,"appName":42})", "appName"},
        {R"(["nameLanguage"])", "object"},
        {R"({"nameLanguage":"ru",)", "JSON"},
        {"", "JSON"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(AnalyzeRequest::fromJson(QByteArray(c.json), &error)) << c.json;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.errorMentions))) << c.json << " -> " << error.toStdString();
    }
}

TEST(AnalyzeRequest, EncodesCompactJsonWithoutAnUnknownApplication)
{
    const AnalyzeRequest request{NameLanguage::automatic, u"ru"_qs, true, std::nullopt};
    const QByteArray json = request.toJson();
    EXPECT_FALSE(json.contains('\n'));
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(object.keys(), (QStringList{u"interfaceCode"_qs, u"nameLanguage"_qs, u"ocrFallback"_qs}));
    EXPECT_EQ(AnalyzeRequest::fromJson(json), request);

    const AnalyzeRequest named{NameLanguage::en, u"en"_qs, false, u"Терминал \"1\""_qs};
    EXPECT_EQ(AnalyzeRequest::fromJson(named.toJson()), named);
}
