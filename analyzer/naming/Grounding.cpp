// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Grounding.h"

#include "NamingText.h"

#include <QSet>

#include <unicode/uchar.h>

#include <algorithm>

namespace {

bool isAcronym(const QString &run)
{
    const QList<uint> points = run.toUcs4();
    if (points.size() < 2 || points.size() > 3)
        return false;
    return std::all_of(points.begin(), points.end(),
                       [](uint c) { return NamingText::isLetter(c) && u_isupper(static_cast<UChar32>(c)); });
}

bool hasLetter(const QString &text)
{
    const QList<uint> points = text.toUcs4();
    return std::any_of(points.begin(), points.end(), [](uint c) { return NamingText::isLetter(c); });
}

template <typename Tokens>
bool someTokenStartsWith(const Tokens &tokens, const QString &prefix)
{
    return std::any_of(tokens.begin(), tokens.end(), [&](const QString &token) { return token.startsWith(prefix); });
}

} // namespace

namespace Grounding {

QStringList tokens(const QString &text)
{
    return NamingText::letterDigitRuns(NamingText::normalised(text));
}

QStringList contentWords(const QString &title)
{
    QSet<QString> acronyms;
    for (const QString &run : NamingText::letterDigitRuns(title)) {
        if (isAcronym(run))
            acronyms.insert(NamingText::normalised(run));
    }
    QStringList result;
    for (const QString &token : tokens(title)) {
        if ((NamingText::length(token) > 3 && hasLetter(token)) || acronyms.contains(token))
            result.append(token);
    }
    return result;
}

QString stem(const QString &contentWord)
{
    return NamingText::leftChars(contentWord, 5);
}

Overlap overlap(const QString &title, const QStringList &sources)
{
    QSet<QString> vocabulary;
    for (const QString &source : sources) {
        for (const QString &token : tokens(source)) {
            if (NamingText::length(token) >= 2)
                vocabulary.insert(token);
        }
    }
    const QStringList words = contentWords(title);
    if (vocabulary.isEmpty())
        return {0, static_cast<int>(words.size())};
    if (words.isEmpty()) {
        const QStringList titleTokens = tokens(title);
        const bool found = std::any_of(titleTokens.begin(), titleTokens.end(),
                                       [&](const QString &token) { return vocabulary.contains(token); });
        return {found ? 1 : 0, 1};
    }
    int matched = 0;
    for (const QString &word : words)
        matched += someTokenStartsWith(vocabulary, stem(word)) ? 1 : 0;
    return {matched, static_cast<int>(words.size())};
}

std::optional<QString> originalWording(const QString &title, const QList<std::pair<QString, QString>> &pairs,
                                       int maxWords)
{
    QStringList stems;
    for (const QString &word : contentWords(title)) {
        const QString wordStem = stem(word);
        if (!stems.contains(wordStem))
            stems.append(wordStem);
    }
    if (stems.size() < 2)
        return std::nullopt;

    const std::pair<QString, QString> *best = nullptr;
    int bestCovered = -1;
    for (const auto &pair : pairs) {
        if (NamingText::words(pair.second).size() >= 7)
            continue;
        const QStringList candidateTokens = tokens(pair.second);
        const int covered = static_cast<int>(std::count_if(
            stems.begin(), stems.end(), [&](const QString &s) { return someTokenStartsWith(candidateTokens, s); }));
        if (covered > bestCovered) {
            best = &pair;
            bestCovered = covered;
        }
    }
    if (best == nullptr || 10 * bestCovered < 7 * stems.size())
        return std::nullopt;

    QStringList words = NamingText::words(best->first).mid(0, std::max(0, maxWords));
    while (words.size() > 2 && NamingText::length(words.last()) <= 2)
        words.removeLast();
    return words.join(u' ');
}

} // namespace Grounding
