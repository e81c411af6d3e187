// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10n.h"
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

namespace {

const QString sourceRoot = QStringLiteral(ZENTROPE_SOURCE_DIR "/app");

} // namespace

TEST(AppTexts, EveryKeyTheApplicationUsesHasBothTexts)
{
    const QList<KeyUse> uses = scanSources(sourceRoot);
    ASSERT_FALSE(uses.isEmpty()) << "no lookups found under " << sourceRoot.toStdString();
    const QStringList missing =
        missingKeys(uses, loadTable(QStringLiteral(":/l10n/en.json")), loadTable(QStringLiteral(":/l10n/ru.json")));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}

TEST(AppTexts, EnglishAndRussianHaveTheSameKeysAndPlaceholders)
{
    const Table en = loadTable(QStringLiteral(":/l10n/en.json"));
    const Table ru = loadTable(QStringLiteral(":/l10n/ru.json"));
    ASSERT_GT(en.size(), 200);
    EXPECT_TRUE(unpairedKeys(en, ru).isEmpty()) << unpairedKeys(en, ru).join(u'\n').toStdString();
    EXPECT_TRUE(placeholderMismatches(en, ru).isEmpty()) << placeholderMismatches(en, ru).join(u'\n').toStdString();
    for (auto it = en.begin(); it != en.end(); ++it)
        EXPECT_FALSE(it.value().trimmed().isEmpty()) << it.key().toStdString();
    for (auto it = ru.begin(); it != ru.end(); ++it)
        EXPECT_FALSE(it.value().trimmed().isEmpty()) << it.key().toStdString();
}
