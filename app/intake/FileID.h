// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QHashFunctions>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// The identity of a file independent of its path: the volume it lives on and its inode there.
struct FileID
{
    std::optional<QString> volume;
    quint64 inode = 0;

    friend bool operator==(const FileID &, const FileID &) = default;

    // Identity of the item at `path` itself (a symbolic link is not followed); absent when it cannot be read.
    static std::optional<FileID> fromPath(const QString &path);

    // UUID of the block device `device` (as in st_dev) found among the links in `byUuidDir`; absent when none
    // of them points at it (network, overlay and btrfs subvolume devices have none).
    static std::optional<QString> volumeUuid(quint64 device,
                                             const QString &byUuidDir = QStringLiteral("/dev/disk/by-uuid"));

    // JSON form: "inode" and, when known, "volume".
    QJsonObject toJson() const;
    static std::optional<FileID> fromJson(const QJsonObject &object);
};

size_t qHash(const FileID &id, size_t seed = 0) noexcept;

template <>
struct std::hash<FileID>
{
    size_t operator()(const FileID &id) const noexcept { return qHash(id); }
};
