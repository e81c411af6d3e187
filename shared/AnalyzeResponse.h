// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NamingEngineKind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The analyzer's answer for one screenshot: a title and how it was made, or a coded failure with its message.
struct AnalyzeResponse
{
    enum class ErrorCode { aiUnavailable, aiFailed, nothingRecognized, unreadable, other, busy };

    std::optional<QString> title;
    std::optional<NamingEngineKind> engine;
    // The title is in another language than the one wanted.
    bool languageFallback = false;
    // Seconds the naming took inside the analyzer.
    double duration = 0;
    QStringList labels;
    QStringList prominentText;
    std::optional<ErrorCode> errorCode;
    // Already in the interface language of the request.
    std::optional<QString> errorMessage;

    // A failure as the analyzer sends it: no title or engine, no fallback, zero duration, empty lists.
    static AnalyzeResponse failure(ErrorCode code, const QString &message);

    // Compact JSON without the absent optional members; empty when the record cannot be encoded.
    QByteArray toJson() const;
    // nullopt (with the reason in error) when a required member is missing, mistyped or unknown.
    static std::optional<AnalyzeResponse> fromJson(const QByteArray &json, QString *error = nullptr);

    friend bool operator==(const AnalyzeResponse &, const AnalyzeResponse &) = default;
};

QString rawValue(AnalyzeResponse::ErrorCode code);
std::optional<AnalyzeResponse::ErrorCode> errorCodeFromRaw(QStringView raw);
