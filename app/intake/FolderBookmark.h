// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

// A stored grant to a folder: a small versioned record of its path, device, inode and volume that finds the
// folder again after it was renamed or moved.
namespace FolderBookmark {

struct Resolved
{
    QString path;
    // The folder is no longer where the bookmark says; a fresh bookmark should replace it.
    bool stale = false;
};

struct Error
{
    enum class Code {
        malformed,     // the bytes are not a bookmark
        volumeMissing, // the volume holding the folder is not attached
        notFound,      // neither at its path nor anywhere it was looked for
    };
    Code code;
    QString path;
};

struct Options
{
    // Where volume UUIDs are looked up.
    QString byUuidDir = QStringLiteral("/dev/disk/by-uuid");
    // The home folder searched for a folder that moved; empty skips that search.
    QString home;
    int maxDepth = 4;
    int maxFolders = 20000;
};

// A bookmark of the folder at `path` (symbolic links resolved); absent when it is not a folder.
std::optional<QByteArray> create(const QString &path, const QString &byUuidDir = QStringLiteral("/dev/disk/by-uuid"));
// Finds the bookmarked folder: at its path, else in its old parent folder, else under the home folder.
std::variant<Resolved, Error> resolve(const QByteArray &bookmark, const Options &options);

// Access needs no grant outside a sandbox; starting only checks that the folder is there.
bool startAccess(const QString &path);
void stopAccess(const QString &path);

} // namespace FolderBookmark
