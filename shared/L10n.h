// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Clock.h"
#include "InterfaceLanguage.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <concepts>
#include <initializer_list>
#include <memory>
#include <variant>

// One argument of a formatted text: a string, an integer or a decimal number, printed in the interface's locale.
class L10nArgument
{
public:
    L10nArgument(const QString &text)
        : m_value(text)
    {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) L10nArgument(T number)
        : m_value(static_cast<qint64>(number))
    {}
    L10nArgument(double number)
        : m_value(number)
    {}
    // Raw C strings are ambiguous about their encoding; pass a QString.
    L10nArgument(const char *) = delete;

    QString toString(const QLocale &locale) const;

private:
    std::variant<QString, qint64, double> m_value;
};

// Process-wide interface language: the active code and its text table, swapped together under one lock.
//
// Tables are JSON objects of dotted keys to texts, compiled into each program as the resources
// ":/l10n/<code>.json". Formatted texts use the positional placeholders %1 to %9; "%%" is a literal percent sign.
class L10n
{
public:
    using Table = QHash<QString, QString>;

    // The interface languages the programs ship, in order of preference when nothing else decides.
    static const QStringList &shipped();

    // The user's preferred languages, most preferred first: LANGUAGE (colon-separated), then the first set
    // of LC_ALL, LC_MESSAGES and LANG; the "C" and "POSIX" locales name no language.
    static QStringList preferredLanguages(const QProcessEnvironment &environment);

    static QString resolve(InterfaceLanguage language, const QStringList &preferred);
    static QString resolve(InterfaceLanguage language);

    // Switches code and table together; a code without its own table reads the English one.
    static void apply(InterfaceLanguage language);

    static QString code();

    // The lookups behind L and LPlural.
    static QString text(const char *key);
    static QString formatted(const char *key, std::initializer_list<L10nArgument> arguments);
    static QString plural(const char *key, qint64 count);

    // "one", "few", "many" for Russian; "one" or "other" for every other code.
    static QString pluralCategory(const QString &code, qint64 count);
    static QString format(const QString &pattern, std::initializer_list<L10nArgument> arguments, const QString &code);

private:
    struct Snapshot
    {
        QString code;
        std::shared_ptr<const Table> table;
    };
    static Snapshot snapshot();
    static QString lookup(const Snapshot &snapshot, const QString &key);
};

// The text stored under key in the current interface language, or the key itself when there is none.
QString L(const char *key);

// The text under key used as a format: QString arguments and integers fill %1, %2, ... in order.
template <typename... Args>
requires(sizeof...(Args) > 0) QString L(const char *key, const Args &...arguments)
{
    return L10n::formatted(key, {L10nArgument(arguments)...});
}

// The plural form of key for count ("key.one", "key.few", ...), formatted with count as %1.
QString LPlural(const char *key, qint64 count);

// "Just now" under 45 seconds (and for future dates), else a short relative text such as "5 min. ago".
QString relativeDate(const QDateTime &date, const QDateTime &now);
QString relativeDate(const QDateTime &date, const Clock &clock = Clock::system());

// One watched folder as the status summary sees it.
struct WatchedEntry
{
    QString path;
    bool enabled = true;
};

// The one enabled folder's name in guillemets, else the number of enabled folders.
QString watchedSummary(const QList<WatchedEntry> &folders);
