// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"

#include <QString>

// Why no title was made for a screenshot; the service sends the description to the application as it is.
struct NamingError
{
    enum class Case { aiUnavailableNoFallback, aiFailedNoFallback, aiBusy, nothingRecognized };

    Case kind = Case::nothingRecognized;
    // For aiUnavailableNoFallback.
    AIAvailability availability = AIAvailability::notEnabled();
    // For aiFailedNoFallback (the model's failure) and aiBusy (the model's own words).
    QString message;

    static NamingError aiUnavailableNoFallback(const AIAvailability &availability)
    {
        return {Case::aiUnavailableNoFallback, availability, {}};
    }
    static NamingError aiFailedNoFallback(const QString &failure)
    {
        return {Case::aiFailedNoFallback, AIAvailability::notEnabled(), failure};
    }
    static NamingError aiBusy(const QString &message) { return {Case::aiBusy, AIAvailability::notEnabled(), message}; }
    static NamingError nothingRecognized() { return {}; }

    // In the interface language applied last.
    QString description() const;

    bool operator==(const NamingError &) const = default;
};
