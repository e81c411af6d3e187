// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

// A compiled ICU regular expression over QStrings; immutable, so one instance may serve every thread.
class IcuRegex
{
public:
    // Patterns are fixed program text: one that does not compile is a programming error and aborts.
    explicit IcuRegex(const QString &pattern, bool caseInsensitive = true);
    ~IcuRegex();
    IcuRegex(const IcuRegex &) = delete;
    IcuRegex &operator=(const IcuRegex &) = delete;

    // Captured groups of one match: index 0 is the whole match; a group that took no part is a null string.
    struct Match
    {
        QStringList groups;
        QString group(int index) const { return index < groups.size() ? groups.at(index) : QString(); }
    };

    // Whether the whole of `text` matches.
    bool matches(const QString &text) const;
    std::optional<Match> matchWhole(const QString &text) const;
    // The first match anywhere in `text`.
    std::optional<Match> search(const QString &text) const;
    // Index of the named group `(?<name>…)`, or -1.
    int groupIndex(const char *name) const;

    // `text` with every ASCII character that has a meaning in a pattern quoted, so it matches literally.
    static QString escape(const QString &text);

private:
    std::optional<Match> run(const QString &text, bool whole) const;

    std::unique_ptr<icu::RegexPattern> m_pattern;
};
