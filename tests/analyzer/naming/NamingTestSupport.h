// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "ModelServerDouble.h"
#include "ScreenshotFeatures.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <initializer_list>

// Scripted models and hand-made screens for the namer and engine tests.
namespace NamingTestSupport {

const QString chatPath = QStringLiteral("/api/chat");

// Both write English and Russian; only the second reads images.
inline ModelServerDouble::OllamaModel textModel(QStringList languages = {QStringLiteral("en"), QStringLiteral("ru")})
{
    return {QStringLiteral("qwen3:8b"), {QStringLiteral("completion")}, QStringLiteral("qwen3"), std::move(languages)};
}

inline ModelServerDouble::OllamaModel visionModel(QStringList languages = {QStringLiteral("en"), QStringLiteral("ru")})
{
    return {u"qwen2.5vl:7b"_qs, {u"completion"_qs, u"vision"_qs}, u"qwen25vl"_qs, std::move(languages)};
}

inline ModelEnvironment environmentFor(const ModelServerDouble &server)
{
    ModelEnvironment environment;
    environment.candidates = {server.endpoint(ModelEndpoint::Server::ollama)};
    environment.loadPollInterval = std::chrono::milliseconds(20);
    return environment;
}

// Far more than any scripted answer needs.
inline ModelDeadline ample()
{
    return ModelDeadline::after(std::chrono::seconds(10));
}

inline ModelServerDouble::Response answer(const QString &field, const QString &value)
{
    return ModelServerDouble::ollamaAnswer(ModelServerDouble::record(field, value));
}

// Lines stacked from the top, each a little less prominent than the one before.
inline ScreenshotFeatures screen(std::optional<QString> language, std::initializer_list<const char *> texts)
{
    ScreenshotFeatures features;
    features.language = std::move(language);
    double top = 0.05;
    double height = 0.04;
    for (const char *text : texts) {
        features.lines.push_back({QString::fromUtf8(text), height, top, 0.05, 0.95, 0.6});
        top += 0.06;
        height *= 0.95;
    }
    features.pixelWidth = 1280;
    features.pixelHeight = 800;
    return features;
}

// Chat requests that asked for an answer (prewarming sends none).
inline QList<QJsonObject> chats(const ModelServerDouble &server)
{
    QList<QJsonObject> result;
    for (const ModelServerDouble::Request &request : server.requests(chatPath)) {
        const QJsonObject body = request.json();
        if (!body.value(QLatin1String("messages")).toArray().isEmpty())
            result.append(body);
    }
    return result;
}

// The system prompt (message 0), or the user message's text before the answer's schema, the schema, or images.
inline QJsonValue messagePart(const QJsonObject &chat, int index, const char *key)
{
    return chat.value(QLatin1String("messages")).toArray()[index].toObject().value(QLatin1String(key));
}

inline QString systemOf(const QJsonObject &chat)
{
    return messagePart(chat, 0, "content").toString();
}

const QString schemaLead = QStringLiteral("\n\nAnswer with JSON that follows this schema:\n");

inline QString promptOf(const QJsonObject &chat)
{
    const QString content = messagePart(chat, 1, "content").toString();
    return content.left(content.lastIndexOf(schemaLead));
}

inline QString schemaOf(const QJsonObject &chat)
{
    return messagePart(chat, 1, "content").toString().section(schemaLead, -1);
}

inline bool hasImage(const QJsonObject &chat)
{
    return !messagePart(chat, 1, "images").toArray().isEmpty();
}

// The one field the answer schema requires.
inline QString fieldOf(const QJsonObject &chat)
{
    return chat.value(QLatin1String("format")).toObject().value(QLatin1String("required")).toArray()[0].toString();
}

// The expected alternative of a result, or a failure and an empty value.
template <class T, class Variant>
T alternative(const Variant &result)
{
    if (const T *value = std::get_if<T>(&result))
        return *value;
    ADD_FAILURE() << "the result holds another alternative (index " << result.index() << ")";
    return {};
}

} // namespace NamingTestSupport
