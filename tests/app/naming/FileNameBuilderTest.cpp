// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FileNameBuilder.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace FileNameBuilder;

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
// 12 November 2026, 10:42:17 UTC; the tests run with TZ=UTC.
const QDateTime captured(QDate(2026, 11, 12), QTime(10, 42, 17), QTimeZone::utc());

} // namespace

TEST(FileNameBuilder, SanitizeTitleCleansModelOutput)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Title: GitHub pull request review", "GitHub pull request review"},
        // E-mail addresses and long numbers go; short numbers and doubly separated ones stay.
        {"Write to ivan.petrov@mail.ru or call +7 999 123-45-67 today", "Write to or call today"},
        {"Order 12345678 shipped", "Order 12345678 shipped"},
        {"Call (999) 123-4567 back", "Call (999) 123-4567 back"},
        // Only a link's scheme goes; its host and path become words.
        {"See https://github.com/zentrope/issues at www.example.org", "See github.com zentrope issues at example.org"},
        {"Holiday photo.JpEg", "Holiday photo"},
        {"Notes about png", "Notes about png"},
        {"Family 👨‍👩‍👧 trip ❤️", "Family trip"},
        {"«Отчёт» “май” `v2` a:b*c?d|e<f>g\"h\\i\nj\u2028k\tl", "Отчёт май v2 a b c d e f g h i j k l"},
        // In an alternating run of scripts every other boundary gets a space.
        {"APIотчёт AбCд", "API отчёт A бC д"},
        {"Screenshot of the login page", "the login page"},
        {"Снимок экрана: настройки сети", "настройки сети"},
        {"Screenshots folder", "Screenshots folder"},
        {"  ... «Hello, world!» ...  ", "Hello, world"},
        {"Cafe\u0301 menu", "Caf\u00e9 menu"},
        // Invisible formatting characters could make a name read as another.
        {"\uFEFFInvoice\u202Egpj.exe\u200B\u2066x\u2069", "Invoicegpj.exex"},
    };
    for (const auto &[title, expected] : cases)
        EXPECT_EQ(sanitizeTitle(QString::fromUtf8(title)), QString::fromUtf8(expected)) << title;
}

TEST(FileNameBuilder, CasingFollowsTheChosenCaseAndLocale)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    const std::tuple<const char *, NameCase, const QLocale &, const char *> cases[] = {
        {"gitHub pull request", NameCase::sentence, english, "GitHub pull request"},
        {"istanbul trip", NameCase::sentence, turkish, "İstanbul trip"},
        {"GitHub API Review", NameCase::lower, english, "github api review"},
        {"İSTANBUL", NameCase::lower, turkish, "istanbul"},
        {"pull request for iOS app", NameCase::title, english, "Pull Request For iOS App"},
        {"отчёт  по API", NameCase::title, english, "Отчёт По API"},
    };
    for (const auto &[text, letterCase, locale, expected] : cases)
        EXPECT_EQ(applyCase(QString::fromUtf8(text), letterCase, locale), QString::fromUtf8(expected)) << text;
}

TEST(FileNameBuilder, TruncateCutsAtWordBoundaryOrHard)
{
    const auto run = [](char letter, int count) { return QString(count, QChar::fromLatin1(letter)); };
    // The 61st character lies inside a word and the last space before it is at position 52.
    const QString nearSpace = run('a', 25) + ' ' + run('b', 26) + ' ' + run('c', 22);
    EXPECT_EQ(truncate(nearSpace, 60), nearSpace.left(52));
    // The last space at position 20 is too early: a hard cut.
    const QString farSpace = run('a', 20) + ' ' + run('b', 54);
    EXPECT_EQ(truncate(farSpace, 60), farSpace.left(60));
    // The cut falls between words: the head is kept, trimmed of its trailing punctuation.
    EXPECT_EQ(truncate(run('a', 58) + ", next words", 59), run('a', 58));
    // Counts are user-perceived characters.
    EXPECT_EQ(truncate(QStringLiteral("e\u0301").repeated(25), 20), QStringLiteral("e\u0301").repeated(20));
}

