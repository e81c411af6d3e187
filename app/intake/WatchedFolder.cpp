// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WatchedFolder.h"

QJsonObject WatchedFolder::toJson() const
{
    return {
        {QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("path"), path},
        {QStringLiteral("bookmark"), QString::fromLatin1(bookmark.toBase64())},
        {QStringLiteral("enabled"), enabled},
    };
}

std::optional<WatchedFolder> WatchedFolder::fromJson(const QJsonObject &object)
{
    const QJsonValue id = object.value(QStringLiteral("id"));
    const QJsonValue path = object.value(QStringLiteral("path"));
    const QJsonValue bookmark = object.value(QStringLiteral("bookmark"));
    const QJsonValue enabled = object.value(QStringLiteral("enabled"));
    if (!id.isString() || !path.isString() || !bookmark.isString() || !enabled.isBool())
        return std::nullopt;
    WatchedFolder folder;
    folder.id = QUuid::fromString(id.toString());
    if (folder.id.isNull())
        return std::nullopt;
    const auto decoded =
        QByteArray::fromBase64Encoding(bookmark.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    folder.path = path.toString();
    folder.bookmark = *decoded;
    folder.enabled = enabled.toBool();
    return folder;
}

QJsonArray WatchedFolder::toJson(const QList<WatchedFolder> &folders)
{
    QJsonArray array;
    for (const WatchedFolder &folder : folders)
        array.append(folder.toJson());
    return array;
}

std::optional<QList<WatchedFolder>> WatchedFolder::listFromJson(const QJsonArray &array)
{
    QList<WatchedFolder> folders;
    for (const QJsonValue &value : array) {
        const auto folder = value.isObject() ? fromJson(value.toObject()) : std::nullopt;
        if (!folder)
            return std::nullopt;
        folders.append(*folder);
    }
    return folders;
}

size_t qHash(const WatchedFolder &folder, size_t seed) noexcept
{
    return qHashMulti(seed, folder.id, folder.path, folder.bookmark, folder.enabled);
}
