// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "LanguageIdentifier.h"

// Language identification by CLD2; a guess counts only when CLD2 calls its result reliable.
class Cld2LanguageIdentifier final : public LanguageIdentifier
{
public:
    std::vector<Hypothesis> hypotheses(const QString &text) const override;
};
