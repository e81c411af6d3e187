// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeRequest.h"
#include "AnalyzerClient.h"

#include <QCoroTask>
#include <QString>

// What the pipeline asks of the analyzer service: a warm-up hint and the analysis of one file.
class Analyzer
{
public:
    virtual ~Analyzer() = default;

    // Names will soon be wanted in this language; nothing is awaited or reported.
    virtual void prewarm(const QString &outputLanguage) = 0;
    // Completes exactly once, with the service's response or a failure.
    virtual QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request) = 0;
};
