// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Whether a title's words are on the screen, and the screen's own wording of a translated title.
//
// Words are compared by their first five characters so that inflected forms (plurals, Russian case endings)
// still match.
namespace Grounding {

struct Overlap
{
    int matched = 0;
    int total = 0;

    bool operator==(const Overlap &) const = default;
};

// Runs of letters and digits of the lower-cased text, with "ё" read as "е".
QStringList tokens(const QString &text);
// Tokens longer than three characters that hold a letter, and acronyms of two or three capitals; in order.
QStringList contentWords(const QString &title);
QString stem(const QString &contentWord);

// How many of the title's content words begin-match a token of the sources, out of how many.
Overlap overlap(const QString &title, const QStringList &sources);

// The original text of the pair whose translation covers at least 70 % of the title's stems, cut to maxWords.
std::optional<QString> originalWording(const QString &title, const QList<std::pair<QString, QString>> &pairs,
                                       int maxWords);

} // namespace Grounding
