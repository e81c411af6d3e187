// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

TEST(AnalyzerTexts, EveryKeyTheAnalyzerUsesHasBothTexts)
{
    const QList<KeyUse> uses = scanSources(QStringLiteral(ZENTROPE_SOURCE_DIR "/analyzer"));
    ASSERT_GE(uses.size(), 8) << "the analyzer's error messages were not found in its sources";
    const QStringList missing =
        missingKeys(uses, loadTable(QStringLiteral(":/l10n/en.json")), loadTable(QStringLiteral(":/l10n/ru.json")));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}
