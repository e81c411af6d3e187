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
} // namespace

TEST(L10nResolve, PreferencesComeFromLanguageThenTheFirstSetLocaleVariableAndPickTheFirstShipped)
{
    const auto resolves = [](const QStringList &preferred, const QString &expected) {
        EXPECT_EQ(L10n::resolve(InterfaceLanguage::system, preferred), expected) << preferred.join(u',').toStdString();
    };
    resolves({u"de_DE"_qs, u"ru_RU.UTF-8"_qs, u"en"_qs}, u"ru"_qs);
    resolves({u"en_GB"_qs, u"ru"_qs}, u"en"_qs);
    resolves({u"de"_qs, u"fr"_qs}, u"en"_qs);

    const auto prefers = [](std::initializer_list<std::pair<const char *, const char *>> variables,
                            const QStringList &expected) {
        QProcessEnvironment environment;
        for (const auto &[name, value] : variables)
            environment.insert(QString::fromLatin1(name), QString::fromUtf8(value));
        EXPECT_EQ(L10n::preferredLanguages(environment), expected)
            << environment.toStringList().join(u' ').toStdString();
    };
    prefers({{"LANGUAGE", "de_DE:ru::en"}, {"LANG", "fr_FR.UTF-8"}}, {u"de"_qs, u"ru"_qs, u"en"_qs, u"fr"_qs});
    // Only the first set one of LC_ALL, LC_MESSAGES and LANG counts; the C locale names no language but still stops.
    prefers({{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "en_US"}}, {u"ru"_qs});
    prefers({{"LC_ALL", ""}, {"LC_MESSAGES", "ru_UA@euro"}, {"LANG", "en_US"}}, {u"ru"_qs});
    prefers({{"LC_ALL", "C.UTF-8"}, {"LANG", "ru_RU"}}, {});
    prefers({{"LANG", "POSIX"}}, {});
}

TEST_F(L10nTest, LookupsFormatAndPluraliseInTheInterfaceLocaleAndAMissingKeyComesBackAsTheKey)
{
    EXPECT_EQ(L("no.such.key", 5), u"no.such.key"_qs);
    EXPECT_EQ(LPlural("no.such.key", 5), u"no.such.key.other"_qs);
    EXPECT_EQ(L("pair", u"a"_qs, u"b"_qs), u"b, then a"_qs);
    EXPECT_EQ(L("share", u"x"_qs), u"100% of x"_qs);
    EXPECT_EQ(LPlural("files", 1500), u"1,500 files"_qs);
    L10n::apply(InterfaceLanguage::ru);
    EXPECT_EQ(L10n::code(), u"ru"_qs);
    EXPECT_EQ(L("count", 12345), u"12\u00A0345 шт."_qs);
    EXPECT_EQ(L("count", 2.5), u"2,5 шт."_qs);
    EXPECT_EQ(LPlural("files", 22), u"22 файла"_qs);

    const QString en = u"en"_qs;
    EXPECT_EQ(L10n::format(u"%1 and %2"_qs, {u"a"_qs}, en), u"a and %2"_qs);
    EXPECT_EQ(L10n::format(u"50%"_qs, {}, en), u"50%"_qs);
    EXPECT_EQ(L10n::format(u"%x %"_qs, {1}, en), u"%x %"_qs);
    // An argument that itself looks like a placeholder is not formatted again.
    EXPECT_EQ(L10n::format(u"%1 %2"_qs, {u"%2"_qs, u"b"_qs}, en), u"%2 b"_qs);

    const auto categorises = [](const char *code, const char *category, std::initializer_list<qint64> counts) {
        for (const qint64 count : counts)
            EXPECT_EQ(L10n::pluralCategory(QString::fromLatin1(code), count), QString::fromLatin1(category)) << count;
    };
    categorises("ru", "one", {1, 21, -1});
    categorises("ru", "few", {4, 22});
    categorises("ru", "many", {0, 5, 11, 12, 111, std::numeric_limits<qint64>::min()});
    categorises("en", "one", {1});
    categorises("en", "other", {0, 21});
}

TEST_F(L10nTest, RelativeDatesAndTheWatchedSummaryInTheInterfaceLocale)
{
    TestClock clock;
    const QDateTime now = clock.now();
    EXPECT_EQ(relativeDate(now.addSecs(-44), clock), u"just now"_qs);
    EXPECT_EQ(relativeDate(now.addSecs(3600), clock), u"just now"_qs);
    const auto says = [&now](qint64 secondsAgo, const char *number, const char *unit) {
        const QString text = relativeDate(now.addSecs(-secondsAgo), now);
        EXPECT_TRUE(text.contains(QLatin1String(number)) && text.contains(QLatin1String(unit))) << text.toStdString();
    };
    says(45, "45", "ago");
    says(3 * 3600 + 59, "3", "hr");
    says(400 * 86400, "1", "yr");

    EXPECT_EQ(watchedSummary({{u"/home/u/Pictures/Screenshots"_qs, true}, {u"/home/u/Desktop"_qs, false}}),
              u"«Screenshots»"_qs);
    EXPECT_EQ(watchedSummary({{u"/home/u/Pictures/Снимки экрана/"_qs, true}}), u"«Снимки экрана»"_qs);
    EXPECT_EQ(watchedSummary({{u"/"_qs, true}}), u"«/»"_qs);
    EXPECT_EQ(watchedSummary({}), u"0 folders"_qs);
    EXPECT_EQ(watchedSummary({{u"/a"_qs, true}, {u"/b"_qs, true}}), u"2 folders"_qs);

    L10n::apply(InterfaceLanguage::ru);
    const QString russian = relativeDate(now.addSecs(-5 * 60), now);
    EXPECT_TRUE(russian.contains(u"5") && russian.contains(u"мин") && russian.contains(u"назад"))
        << russian.toStdString();
    EXPECT_EQ(watchedSummary({{u"/a"_qs, true}, {u"/b"_qs, true}}), u"2 папки"_qs);
}

TEST_F(L10nTest, LookupsStayConsistentWhileAnotherThreadSwitchesLanguage)
{
    std::atomic<bool> stop = false;
    std::unique_ptr<QThread> switcher(QThread::create([&stop] {
        for (int i = 0; !stop; ++i)
            L10n::apply(i % 2 ? InterfaceLanguage::ru : InterfaceLanguage::en);
    }));
    switcher->start();
    int mixed = 0;
    for (int i = 0; i < 2000; ++i) {
        const QString text = LPlural("files", 5);
        mixed += text != u"5 files"_qs && text != u"5 файлов"_qs;
    }
    stop = true;
    switcher->wait();
    EXPECT_EQ(mixed, 0);
}
