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

using Outcome = std::variant<FolderBookmark::Resolved, FolderBookmark::Error>;
using enum FolderBookmark::Error::Code;

FolderBookmark::Resolved resolved(const Outcome &result)
{
    EXPECT_TRUE(std::holds_alternative<FolderBookmark::Resolved>(result));
    const auto *found = std::get_if<FolderBookmark::Resolved>(&result);
    return found ? *found : FolderBookmark::Resolved{};
}

std::optional<FolderBookmark::Error::Code> error(const Outcome &result)
{
    const auto *e = std::get_if<FolderBookmark::Error>(&result);
    return e ? std::optional(e->code) : std::nullopt;
}

TEST(FolderBookmarkTest, findsTheFolderAfterItMoved)
{
    TempDir home;
    const QString shots = home.mkdir(QStringLiteral("Pictures/Shots"));
    const auto bookmark = FolderBookmark::create(shots);
    ASSERT_TRUE(bookmark.has_value());
    FolderBookmark::Options options;
    options.home = home.path();

    auto found = resolved(FolderBookmark::resolve(*bookmark, options));
    EXPECT_EQ(found.path, shots);
    EXPECT_FALSE(found.stale);

    // Renamed and moved deeper into the home folder.
    home.mkdir(QStringLiteral("Archive/2026"));
    const QString moved = home.filePath(QStringLiteral("Archive/2026/Screenshots"));
    ASSERT_TRUE(QDir().rename(shots, moved));
    found = resolved(FolderBookmark::resolve(*bookmark, options));
    EXPECT_EQ(found.path, moved);
    EXPECT_TRUE(found.stale);

    // Beyond the search depth, or without a home folder to search, it is lost.
    options.maxDepth = 2;
    EXPECT_EQ(error(FolderBookmark::resolve(*bookmark, options)), notFound);
    options.maxDepth = 4;
    options.maxFolders = 2;
    EXPECT_EQ(error(FolderBookmark::resolve(*bookmark, options)), notFound);
    options.home.clear();
    EXPECT_EQ(error(FolderBookmark::resolve(*bookmark, options)), notFound);

    // A new folder at the old path is not the bookmarked one.
    home.mkdir(QStringLiteral("Pictures/Shots"));
    EXPECT_EQ(error(FolderBookmark::resolve(*bookmark, {})), notFound);
}

TEST(FolderBookmarkTest, resolvesLinksWhenCreated)
{
    TempDir home;
    const QString real = home.mkdir(QStringLiteral("real"));
    const QString link = home.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(real, link));
    const auto bookmark = FolderBookmark::create(link);
    ASSERT_TRUE(bookmark.has_value());
    EXPECT_EQ(resolved(FolderBookmark::resolve(*bookmark, {})).path, QDir(real).canonicalPath());

    EXPECT_FALSE(FolderBookmark::create(home.write(QStringLiteral("file.txt"), "x")).has_value());
    EXPECT_FALSE(FolderBookmark::create(home.filePath(QStringLiteral("missing"))).has_value());
}

TEST(FolderBookmarkTest, withoutAVolumeTheFolderAtItsPathIsFoundAfterARemount)
{
    TempDir home;
    const QString shots = home.mkdir(QStringLiteral("Shots"));
    struct stat st = {};
    ASSERT_EQ(stat(QFile::encodeName(shots).constData(), &st), 0);
    // As a remount leaves it: the same path and inode on a device with another number.
    const QByteArray bookmark = QStringLiteral(R"({"version":1,"path":"%1","device":"%2","inode":"%3"})")
                                    .arg(shots)
                                    .arg(st.st_dev + 1)
                                    .arg(st.st_ino)
                                    .toUtf8();
    const auto found = resolved(FolderBookmark::resolve(bookmark, {}));
    EXPECT_EQ(found.path, shots);
    EXPECT_FALSE(found.stale);
}

TEST(FolderBookmarkTest, malformedBookmarksFail)
{
    for (const QByteArray &bytes : {QByteArray(), QByteArray("not json"), QByteArray("[]"),
                                    QByteArray(R"({"version":2,"path":"/x","device":"1","inode":"2"})"),
                                    QByteArray(R"({"version":1,"path":"relative","device":"1","inode":"2"})"),
                                    QByteArray(R"({"version":1,"path":"/x","device":1,"inode":"2"})")})
        EXPECT_EQ(error(FolderBookmark::resolve(bytes, {})), malformed) << bytes.data();
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
    const QString byUuid = home.mkdir(QStringLiteral("by-uuid"));
    const QString node = home.filePath(QStringLiteral("disk"));
    ASSERT_EQ(mknod(QFile::encodeName(node).constData(), S_IFBLK | 0600, st.st_dev), 0);
    ASSERT_TRUE(QFile::link(node, byUuid + QStringLiteral("/0A1B-2C3D")));

    const auto bookmark = FolderBookmark::create(folder, byUuid);
    ASSERT_TRUE(bookmark.has_value());
    EXPECT_TRUE(bookmark->contains("0A1B-2C3D"));
    FolderBookmark::Options options;
    options.byUuidDir = byUuid;
    EXPECT_EQ(resolved(FolderBookmark::resolve(*bookmark, options)).path, folder);

    ASSERT_TRUE(QFile::remove(byUuid + QStringLiteral("/0A1B-2C3D")));
    EXPECT_EQ(error(FolderBookmark::resolve(*bookmark, options)), volumeMissing);
}

} // namespace
