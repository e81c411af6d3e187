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

TEST(InterfaceLanguage, RawValuesRoundTripAndUnknownOnesDoNotConvert)
{
    for (const auto language : {InterfaceLanguage::system, InterfaceLanguage::en, InterfaceLanguage::ru})
        EXPECT_EQ(interfaceLanguageFromRaw(rawValue(language)), language);
    EXPECT_EQ(rawValue(InterfaceLanguage::system), QStringLiteral("system"));
    EXPECT_FALSE(interfaceLanguageFromRaw(u"de"));
    EXPECT_FALSE(interfaceLanguageFromRaw(u"EN"));
    EXPECT_FALSE(interfaceLanguageFromRaw(u""));
}

TEST(L10nResolve, FixedLanguagesIgnorePreferences)
{
    EXPECT_EQ(L10n::resolve(InterfaceLanguage::en, {QStringLiteral("ru")}), QStringLiteral("en"));
    EXPECT_EQ(L10n::resolve(InterfaceLanguage::ru, {QStringLiteral("en")}), QStringLiteral("ru"));
}

TEST(L10nResolve, SystemTakesFirstShippedPreference)
{
    const struct
    {
        QStringList preferred;
        const char *expected;
    } cases[] = {
        {{QStringLiteral("de"), QStringLiteral("ru")}, "ru"},
        {{QStringLiteral("de_DE"), QStringLiteral("ru_RU.UTF-8"), QStringLiteral("en")}, "ru"},
        {{QStringLiteral("en_GB"), QStringLiteral("ru")}, "en"},
        {{QStringLiteral("de"), QStringLiteral("fr")}, "en"},
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
         {QStringLiteral("de"), QStringLiteral("ru"), QStringLiteral("en"), QStringLiteral("fr")}},
        // LC_ALL wins over LC_MESSAGES and LANG; only the first set one counts.
        {environment({{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "en_US"}}), {QStringLiteral("ru")}},
        {environment({{"LC_ALL", ""}, {"LC_MESSAGES", "ru_UA@euro"}, {"LANG", "en_US"}}), {QStringLiteral("ru")}},
        // The C locale names no language, and it still stops the search.
        {environment({{"LC_ALL", "C.UTF-8"}, {"LANG", "ru_RU"}}), {}},
        {environment({{"LANG", "POSIX"}}), {}},
        {environment({}), {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(L10n::preferredLanguages(c.env), c.expected);
}

TEST_F(L10nTest, ApplySwapsCodeAndTableTogether)
{
    EXPECT_EQ(L10n::code(), QStringLiteral("en"));
    EXPECT_EQ(L("greeting"), QStringLiteral("Hello"));
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(L10n::code(), QStringLiteral("ru"));
    EXPECT_EQ(L("greeting"), QStringLiteral("Привет"));
}

TEST_F(L10nTest, MissingKeyComesBackAsTheKey)
{
    EXPECT_EQ(L("no.such.key"), QStringLiteral("no.such.key"));
    EXPECT_EQ(L("no.such.key", 5), QStringLiteral("no.such.key"));
    EXPECT_EQ(LPlural("no.such.key", 5), QStringLiteral("no.such.key.other"));
}

TEST_F(L10nTest, FormatsPositionalArgumentsInTheInterfaceLocale)
{
    EXPECT_EQ(L("pair", QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("b, then a"));
    EXPECT_EQ(L("share", QStringLiteral("x")), QStringLiteral("100% of x"));
    EXPECT_EQ(L("count", 12345), QStringLiteral("12,345 items"));
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(L("count", 12345), QStringLiteral("12\u00A0345 шт."));
    EXPECT_EQ(L("count", 2.5), QStringLiteral("2,5 шт."));
}

TEST(L10nFormat, PlaceholdersWithoutArgumentsStayAsWritten)
{
    const QString en = QStringLiteral("en");
    EXPECT_EQ(L10n::format(QStringLiteral("%1 and %2"), {QStringLiteral("a")}, en), QStringLiteral("a and %2"));
    EXPECT_EQ(L10n::format(QStringLiteral("50%"), {}, en), QStringLiteral("50%"));
    EXPECT_EQ(L10n::format(QStringLiteral("%x %"), {1}, en), QStringLiteral("%x %"));
    // An argument that itself looks like a placeholder is not formatted again.
    EXPECT_EQ(L10n::format(QStringLiteral("%1 %2"), {QStringLiteral("%2"), QStringLiteral("b")}, en),
              QStringLiteral("%2 b"));
    EXPECT_EQ(L10n::format(QStringLiteral("%1"), {-42}, en), QStringLiteral("-42"));
}

TEST(L10nPlural, RussianAndEnglishCategories)
{
    const struct
    {
        const char *code;
        qint64 count;
        const char *category;
    } cases[] = {
        {"ru", 0, "many"},
        {"ru", 1, "one"},
        {"ru", 2, "few"},
        {"ru", 4, "few"},
        {"ru", 5, "many"},
        {"ru", 11, "many"},
        {"ru", 12, "many"},
        {"ru", 14, "many"},
        {"ru", 21, "one"},
        {"ru", 22, "few"},
        {"ru", 25, "many"},
        {"ru", 101, "one"},
        {"ru", 111, "many"},
        {"ru", 112, "many"},
        {"ru", 122, "few"},
        {"ru", -1, "one"},
        {"ru", std::numeric_limits<qint64>::min(), "many"},
        {"en", 0, "other"},
        {"en", 1, "one"},
        {"en", 2, "other"},
        {"en", 21, "other"},
        {"en", -1, "other"},
        {"de", 1, "one"},
        {"de", 2, "other"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(L10n::pluralCategory(QString::fromLatin1(c.code), c.count), QString::fromLatin1(c.category))
            << c.code << " " << c.count;
}

TEST_F(L10nTest, PluralLooksUpTheFormAndFormatsTheCount)
{
    EXPECT_EQ(LPlural("files", 0), QStringLiteral("0 files"));
    EXPECT_EQ(LPlural("files", 1), QStringLiteral("1 file"));
    EXPECT_EQ(LPlural("files", 1500), QStringLiteral("1,500 files"));
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(LPlural("files", 21), QStringLiteral("21 файл"));
    EXPECT_EQ(LPlural("files", 22), QStringLiteral("22 файла"));
    EXPECT_EQ(LPlural("files", 112), QStringLiteral("112 файлов"));
}

TEST_F(L10nTest, RelativeDateIsJustNowUnder45Seconds)
{
    TestClock clock;
    const QDateTime now = clock.now();
    EXPECT_EQ(relativeDate(now.addSecs(-44), clock), QStringLiteral("just now"));
    EXPECT_EQ(relativeDate(now.addSecs(3600), clock), QStringLiteral("just now"));
    const QString at45 = relativeDate(now.addSecs(-45), clock);
    EXPECT_NE(at45, QStringLiteral("just now"));
    EXPECT_TRUE(at45.contains(u"45")) << at45.toStdString();
    EXPECT_TRUE(at45.contains(u"ago")) << at45.toStdString();
}

TEST_F(L10nTest, RelativeDatePicksTheLargestWholeUnitInTheInterfaceLocale)
{
    const QDateTime now(QDate(2026, 11, 12), QTime(10, 42, 17));
    const struct
    {
        qint64 secondsAgo;
        const char *number;
        const char *unit;
    } cases[] = {
        {5 * 60, "5", "min"},
        {3 * 3600 + 59, "3", "hr"},
        {2 * 86400, "2", "day"},
        {400 * 86400, "1", "yr"},
    };
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
        {{{QStringLiteral("/home/u/Pictures/Screenshots"), true}, {QStringLiteral("/home/u/Desktop"), false}},
         QStringLiteral("«Screenshots»")},
        {{{QStringLiteral("/home/u/Pictures/Снимки экрана/"), true}}, QStringLiteral("«Снимки экрана»")},
        {{{QStringLiteral("/"), true}}, QStringLiteral("«/»")},
        {{}, QStringLiteral("0 folders")},
        {{{QStringLiteral("/a"), false}}, QStringLiteral("0 folders")},
        {{{QStringLiteral("/a"), true}, {QStringLiteral("/b"), true}}, QStringLiteral("2 folders")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(watchedSummary(c.folders), c.expected);
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(watchedSummary({{QStringLiteral("/a"), true}, {QStringLiteral("/b"), true}}), QStringLiteral("2 папки"));
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
        ASSERT_TRUE(text == QStringLiteral("5 files") || text == QStringLiteral("5 файлов")) << text.toStdString();
    }
    stop = true;
    switcher->wait();
    delete switcher;
}
