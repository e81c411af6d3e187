// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "L10nTableCheck.h"

#include "IcuText.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <unicode/regex.h>

#include <memory>

namespace L10nTableCheck {

using namespace IcuText;
namespace {

const QStringList russianForms{QStringLiteral("one"), QStringLiteral("few"), QStringLiteral("many")};
const QStringList englishForms{QStringLiteral("one"), QStringLiteral("other")};

// A key with its plural suffix removed, so both tables' forms of one plural key compare equal.
QString baseKey(const QString &key)
{
    for (const QString &form :
         {QStringLiteral("one"), QStringLiteral("few"), QStringLiteral("many"), QStringLiteral("other")}) {
        if (key.endsWith(u'.' + form))
            return key.left(key.size() - form.size() - 1);
    }
    return key;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'%')
            continue;
        if (text.at(i + 1) == u'%')
            ++i;
        else if (text.at(i + 1).isDigit())
            found.insert(text.mid(i, 2));
    }
    return found;
}

// Each key, plural forms taken together, with the placeholders its texts use.
QHash<QString, QSet<QString>> byBaseKey(const Table &table)
{
    QHash<QString, QSet<QString>> keys;
    for (auto it = table.begin(); it != table.end(); ++it)
        keys[baseKey(it.key())] += placeholders(it.value());
    return keys;
}

} // namespace

QList<KeyUse> scanText(const QString &text, const QString &file)
{
    UErrorCode status = U_ZERO_ERROR;
    static const std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(
        toIcu(QStringLiteral(R"re(\bL(Plural)?\(\s*(?:QStringLiteral\(\s*)?"([^"\\]+)")re")), 0, status));
    QList<KeyUse> uses;
    if (!pattern)
        return uses;
    const icu::UnicodeString input = toIcu(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    while (U_SUCCESS(status) && matcher->find(status))
        uses.append({fromIcu(matcher->group(2, status)), matcher->start(1, status) >= 0, file});
    return uses;
}

QList<KeyUse> scanSources(const QString &root)
{
    QList<KeyUse> uses;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.qml")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            uses.append(scanText(QString::fromUtf8(file.readAll()), path));
    }
    return uses;
}

Table loadTable(const QString &path)
{
    Table table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        table.insert(it.key(), it.value().toString());
    return table;
}

QStringList missingKeys(const QList<KeyUse> &uses, const Table &en, const Table &ru)
{
    QStringList problems;
    const auto require = [&problems](const Table &table, const char *language, const QString &key,
                                     const QString &file) {
        if (!table.contains(key))
            problems.append(QStringLiteral("%1: \"%2\" missing from %3").arg(file, key, QLatin1String(language)));
    };
    for (const KeyUse &use : uses) {
        if (!use.plural) {
            require(en, "en", use.key, use.file);
            require(ru, "ru", use.key, use.file);
            continue;
        }
        for (const QString &form : englishForms)
            require(en, "en", use.key + u'.' + form, use.file);
        for (const QString &form : russianForms)
            require(ru, "ru", use.key + u'.' + form, use.file);
    }
    problems.removeDuplicates();
    return problems;
}

QStringList unpairedKeys(const Table &en, const Table &ru)
{
    const QHash<QString, QSet<QString>> enKeys = byBaseKey(en);
    const QHash<QString, QSet<QString>> ruKeys = byBaseKey(ru);
    QStringList problems;
    for (auto it = enKeys.begin(); it != enKeys.end(); ++it) {
        if (!ruKeys.contains(it.key()))
            problems.append(QStringLiteral("\"%1\" only in en").arg(it.key()));
    }
    for (auto it = ruKeys.begin(); it != ruKeys.end(); ++it) {
        if (!enKeys.contains(it.key()))
            problems.append(QStringLiteral("\"%1\" only in ru").arg(it.key()));
    }
    problems.sort();
    return problems;
}

QStringList placeholderMismatches(const Table &en, const Table &ru)
{
    const QHash<QString, QSet<QString>> enKeys = byBaseKey(en);
    const QHash<QString, QSet<QString>> ruKeys = byBaseKey(ru);
    QStringList problems;
    for (auto it = enKeys.begin(); it != enKeys.end(); ++it) {
        if (ruKeys.contains(it.key()) && ruKeys.value(it.key()) != it.value())
            problems.append(QStringLiteral("\"%1\" has different placeholders in en and ru").arg(it.key()));
    }
    problems.sort();
    return problems;
}

} // namespace L10nTableCheck
