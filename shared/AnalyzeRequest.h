// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "NameLanguage.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What the application asks the analyzer for one screenshot; travels as compact JSON.
struct AnalyzeRequest
{
    NameLanguage nameLanguage = NameLanguage::automatic;
    // "ru" makes the analyzer's messages Russian, anything else English; also the fallback name language.
    QString interfaceCode;
    bool ocrFallback = false;
    // The application in front when the screenshot was taken; absent when unknown.
    std::optional<QString> appName;

    QByteArray toJson() const;
    // nullopt (with the reason in error) when a required member is missing, mistyped or unknown.
    static std::optional<AnalyzeRequest> fromJson(const QByteArray &json, QString *error = nullptr);

    friend bool operator==(const AnalyzeRequest &, const AnalyzeRequest &) = default;
};
