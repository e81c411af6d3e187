// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeResponse.h"

#include "JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

QString rawValue(AnalyzeResponse::ErrorCode code)
{
    using enum AnalyzeResponse::ErrorCode;
    switch (code) {
    case aiUnavailable:
        return QStringLiteral("aiUnavailable");
    case aiFailed:
        return QStringLiteral("aiFailed");
    case nothingRecognized:
        return QStringLiteral("nothingRecognized");
    case unreadable:
        return QStringLiteral("unreadable");
    case other:
        return QStringLiteral("other");
    case busy:
        return QStringLiteral("busy");
    }
    return {};
}

std::optional<AnalyzeResponse::ErrorCode> errorCodeFromRaw(QStringView raw)
{
    using enum AnalyzeResponse::ErrorCode;
    for (const auto code : {aiUnavailable, aiFailed, nothingRecognized, unreadable, other, busy}) {
        if (raw == rawValue(code))
            return code;
    }
    return std::nullopt;
}

AnalyzeResponse AnalyzeResponse::failure(ErrorCode code, const QString &message)
{
    AnalyzeResponse response;
    response.errorCode = code;
    response.errorMessage = message;
    return response;
}

QByteArray AnalyzeResponse::toJson() const
{
    // JSON has no infinities or NaN; Qt would write them as null, which no reader accepts as a duration.
    if (!std::isfinite(duration))
        return {};
    QJsonObject object{
        {QStringLiteral("languageFallback"), languageFallback},
        {QStringLiteral("duration"), duration},
        {QStringLiteral("labels"), QJsonArray::fromStringList(labels)},
        {QStringLiteral("prominentText"), QJsonArray::fromStringList(prominentText)},
    };
    if (title)
        object.insert(QStringLiteral("title"), *title);
    if (engine)
        object.insert(QStringLiteral("engine"), rawValue(*engine));
    if (errorCode)
        object.insert(QStringLiteral("errorCode"), rawValue(*errorCode));
    if (errorMessage)
        object.insert(QStringLiteral("errorMessage"), *errorMessage);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<AnalyzeResponse> AnalyzeResponse::fromJson(const QByteArray &json, QString *error)
{
    const std::optional<QJsonObject> object = JsonReader::parseObject(json, error);
    if (!object)
        return std::nullopt;
    JsonReader reader(*object);
    AnalyzeResponse response;
    response.title = reader.optionalString(QStringLiteral("title"));
    response.engine = reader.optionalEnumeration(QStringLiteral("engine"), &namingEngineKindFromRaw);
    response.languageFallback = reader.boolean(QStringLiteral("languageFallback"));
    response.duration = reader.number(QStringLiteral("duration"));
    response.labels = reader.stringList(QStringLiteral("labels"));
    response.prominentText = reader.stringList(QStringLiteral("prominentText"));
    response.errorCode = reader.optionalEnumeration(QStringLiteral("errorCode"), &errorCodeFromRaw);
    response.errorMessage = reader.optionalString(QStringLiteral("errorMessage"));
    if (!reader.ok()) {
        if (error)
            *error = reader.error();
        return std::nullopt;
    }
    return response;
}
