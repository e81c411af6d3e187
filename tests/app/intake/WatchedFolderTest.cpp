// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WatchedFolder.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

TEST(WatchedFolderTest, jsonRoundTripAndABadElementFailsTheWholeList)
{
    const WatchedFolder folder{QUuid::createUuid(), QStringLiteral("/home/u/Shots"),
                               QByteArray("\x00\x01"
                                          "bookmark",
                                          10),
                               true};
    WatchedFolder disabled = folder;
    disabled.enabled = false;
    EXPECT_EQ(WatchedFolder::listFromJson(WatchedFolder::toJson({folder, disabled})),
              (QList<WatchedFolder>{folder, disabled}));
    EXPECT_EQ(WatchedFolder::listFromJson(QJsonArray{}), QList<WatchedFolder>{});
    EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{folder.toJson(), 3}).has_value());

    const std::pair<const char *, QJsonValue> changes[] = {
        {"path", QJsonValue::Undefined}, {"id", "not-a-uuid"}, {"bookmark", "***"}, {"enabled", "true"}};
    for (const auto &[key, value] : changes) {
        QJsonObject element = folder.toJson();
        if (value.isUndefined())
            element.remove(QLatin1String(key));
        else
            element.insert(QLatin1String(key), value);
        EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{folder.toJson(), element}).has_value())
            << QJsonDocument(element).toJson().data();
    }
}
