// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileID.h"

#include "TempDir.h"

#include <QFile>
#include <QJsonDocument>

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
    for (const FileID &id : {FileID{QStringLiteral("abcd-ef01"), 12345}, FileID{std::nullopt, ~quint64(0)}}) {
        EXPECT_EQ(id.toJson().contains(QStringLiteral("volume")), id.volume.has_value());
        EXPECT_EQ(FileID::fromJson(id.toJson()), id) << id.inode;
    }
    for (const QJsonObject &bad : {QJsonObject{}, QJsonObject{{"inode", -1}}, QJsonObject{{"inode", 1.5}},
                                   QJsonObject{{"inode", "12a"}}, QJsonObject{{"inode", 1}, {"volume", 3}}})
        EXPECT_FALSE(FileID::fromJson(bad).has_value()) << QJsonDocument(bad).toJson().constData();
}
