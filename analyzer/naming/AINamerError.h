// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "ModelError.h"

#include <QString>

#include <optional>

// Why the language model gave no title; the description is shown to the user as it is.
struct AINamerError
{
    enum class Case {
        unavailable,
        generation,
        busy,
        nothingToDescribe,
        emptyAnswer,
        ungrounded,
        // The model's own failure, passed on as the model described it.
        model,
    };

    Case kind = Case::emptyAnswer;
    // For unavailable.
    std::optional<AIAvailability> availability;
    // For generation, busy and model.
    QString message;

    static AINamerError unavailable(const AIAvailability &availability)
    {
        return {Case::unavailable, availability, {}};
    }
    static AINamerError generation(const QString &message) { return {Case::generation, std::nullopt, message}; }
    static AINamerError busy(const QString &message) { return {Case::busy, std::nullopt, message}; }
    static AINamerError of(Case kind) { return {kind, std::nullopt, {}}; }
    static AINamerError model(const ModelError &error) { return {Case::model, std::nullopt, error.message()}; }

    // In the interface language applied last.
    QString description() const;

    bool operator==(const AINamerError &) const = default;
};
