// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "OCRNamer.h"

#include "NamingText.h"

#include <QSet>
#include <QStringList>

#include <unicode/regex.h>

#include <algorithm>

namespace {

bool isMenuWord(const QString &word)
{
    static const QSet<QString> menuWords = {
        u"file"_qs,    u"edit"_qs,      u"view"_qs,    u"window"_qs,  u"help"_qs,     u"go"_qs,
        u"history"_qs, u"bookmarks"_qs, u"format"_qs,  u"tools"_qs,   u"файл"_qs,     u"правка"_qs,
        u"вид"_qs,     u"окно"_qs,      u"справка"_qs, u"история"_qs, u"закладки"_qs, u"формат"_qs,
    };
    return menuWords.contains(word);
}

const icu::RegexPattern &timeExpression()
{
    static const std::unique_ptr<icu::RegexPattern> pattern =
        NamingText::compile(uR"(^\s*\d{1,2}[:.]\d{2}(\s*(AM|PM))?\s*$)", UREGEX_CASE_INSENSITIVE);
    return *pattern;
}

} // namespace

namespace OCRNamer {

bool isUsable(const QString &text)
{
    const int letters = ScreenshotFeatures::letterCount(text);
    if (letters < 3)
        return false;
    if (double(letters) / double(std::max(1, NamingText::length(text))) < 0.5)
        return false;
    if (NamingText::matches(timeExpression(), text))
        return false;
    const QStringList pieces = text.toLower().split(u' ');
    if (std::all_of(pieces.begin(), pieces.end(), isMenuWord))
        return false;
    if (text.contains(u"://") || text.startsWith(u"www."))
        return false;
    return true;
}

std::optional<QString> title(const ScreenshotFeatures &features, int maxWords)
{
    QStringList usable;
    for (const ScreenshotFeatures::Line &line : features.prominentLines()) {
        if (isUsable(line.text))
            usable.append(line.text);
    }
    if (usable.isEmpty())
        return std::nullopt;

    QString text = usable.first();
    // A one- or two-word heading says little on its own; the next short line usually completes it.
    if (text.split(u' ').size() <= 2) {
        const auto next = std::find_if(usable.begin() + 1, usable.end(), [&](const QString &candidate) {
            return candidate != usable.first() && NamingText::length(candidate) < 41;
        });
        if (next != usable.end())
            text += u' ' + *next;
    }
    return NamingText::words(text).mid(0, std::max(0, maxWords)).join(u' ');
}

} // namespace OCRNamer
