// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelEndpoint.h"
#include "ModelLanguages.h"

#include <QJsonArray>

#include <gtest/gtest.h>

TEST(ModelEndpoint, ReadsTheSettingAndOllamaHostFormsAndOnlyLoopbackIsLocal)
{
    // expected nullptr: rejected
    const auto parses = [](const char *text, bool ollamaHost, const char *expected) {
        const QString input = QString::fromUtf8(text);
        const auto endpoint = ollamaHost ? ModelEndpoint::fromOllamaHost(input) : ModelEndpoint::fromSetting(input);
        if (expected == nullptr) {
            EXPECT_FALSE(endpoint.has_value()) << text;
            return;
        }
        ASSERT_TRUE(endpoint.has_value()) << text;
        EXPECT_EQ(endpoint->baseUrl(), QString::fromUtf8(expected)) << text;
        EXPECT_EQ(endpoint->server(), ollamaHost ? ModelEndpoint::Server::ollama : ModelEndpoint::Server::unidentified);
    };
    parses("http://127.0.0.1:8080/v1/", false, "http://127.0.0.1:8080");
    parses("localhost:1234", false, "http://localhost:1234");
    parses("  192.168.1.5 ", false, "http://192.168.1.5:11434");
    parses("http://[::1]:8080", false, "http://[::1]:8080");
    parses("https://models.example.org/llm", false, "https://models.example.org:443/llm");
    parses("ftp://127.0.0.1:21", false, nullptr);
    parses("127.0.0.1:99999", false, nullptr);
    parses("", false, nullptr);
    parses("0.0.0.0:11500", true, "http://127.0.0.1:11500");
    parses(":11434", true, "http://127.0.0.1:11434");
    parses("[::]:11434", true, "http://[::1]:11434");
    parses("http://gpu-box", true, "http://gpu-box:80");
    EXPECT_EQ(ModelEndpoint::fromSetting(u"http://127.0.0.1:8080/v1"_qs)->url(u"/v1/models"_qs),
              QUrl(u"http://127.0.0.1:8080/v1/models"_qs));

    for (const char *url : {"http://127.3.2.1:1", "http://[::1]:1", "http://LOCALHOST:1", "http://ai.localhost:1"})
        EXPECT_TRUE(ModelEndpoint(QUrl(QString::fromUtf8(url))).isLoopback()) << url;
    for (const char *url :
         {"http://10.0.0.1:1", "http://localhost.example.org:1", "http://example.org:1", "http://[fe80::1]:1"})
        EXPECT_FALSE(ModelEndpoint(QUrl(QString::fromUtf8(url))).isLoopback()) << url;
}

TEST(ModelLanguages, DeclaredListsAreNormalisedAndWinOverFamiliesWhichFallBackToEnglish)
{
    const QJsonArray declared{u"en"_qs, u"de-DE"_qs, u"EN"_qs, u"pt_BR"_qs, u"not a code"_qs, 5, u""_qs};
    EXPECT_EQ(ModelLanguages::fromDeclared(declared), (QStringList{u"en"_qs, u"de"_qs, u"pt"_qs}));
    EXPECT_TRUE(ModelLanguages::fromDeclared(QJsonValue(u"en"_qs)).isEmpty());
    EXPECT_EQ(ModelLanguages::resolve(QJsonArray{u"fi"_qs}, {u"qwen3:8b"_qs}), QStringList{u"fi"_qs});

    const auto family = [](QStringList names, const char *has, const char *lacks) {
        const QStringList languages = ModelLanguages::resolve(QJsonValue(), names);
        EXPECT_TRUE(languages.contains(QString::fromUtf8(has))) << names.join(u',').toStdString();
        EXPECT_FALSE(lacks && languages.contains(QString::fromUtf8(lacks))) << names.join(u',').toStdString();
    };
    family({u"qwen2.5vl:7b"_qs, u"qwen25vl"_qs}, "ru", nullptr);
    family({u"my-finetune"_qs, QString()}, "en", "ru");
}
