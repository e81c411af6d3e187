// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"

#include <QCoroTimer>
#include <QTimer>

#include <chrono>
#include <memory>

// Records what the host hands over and answers with the image's size as the title, after an optional delay.
struct EngineLog
{
    int created = 0;
    int running = 0;
    int mostRunning = 0;
    QList<QByteArray> images;
    QList<AnalyzeRequest> requests;
    QStringList prewarmed;
};

class FakeEngine final : public AnalyzeEngine
{
public:
    FakeEngine(std::shared_ptr<EngineLog> log, std::chrono::milliseconds delay)
        : m_log(std::move(log))
        , m_delay(delay)
    {
        ++m_log->created;
    }

    QCoro::Task<AnalyzeResponse> analyze(QByteArray image, AnalyzeRequest request) override
    {
        auto log = m_log;
        log->mostRunning = std::max(log->mostRunning, ++log->running);
        log->images.append(image);
        log->requests.append(request);
        if (m_delay.count() > 0) {
            QTimer timer;
            timer.setSingleShot(true);
            timer.start(m_delay);
            co_await timer;
        }
        --log->running;
        AnalyzeResponse response;
        response.title = QStringLiteral("%1 bytes").arg(image.size());
        response.engine = NamingEngineKind::ocr;
        co_return response;
    }

    QCoro::Task<void> prewarm(QString language) override
    {
        m_log->prewarmed.append(language);
        co_return;
    }

    static AnalyzeEngineFactory factory(std::shared_ptr<EngineLog> log,
                                        std::chrono::milliseconds delay = std::chrono::milliseconds(0))
    {
        return [log, delay] { return std::make_unique<FakeEngine>(log, delay); };
    }

private:
    std::shared_ptr<EngineLog> m_log;
    std::chrono::milliseconds m_delay;
};
