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
    const auto decodeJob = [imageData] {
        return VisionPerception::loadImage(imageData, VisionPerception::recognitionPixelSize);
    };
    const QImage image = co_await runOffThread(decodeJob);
    if (image.isNull())
        co_return PerceptionError{PerceptionError::Code::unreadableImage, {}};
    // The model's picture is made from the same decoded image, once for every request of the call, while the text
    // is being recognised.
    const auto pictureJob = [image] { return ModelImage::encode(image); };
    const auto perceiveJob = [image, perceive = m_perceive] { return perceive(image); };
    std::optional<QCoro::Task<ModelImage>> picturing;
    if (status.modelHasVision())
        picturing.emplace(runOffThread(pictureJob));
    PerceptionResult perceived = co_await runOffThread(perceiveJob);
    ModelImage picture;
    if (picturing)
        picture = co_await std::move(*picturing);
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
    // A model that finished loading meanwhile may see pictures after all.
    if (status.modelHasVision() && picture.isNull())
        picture = co_await runOffThread(pictureJob);

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
