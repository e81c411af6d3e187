// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AnalyzeEngine.h"
#include "NamingEngine.h"

#include <functional>
#include <memory>

// The host's engine for one peer: a NamingEngine whose outcome or failure becomes the wire response.
class NamingAnalyzeEngine final : public AnalyzeEngine
{
public:
    // Loads the text recognition once; blocking, so it runs on a worker thread.
    using WarmUp = std::function<void()>;

    static constexpr int prominentTextLines = 5;

    // Without warmUp, the shared text recognition is warmed.
    explicit NamingAnalyzeEngine(std::unique_ptr<NamingEngine> engine, WarmUp warmUp = {});

    QCoro::Task<AnalyzeResponse> analyze(QByteArray image, AnalyzeRequest request, ModelDeadline deadline) override;
    // The namer's session (nothing when the model is unavailable) and the recognition models, loading together.
    QCoro::Task<void> prewarm(QString language) override;

    // Messages are in the interface language applied last.
    static AnalyzeResponse response(const NamingResult &result);

private:
    std::unique_ptr<NamingEngine> m_engine;
    WarmUp m_warmUp;
};

// One naming engine per peer over the real model servers and text recognition.
AnalyzeEngineFactory namingEngineFactory();
