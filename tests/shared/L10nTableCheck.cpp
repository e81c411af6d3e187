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
namespace {
// Each key, its plural forms taken together, with the placeholders (%1, %2, ...; "%%" is none) its texts use.
QHash<QString, QSet<QString>> byBaseKey(const Table &table)
{
    QHash<QString, QSet<QString>> keys;
    for (auto it = table.begin(); it != table.end(); ++it) {
        QString key = it.key();
        for (const char *form : {".one", ".few", ".many", ".other"}) {
            if (key.endsWith(QLatin1String(form))) {
                key.chop(qsizetype(qstrlen(form)));
                break;
            }
        }
        QSet<QString> &found = keys[key];
        const QString &text = it.value();
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text.at(i) == u'%' && text.at(i + 1) == u'%')
                ++i;
            else if (text.at(i) == u'%' && text.at(i + 1).isDigit())
                found.insert(text.mid(i, 2));
        }
    }
    return keys;
}
} // namespace

QList<KeyUse> scanText(const QString &text, const QString &file)
{
    UErrorCode status = U_ZERO_ERROR;
    static const std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(
        IcuText::toIcu(QStringLiteral(R"re(\bL(Plural)?\(\s*(?:QStringLiteral\(\s*)?"([^"\\]+)")re")), 0, status));
    QList<KeyUse> uses;
    if (!pattern)
        return uses;
    const icu::UnicodeString input = IcuText::toIcu(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    while (U_SUCCESS(status) && matcher->find(status))
        uses.append({IcuText::fromIcu(matcher->group(2, status)), matcher->start(1, status) >= 0, file});
    return uses;
}

QList<KeyUse> scanSources(const QString &root)
{
    QList<KeyUse> uses;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.qml")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            uses.append(scanText(QString::fromUtf8(file.readAll()), file.fileName()));
    }
    return uses;
}

Table loadTable(const QString &path)
{
    Table table;
    QFile file(path);
    const QJsonObject object =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        table.insert(it.key(), it.value().toString());
    return table;
}

QStringList missingKeys(const QList<KeyUse> &uses, const Table &en, const Table &ru)
{
    QStringList problems;
    const auto require = [&problems](const Table &table, const char *language, const QString &key, const KeyUse &use) {
        if (!table.contains(key))
            problems.append(QStringLiteral("%1: \"%2\" missing from %3").arg(use.file, key, QLatin1String(language)));
    };
    for (const KeyUse &use : uses) {
        const QString &k = use.key;
        for (const QString &key : use.plural ? QStringList{k + u".one"_qs, k + u".other"_qs} : QStringList{k})
            require(en, "en", key, use);
        for (const QString &key :
             use.plural ? QStringList{k + u".one"_qs, k + u".few"_qs, k + u".many"_qs} : QStringList{k})
            require(ru, "ru", key, use);
    }
    problems.removeDuplicates();
    return problems;
}

// Keys of `ours` that `theirs` lacks (`placeholders` false) or gives other placeholders (true), sorted.
static QStringList compare(const Table &ours, const Table &theirs, bool placeholders, const QString &problem)
{
    const QHash<QString, QSet<QString>> ourKeys = byBaseKey(ours), theirKeys = byBaseKey(theirs);
    QStringList problems;
    for (auto it = ourKeys.begin(); it != ourKeys.end(); ++it) {
        if (theirKeys.contains(it.key()) == placeholders && (!placeholders || theirKeys.value(it.key()) != it.value()))
            problems.append(problem.arg(it.key()));
    }
    problems.sort();
    return problems;
}

QStringList unpairedKeys(const Table &en, const Table &ru)
{
    QStringList problems = compare(en, ru, false, QStringLiteral("\"%1\" only in en")) +
                           compare(ru, en, false, QStringLiteral("\"%1\" only in ru"));
    problems.sort();
    return problems;
}

QStringList placeholderMismatches(const Table &en, const Table &ru)
{
    return compare(en, ru, true, QStringLiteral("\"%1\" has different placeholders in en and ru"));
}

} // namespace L10nTableCheck
