// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

#include <vector>

// Guesses which languages a text is written in.
class LanguageIdentifier
{
public:
    struct Hypothesis
    {
        QString code;           // ISO 639 code such as "en"
        double probability = 0; // 0…1
    };

    virtual ~LanguageIdentifier() = default;
    // The engine's few best guesses, most likely first; must be safe to call from several threads.
    virtual std::vector<Hypothesis> hypotheses(const QString &text) const = 0;
};
