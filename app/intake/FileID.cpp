// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileID.h"

#include "NativePath.h"

#include <QDir>
#include <QFile>
#include <QJsonValue>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
// Integers above 2^53 do not survive a JSON number; such inodes are written as decimal text.
constexpr quint64 maxExactJsonInteger = quint64(1) << 53;
} // namespace

std::optional<FileID> FileID::fromPath(const QString &path)
{
    const QByteArray native = NativePath::encode(path);
    struct statx st
    {
    };
    if (native.isEmpty() || statx(AT_FDCWD, native.constData(), AT_SYMLINK_NOFOLLOW, STATX_INO, &st) != 0 ||
        !(st.stx_mask & STATX_INO))
        return std::nullopt;
    FileID id;
    id.inode = st.stx_ino;
    id.volume = volumeUuid(makedev(st.stx_dev_major, st.stx_dev_minor));
    return id;
}

std::optional<QString> FileID::volumeUuid(quint64 device, const QString &byUuidDir)
{
    const QDir dir(byUuidDir);
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        struct stat st
        {
        };
        // The entries are links to the device nodes; stat follows them to the node itself.
        if (stat(QFile::encodeName(dir.filePath(name)).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
            continue;
        if (st.st_rdev == device)
            return name;
    }
    return std::nullopt;
}

QJsonObject FileID::toJson() const
{
    QJsonObject object;
    if (volume)
        object.insert(QStringLiteral("volume"), *volume);
    if (inode <= maxExactJsonInteger)
        object.insert(QStringLiteral("inode"), static_cast<double>(inode));
    else
        object.insert(QStringLiteral("inode"), QString::number(inode));
    return object;
}

std::optional<FileID> FileID::fromJson(const QJsonObject &object)
{
    FileID id;
    const QJsonValue inode = object.value(QStringLiteral("inode"));
    if (inode.isDouble()) {
        const double value = inode.toDouble();
        if (value < 0 || value > static_cast<double>(maxExactJsonInteger) ||
            value != static_cast<double>(static_cast<quint64>(value)))
            return std::nullopt;
        id.inode = static_cast<quint64>(value);
    } else if (inode.isString()) {
        bool ok = false;
        id.inode = inode.toString().toULongLong(&ok);
        if (!ok)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const QJsonValue volume = object.value(QStringLiteral("volume"));
    if (volume.isString())
        id.volume = volume.toString();
    else if (!volume.isUndefined() && !volume.isNull())
        return std::nullopt;
    return id;
}

size_t qHash(const FileID &id, size_t seed) noexcept
{
    return qHashMulti(seed, id.volume.value_or(QString()), id.volume.has_value(), id.inode);
}
