// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeResponse.h"

#include <QString>

// Why an analyzer call produced no usable response, and whether the same request may succeed later.
struct AnalyzerFailure
{
    AnalyzeResponse::ErrorCode code = AnalyzeResponse::ErrorCode::other;
    QString message;
    bool retryable = false;

    QString description() const { return message; }

    friend bool operator==(const AnalyzerFailure &, const AnalyzerFailure &) = default;
};
