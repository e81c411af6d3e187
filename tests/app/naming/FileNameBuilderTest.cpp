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
        {"See https://github.com/zentrope/issues", "See github.com zentrope issues"},
        {"www.example.org pricing", "example.org pricing"},
        // A title that ends in its file's name loses the extension, in any letter case.
        {"Holiday photo.JpEg", "Holiday photo"},
        {"Notes about png", "Notes about png"},
        // Emoji and their joiners go.
        {"Family 👨‍👩‍👧 trip ❤️", "Family trip"},
        // Typographic quotes and backticks vanish; characters a file name cannot hold become spaces.
        {"«Отчёт» за “май” `v2`", "Отчёт за май v2"},
        {"a:b*c?d|e<f>g\"h\\i", "a b c d e f g h i"},
        {"Line one\nLine two\u2028three\tfour", "Line one Line two three four"},
        // Latin and Cyrillic letters run together get a space; in an alternating run every other boundary does.
        {"APIотчёт", "API отчёт"},
        {"AбCд", "A бC д"},
        // Generic openings go, in English and Russian.
        {"Screenshot of the login page", "the login page"},
        {"Снимок экрана: настройки сети", "настройки сети"},
        {"Screenshots folder", "Screenshots folder"},
        // Punctuation and symbols are trimmed at the ends; the result never starts with a dot.
        {"  ... «Hello, world!» ...  ", "Hello, world"},
        {"Cafe\u0301 menu", "Caf\u00e9 menu"},
        // Invisible formatting characters go: they could make a name read as another.
        {"Invoice\u202Egpj.exe", "Invoicegpj.exe"},
        {"\uFEFFZero\u200Bwidth\u2066space\u2069", "Zerowidthspace"},
    };
    for (const auto &[title, expected] : cases)
        EXPECT_EQ(sanitizeTitle(QString::fromUtf8(title)), QString::fromUtf8(expected)) << title;
}

TEST(FileNameBuilder, TitlesWithNothingUsableGiveNoName)
{
    const char *titles[] = {"😀🎉", "A", "👍 A", "!!! ???", "", "   ", "Screenshot of", "«»", "https://"};
    for (const char *title : titles)
        EXPECT_EQ(base(QString::fromUtf8(title), captured, NamingOptions{}, english), std::nullopt) << title;
    EXPECT_EQ(base(QStringLiteral("#1"), captured, NamingOptions{}, english), QStringLiteral("#1"));
}

TEST(FileNameBuilder, CasingFollowsTheChosenCaseAndLocale)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    struct Case
    {
        const char *text;
        NameCase letterCase;
        const QLocale *locale;
        const char *expected;
    };
    const Case cases[] = {
        {"gitHub pull request", NameCase::sentence, &english, "GitHub pull request"},
        {"istanbul trip", NameCase::sentence, &turkish, "İstanbul trip"},
        {"GitHub API Review", NameCase::lower, &english, "github api review"},
        {"İSTANBUL", NameCase::lower, &turkish, "istanbul"},
        {"pull request for iOS app", NameCase::title, &english, "Pull Request For iOS App"},
        {"отчёт  по API", NameCase::title, &english, "Отчёт По API"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(applyCase(QString::fromUtf8(c.text), c.letterCase, *c.locale), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(FileNameBuilder, TruncateCutsAtWordBoundaryOrHard)
{
    // 75 characters; the 61st lies inside a word and the last space before it is at position 52.
    const QString nearSpace = QStringLiteral("a").repeated(25) + ' ' + QStringLiteral("b").repeated(26) + ' ' +
                              QStringLiteral("c").repeated(22);
    EXPECT_EQ(truncate(nearSpace, 60), nearSpace.left(52));

    // The last space at position 20 is too early: a hard cut at 60 characters.
    const QString farSpace = QStringLiteral("a").repeated(20) + ' ' + QStringLiteral("b").repeated(54);
    EXPECT_EQ(truncate(farSpace, 60), farSpace.left(60));

    // The cut falls between words: the head is kept, trimmed of its trailing punctuation.
    const QString betweenWords = QStringLiteral("a").repeated(58) + ", next words";
    EXPECT_EQ(truncate(betweenWords, 59), QStringLiteral("a").repeated(58));

    // Counts are user-perceived characters: a flag or a letter with a combining mark is one.
    const QString composed = QStringLiteral("e\u0301").repeated(25);
    EXPECT_EQ(truncate(composed, 20), QStringLiteral("e\u0301").repeated(20));
}

TEST(FileNameBuilder, LengthIsClampedAndTheByteCapNeverSplitsACharacter)
{
    const auto named = [](const QString &title, int maxLength) {
        return base(title, captured, NamingOptions{.maxLength = maxLength}, english).value_or(QStringLiteral("<none>"));
    };
    // The length is clamped to 20..120; 199 characters are cut back to the last space before the limit.
    const QString words = QStringLiteral("word ").repeated(40).trimmed();
    EXPECT_EQ(named(words, 5), QStringLiteral("Word word word word"));
    EXPECT_EQ(named(words, 500), QStringLiteral("Word ") + QStringLiteral("word ").repeated(23).trimmed());

    // 255 bytes with room for an extension: 115 two-byte letters, 57 four-byte ones.
    EXPECT_EQ(truncate(QStringLiteral("ж").repeated(120), 120), QStringLiteral("ж").repeated(120));
    EXPECT_EQ(named(QStringLiteral("ж").repeated(120), 120), QStringLiteral("Ж") + QStringLiteral("ж").repeated(114));
    EXPECT_EQ(named(QStringLiteral("\U00010330").repeated(60), 120), QStringLiteral("\U00010330").repeated(57));
    EXPECT_EQ(sanitizeManual(QStringLiteral("ж").repeated(200)), QStringLiteral("ж").repeated(115));
}

TEST(FileNameBuilder, DateJoinsTheTitleWithEachSeparator)
{
    using enum NameSeparator;
    const std::tuple<NamingOptions, const char *, const char *> cases[] = {
        {{.separator = space, .datePosition = DatePosition::prefix, .dateStyle = DateStyle::dateTime},
         "Budget, draft; v2",
         "2026-11-12 10.42 Budget, draft; v2"},
        {{.separator = dash, .datePosition = DatePosition::suffix, .dateStyle = DateStyle::dateTime},
         "Budget, draft; v2",
         "Budget-draft-v2-2026-11-12-10.42"},
        {{.separator = underscore, .datePosition = DatePosition::prefix, .dateStyle = DateStyle::dateTime},
         "GitHub pull request",
         "2026-11-12_10.42_GitHub_pull_request"},
        {{.separator = underscore, .datePosition = DatePosition::prefix}, "a  b", "2026-11-12_A_b"},
    };
    for (const auto &[options, title, expected] : cases)
        EXPECT_EQ(base(QString::fromUtf8(title), captured, options, english), QString::fromUtf8(expected)) << title;
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
    const QString tokyoLate =
        dateString(QDateTime(QDate(2026, 11, 12), QTime(20, 0), QTimeZone::utc()), DateStyle::date);
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
