// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingLanguage.h"
#include "NamingTestSupport.h"

#include <gtest/gtest.h>

using NamingTestSupport::screen;

namespace {

TEST(NamingLanguage, ResolvesWantedAndOutputLanguage)
{
    const QStringList englishOnly{u"en"_qs};
    const QStringList germanToo{u"en"_qs, u"de"_qs};
    const QStringList russianToo{u"en"_qs, u"ru"_qs};
    // Requested, the screen's language, the interface's, the model's, the language wanted, the one written.
    const std::tuple<NameLanguage, std::optional<QString>, const char *, QStringList, const char *, const char *>
        cases[] = {
            {NameLanguage::ru, u"en"_qs, "en", russianToo, "ru", "ru"},
            {NameLanguage::ru, u"en"_qs, "en", englishOnly, "ru", "en"},
            {NameLanguage::en, u"ru"_qs, "ru", russianToo, "en", "en"},
            // A German screen is named in German when the model writes German, else in the interface's.
            {NameLanguage::automatic, u"de"_qs, "en", germanToo, "de", "de"},
            {NameLanguage::automatic, u"de"_qs, "ru", englishOnly, "ru", "en"},
            // Russian and English screens are always taken at their word.
            {NameLanguage::automatic, u"ru"_qs, "en", englishOnly, "ru", "en"},
            {NameLanguage::automatic, std::nullopt, "ru", russianToo, "ru", "ru"},
        };
    for (const auto &[requested, screenLanguage, interfaceCode, modelLanguages, wanted, output] : cases) {
        ModelStatus status;
        status.availability = AIAvailability::available();
        status.model = u"test-model"_qs;
        status.languages = modelLanguages;
        const QString chosen =
            NamingLanguage::wanted(requested, screen(screenLanguage, {}), QString::fromLatin1(interfaceCode), status);
        EXPECT_EQ(chosen.toStdString(), wanted);
        EXPECT_EQ(NamingLanguage::output(chosen, status).toStdString(), output);
    }
}

TEST(NamingLanguage, ActualLanguageFollowsTheTitlesScriptAndOtherIsTheScreensOrTheOtherScript)
{
    // "Abcdefgh Юя": two Cyrillic letters of ten, neither clearly Latin nor clearly Cyrillic.
    for (const auto &[title, wanted, actual] : {std::tuple{"Настройки сети", "en", "ru"},
                                                {"Настройки сети", "uk", "uk"},
                                                {"Network settings", "ru", "en"},
                                                {"Network settings", "de", "de"},
                                                {"Abcdefgh Юя", "ru", "ru"},
                                                {"Abcdefgh Юя", "en", "en"}})
        EXPECT_EQ(NamingLanguage::actual(QString::fromUtf8(title), QString::fromUtf8(wanted)),
                  QString::fromUtf8(actual))
            << title << " " << wanted;
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(u"de"_qs, {})), u"de"_qs);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(u"en"_qs, {"Settings"})), std::nullopt);
    // A Russian title on a mostly Latin screen (10 % Cyrillic) is checked in English.
    EXPECT_EQ(NamingLanguage::other(u"ru"_qs, screen(std::nullopt, {"Abcdefghi", "Ж"})), u"en"_qs);
    EXPECT_EQ(NamingLanguage::other(u"ru"_qs, screen(std::nullopt, {"Настройки"})), std::nullopt);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(std::nullopt, {"Abcdefghijk", "Жзи"})), u"ru"_qs);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(std::nullopt, {"Abcdefghijklmnopqrstuvw", "Ж"})), std::nullopt);
}

} // namespace
