// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileID.h"

#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

TEST(FileIDTest, followsTheFileNotItsPathNorItsLinks)
{
    TempDir dir;
    const QString original = dir.write(QStringLiteral("a.png"), "x");
    const auto before = FileID::fromPath(original);
    ASSERT_TRUE(before.has_value());
    ASSERT_TRUE(QFile::rename(original, dir.filePath(QStringLiteral("b.png"))));
    EXPECT_EQ(FileID::fromPath(dir.filePath(QStringLiteral("b.png"))), before);
    EXPECT_FALSE(FileID::fromPath(original).has_value());
    // A new file at the old path is a different file.
    dir.write(QStringLiteral("a.png"), "y");
    EXPECT_NE(FileID::fromPath(original), before);

    const QString link = dir.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(QFile::link(original, link));
    EXPECT_NE(FileID::fromPath(link), FileID::fromPath(original));
    ASSERT_TRUE(QFile::remove(original));
    EXPECT_TRUE(FileID::fromPath(link).has_value()) << "a broken link still has an identity of its own";
}

TEST(FileIDTest, jsonRoundTripKeepsLargeInodesExact)
{
    for (const FileID &id : {FileID{QStringLiteral("abcd-ef01"), 12345}, FileID{std::nullopt, 7},
                             FileID{std::nullopt, (quint64(1) << 53) + 1}, FileID{QStringLiteral("x"), ~quint64(0)}}) {
        const QJsonObject json = id.toJson();
        EXPECT_EQ(json.contains(QStringLiteral("volume")), id.volume.has_value());
        EXPECT_EQ(FileID::fromJson(json), id) << id.inode;
    }
    EXPECT_FALSE(FileID::fromJson({}).has_value());
    EXPECT_FALSE(FileID::fromJson({{QStringLiteral("inode"), -1}}).has_value());
    EXPECT_FALSE(FileID::fromJson({{QStringLiteral("inode"), 1.5}}).has_value());
    EXPECT_FALSE(FileID::fromJson({{QStringLiteral("inode"), QStringLiteral("12a")}}).has_value());
    EXPECT_FALSE(FileID::fromJson({{QStringLiteral("inode"), 1}, {QStringLiteral("volume"), 3}}).has_value());
}

TEST(FileIDTest, volumeUuidMatchesTheDeviceNumber)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making device nodes needs root";
    TempDir dir;
    const QString devices = dir.mkdir(QStringLiteral("dev"));
    const QString byUuid = dir.mkdir(QStringLiteral("by-uuid"));
    const dev_t first = makedev(250, 1);
    const dev_t second = makedev(250, 2);
    for (const auto &[device, uuid] : {std::pair{first, "1111-AAAA"}, {second, "2222-BBBB"}}) {
        const QString node = devices + QStringLiteral("/sda%1").arg(minor(device));
        ASSERT_EQ(mknod(QFile::encodeName(node).constData(), S_IFBLK | 0600, device), 0);
        ASSERT_TRUE(QFile::link(node, byUuid + u'/' + QLatin1String(uuid)));
    }
    ASSERT_TRUE(QFile::link(devices + QStringLiteral("/missing"), byUuid + QStringLiteral("/3333-CCCC")));

    EXPECT_EQ(FileID::volumeUuid(second, byUuid), QStringLiteral("2222-BBBB"));
    EXPECT_EQ(FileID::volumeUuid(first, byUuid), QStringLiteral("1111-AAAA"));
    EXPECT_EQ(FileID::volumeUuid(makedev(250, 3), byUuid), std::nullopt);
    EXPECT_EQ(FileID::volumeUuid(first, dir.filePath(QStringLiteral("absent"))), std::nullopt);
}
