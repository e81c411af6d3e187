// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10n.h"

#include "IcuText.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>
#include <unicode/unistr.h>

#include <cstdlib>

using namespace IcuText;
namespace {

const QString englishCode = QStringLiteral("en");

std::shared_ptr<const L10n::Table> loadTable(const QString &code)
{
    auto table = std::make_shared<L10n::Table>();
    QFile file(QStringLiteral(":/l10n/%1.json").arg(code));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isString())
            table->insert(it.key(), it.value().toString());
    }
    return table;
}

// Lock, code and table of the process; the table starts out unloaded so that resources are read on first use.
struct State
{
    QMutex lock;
    QString code = englishCode;
    std::shared_ptr<const L10n::Table> table;
};

State &state()
{
    static State instance;
    return instance;
}

std::shared_ptr<const L10n::Table> tableFor(const QString &code)
{
    if (auto table = loadTable(code))
        return table;
    if (code != englishCode) {
        if (auto table = loadTable(englishCode))
            return table;
    }
    return std::make_shared<L10n::Table>();
}

// "ru_RU.UTF-8@euro" -> "ru"; empty for the C and POSIX locales.
QString languageOf(QString locale)
{
    locale = locale.trimmed();
    qsizetype cut = 0;
    while (cut < locale.size() && !QStringView(u"_.@-").contains(locale.at(cut)))
        ++cut;
    const QString language = locale.left(cut).toLower();
    if (language == u"c" || language == u"posix")
        return {};
    return language;
}

} // namespace

QString L10nArgument::toString(const QLocale &locale) const
{
    if (const auto *text = std::get_if<QString>(&m_value))
        return *text;
    if (const auto *number = std::get_if<qint64>(&m_value))
        return locale.toString(*number);
    return locale.toString(std::get<double>(m_value), 'f', 1);
}

const QStringList &L10n::shipped()
{
    static const QStringList codes{englishCode, QStringLiteral("ru")};
    return codes;
}

QStringList L10n::preferredLanguages(const QProcessEnvironment &environment)
{
    QStringList languages;
    const auto add = [&languages](const QString &locale) {
        const QString language = languageOf(locale);
        if (!language.isEmpty() && !languages.contains(language))
            languages.append(language);
    };
    for (const QString &entry : environment.value(QStringLiteral("LANGUAGE")).split(u':', Qt::SkipEmptyParts))
        add(entry);
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty()) {
            add(value);
            break;
        }
    }
    return languages;
}

QString L10n::resolve(InterfaceLanguage language, const QStringList &preferred)
{
    switch (language) {
    case InterfaceLanguage::en:
        return englishCode;
    case InterfaceLanguage::ru:
        return QStringLiteral("ru");
    case InterfaceLanguage::system:
        break;
    }
    for (const QString &entry : preferred) {
        const QString language = languageOf(entry);
        if (shipped().contains(language))
            return language;
    }
    return englishCode;
}

QString L10n::resolve(InterfaceLanguage language)
{
    return resolve(language, preferredLanguages(QProcessEnvironment::systemEnvironment()));
}

void L10n::apply(InterfaceLanguage language)
{
    const QString code = resolve(language);
    auto table = tableFor(code);
    State &s = state();
    const QMutexLocker locker(&s.lock);
    s.code = code;
    s.table = std::move(table);
}

QString L10n::code()
{
    State &s = state();
    const QMutexLocker locker(&s.lock);
    return s.code;
}

L10n::Snapshot L10n::snapshot()
{
    State &s = state();
    const QMutexLocker locker(&s.lock);
    if (!s.table)
        s.table = tableFor(s.code);
    return {s.code, s.table};
}

QString L10n::lookup(const Snapshot &snapshot, const QString &key)
{
    return snapshot.table->value(key, key);
}

QString L10n::text(const char *key)
{
    return lookup(snapshot(), QString::fromUtf8(key));
}

QString L10n::formatted(const char *key, std::initializer_list<L10nArgument> arguments)
{
    const Snapshot current = snapshot();
    return format(lookup(current, QString::fromUtf8(key)), arguments, current.code);
}

