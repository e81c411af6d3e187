// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerServiceImpl.h"

#include "L10n.h"
#include "OffThread.h"

#include <cerrno>
#include <unistd.h>

namespace {
// Far beyond any screenshot; a peer that streams more than this is not sending an image.
constexpr qsizetype maximumImageBytes = qsizetype(512) * 1024 * 1024;
} // namespace

AnalyzerServiceImpl::AnalyzerServiceImpl(std::unique_ptr<AnalyzeEngine> engine)
    : m_engine(std::move(engine))
{}

std::optional<QByteArray> AnalyzerServiceImpl::readToEnd(int fd)
{
    if (fd < 0)
        return std::nullopt;
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return bytes;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (bytes.size() + count > maximumImageBytes)
            return std::nullopt;
        bytes.append(buffer, count);
    }
}

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

    L10n::apply(decoded->interfaceCode == QLatin1String("ru") ? InterfaceLanguage::ru : InterfaceLanguage::en);

    // A peer may pass a pipe that never ends; reading off the event loop keeps the other peers served.
    // The coroutine keeps the descriptor open until the read is done, then closes it before naming starts.
    const int fd = image.fileDescriptor();
    std::optional<QByteArray> bytes = co_await runOffThread([fd] { return readToEnd(fd); });
    image = QDBusUnixFileDescriptor();
    if (!bytes)
        co_return AnalyzeResponse::failure(AnalyzeResponse::ErrorCode::unreadable, L("error.unreadableImage"));

    co_return co_await engine.analyze(std::move(*bytes), *decoded, deadline);
}

QCoro::Task<void> AnalyzerServiceImpl::prewarm(QString language)
{
    co_await m_engine->prewarm(std::move(language));
}
