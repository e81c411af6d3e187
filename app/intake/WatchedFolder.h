// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One folder the user chose to watch, with the bookmark that finds it again after it moved.
struct WatchedFolder
{
    QUuid id;
    QString path;
    QByteArray bookmark;
    bool enabled = true;

    friend bool operator==(const WatchedFolder &, const WatchedFolder &) = default;

    QJsonObject toJson() const;
    // Absent unless "id", "path", "bookmark" (Base64) and "enabled" are all present and well-formed.
    static std::optional<WatchedFolder> fromJson(const QJsonObject &object);
    static QJsonArray toJson(const QList<WatchedFolder> &folders);
    // Absent when any element fails to decode: a list is taken whole or not at all.
    static std::optional<QList<WatchedFolder>> listFromJson(const QJsonArray &array);
};

size_t qHash(const WatchedFolder &folder, size_t seed = 0) noexcept;
