// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileID.h"

#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

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
