// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnswerCleanup.h"

#include "NamingText.h"

#include <QSet>
#include <QStringList>

#include <unicode/regex.h>
#include <unicode/uchar.h>

namespace {

struct Patterns
{
    std::unique_ptr<icu::RegexPattern> lead = NamingText::compile(
        uR"((?i)^\s*(?:a |the )?(?:screenshot|screen shot|screen capture|image|picture)\b\s*(?:(?:of|with|showing|shows|about)\b)?[\s:—–-]*)");
    std::unique_ptr<icu::RegexPattern> stamp = NamingText::compile(
        uR"((?:\b(?:\d{4}[-./]\d{1,2}[-./]\d{1,2}|\d{1,2}[-./]\d{1,2}[-./]\d{4}|\d{1,2}[:.]\d{2}[:.]\d{2}|\d{1,2}:\d{2})(?:\s?[AP]M\b)?|[+-]\d{2}:\d{2}\b))",
        UREGEX_CASE_INSENSITIVE);
};

const Patterns &patterns()
{
    static const Patterns instance;
    return instance;
}

bool isPunctuationOrSymbol(char32_t c)
{
    const int32_t mask = U_GET_GC_MASK(static_cast<UChar32>(c));
    return (mask & (U_GC_P_MASK | U_GC_S_MASK)) != 0;
}

// Lower case, punctuation and symbols stripped from both ends.
QString bareWord(const QString &word)
{
    QList<uint> points = word.toLower().toUcs4();
    qsizetype begin = 0;
    qsizetype end = points.size();
    while (begin < end && isPunctuationOrSymbol(points[begin]))
        ++begin;
    while (end > begin && isPunctuationOrSymbol(points[end - 1]))
        --end;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()) + begin, end - begin);
}

bool hasLetter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (NamingText::isLetter(c))
            return true;
    }
    return false;
}

QString before(const QString &text, QStringView separator)
{
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

bool isAmountCharacter(char32_t c)
{
    return NamingText::isDigit(c) || c == U'.' || c == U',' || c == U'₽' || c == U'$' || c == U'€' || c == U'%';
}

int digitCount(const QString &word)
{
    int count = 0;
    for (const char32_t c : word.toUcs4())
        count += NamingText::isDigit(c) ? 1 : 0;
    return count;
}

QString trimmedOf(const QString &text, QStringView characters)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && characters.contains(text[begin]))
        ++begin;
    while (end > begin && characters.contains(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// A short label such as "Title: " names the field, not the screen.
QString withoutLabel(const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon >= 0 && NamingText::length(text.left(colon)) <= 12 && colon + 1 < text.size() && text[colon + 1] == u' ')
        return text.mid(colon + 1);
    return text;
}

} // namespace

namespace AnswerCleanup {

bool isStopWord(const QString &lowerCaseWord)
{
    static const QSet<QString> stopWords = {
        u"and"_qs, u"or"_qs, u"of"_qs, u"with"_qs, u"for"_qs,  u"in"_qs,   u"on"_qs,   u"to"_qs,    u"the"_qs, u"a"_qs,
        u"an"_qs,  u"at"_qs, u"by"_qs, u"from"_qs, u"date"_qs, u"time"_qs, u"и"_qs,    u"или"_qs,   u"в"_qs,   u"на"_qs,
        u"с"_qs,   u"о"_qs,  u"об"_qs, u"для"_qs,  u"по"_qs,   u"от"_qs,   u"дата"_qs, u"время"_qs,
    };
    return stopWords.contains(lowerCaseWord);
}

QString tidy(const QString &answer)
{
    QString text = answer.trimmed();
    text = before(text, u"\n");
    text = before(text, u". ");
    text = before(text, u"; ");
    text = before(text, u"  ");
    text = withoutLabel(text);

    const QString withoutLead = NamingText::replaceAll(*patterns().lead, text, u" "_qs);
    if (hasLetter(withoutLead))
        text = withoutLead;
    text = NamingText::replaceAll(*patterns().stamp, text, u" "_qs);

    QStringList words;
    for (const QString &word : NamingText::words(text)) {
        const QList<uint> points = word.toUcs4();
        const bool meaningful =
            std::any_of(points.begin(), points.end(), [](uint c) { return NamingText::isLetterOrDigit(c); });
        if (meaningful && word.count(u'-') <= 2)
            words.append(word);
    }

    qsizetype trailing = 0;
    int trailingDigits = 0;
    for (qsizetype i = words.size() - 1; i >= 0; --i) {
        const QList<uint> points = words[i].toUcs4();
        if (!std::all_of(points.begin(), points.end(), [](uint c) { return isAmountCharacter(c); }))
            break;
        ++trailing;
        trailingDigits += digitCount(words[i]);
    }
    if (trailing > 0 && trailingDigits > 4)
        words.resize(words.size() - trailing);

    while (!words.isEmpty() && isStopWord(bareWord(words.last())))
        words.removeLast();

    static const QSet<QString> leadingWords = {u"at"_qs, u"on"_qs, u"from"_qs, u"в"_qs, u"от"_qs};
    while (words.size() > 1 && leadingWords.contains(bareWord(words.first())))
        words.removeFirst();

    const QString result = trimmedOf(words.join(u' '), u" .,:;-–—\"'");

    for (const QString &run : NamingText::letterDigitRuns(NamingText::normalised(result))) {
        int letters = 0;
        for (const char32_t c : run.toUcs4())
            letters += NamingText::isLetter(c) ? 1 : 0;
        if (letters >= 3 && !isStopWord(run))
            return result;
    }
    return {};
}

QString tidyTranslation(const QString &answer)
{
    QString text = withoutLabel(before(answer.trimmed(), u"\n"));
    // Models quote translations in the target language's own marks, and often more than once.
    text = trimmedOf(text, u" .,:;\"'`«»‹›“”„‟‘’‚‛「」");
    return hasLetter(text) ? text : QString();
}

} // namespace AnswerCleanup
