// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerServiceImpl.h"

#include "ImageIntake.h"
#include "L10n.h"
#include "LanguageGate.h"

AnalyzerServiceImpl::AnalyzerServiceImpl(std::unique_ptr<AnalyzeEngine> engine)
    : m_engine(std::move(engine))
{}

QCoro::Task<AnalyzeResponse> AnalyzerServiceImpl::analyze(QDBusUnixFileDescriptor image, QByteArray request,
                                                          ModelDeadline deadline)
{
    co_return co_await respond(*m_engine, std::move(image), std::move(request), deadline);
}

QCoro::Task<AnalyzeResponse> AnalyzerServiceImpl::respond(AnalyzeEngine &engine, QDBusUnixFileDescriptor image,
                                                          QByteArray request, ModelDeadline deadline)
{
    const std::optional<AnalyzeRequest> decoded = AnalyzeRequest::fromJson(request);
    if (!decoded)
        co_return AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::other, QStringLiteral("Bad request"));

    // Left when the coroutine ends, on every path.
    struct Turn
    {
        ~Turn() { LanguageGate::shared().leave(); }
    };
    co_await LanguageGate::shared().enter(decoded->interfaceCode == QLatin1String("ru") ? InterfaceLanguage::ru
                                                                                        : InterfaceLanguage::en);
    const Turn turn;

    // The descriptor stays open until the image is read, then closes before naming starts. The image's share of
    // the memory budget is held until the engine is done with it.
    std::optional<ImageIntake::Image> input =
        co_await ImageIntake::read(image.fileDescriptor(), MemoryBudget::shared());
    image = QDBusUnixFileDescriptor();
    if (!input)
        co_return AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::unreadable, L("error.unreadableImage"));

    co_return co_await engine.analyze(std::move(input->bytes), *decoded, deadline);
}

QCoro::Task<void> AnalyzerServiceImpl::prewarm(QString language)
{
    co_await m_engine->prewarm(std::move(language));
}
