// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Cld2LanguageIdentifier.h"

#include <gtest/gtest.h>

namespace {

TEST(Cld2LanguageIdentifierTest, IdentifiesReliableText)
{
    const Cld2LanguageIdentifier identifier;
    const std::pair<QString, QString> cases[] = {
        {"Der Bericht zeigt ein stetiges Wachstum in allen Regionen des Landes", "de"},
        {"The quarterly report shows steady growth in every region of the country", "en"},
        {"Отчёт показывает устойчивый рост во всех регионах страны", "ru"},
        {"הדוח מראה צמיחה יציבה בכל האזורים של המדינה", "he"},
    };
    for (const auto &[text, code] : cases) {
        const auto guesses = identifier.hypotheses(text);
        ASSERT_FALSE(guesses.empty()) << code.toStdString();
        EXPECT_EQ(guesses.front().code, code);
        EXPECT_GE(guesses.front().probability, 0.6) << code.toStdString();
    }
}

} // namespace
