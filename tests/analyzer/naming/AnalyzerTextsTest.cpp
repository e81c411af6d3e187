// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10nTableCheck.h"

#include <gtest/gtest.h>

using namespace L10nTableCheck;

namespace {

// Every message the analyzer sends back, whether or not its sources are written yet.
const char *const messageKeys[] = {
    "error.aiUnavailableKeep", "error.aiFailedKeep",      "error.nothingRecognized", "error.unreadableImage",
    "error.aiUnavailable",     "error.nothingToDescribe", "error.emptyAnswer",       "error.ungrounded",
};

} // namespace

TEST(AnalyzerTexts, EveryKeyTheAnalyzerUsesHasBothTexts)
{
    QList<KeyUse> uses = scanSources(QStringLiteral(ZENTROPE_SOURCE_DIR "/analyzer"));
    for (const char *key : messageKeys)
        uses.append({QString::fromLatin1(key), false, QStringLiteral("analyzer messages")});
    const QStringList missing =
        missingKeys(uses, loadTable(QStringLiteral(":/l10n/en.json")), loadTable(QStringLiteral(":/l10n/ru.json")));
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}
