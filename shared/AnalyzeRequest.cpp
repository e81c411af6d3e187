// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzeRequest.h"

#include "JsonReader.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray AnalyzeRequest::toJson() const
{
    QJsonObject object{
        {QStringLiteral("nameLanguage"), rawValue(nameLanguage)},
        {QStringLiteral("interfaceCode"), interfaceCode},
        {QStringLiteral("ocrFallback"), ocrFallback},
    };
    if (appName)
        object.insert(QStringLiteral("appName"), *appName);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<AnalyzeRequest> AnalyzeRequest::fromJson(const QByteArray &json, QString *error)
{
    const std::optional<QJsonObject> object = JsonReader::parseObject(json, error);
    if (!object)
        return std::nullopt;
    JsonReader reader(*object);
    AnalyzeRequest request;
    request.nameLanguage = reader.enumeration(QStringLiteral("nameLanguage"), &nameLanguageFromRaw);
    request.interfaceCode = reader.string(QStringLiteral("interfaceCode"));
    request.ocrFallback = reader.boolean(QStringLiteral("ocrFallback"));
    request.appName = reader.optionalString(QStringLiteral("appName"));
    if (!reader.ok()) {
        if (error)
            *error = reader.error();
        return std::nullopt;
    }
    return request;
}
