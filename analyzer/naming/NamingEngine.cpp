// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NamingEngine.h"

#include "L10n.h"
#include "ModelProbe.h"
#include "OCRNamer.h"
#include "OffThread.h"

NamingEngine::NamingEngine(ModelEnvironment environment, Perceive perceive, const Clock &clock)
    : m_environment(environment)
    , m_perceive(std::move(perceive))
    , m_clock(clock)
    , m_ai(std::move(environment))
{
    if (!m_perceive)
        m_perceive = [](const QImage &image) { return sharedPerception().analyze(image, true); };
}

const VisionPerception &NamingEngine::sharedPerception()
{
    static const VisionPerception perception;
    return perception;
}

double NamingEngine::secondsSince(const QDateTime &start) const
{
    return double(start.msecsTo(m_clock.now())) / 1000.0;
}

NamingResult NamingEngine::ocrOutcome(ScreenshotFeatures features, const QDateTime &start) const
{
    const std::optional<QString> title = OCRNamer::title(features, ocrTitleWords);
    if (!title)
        return NamingError::nothingRecognized();
    return NamingOutcome{*title, NamingEngineKind::ocr, false, std::move(features), secondsSince(start)};
}

QCoro::Task<NamingResult> NamingEngine::suggestTitle(QByteArray imageData, NameLanguage nameLanguage,
                                                     QString interfaceCode, bool ocrFallback,
                                                     std::optional<QString> appName, ModelDeadline deadline)
{
    const QDateTime start = m_clock.now();
    ModelStatus status = co_await ModelProbe::read(m_environment);
    if (!status.isAvailable() && !status.loading && !ocrFallback)
        co_return NamingError::aiUnavailableNoFallback(status.availability);

    // Decoding and recognition take seconds of CPU; other peers' calls keep being served meanwhile.
    // The jobs are named: GCC 12 destroys a capturing lambda passed as a temporary to a coroutine twice.
    const auto perceiveJob = [imageData, perceive = m_perceive]() -> PerceptionResult {
        const QImage image = VisionPerception::loadImage(imageData, VisionPerception::recognitionPixelSize);
        if (image.isNull())
            return PerceptionError{PerceptionError::Code::unreadableImage, {}};
        return perceive(image);
    };
    PerceptionResult perceived = co_await runOffThread(perceiveJob);
    if (auto *error = std::get_if<PerceptionError>(&perceived))
        co_return *error;
    ScreenshotFeatures features = std::get<ScreenshotFeatures>(std::move(perceived));

    const bool wasLoading = status.loading;
    if (wasLoading)
        status = co_await ModelProbe::waitWhileLoading(m_environment, std::move(status), deadline);
    if (ocrFallback && (!status.isAvailable() || deadline.passed()))
        co_return ocrOutcome(std::move(features), start);
    if (status.loading)
        co_return NamingError::aiBusy(L("error.modelLoading"));
    if (!status.isAvailable())
        co_return NamingError::aiUnavailableNoFallback(status.availability);
    if (deadline.passed())
        co_return NamingError::aiBusy(L("error.modelTooSlow"));

    // Encoded once, off the event loop, for every request of the call.
    ModelImage picture;
    if (status.modelHasVision()) {
        const auto pictureJob = [imageData] {
            return ModelImage::encode(VisionPerception::loadImage(imageData, VisionPerception::modelPixelSize));
        };
        picture = co_await runOffThread(pictureJob);
    }

    const AINamerResult named =
        co_await m_ai.suggest(status, features, picture, nameLanguage, interfaceCode, appName, deadline);
    if (const auto *result = std::get_if<AINameResult>(&named)) {
        co_return NamingOutcome{result->title, NamingEngineKind::ai, result->languageFallback, std::move(features),
                                secondsSince(start)};
    }
    if (ocrFallback)
        co_return ocrOutcome(std::move(features), start);
    const AINamerError &error = std::get<AINamerError>(named);
    // A request cut short by the deadline says only that it ran out of time; say which time.
    if (error.kind == AINamerError::Case::busy)
        co_return NamingError::aiBusy(deadline.passed() ? L("error.modelTooSlow") : error.message);
    co_return NamingError::aiFailedNoFallback(error.description());
}
