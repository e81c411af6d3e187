// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelHttp.h"

#include <QJsonDocument>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <QCoroNetworkReply>

#include <limits>

QJsonObject ModelHttp::Reply::json() const
{
    return QJsonDocument::fromJson(body).object();
}

ModelHttp::ModelHttp()
    : m_manager(std::make_unique<QNetworkAccessManager>())
{
    // Model servers are local; a desktop proxy setting must not route loopback traffic away.
    m_manager->setProxy(QNetworkProxy::NoProxy);
}

QCoro::Task<ModelHttp::Reply> ModelHttp::get(QUrl url, std::chrono::milliseconds timeout)
{
    return send(std::move(url), QByteArray(), false, timeout);
}

QCoro::Task<ModelHttp::Reply> ModelHttp::post(QUrl url, QJsonObject body, std::chrono::milliseconds timeout)
{
    return send(std::move(url), QJsonDocument(body).toJson(QJsonDocument::Compact), true, timeout);
}

QCoro::Task<ModelHttp::Reply> ModelHttp::send(QUrl url, QByteArray body, bool post, std::chrono::milliseconds timeout)
{
    Reply result;
    if (timeout.count() <= 0) {
        result.timedOut = true;
        result.transportError = QStringLiteral("no answer in time");
        co_return result;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Accept", "application/json");
    if (post)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    std::unique_ptr<QNetworkReply> reply(post ? m_manager->post(request, body) : m_manager->get(request));
    // The limit covers the whole exchange: a generating server is silent until it answers, and an upload of a
    // picture must not restart the clock.
    QTimer limit;
    limit.setSingleShot(true);
    // A coarse timer may fire 5 % early; the limit is a deadline the caller checks afterwards.
    limit.setTimerType(Qt::PreciseTimer);
    bool expired = false;
    QObject::connect(&limit, &QTimer::timeout, reply.get(), [&expired, raw = reply.get()] {
        expired = true;
        raw->abort();
    });
    // Without a deadline the caller passes the largest span; QTimer counts in int milliseconds.
    if (timeout < std::chrono::milliseconds(std::numeric_limits<int>::max()))
        limit.start(timeout);
    co_await qCoro(reply.get()).waitForFinished();
    limit.stop();

    const QNetworkReply::NetworkError error = reply->error();
    // Errors below 100 are the transport's; an HTTP status may still have arrived before the connection broke.
    const bool transport = error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
    result.timedOut = expired || error == QNetworkReply::TimeoutError;
    result.interrupted = !result.timedOut && error == QNetworkReply::RemoteHostClosedError;
    if (!transport)
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An aborted reply is closed; reading it would only print a warning.
    if (reply->isOpen())
        result.body = reply->readAll();
    if (result.status == 0) {
        result.body.clear();
        result.transportError = result.timedOut ? QStringLiteral("no answer in time") : reply->errorString();
    }
    co_return result;
}
