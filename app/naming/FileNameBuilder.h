// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NamingOptions.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// Turns a model-written title and a capture date into a safe base file name (without extension).
namespace FileNameBuilder {

// Limits of the descriptive part, in user-perceived characters, whatever the stored options say.
inline constexpr int minimumLength = 20;
inline constexpr int maximumLength = 120;
// Leaves room below the usual 255-byte file-name limit for an extension and a collision number.
inline constexpr int maximumBytes = 230;

// The finished base name, or nothing when the title holds nothing usable.
std::optional<QString> base(const QString &title, const QDateTime &date, const NamingOptions &options,
                            const QLocale &locale);
// The cleaning steps alone: addresses, numbers, link schemes, emoji, quotes, generic openings.
QString sanitizeTitle(const QString &title);
// Casing under `locale` (Turkish dotted i and the like).
QString applyCase(const QString &text, NameCase letterCase, const QLocale &locale);
// Shortens to at most `maxCharacters` user-perceived characters, at a word boundary where one is near.
QString truncate(const QString &text, int maxCharacters);
// The capture date in the user's time zone, with digits that never depend on the user's locale.
QString dateString(const QDateTime &date, DateStyle style);
// The light cleaning applied to a name the user typed; may be empty.
QString sanitizeManual(const QString &name);

} // namespace FileNameBuilder
