// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FolderBookmark.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using enum FolderBookmark::Error::Code;

QString failed(FolderBookmark::Error::Code code)
{
    return QStringLiteral("error %1").arg(int(code));
}

// Where the bookmark leads, marked when stale, or why it leads nowhere.
QString where(const QByteArray &bookmark, const FolderBookmark::Options &options = {})
{
    const auto result = FolderBookmark::resolve(bookmark, options);
    if (const auto *error = std::get_if<FolderBookmark::Error>(&result))
        return failed(error->code);
    const auto &found = std::get<FolderBookmark::Resolved>(result);
    return found.path + (found.stale ? QStringLiteral(" (stale)") : QString());
}

TEST(FolderBookmarkTest, findsTheFolderAfterItMovedAndFollowsLinksWhenCreated)
{
    TempDir home;
    const QString shots = home.mkdir(QStringLiteral("Pictures/Shots"));
    const QByteArray bookmark = FolderBookmark::create(shots).value();
    FolderBookmark::Options options;
    options.home = home.path();
    EXPECT_EQ(where(bookmark, options), shots);

    // Renamed and moved deeper into the home folder.
    home.mkdir(QStringLiteral("Archive/2026"));
    const QString moved = home.filePath(QStringLiteral("Archive/2026/Screenshots"));
    ASSERT_TRUE(QDir().rename(shots, moved));
    EXPECT_EQ(where(bookmark, options), moved + QStringLiteral(" (stale)"));
    // Beyond the search depth or budget, or without a home folder to search, it is lost.
    options.maxDepth = 2;
    EXPECT_EQ(where(bookmark, options), failed(notFound));
    options.maxDepth = 4;
    options.maxFolders = 2;
    EXPECT_EQ(where(bookmark, options), failed(notFound));
    EXPECT_EQ(where(bookmark), failed(notFound));
    // A new folder at the old path is not the bookmarked one.
    home.mkdir(QStringLiteral("Pictures/Shots"));
    EXPECT_EQ(where(bookmark), failed(notFound));

    const QString link = home.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(moved, link));
    EXPECT_EQ(where(FolderBookmark::create(link).value()), QDir(moved).canonicalPath());
    EXPECT_FALSE(FolderBookmark::create(home.write(QStringLiteral("file.txt"), "x")).has_value());
    EXPECT_FALSE(FolderBookmark::create(home.filePath(QStringLiteral("missing"))).has_value());
}

TEST(FolderBookmarkTest, aRemountedFolderIsFoundAtItsPathAndMalformedBookmarksFail)
{
    TempDir home;
    const QString shots = home.mkdir(QStringLiteral("Shots"));
    struct stat st = {};
    ASSERT_EQ(stat(QFile::encodeName(shots).constData(), &st), 0);
    // Without a volume, as a remount leaves it: the same path and inode on a device with another number.
    EXPECT_EQ(where(QStringLiteral(R"({"version":1,"path":"%1","device":"%2","inode":"%3"})")
                        .arg(shots)
                        .arg(st.st_dev + 1)
                        .arg(st.st_ino)
                        .toUtf8()),
              shots);

    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("[]"), QByteArray(R"({"version":2,"path":"/x","device":"1","inode":"2"})"),
          QByteArray(R"({"version":1,"path":"relative","device":"1","inode":"2"})"),
          QByteArray(R"({"version":1,"path":"/x","device":1,"inode":"2"})")})
        EXPECT_EQ(where(bytes), failed(malformed)) << bytes.data();
}

TEST(FolderBookmarkTest, missingVolumeFails)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making device nodes needs root";
    TempDir home;
    const QString folder = home.mkdir(QStringLiteral("Shots"));
    struct stat st = {};
    ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &st), 0);
    // A stand-in for /dev/disk/by-uuid that names the temporary folder's device.
    FolderBookmark::Options options;
    options.byUuidDir = home.mkdir(QStringLiteral("by-uuid"));
    const QString node = home.filePath(QStringLiteral("disk"));
    ASSERT_EQ(mknod(QFile::encodeName(node).constData(), S_IFBLK | 0600, st.st_dev), 0);
    ASSERT_TRUE(QFile::link(node, options.byUuidDir + QStringLiteral("/0A1B-2C3D")));

    const QByteArray bookmark = FolderBookmark::create(folder, options.byUuidDir).value();
    EXPECT_TRUE(bookmark.contains("0A1B-2C3D"));
    EXPECT_EQ(where(bookmark, options), folder);
    ASSERT_TRUE(QFile::remove(options.byUuidDir + QStringLiteral("/0A1B-2C3D")));
    EXPECT_EQ(where(bookmark, options), failed(volumeMissing));
}

} // namespace
