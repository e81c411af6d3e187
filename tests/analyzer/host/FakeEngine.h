// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"

#include <QCoroTimer>

#include <chrono>
#include <memory>

// What the host handed over, across every engine it created.
struct EngineLog
{
    int created = 0;
    int running = 0;
    int mostRunning = 0;
    QList<QByteArray> images;
    QStringList prewarmed;
};

// Answers with the image's size as the title, after an optional delay.
class FakeEngine final : public AnalyzeEngine
{
public:
    static AnalyzeEngineFactory factory(std::shared_ptr<EngineLog> log, std::chrono::milliseconds delay = {})
    {
        return [log, delay] {
            ++log->created;
            auto engine = std::make_unique<FakeEngine>();
            engine->m_log = log;
            engine->m_delay = delay;
            return engine;
        };
    }

    QCoro::Task<AnalyzeResponse> analyze(QByteArray image, AnalyzeRequest, ModelDeadline) override
    {
        auto log = m_log;
        log->mostRunning = std::max(log->mostRunning, ++log->running);
        log->images.append(image);
        if (m_delay.count() > 0)
            co_await QCoro::sleepFor(m_delay);
        --log->running;
        AnalyzeResponse response;
        response.title = QStringLiteral("%1 bytes").arg(image.size());
        co_return response;
    }

    QCoro::Task<void> prewarm(QString language) override { co_return m_log->prewarmed.append(language); }

private:
    std::shared_ptr<EngineLog> m_log;
    std::chrono::milliseconds m_delay{};
};
