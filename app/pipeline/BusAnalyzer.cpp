// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "BusAnalyzer.h"

BusAnalyzer::BusAnalyzer(QDBusConnection bus, std::chrono::milliseconds timeout)
    : m_client(std::move(bus), timeout)
{}

void BusAnalyzer::prewarm(const QString &outputLanguage)
{
    m_client.prewarm(outputLanguage);
}

QCoro::Task<AnalyzeResult> BusAnalyzer::analyze(QString path, AnalyzeRequest request)
{
    return m_client.analyze(std::move(path), std::move(request));
}
