// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

JsonReader::JsonReader(QJsonObject object)
    : m_object(std::move(object))
{}

std::optional<QJsonObject> JsonReader::parseObject(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    QString problem;
    if (parseError.error != QJsonParseError::NoError)
        problem =
            QStringLiteral("not valid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
    else if (!document.isObject())
        problem = QStringLiteral("not a JSON object");
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    return document.object();
}

std::optional<QJsonValue> JsonReader::member(const QString &key, bool required)
{
    if (!ok())
        return std::nullopt;
    const QJsonValue value = m_object.value(key);
    if (value.isUndefined() || value.isNull()) {
        if (required)
            fail(key, QStringLiteral("missing"));
        return std::nullopt;
    }
    return value;
}

void JsonReader::fail(const QString &key, const QString &problem)
{
    if (ok())
        m_error = QStringLiteral("\"%1\": %2").arg(key, problem);
}

QString JsonReader::string(const QString &key)
{
    const auto value = member(key, true);
    if (value && !value->isString())
        fail(key, QStringLiteral("expected a string"));
    return value ? value->toString() : QString();
}

std::optional<QString> JsonReader::optionalString(const QString &key)
{
    const auto value = member(key, false);
    if (!value)
        return std::nullopt;
    if (!value->isString()) {
        fail(key, QStringLiteral("expected a string"));
        return std::nullopt;
    }
    return value->toString();
}

bool JsonReader::boolean(const QString &key)
{
    const auto value = member(key, true);
    if (value && !value->isBool())
        fail(key, QStringLiteral("expected true or false"));
    return value && value->toBool();
}

double JsonReader::number(const QString &key)
{
    const auto value = member(key, true);
    if (value && !value->isDouble())
        fail(key, QStringLiteral("expected a number"));
    return value ? value->toDouble() : 0.0;
}

QStringList JsonReader::stringList(const QString &key)
{
    const auto value = member(key, true);
    if (!value)
        return {};
    if (!value->isArray()) {
        fail(key, QStringLiteral("expected an array of strings"));
        return {};
    }
    QStringList list;
    for (const QJsonValue item : value->toArray()) {
        if (!item.isString()) {
            fail(key, QStringLiteral("expected an array of strings"));
            return {};
        }
        list.append(item.toString());
    }
    return list;
}
