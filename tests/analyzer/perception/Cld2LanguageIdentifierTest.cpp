// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Cld2LanguageIdentifier.h"
#include "TesseractRecognizer.h"
#include "VisionPerception.h"

#include <gtest/gtest.h>

namespace {

TEST(Cld2LanguageIdentifierTest, IdentifiesReliableText)
{
    const Cld2LanguageIdentifier identifier;
    struct Case
    {
        QString text;
        QString code;
    };
    const Case cases[] = {
        {"Der Bericht zeigt ein stetiges Wachstum in allen Regionen des Landes", "de"},
        {"The quarterly report shows steady growth in every region of the country", "en"},
        {"Отчёт показывает устойчивый рост во всех регионах страны", "ru"},
        {"הדוח מראה צמיחה יציבה בכל האזורים של המדינה", "he"},
    };
    for (const Case &c : cases) {
        const auto guesses = identifier.hypotheses(c.text);
        ASSERT_FALSE(guesses.empty()) << c.code.toStdString();
        EXPECT_EQ(guesses.front().code, c.code);
        EXPECT_GE(guesses.front().probability, 0.6) << c.code.toStdString();
    }
}

TEST(Cld2LanguageIdentifierTest, DecidesBetweenLatinCandidates)
{
    const Cld2LanguageIdentifier identifier;
    const TesseractRecognizer unused;
    const VisionPerception perception(unused, identifier);
    const QString german = QStringLiteral("Der Bericht zeigt ein stetiges Wachstum in allen Regionen");
    EXPECT_EQ(perception.dominantLanguage(german, {"en", "de"}), std::optional<QString>("de"));
    // French is not a candidate, so the French guess does not count for English.
    const QString french = QStringLiteral("Le rapport montre une croissance régulière dans toutes les régions");
    EXPECT_EQ(perception.dominantLanguage(french, {"en", "de"}), std::nullopt);
}

} // namespace
