// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelEndpoint.h"
#include "ModelLanguages.h"

#include <QJsonArray>

#include <gtest/gtest.h>

TEST(ModelEndpoint, ReadsTheSettingAndOllamaHostForms)
{
    struct Case
    {
        const char *text;
        bool ollamaHost;
        const char *expected; // nullptr: rejected
    };
    const Case cases[] = {
        {"http://127.0.0.1:8080/v1/", false, "http://127.0.0.1:8080"},
        {"localhost:1234", false, "http://localhost:1234"},
        {"  192.168.1.5 ", false, "http://192.168.1.5:11434"},
        {"http://[::1]:8080", false, "http://[::1]:8080"},
        {"https://models.example.org/llm", false, "https://models.example.org:443/llm"},
        {"ftp://127.0.0.1:21", false, nullptr},
        {"127.0.0.1:99999", false, nullptr},
        {"", false, nullptr},
        {"0.0.0.0", true, "http://127.0.0.1:11434"},
        {"0.0.0.0:11500", true, "http://127.0.0.1:11500"},
        {":11434", true, "http://127.0.0.1:11434"},
        {"[::]:11434", true, "http://[::1]:11434"},
        {"http://gpu-box", true, "http://gpu-box:80"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const auto endpoint = c.ollamaHost ? ModelEndpoint::fromOllamaHost(text) : ModelEndpoint::fromSetting(text);
        if (c.expected == nullptr) {
            EXPECT_FALSE(endpoint.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(endpoint.has_value()) << c.text;
        EXPECT_EQ(endpoint->baseUrl(), QString::fromUtf8(c.expected)) << c.text;
        EXPECT_EQ(endpoint->server(),
                  c.ollamaHost ? ModelEndpoint::Server::ollama : ModelEndpoint::Server::unidentified);
    }
    EXPECT_EQ(ModelEndpoint::fromSetting(u"http://127.0.0.1:8080/v1"_qs)->url(u"/v1/models"_qs),
              QUrl(u"http://127.0.0.1:8080/v1/models"_qs));
}

TEST(ModelEndpoint, OnlyLoopbackAddressesCountAsLocal)
{
    const std::pair<const char *, bool> cases[] = {
        {"http://127.0.0.1:1", true},    {"http://127.3.2.1:1", true},  {"http://[::1]:1", true},
        {"http://localhost:1", true},    {"http://LOCALHOST:1", true},  {"http://ai.localhost:1", true},
        {"http://192.168.1.5:1", false}, {"http://10.0.0.1:1", false},  {"http://localhost.example.org:1", false},
        {"http://example.org:1", false}, {"http://[fe80::1]:1", false},
    };
    for (const auto &[url, loopback] : cases)
        EXPECT_EQ(ModelEndpoint(QUrl(QString::fromUtf8(url))).isLoopback(), loopback) << url;
}

TEST(ModelLanguages, DeclaredListsAreNormalisedAndWinOverFamiliesWhichFallBackToEnglish)
{
    const QJsonArray declared{u"en"_qs, u"de-DE"_qs, u"EN"_qs, u"pt_BR"_qs, u"not a code"_qs, 5, u""_qs};
    EXPECT_EQ(ModelLanguages::fromDeclared(declared), (QStringList{u"en"_qs, u"de"_qs, u"pt"_qs}));
    EXPECT_TRUE(ModelLanguages::fromDeclared(QJsonValue(u"en"_qs)).isEmpty());

    struct Case
    {
        QStringList names;
        const char *has;
        const char *lacks;
    };
    const Case cases[] = {
        {{u"qwen2.5vl:7b"_qs, u"qwen25vl"_qs}, "ru", nullptr},
        {{u"llama3.1:8b"_qs, u"llama"_qs}, "de", "ru"},
        {{u"llama3.2-vision:11b"_qs, u"mllama"_qs}, "en", "de"},
        {{u"gemma2:2b"_qs, u"gemma2"_qs}, "en", "ru"},
        {{u"llava:7b"_qs, u"llama"_qs}, "en", "de"},
        {{u"my-finetune"_qs, QString()}, "en", "ru"},
    };
    for (const Case &c : cases) {
        const QStringList languages = ModelLanguages::resolve(QJsonValue(), c.names);
        EXPECT_TRUE(languages.contains(QString::fromUtf8(c.has))) << c.names.join(u',').toStdString();
        if (c.lacks != nullptr) {
            EXPECT_FALSE(languages.contains(QString::fromUtf8(c.lacks))) << c.names.join(u',').toStdString();
        }
    }
    // A declared list wins over the family.
    EXPECT_EQ(ModelLanguages::resolve(QJsonArray{u"fi"_qs}, {u"qwen3:8b"_qs}), QStringList{u"fi"_qs});
}
