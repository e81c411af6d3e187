// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Analyzer.h"
#include "AnalyzerClient.h"
#include "AnalyzerLauncher.h"

#include <memory>

// The analyzer service reached over the session bus through the analyzer client. When the bus cannot start the
// service by name, the analyzer beside the running program is started instead and the call made once more.
class BusAnalyzer final : public Analyzer
{
public:
    // `timeout` zero: follows the model's time limit. `launcher` null: no fallback, the bus's answer stands.
    explicit BusAnalyzer(QDBusConnection bus = QDBusConnection::sessionBus(), std::chrono::milliseconds timeout = {},
                         std::unique_ptr<AnalyzerLauncher> launcher = nullptr);

    void prewarm(const QString &outputLanguage) override;
    QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request) override;

private:
    // Shared with running calls, which may outlast this object.
    std::shared_ptr<AnalyzerClient> m_client;
    std::shared_ptr<AnalyzerLauncher> m_launcher;
};
