// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10n.h"
#include "TestClock.h"

#include <gtest/gtest.h>

#include <QThread>

namespace {

// Every case starts from English; the state is process-wide.
class L10nTest : public ::testing::Test
{
protected:
    void SetUp() override { L10n::apply(InterfaceLanguage::en); }
    void TearDown() override { L10n::apply(InterfaceLanguage::en); }
};

QProcessEnvironment environment(std::initializer_list<std::pair<const char *, const char *>> variables)
{
    QProcessEnvironment env;
    for (const auto &[name, value] : variables)
        env.insert(QString::fromLatin1(name), QString::fromUtf8(value));
    return env;
}

} // namespace

TEST(L10nResolve, SystemTakesFirstShippedPreferenceAndFixedLanguagesIgnoreThem)
{
    EXPECT_EQ(L10n::resolve(InterfaceLanguage::en, {u"ru"_qs}), u"en"_qs);
    EXPECT_EQ(L10n::resolve(InterfaceLanguage::ru, {u"en"_qs}), u"ru"_qs);

    const struct
    {
        QStringList preferred;
        const char *expected;
    } cases[] = {
        {{u"de"_qs, u"ru"_qs}, "ru"},
        {{u"de_DE"_qs, u"ru_RU.UTF-8"_qs, u"en"_qs}, "ru"},
        {{u"en_GB"_qs, u"ru"_qs}, "en"},
        {{u"de"_qs, u"fr"_qs}, "en"},
        {{}, "en"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(L10n::resolve(InterfaceLanguage::system, c.preferred), QString::fromLatin1(c.expected))
            << c.preferred.join(u',').toStdString();
}

TEST(L10nResolve, PreferencesComeFromLanguageThenTheFirstSetLocaleVariable)
{
    const struct
    {
        QProcessEnvironment env;
        QStringList expected;
    } cases[] = {
        {environment({{"LANGUAGE", "de_DE:ru::en"}, {"LANG", "fr_FR.UTF-8"}}),
         {u"de"_qs, u"ru"_qs, u"en"_qs, u"fr"_qs}},
        // LC_ALL wins over LC_MESSAGES and LANG; only the first set one counts.
        {environment({{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "en_US"}}), {u"ru"_qs}},
        {environment({{"LC_ALL", ""}, {"LC_MESSAGES", "ru_UA@euro"}, {"LANG", "en_US"}}), {u"ru"_qs}},
        // The C locale names no language, and it still stops the search.
        {environment({{"LC_ALL", "C.UTF-8"}, {"LANG", "ru_RU"}}), {}},
        {environment({{"LANG", "POSIX"}}), {}},
        {environment({}), {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(L10n::preferredLanguages(c.env), c.expected);
}

TEST_F(L10nTest, LookupsFormatInTheInterfaceLocaleAndAMissingKeyComesBackAsTheKey)
{
    EXPECT_EQ(L("no.such.key", 5), u"no.such.key"_qs);
    EXPECT_EQ(LPlural("no.such.key", 5), u"no.such.key.other"_qs);
    EXPECT_EQ(L("pair", u"a"_qs, u"b"_qs), u"b, then a"_qs);
    EXPECT_EQ(L("share", u"x"_qs), u"100% of x"_qs);
    EXPECT_EQ(L("count", 12345), u"12,345 items"_qs);
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(L10n::code(), u"ru"_qs);
    EXPECT_EQ(L("count", 12345), u"12\u00A0345 шт."_qs);
    EXPECT_EQ(L("count", 2.5), u"2,5 шт."_qs);
    EXPECT_EQ(LPlural("files", 21), u"21 файл"_qs);
    EXPECT_EQ(LPlural("files", 22), u"22 файла"_qs);
    EXPECT_EQ(LPlural("files", 112), u"112 файлов"_qs);
    L10n::apply(InterfaceLanguage::en);
    EXPECT_EQ(LPlural("files", 1), u"1 file"_qs);
    EXPECT_EQ(LPlural("files", 1500), u"1,500 files"_qs);
}

TEST(L10nFormat, PlaceholdersWithoutArgumentsStayAsWritten)
{
    const QString en = u"en"_qs;
    EXPECT_EQ(L10n::format(u"%1 and %2"_qs, {u"a"_qs}, en), u"a and %2"_qs);
    EXPECT_EQ(L10n::format(u"50%"_qs, {}, en), u"50%"_qs);
    EXPECT_EQ(L10n::format(u"%x %"_qs, {1}, en), u"%x %"_qs);
    // An argument that itself looks like a placeholder is not formatted again.
    EXPECT_EQ(L10n::format(u"%1 %2"_qs, {u"%2"_qs, u"b"_qs}, en), u"%2 b"_qs);
    EXPECT_EQ(L10n::format(u"%1"_qs, {-42}, en), u"-42"_qs);
}

TEST(L10nPlural, RussianAndEnglishCategories)
{
    const struct
    {
        const char *code;
        qint64 count;
        const char *category;
    } cases[] = {
        {"ru", 0, "many"},   {"ru", 1, "one"},   {"ru", 4, "few"},
        {"ru", 5, "many"},   {"ru", 11, "many"}, {"ru", 12, "many"},
        {"ru", 21, "one"},   {"ru", 22, "few"},  {"ru", 111, "many"},
        {"ru", 122, "few"},  {"ru", -1, "one"},  {"ru", std::numeric_limits<qint64>::min(), "many"},
        {"en", 0, "other"},  {"en", 1, "one"},   {"en", 21, "other"},
        {"en", -1, "other"}, {"de", 1, "one"},   {"de", 2, "other"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(L10n::pluralCategory(QString::fromLatin1(c.code), c.count), QString::fromLatin1(c.category))
            << c.code << " " << c.count;
}

TEST_F(L10nTest, RelativeDateIsJustNowUnder45SecondsThenTheLargestWholeUnitInTheInterfaceLocale)
{
    TestClock clock;
    const QDateTime now = clock.now();
    EXPECT_EQ(relativeDate(now.addSecs(-44), clock), u"just now"_qs);
    EXPECT_EQ(relativeDate(now.addSecs(3600), clock), u"just now"_qs);
    const struct
    {
        qint64 secondsAgo;
        const char *number;
        const char *unit;
    } cases[] = {{45, "45", "ago"},
                 {5 * 60, "5", "min"},
                 {3 * 3600 + 59, "3", "hr"},
                 {2 * 86400, "2", "day"},
                 {400 * 86400, "1", "yr"}};
    for (const auto &c : cases) {
        const QString text = relativeDate(now.addSecs(-c.secondsAgo), now);
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.number)) && text.contains(QString::fromLatin1(c.unit)))
            << text.toStdString();
    }
    L10n::apply(InterfaceLanguage::ru);
    const QString russian = relativeDate(now.addSecs(-5 * 60), now);
    EXPECT_TRUE(russian.contains(u"5") && russian.contains(u"мин") && russian.contains(u"назад"))
        << russian.toStdString();
}

TEST_F(L10nTest, WatchedSummaryNamesTheOnlyEnabledFolderElseCountsThem)
{
    const struct
    {
        QList<WatchedEntry> folders;
        QString expected;
    } cases[] = {
        {{{u"/home/u/Pictures/Screenshots"_qs, true}, {u"/home/u/Desktop"_qs, false}}, u"«Screenshots»"_qs},
        {{{u"/home/u/Pictures/Снимки экрана/"_qs, true}}, u"«Снимки экрана»"_qs},
        {{{u"/"_qs, true}}, u"«/»"_qs},
        {{}, u"0 folders"_qs},
        {{{u"/a"_qs, false}}, u"0 folders"_qs},
        {{{u"/a"_qs, true}, {u"/b"_qs, true}}, u"2 folders"_qs},
    };
    for (const auto &c : cases)
        EXPECT_EQ(watchedSummary(c.folders), c.expected);
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(watchedSummary({{u"/a"_qs, true}, {u"/b"_qs, true}}), u"2 папки"_qs);
}

TEST_F(L10nTest, LookupsStayConsistentWhileAnotherThreadSwitchesLanguage)
{
    std::atomic<bool> stop = false;
    QThread *switcher = QThread::create([&stop] {
        for (int i = 0; !stop; ++i)
            L10n::apply(i % 2 ? InterfaceLanguage::ru : InterfaceLanguage::en);
    });
    switcher->start();
    for (int i = 0; i < 2000; ++i) {
        const QString text = LPlural("files", 5);
        ASSERT_TRUE(text == u"5 files"_qs || text == u"5 файлов"_qs) << text.toStdString();
    }
    stop = true;
    switcher->wait();
    delete switcher;
}
