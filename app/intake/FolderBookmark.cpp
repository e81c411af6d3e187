// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderBookmark.h"

#include "FileID.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQueue>

#include <sys/stat.h>

namespace FolderBookmark {
namespace {

constexpr int version = 1;

struct Record
{
    QString path;
    quint64 device = 0;
    quint64 inode = 0;
    std::optional<QString> volume;
};

std::optional<quint64> number(const QJsonValue &value)
{
    bool ok = false;
    const quint64 result = value.toString().toULongLong(&ok);
    return ok ? std::optional(result) : std::nullopt;
}

std::optional<Record> parse(const QByteArray &bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("version")).toInt() != version)
        return std::nullopt;
    const QJsonValue path = object.value(QStringLiteral("path"));
    const auto device = number(object.value(QStringLiteral("device")));
    const auto inode = number(object.value(QStringLiteral("inode")));
    if (!path.isString() || !QDir::isAbsolutePath(path.toString()) || !device || !inode)
        return std::nullopt;
    Record record{QDir::cleanPath(path.toString()), *device, *inode, std::nullopt};
    const QJsonValue volume = object.value(QStringLiteral("volume"));
    if (volume.isString() && !volume.toString().isEmpty())
        record.volume = volume.toString();
    return record;
}

struct Identity
{
    quint64 device;
    quint64 inode;
};

std::optional<Identity> directoryIdentity(const QString &path, bool followLinks)
{
    struct stat st
    {
    };
    const QByteArray native = QFile::encodeName(path);
    const int result = followLinks ? stat(native.constData(), &st) : lstat(native.constData(), &st);
    if (result != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return Identity{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

// Breadth-first through `start`'s subfolders on `device`, not following links, within the limits.
std::optional<QString> search(const QString &start, const Identity &wanted, int maxDepth, int &budget)
{
    QQueue<std::pair<QString, int>> queue;
    queue.enqueue({start, 0});
    while (!queue.isEmpty() && budget > 0) {
        const auto [folder, depth] = queue.dequeue();
        const QStringList children = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString &child : children) {
            if (--budget <= 0)
                break;
            const QString path = folder + u'/' + child;
            const auto identity = directoryIdentity(path, false);
            if (!identity || identity->device != wanted.device)
                continue;
            if (identity->inode == wanted.inode)
                return path;
            if (depth + 1 < maxDepth)
                queue.enqueue({path, depth + 1});
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> create(const QString &path, const QString &byUuidDir)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const auto identity = canonical.isEmpty() ? std::nullopt : directoryIdentity(canonical, true);
    if (!identity)
        return std::nullopt;
    QJsonObject object{
        {QStringLiteral("version"), version},
        {QStringLiteral("path"), canonical},
        {QStringLiteral("device"), QString::number(identity->device)},
        {QStringLiteral("inode"), QString::number(identity->inode)},
    };
    if (const auto volume = FileID::volumeUuid(identity->device, byUuidDir))
        object.insert(QStringLiteral("volume"), *volume);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::variant<Resolved, Error> resolve(const QByteArray &bookmark, const Options &options)
{
    const auto record = parse(bookmark);
    if (!record)
        return Error{Error::Code::malformed, {}};

    Identity wanted{record->device, record->inode};
    if (record->volume) {
        // Device numbers can change between boots; the volume's UUID says which device holds it now.
        struct stat st
        {
        };
        const QString link = options.byUuidDir + u'/' + *record->volume;
        if (stat(QFile::encodeName(link).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
            return Error{Error::Code::volumeMissing, record->path};
        wanted.device = static_cast<quint64>(st.st_rdev);
    }

    // Without a volume UUID (btrfs subvolumes, FUSE, network and memory file systems) the device number is given
    // anew at each mount: at its own path, the folder is known by its inode alone.
    const auto atPath = directoryIdentity(record->path, true);
    if (atPath && atPath->inode == wanted.inode && (!record->volume || atPath->device == wanted.device))
        return Resolved{record->path, false};

    int budget = options.maxFolders;
    const QString parent = QFileInfo(record->path).absolutePath();
    if (parent != record->path) {
        if (const auto found = search(parent, wanted, 1, budget))
            return Resolved{*found, true};
    }
    if (!options.home.isEmpty()) {
        if (const auto found = search(QDir::cleanPath(options.home), wanted, options.maxDepth, budget))
            return Resolved{*found, true};
    }
    return Error{Error::Code::notFound, record->path};
}

bool startAccess(const QString &path)
{
    return QFileInfo(path).isDir();
}

void stopAccess(const QString &) {}

} // namespace FolderBookmark
