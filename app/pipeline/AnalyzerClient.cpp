// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerClient.h"

#include "AnalyzerBus.h"
#include "ModelEnvironment.h"
#include "NativePath.h"

#include <QCoroDBusPendingCall>
#include <QDBusError>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace {
const QString unavailableMessage = QStringLiteral("Analyzer unavailable");

QDBusMessage analyzerCall(const QString &method)
{
    return QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath, AnalyzerBus::interfaceName,
                                          method);
}
} // namespace

AnalyzerClient::AnalyzerClient(QDBusConnection bus, std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_timeout(timeout)
{}

void AnalyzerClient::prewarm(const QString &outputLanguage)
{
    QDBusMessage call = analyzerCall(QStringLiteral("Prewarm"));
    call << outputLanguage;
    m_bus.send(call);
}

bool AnalyzerClient::isUnavailable(const AnalyzerFailure &failure)
{
    return !failure.retryable && failure.message == unavailableMessage;
}

AnalyzerFailure AnalyzerClient::failureFor(const QDBusMessage &error, std::chrono::milliseconds elapsed,
                                           std::chrono::milliseconds timeout)
{
    const QString name = error.errorName();
    if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
        return {AnalyzeResponse::ErrorCode::other, unavailableMessage, false};
    // A service that dies mid-call is also reported as NoReply, but long before the time-out.
    const bool timedOut = name == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
                          name == QLatin1String("org.freedesktop.DBus.Error.TimedOut") ||
                          (name == QLatin1String("org.freedesktop.DBus.Error.NoReply") && elapsed >= timeout * 9 / 10);
    if (timedOut)
        return {AnalyzeResponse::ErrorCode::other, QStringLiteral("Timed out"), true};
    const QString message = error.errorMessage().isEmpty() ? name : error.errorMessage();
    return {AnalyzeResponse::ErrorCode::other, message, true};
}

QCoro::Task<AnalyzeResult> AnalyzerClient::analyze(QString path, AnalyzeRequest request)
{
    const int fd = ::open(NativePath::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QString::fromLocal8Bit(std::strerror(errno)),
                                  false};
    QDBusUnixFileDescriptor descriptor;
    // The message carries its own duplicate; ours is closed when the descriptor goes out of scope.
    descriptor.giveFileDescriptor(fd);

    QDBusMessage call = analyzerCall(QStringLiteral("Analyze"));
    call << QVariant::fromValue(descriptor) << request.toJson();
    descriptor = QDBusUnixFileDescriptor();

    // Nothing of the client is touched after the suspension: it may be gone by the time the reply comes.
    const std::chrono::milliseconds timeout =
        m_timeout.count() > 0 ? m_timeout : AnalyzerBus::clientTimeout(ModelEnvironment::system().timeLimit());
    QElapsedTimer elapsed;
    elapsed.start();
    const QDBusPendingCall pending = m_bus.asyncCall(call, static_cast<int>(timeout.count()));
    const QDBusMessage reply = co_await pending;
    if (reply.type() == QDBusMessage::ErrorMessage)
        co_return failureFor(reply, std::chrono::milliseconds(elapsed.elapsed()), timeout);

    const QByteArray bytes = reply.arguments().value(0).toByteArray();
    std::optional<AnalyzeResponse> response = AnalyzeResponse::fromJson(bytes);
    if (!response)
        co_return AnalyzerFailure{AnalyzeResponse::ErrorCode::other, QStringLiteral("Invalid analyzer response"),
                                  false};
    co_return std::move(*response);
}
