// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Analyzer.h"
#include "AnalyzerClient.h"

// The analyzer service reached over the session bus through the analyzer client.
class BusAnalyzer final : public Analyzer
{
public:
    // `timeout` zero: follows the model's time limit.
    explicit BusAnalyzer(QDBusConnection bus = QDBusConnection::sessionBus(), std::chrono::milliseconds timeout = {});

    void prewarm(const QString &outputLanguage) override;
    QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request) override;

private:
    AnalyzerClient m_client;
};
