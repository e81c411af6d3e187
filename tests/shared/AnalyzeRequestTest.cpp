// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeRequest.h"

#include <gtest/gtest.h>

TEST(AnalyzeRequest, DecodesValidRequestsAndRejectsMalformedOnesWithAReason)
{
    const auto decodes = [](const char *json, const AnalyzeRequest &expected) {
        QString error;
        EXPECT_EQ(AnalyzeRequest::fromJson(QByteArray(json), &error), expected) << json << error.toStdString();
    };
    decodes(R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":true,"appName":"Firefox"})",
            {NameLanguage::ru, u"en"_qs, true, u"Firefox"_qs});
    decodes(R"({"nameLanguage":"auto","interfaceCode":"ru","ocrFallback":false})",
            {NameLanguage::automatic, u"ru"_qs, false, std::nullopt});
    // Members a newer client might add are ignored.
    decodes(R"({"nameLanguage":"en","interfaceCode":"de","ocrFallback":true,"extra":[1,2]})",
            {NameLanguage::en, u"de"_qs, true, std::nullopt});
    decodes(" {\"nameLanguage\" : \"en\",\n\"interfaceCode\":\"\", \"ocrFallback\":true, \"appName\":\"\"} ",
            {NameLanguage::en, QString(), true, QString()});

    const auto rejects = [](const char *json, const char *errorMentions) {
        QString error;
        EXPECT_FALSE(AnalyzeRequest::fromJson(QByteArray(json), &error)) << json;
        EXPECT_TRUE(error.contains(QString::fromLatin1(errorMentions))) << json << " -> " << error.toStdString();
    };
    rejects(R"({"nameLanguage":"ru","interfaceCode":"en"})", "ocrFallback");
    rejects(R"({"nameLanguage":"de","interfaceCode":"en","ocrFallback":true})", "nameLanguage");
    rejects(R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":"true"})", "ocrFallback");
    // The first problem is the one reported.
    rejects(R"({"nameLanguage":"ru","interfaceCode":7,"ocrFallback":"x"})", "\"interfaceCode\": expected a string");
    rejects(R"({"nameLanguage":"ru","interfaceCode":"en","ocrFallback":true,"appName":42})", "appName");
    rejects(R"(["nameLanguage"])", "object");
}
