// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10n.h"
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

TEST(AppTexts, EveryKeyTheApplicationUsesHasBothTextsWithTheSamePlaceholders)
{
    const Table en = loadTable(u":/l10n/en.json"_qs);
    const Table ru = loadTable(u":/l10n/ru.json"_qs);
    ASSERT_GT(en.size(), 200);
    const QList<KeyUse> uses = scanSources(QStringLiteral(ZENTROPE_SOURCE_DIR "/app"));
    ASSERT_FALSE(uses.isEmpty()) << "no lookups found under the application's sources";
    for (const QStringList &problems : {missingKeys(uses, en, ru), unpairedKeys(en, ru), placeholderMismatches(en, ru)})
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    for (const Table *table : {&en, &ru}) {
        for (auto it = table->begin(); it != table->end(); ++it)
            EXPECT_FALSE(it.value().trimmed().isEmpty()) << it.key().toStdString();
    }
}
