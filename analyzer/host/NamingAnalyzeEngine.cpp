// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingAnalyzeEngine.h"

#include "L10n.h"
#include "OffThread.h"

NamingAnalyzeEngine::NamingAnalyzeEngine(std::unique_ptr<NamingEngine> engine, WarmUp warmUp)
    : m_engine(std::move(engine))
    , m_warmUp(std::move(warmUp))
{
    if (!m_warmUp)
        m_warmUp = [] { NamingEngine::sharedPerception().warmUp(); };
}

QCoro::Task<AnalyzeResponse> NamingAnalyzeEngine::analyze(QByteArray image, AnalyzeRequest request,
                                                          ModelDeadline deadline)
{
    const NamingResult result = co_await m_engine->suggestTitle(
        std::move(image), request.nameLanguage, request.interfaceCode, request.ocrFallback, request.appName, deadline);
    co_return response(result);
}

QCoro::Task<void> NamingAnalyzeEngine::prewarm(QString language)
{
    // The model may take tens of seconds to load; the recognition models load meanwhile.
    QCoro::Task<void> model = m_engine->ai().prewarm(std::move(language));
    co_await runOffThread(m_warmUp);
    co_await std::move(model);
}

AnalyzeResponse NamingAnalyzeEngine::response(const NamingResult &result)
{
    using Code = AnalyzeResponse::ErrorCode;
    if (const auto *outcome = std::get_if<NamingOutcome>(&result)) {
        AnalyzeResponse success;
        success.title = outcome->title;
        success.engine = outcome->engine;
        success.languageFallback = outcome->languageFallback;
        success.duration = outcome->duration;
        success.labels = outcome->features.labels;
        for (const ScreenshotFeatures::Line &line : outcome->features.prominentLines()) {
            if (success.prominentText.size() == prominentTextLines)
                break;
            success.prominentText.append(line.text);
        }
        return success;
    }
    if (const auto *error = std::get_if<NamingError>(&result)) {
        switch (error->kind) {
        case NamingError::Case::aiUnavailableNoFallback:
            return AnalyzeResponse::failure(Code::aiUnavailable, error->description());
        case NamingError::Case::aiFailedNoFallback:
            return AnalyzeResponse::failure(Code::aiFailed, error->description());
        case NamingError::Case::aiBusy:
            return AnalyzeResponse::failure(Code::busy, error->description());
        case NamingError::Case::nothingRecognized:
            break;
        }
        return AnalyzeResponse::failure(Code::nothingRecognized, error->description());
    }
    const PerceptionError &perception = std::get<PerceptionError>(result);
    if (perception.code == PerceptionError::Code::unreadableImage)
        return AnalyzeResponse::failure(Code::unreadable, L("error.unreadableImage"));
    return AnalyzeResponse::failure(Code::other, perception.detail);
}

AnalyzeEngineFactory namingEngineFactory()
{
    return [] { return std::make_unique<NamingAnalyzeEngine>(std::make_unique<NamingEngine>()); };
}