TEST(FileNameBuilder, BaseNeedsAUsableTitleClampsTheLengthAndNeverSplitsACharacter)
{
    const auto named = [](const QByteArray &title, NamingOptions options = {}) {
        return base(QString::fromUtf8(title), captured, options, english);
    };
    for (const char *title : {"A", "!!! ???", "😀🎉", "Screenshot of"})
        EXPECT_EQ(named(title), std::nullopt) << title;
    EXPECT_EQ(named("#1"), QStringLiteral("#1"));

    // The length is clamped to 20..120.
    const QByteArray words = QByteArray("word ").repeated(40).trimmed();
    EXPECT_EQ(named(words, {.maxLength = 5}), QStringLiteral("Word word word word"));
    EXPECT_EQ(named(words, {.maxLength = 500}),
              QStringLiteral("Word ") + QStringLiteral("word ").repeated(23).trimmed());
    // 255 bytes with room for an extension: 115 two-byte letters, 57 four-byte ones.
    EXPECT_EQ(named(QByteArray("ж").repeated(120), {.maxLength = 120}), "Ж" + QStringLiteral("ж").repeated(114));
    EXPECT_EQ(named(QByteArray("\U00010330").repeated(60), {.maxLength = 120}),
              QStringLiteral("\U00010330").repeated(57));
    EXPECT_EQ(sanitizeManual(QStringLiteral("ж").repeated(200)), QStringLiteral("ж").repeated(115));

    using enum NameSeparator;
    using enum DatePosition;
    const std::tuple<NamingOptions, const char *, const char *> dated[] = {
        {{.separator = space, .datePosition = prefix, .dateStyle = DateStyle::dateTime},
         "Budget, draft; v2",
         "2026-11-12 10.42 Budget, draft; v2"},
        {{.separator = dash, .datePosition = suffix, .dateStyle = DateStyle::dateTime},
         "Budget, draft; v2",
         "Budget-draft-v2-2026-11-12-10.42"},
        {{.separator = underscore, .datePosition = prefix}, "GitHub  pull request", "2026-11-12_GitHub_pull_request"},
    };
    for (const auto &[options, title, expected] : dated)
        EXPECT_EQ(named(title, options), QString::fromUtf8(expected)) << title;
}

TEST(FileNameBuilder, DateStringUsesTheUserTimeZoneAndFixedDigits)
{
    EXPECT_EQ(dateString(QDateTime(QDate(2026, 1, 2), QTime(21, 5), QTimeZone::utc()), DateStyle::dateTime),
              QStringLiteral("2026-01-02 21.05"));
    // The zone is read at each call: a user who travels gets local dates at once.
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    const QString tokyo = dateString(captured, DateStyle::dateTime);
    const QString tokyoLate = dateString(captured.addSecs(9 * 3600), DateStyle::date);
    qputenv("TZ", previous);
    tzset();
    EXPECT_EQ(tokyo, QStringLiteral("2026-11-12 19.42"));
    EXPECT_EQ(tokyoLate, QStringLiteral("2026-11-13"));
}

TEST(FileNameBuilder, SanitizeManualOnlyMakesTheNameSafe)
{
    const std::pair<const char *, const char *> cases[] = {
        {"a/b:c", "a b c"},
        {"..hidden", "hidden"},
        {"  My   «report» 🚀  ", "My «report» 🚀"},
        {"...", ""},
        {"Cafe\u0301", "Caf\u00e9"},
        // Direction overrides go; the joiners of an emoji sequence stay.
        {"Trip \u202E👨‍👩‍👧", "Trip 👨‍👩‍👧"},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(sanitizeManual(QString::fromUtf8(name)), QString::fromUtf8(expected)) << name;
}
