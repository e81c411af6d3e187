// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelHttp.h"

#include <QJsonDocument>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <QCoroNetworkReply>

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
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Accept", "application/json");
    if (post)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    std::unique_ptr<QNetworkReply> reply(post ? m_manager->post(request, body) : m_manager->get(request));
    co_await qCoro(reply.get()).waitForFinished();

    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    // Nothing here aborts a reply, so a cancelled one was stopped by the transfer time-out.
    result.timedOut =
        reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError;
    if (result.timedOut)
        result.status = 0;
    if (result.status == 0)
        result.transportError = result.timedOut ? QStringLiteral("no answer in time") : reply->errorString();
    co_return result;
}
