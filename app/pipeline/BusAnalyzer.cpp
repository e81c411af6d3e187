// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "BusAnalyzer.h"

BusAnalyzer::BusAnalyzer(QDBusConnection bus, std::chrono::milliseconds timeout,
                         std::unique_ptr<AnalyzerLauncher> launcher)
    : m_client(std::make_shared<AnalyzerClient>(std::move(bus), timeout))
    , m_launcher(std::move(launcher))
{}

void BusAnalyzer::prewarm(const QString &outputLanguage)
{
    m_client->prewarm(outputLanguage);
}

QCoro::Task<AnalyzeResult> BusAnalyzer::analyze(QString path, AnalyzeRequest request)
{
    const std::shared_ptr<AnalyzerClient> client = m_client;
    const std::shared_ptr<AnalyzerLauncher> launcher = m_launcher;
    AnalyzeResult result = co_await client->analyze(path, request);
    const auto *failure = std::get_if<AnalyzerFailure>(&result);
    if (!launcher || !failure || !AnalyzerClient::isUnavailable(*failure))
        co_return result;
    if (!co_await launcher->start())
        co_return result;
    co_return co_await client->analyze(std::move(path), std::move(request));
}
