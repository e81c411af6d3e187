// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingText.h"

#include "IcuText.h"

#include <QtGlobal>

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

using namespace IcuText;
using icu::UnicodeString;

namespace {

template <typename Keep>
QStringList runs(const QString &text, Keep keep)
{
    QStringList result;
    QString current;
    for (const char32_t c : text.toUcs4()) {
        if (keep(c)) {
            current += QString::fromUcs4(&c, 1);
        } else if (!current.isEmpty()) {
            result.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        result.append(current);
    return result;
}

} // namespace

namespace NamingText {

bool isLetter(char32_t c)
{
    return u_isalpha(static_cast<UChar32>(c));
}

bool isDigit(char32_t c)
{
    return u_isdigit(static_cast<UChar32>(c));
}

bool isLetterOrDigit(char32_t c)
{
    return isLetter(c) || isDigit(c);
}

QString normalised(const QString &text)
{
    QString lower = text.toLower();
    lower.replace(QChar(0x0451), QChar(0x0435));
    return lower;
}

QStringList letterDigitRuns(const QString &text)
{
    return runs(text, isLetterOrDigit);
}

QStringList words(const QString &text)
{
    return runs(text, [](char32_t c) { return !u_isUWhiteSpace(static_cast<UChar32>(c)); });
}

int length(const QString &text)
{
    return static_cast<int>(text.toUcs4().size());
}

QString leftChars(const QString &text, int count)
{
    const QList<uint> points = text.toUcs4();
    if (points.size() <= count)
        return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()), count);
}

std::unique_ptr<icu::RegexPattern> compile(const char16_t *pattern, unsigned flags)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(UnicodeString(pattern), flags, parseError, status));
    checkIcu(status, "a fixed pattern");
    return compiled;
}

QString replaceAll(const icu::RegexPattern &pattern, const QString &text, const QString &with)
{
    UErrorCode status = U_ZERO_ERROR;
    // The matcher reads its input in place, so the input must outlive it.
    const UnicodeString input = toIcu(text);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    checkIcu(status, "a matcher");
    const UnicodeString result = matcher->replaceAll(toIcu(with), status);
    checkIcu(status, "a replacement");
    return fromIcu(result);
}

bool matches(const icu::RegexPattern &pattern, const QString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    const UnicodeString input = toIcu(text);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    checkIcu(status, "a matcher");
    const bool found = matcher->find(status);
    checkIcu(status, "a search");
    return found;
}

} // namespace NamingText
