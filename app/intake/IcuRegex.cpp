// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "IcuRegex.h"

#include <QtGlobal>

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace {
icu::UnicodeString toUnicode(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.constData()), static_cast<int32_t>(text.size()));
}

QString fromUnicode(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}
} // namespace

IcuRegex::IcuRegex(const QString &pattern, bool caseInsensitive)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    m_pattern.reset(icu::RegexPattern::compile(toUnicode(pattern), caseInsensitive ? UREGEX_CASE_INSENSITIVE : 0,
                                               parseError, status));
    if (U_FAILURE(status) || !m_pattern)
        qFatal("Regular expression does not compile (%s at offset %d): %s", u_errorName(status), parseError.offset,
               qPrintable(pattern));
}

IcuRegex::~IcuRegex() = default;

bool IcuRegex::matches(const QString &text) const
{
    return run(text, true).has_value();
}

std::optional<IcuRegex::Match> IcuRegex::matchWhole(const QString &text) const
{
    return run(text, true);
}

std::optional<IcuRegex::Match> IcuRegex::search(const QString &text) const
{
    return run(text, false);
}

int IcuRegex::groupIndex(const char *name) const
{
    UErrorCode status = U_ZERO_ERROR;
    const int32_t index = m_pattern->groupNumberFromName(name, -1, status);
    return U_SUCCESS(status) ? index : -1;
}

std::optional<IcuRegex::Match> IcuRegex::run(const QString &text, bool whole) const
{
    const icu::UnicodeString input = toUnicode(text);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(m_pattern->matcher(input, status));
    if (U_FAILURE(status) || !matcher)
        return std::nullopt;
    const bool found = whole ? matcher->matches(status) : matcher->find(status);
    if (U_FAILURE(status) || !found)
        return std::nullopt;
    Match match;
    const int32_t count = matcher->groupCount();
    for (int32_t i = 0; i <= count; ++i) {
        UErrorCode groupStatus = U_ZERO_ERROR;
        if (matcher->start(i, groupStatus) < 0 || U_FAILURE(groupStatus)) {
            match.groups.append(QString());
            continue;
        }
        match.groups.append(fromUnicode(matcher->group(i, groupStatus)));
    }
    return match;
}

QString IcuRegex::escape(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        // A backslash before a letter or digit would give it a meaning; before other ASCII it quotes.
        if (c.unicode() < 0x80 && !c.isLetterOrNumber() && c != u' ')
            escaped.append(u'\\');
        escaped.append(c);
    }
    return escaped;
}
