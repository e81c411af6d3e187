// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingLanguage.h"
#include "NamingTestSupport.h"

#include <gtest/gtest.h>

using NamingTestSupport::screen;

namespace {

ModelStatus modelWriting(QStringList languages)
{
    ModelStatus status;
    status.availability = AIAvailability::available();
    status.model = u"test-model"_qs;
    status.languages = std::move(languages);
    return status;
}

TEST(NamingLanguage, ResolvesWantedAndOutputLanguage)
{
    const QStringList englishOnly{u"en"_qs};
    const QStringList germanToo{u"en"_qs, u"de"_qs};
    const QStringList russianToo{u"en"_qs, u"ru"_qs};
    const struct
    {
        NameLanguage requested;
        std::optional<QString> screenLanguage;
        const char *interfaceCode;
        QStringList modelLanguages;
        const char *wanted;
        const char *output;
    } cases[] = {
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
    for (const auto &c : cases) {
        const ModelStatus status = modelWriting(c.modelLanguages);
        const QString wanted = NamingLanguage::wanted(c.requested, screen(c.screenLanguage, {}),
                                                      QString::fromLatin1(c.interfaceCode), status);
        EXPECT_EQ(wanted.toStdString(), c.wanted);
        EXPECT_EQ(NamingLanguage::output(wanted, status).toStdString(), c.output);
    }
}

TEST(NamingLanguage, ActualLanguageFollowsTheTitlesScript)
{
    EXPECT_EQ(NamingLanguage::actual(u"Настройки сети"_qs, u"en"_qs), u"ru"_qs);
    EXPECT_EQ(NamingLanguage::actual(u"Настройки сети"_qs, u"uk"_qs), u"uk"_qs);
    EXPECT_EQ(NamingLanguage::actual(u"Network settings"_qs, u"ru"_qs), u"en"_qs);
    EXPECT_EQ(NamingLanguage::actual(u"Network settings"_qs, u"de"_qs), u"de"_qs);
    // Two Cyrillic letters out of ten: neither clearly Latin nor clearly Cyrillic.
    EXPECT_EQ(NamingLanguage::actual(u"Abcdefgh Юя"_qs, u"ru"_qs), u"ru"_qs);
    EXPECT_EQ(NamingLanguage::actual(u"Abcdefgh Юя"_qs, u"en"_qs), u"en"_qs);
}

TEST(NamingLanguage, OtherLanguageIsTheScreensOrTheOtherScript)
{
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(u"de"_qs, {})), u"de"_qs);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(u"en"_qs, {"Settings"})), std::nullopt);
    // A Russian title on a mostly Latin screen (10 % Cyrillic) is checked in English.
    EXPECT_EQ(NamingLanguage::other(u"ru"_qs, screen(std::nullopt, {"Abcdefghi", "Ж"})), u"en"_qs);
    EXPECT_EQ(NamingLanguage::other(u"ru"_qs, screen(std::nullopt, {"Настройки"})), std::nullopt);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(std::nullopt, {"Abcdefghijk", "Жзи"})), u"ru"_qs);
    EXPECT_EQ(NamingLanguage::other(u"en"_qs, screen(std::nullopt, {"Abcdefghijklmnopqrstuvw", "Ж"})), std::nullopt);
}

} // namespace
