// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineDoubles.h"

#include <QCoroSignal>

QCoro::Task<AnalyzeResult> ScriptedAnalyzer::analyze(QString path, AnalyzeRequest request)
{
    analyzed.append(path);
    requests.append(request);
    Q_EMIT analysisStarted(path);
    if (hold)
        co_await qCoro(this, &ScriptedAnalyzer::released);
    if (!answers.isEmpty())
        co_return answers.takeFirst();
    if (fallback)
        co_return fallback(path);
    co_return titled(QString::fromLatin1("Pull request review"));
}

AnalyzeResult ScriptedAnalyzer::titled(const QString &title, NamingEngineKind engine)
{
    AnalyzeResponse response;
    response.title = title;
    response.engine = engine;
    return response;
}

AnalyzeResult ScriptedAnalyzer::failing(AnalyzeResponse::ErrorCode code, const QString &message)
{
    return AnalyzeResponse::failure(code, message);
}

QCoro::Task<std::optional<QStringList>> RecordingNotifierServer::capabilities()
{
    co_return QStringList{QString::fromLatin1("actions"), QString::fromLatin1("body")};
}

QCoro::Task<std::optional<uint>> RecordingNotifierServer::notify(const Notification &notification)
{
    shown.append(notification);
    co_return notification.replacesId != 0 ? notification.replacesId : nextId++;
}

QStringList RecordingNotifierServer::bodies(const QString &summary) const
{
    QStringList found;
    for (const Notification &notification : shown) {
        if (notification.summary == summary)
            found.append(notification.body);
    }
    return found;
}

QCoro::Task<int> ScriptedAlerts::present(Alert alert)
{
    shown.append(alert);
    co_return answer;
}
