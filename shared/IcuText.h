// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>
#include <QtGlobal>

#include <unicode/unistr.h>
#include <unicode/utypes.h>

// Moving text between Qt and ICU without copies through other encodings; both hold UTF-16.
namespace IcuText {

inline icu::UnicodeString toIcu(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.utf16()), static_cast<int32_t>(text.size()));
}

inline QString fromIcu(const icu::UnicodeString &text)
{
    return QString::fromUtf16(text.getBuffer(), text.length());
}

// ICU is only ever given fixed program text (patterns, rules), so a failure is a programming error.
inline void checkIcu(UErrorCode status, const char *what)
{
    if (U_FAILURE(status))
        qFatal("ICU failed on %s: %s", what, u_errorName(status));
}

} // namespace IcuText
