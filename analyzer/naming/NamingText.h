// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QStringList>

#include <unicode/regex.h>

#include <memory>

// Small Unicode helpers the namers share: letter and digit tests on code points, word splits and fixed patterns.
namespace NamingText {

bool isLetter(char32_t c);
bool isDigit(char32_t c);
bool isLetterOrDigit(char32_t c);

// Lower case with every "ё" made "е", so that both spellings of a word compare equal.
QString normalised(const QString &text);

// Maximal runs of letters and digits; every other character separates.
QStringList letterDigitRuns(const QString &text);
// Maximal runs of non-white-space characters.
QStringList words(const QString &text);

int length(const QString &text);
// The first count code points.
QString leftChars(const QString &text, int count);

// A fixed pattern; a pattern that does not compile is a programming error and stops the program.
std::unique_ptr<icu::RegexPattern> compile(const char16_t *pattern, unsigned flags = 0);
QString replaceAll(const icu::RegexPattern &pattern, const QString &text, const QString &with);
bool matches(const icu::RegexPattern &pattern, const QString &text);

} // namespace NamingText
