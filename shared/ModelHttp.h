// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include <chrono>
#include <memory>

// The few HTTP exchanges the model code needs: JSON in, bytes out, each within a time limit, never blocking.
class ModelHttp
{
public:
    struct Reply
    {
        // 0 when no HTTP answer arrived.
        int status = 0;
        QByteArray body;
        bool timedOut = false;
        // The server closed the connection before its answer was complete (it crashed or restarted meanwhile).
        bool interrupted = false;
        // Set when no whole HTTP answer arrived (refused, unreachable, reset): the network layer's description.
        QString transportError;

        bool answered() const { return status != 0; }
        bool ok() const { return status >= 200 && status < 300; }
        QJsonObject json() const;
    };

    ModelHttp();

    // `timeout` bounds the whole exchange, connecting included; zero fails at once as timed out.
    QCoro::Task<Reply> get(QUrl url, std::chrono::milliseconds timeout);
    QCoro::Task<Reply> post(QUrl url, QJsonObject body, std::chrono::milliseconds timeout);

private:
    QCoro::Task<Reply> send(QUrl url, QByteArray body, bool post, std::chrono::milliseconds timeout);

    std::unique_ptr<QNetworkAccessManager> m_manager;
};
