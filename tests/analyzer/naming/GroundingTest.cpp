// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Grounding.h"

#include <gtest/gtest.h>

using Grounding::Overlap;

namespace {

TEST(Grounding, ContentWordsKeepLongWordsAndCapitalAcronyms)
{
    EXPECT_EQ(Grounding::contentWords(u"PDF tools for the Ёлка"_qs), (QStringList{"pdf", "tools", "елка"}));
    EXPECT_EQ(Grounding::contentWords(u"pdf tools"_qs), (QStringList{"tools"}));
    EXPECT_EQ(Grounding::contentWords(u"ABCD and 2025 or OK"_qs), (QStringList{"abcd", "ok"}));
    EXPECT_EQ(Grounding::tokens(u"Ёлка: v2.1-beta"_qs), (QStringList{"елка", "v2", "1", "beta"}));
}

TEST(Grounding, OverlapCountsMatchingContentWords)
{
    const std::tuple<const char *, QStringList, Overlap> cases[] = {
        // Five-letter stems match inflected forms on the screen.
        {"Invoices", {"Invoice list"}, {1, 1}},
        {"Documentation", {"Documents"}, {1, 1}},
        {"Documentation", {"Docs"}, {0, 1}},
        {"Настройки сети", {"Сетевые настройка"}, {1, 2}},
        {"Ёлочные игрушки", {"елочные"}, {1, 2}},
        // Acronyms count only in capitals.
        {"PDF export", {"Save as pdf"}, {1, 2}},
        // No content words: any shared token of two or more characters will do.
        {"go to app", {"Open the app"}, {1, 1}},
        {"go to app", {"Open the application"}, {0, 1}},
        {"a b", {"a b cd"}, {0, 1}},
        // Sources with no usable tokens, and several sources pooling their words.
        {"Settings window", {"", "a"}, {0, 2}},
        {"Safari bookmarks", {"Bookmarks bar", "", "Safari"}, {2, 2}},
    };
    for (const auto &[title, sources, expected] : cases)
        EXPECT_EQ(Grounding::overlap(QString::fromUtf8(title), sources), expected) << title;
}

TEST(Grounding, OriginalWordingNeedsTwoStemsAndSeventyPercent)
{
    const QList<std::pair<QString, QString>> pairs = {
        {u"Сетевые параметры адаптера"_qs, u"Network adapter parameters"_qs},
        {u"Настройки сети и в"_qs, u"Network settings panel"_qs},
    };
    // Three stems, two covered: not enough.
    EXPECT_EQ(Grounding::originalWording(u"Network settings window"_qs, pairs, 8), std::nullopt);
    // Four stems, three covered: enough; short trailing words are dropped while more than two remain.
    EXPECT_EQ(Grounding::originalWording(u"Network settings panel options"_qs, pairs, 8), u"Настройки сети"_qs);
    // One stem, even repeated, is never enough.
    EXPECT_EQ(Grounding::originalWording(u"Network networks"_qs, pairs, 8), std::nullopt);
    // Equal coverage: the earlier pair wins; the word limit applies to the original.
    const QList<std::pair<QString, QString>> tie = {{u"Первая строка текста"_qs, u"Network settings"_qs},
                                                    {u"Вторая"_qs, u"Network settings"_qs}};
    EXPECT_EQ(Grounding::originalWording(u"Network settings"_qs, tie, 2), u"Первая строка"_qs);
    // Translations of seven words or more are not headings.
    const QList<std::pair<QString, QString>> longLine = {
        {u"Длинная"_qs, u"network settings are set up here for you"_qs}};
    EXPECT_EQ(Grounding::originalWording(u"Network settings"_qs, longLine, 8), std::nullopt);
}

} // namespace