QString L10n::plural(const char *key, qint64 count)
{
    const Snapshot current = snapshot();
    const QString fullKey = QString::fromUtf8(key) + u'.' + pluralCategory(current.code, count);
    return format(lookup(current, fullKey), {L10nArgument(count)}, current.code);
}

QString L10n::pluralCategory(const QString &code, qint64 count)
{
    if (code == u"ru") {
        // Unsigned so that the smallest qint64 does not overflow.
        const quint64 magnitude = count < 0 ? 0 - static_cast<quint64>(count) : static_cast<quint64>(count);
        const quint64 lastDigit = magnitude % 10;
        const quint64 lastTwo = magnitude % 100;
        if (lastDigit == 1 && lastTwo != 11)
            return QStringLiteral("one");
        if ((lastTwo >= 12 && lastTwo <= 14) || lastDigit < 2 || lastDigit > 4)
            return QStringLiteral("many");
        return QStringLiteral("few");
    }
    return count == 1 ? QStringLiteral("one") : QStringLiteral("other");
}

QString L10n::format(const QString &pattern, std::initializer_list<L10nArgument> arguments, const QString &code)
{
    const QLocale locale(code);
    const auto *const values = arguments.begin();
    const qsizetype count = static_cast<qsizetype>(arguments.size());
    QString result;
    result.reserve(pattern.size() + 16);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 == pattern.size()) {
            result.append(c);
            continue;
        }
        const QChar next = pattern.at(i + 1);
        if (next == u'%') {
            result.append(u'%');
            ++i;
        } else if (next >= u'1' && next <= u'9' && next.unicode() - u'1' < count) {
            result.append(values[next.unicode() - u'1'].toString(locale));
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

QString L(const char *key)
{
    return L10n::text(key);
}

QString LPlural(const char *key, qint64 count)
{
    return L10n::plural(key, count);
}

QString relativeDate(const QDateTime &date, const QDateTime &now)
{
    const qint64 seconds = date.secsTo(now);
    if (seconds < 45)
        return L("time.justNow");

    constexpr qint64 minute = 60, hour = 60 * minute, day = 24 * hour, week = 7 * day, month = 30 * day,
                     year = 365 * day;
    struct Step
    {
        qint64 limit;
        qint64 size;
        URelativeDateTimeUnit unit;
    };
    static constexpr Step steps[] = {
        {minute, 1, UDAT_REL_UNIT_SECOND}, {hour, minute, UDAT_REL_UNIT_MINUTE}, {day, hour, UDAT_REL_UNIT_HOUR},
        {week, day, UDAT_REL_UNIT_DAY},    {month, week, UDAT_REL_UNIT_WEEK},    {year, month, UDAT_REL_UNIT_MONTH},
    };
    qint64 size = year;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_YEAR;
    for (const Step &step : steps) {
        if (seconds < step.limit) {
            size = step.size;
            unit = step.unit;
            break;
        }
    }

    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(L10n::code().toUtf8().constData());
    icu::RelativeDateTimeFormatter formatter(locale, nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE, status);
    icu::UnicodeString text;
    formatter.formatNumeric(-static_cast<double>(seconds / size), unit, text, status);
    if (U_FAILURE(status))
        return QLocale(L10n::code()).toString(date, QLocale::ShortFormat);
    return fromIcu(text);
}

QString relativeDate(const QDateTime &date, const Clock &clock)
{
    return relativeDate(date, clock.now());
}

QString watchedSummary(const QList<WatchedEntry> &folders)
{
    QList<const WatchedEntry *> enabled;
    for (const WatchedEntry &folder : folders) {
        if (folder.enabled)
            enabled.append(&folder);
    }
    if (enabled.size() == 1) {
        QString path = enabled.front()->path;
        while (path.size() > 1 && path.endsWith(u'/'))
            path.chop(1);
        const QString name = QFileInfo(path).fileName();
        return u'\u00AB' + (name.isEmpty() ? path : name) + u'\u00BB';
    }
    return LPlural("count.folders", enabled.size());
}
