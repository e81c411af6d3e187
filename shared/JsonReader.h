// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Strict reader of one JSON object: a missing required member, a wrong type or an unknown enumeration value
// spoils the whole record and the first such problem is kept as the error. A null counts as absent.
class JsonReader
{
public:
    explicit JsonReader(QJsonObject object);

    // The top-level object of json; nullopt and a message when json is not one.
    static std::optional<QJsonObject> parseObject(const QByteArray &json, QString *error);

    QString string(const QString &key);
    std::optional<QString> optionalString(const QString &key);
    bool boolean(const QString &key);
    double number(const QString &key);
    QStringList stringList(const QString &key);

    // An enumeration member read through fromRaw, which knows its raw values.
    template <typename E>
    E enumeration(const QString &key, std::optional<E> (*fromRaw)(QStringView))
    {
        return optionalEnumeration(key, fromRaw, true).value_or(E{});
    }
    template <typename E>
    std::optional<E> optionalEnumeration(const QString &key, std::optional<E> (*fromRaw)(QStringView),
                                         bool required = false)
    {
        const std::optional<QString> raw = required ? std::optional<QString>(string(key)) : optionalString(key);
        if (!raw || !ok())
            return std::nullopt;
        const std::optional<E> value = fromRaw(*raw);
        if (!value)
            fail(key, QStringLiteral("unknown value \"%1\"").arg(*raw));
        return value;
    }

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

private:
    // The member's value when present and not null; records a missing required member.
    std::optional<QJsonValue> member(const QString &key, bool required);
    void fail(const QString &key, const QString &problem);

    QJsonObject m_object;
    QString m_error;
};
