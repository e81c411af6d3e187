// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Turns a model's raw answer into a bare title: no lead-in, second sentence, date, time, trailing numbers or
// dangling function words.
namespace AnswerCleanup {

// The cleaned title, or an empty string when nothing worth keeping remains.
QString tidy(const QString &answer);

// A model's translation of a title, bare: its first line without a label ("Перевод: "), enclosing quotes of any
// kind or a final period. Empty when no letter remains.
QString tidyTranslation(const QString &answer);

// Function words that never end a title ("and", "для", "date", ...); compared in lower case.
bool isStopWord(const QString &lowerCaseWord);

} // namespace AnswerCleanup
