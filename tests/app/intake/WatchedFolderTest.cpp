// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "WatchedFolder.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

const WatchedFolder folder{QUuid::fromString(QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")),
                           QStringLiteral("/home/u/Shots"),
                           QByteArray("\x00\x01"
                                      "bookmark",
                                      10),
                           true};

TEST(WatchedFolderTest, jsonRoundTripAndABadElementFailsTheWholeList)
{
    const QJsonObject json = folder.toJson();
    EXPECT_EQ(json.value(QStringLiteral("id")).toString(), QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    EXPECT_EQ(json.value(QStringLiteral("bookmark")).toString(), QStringLiteral("AAFib29rbWFyaw=="));
    WatchedFolder disabled = folder;
    disabled.enabled = false;
    EXPECT_EQ(WatchedFolder::listFromJson(WatchedFolder::toJson({folder, disabled})),
              (QList<WatchedFolder>{folder, disabled}));

    const std::pair<const char *, QJsonValue> changes[] = {
        {"path", QJsonValue::Undefined},     {"enabled", QJsonValue::Undefined},  {"id", "not-a-uuid"},
        {"bookmark", QStringLiteral("***")}, {"enabled", QStringLiteral("true")},
    };
    for (const auto &[key, value] : changes) {
        QJsonObject element = json;
        if (value.isUndefined())
            element.remove(QLatin1String(key));
        else
            element.insert(QLatin1String(key), value);
        EXPECT_FALSE(WatchedFolder::fromJson(element).has_value()) << QJsonDocument(element).toJson().data();
        EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{json, element}).has_value());
    }
    EXPECT_FALSE(WatchedFolder::listFromJson(QJsonArray{json, 3}).has_value());
    EXPECT_EQ(WatchedFolder::listFromJson(QJsonArray{}), QList<WatchedFolder>{});
}

} // namespace
