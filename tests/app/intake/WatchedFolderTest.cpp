// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WatchedFolder.h"

#include <QJsonDocument>
#include <QSet>

#include <gtest/gtest.h>

namespace {

WatchedFolder sample()
{
    return {QUuid::fromString(QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")), QStringLiteral("/home/u/Shots"),
            QByteArray("\x00\x01"
                       "bookmark",
                       10),
            true};
}

TEST(WatchedFolderTest, jsonRoundTrip)
{
    const WatchedFolder folder = sample();
    const QJsonObject json = folder.toJson();
    EXPECT_EQ(json.value(QStringLiteral("id")).toString(), QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    EXPECT_EQ(json.value(QStringLiteral("bookmark")).toString(), QStringLiteral("AAFib29rbWFyaw=="));
    EXPECT_EQ(WatchedFolder::fromJson(json), folder);

    WatchedFolder disabled = folder;
    disabled.enabled = false;
    EXPECT_NE(disabled, folder);
    EXPECT_EQ(QSet<WatchedFolder>({folder, folder, disabled}).size(), 2);
    EXPECT_EQ(WatchedFolder::listFromJson(WatchedFolder::toJson({folder, disabled})),
              (QList<WatchedFolder>{folder, disabled}));
}

TEST(WatchedFolderTest, aBadElementFailsTheWholeList)
{
    const QJsonObject good = sample().toJson();
    const auto without = [&](const char *key) {
        QJsonObject copy = good;
        copy.remove(QString::fromLatin1(key));
        return copy;
    };
    const auto with = [&](const char *key, const QJsonValue &value) {
        QJsonObject copy = good;
        copy.insert(QString::fromLatin1(key), value);
        return copy;
    };
    const QJsonObject bad[] = {
        without("id"),
        without("path"),
        without("bookmark"),
        without("enabled"),
        with("id", QStringLiteral("not-a-uuid")),
        with("bookmark", QStringLiteral("***")),
        with("enabled", QStringLiteral("true")),
    };
    for (const QJsonObject &element : bad) {
        EXPECT_FALSE(WatchedFolder::fromJson(element).has_value()) << QJsonDocument(element).toJson().data();
        EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{good, element}).has_value());
    }
    EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{good, 3}).has_value());
    EXPECT_EQ(WatchedFolder::listFromJson(QJsonArray{}), QList<WatchedFolder>{});
}

} // namespace
