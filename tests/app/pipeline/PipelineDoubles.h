// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AlertPresenter.h"
#include "Analyzer.h"
#include "FileRevealer.h"
#include "FolderAccess.h"
#include "NotifierServer.h"

#include "SignalWait.h"
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

// Answers from `answers`, then "Pull request review"; with `hold` set, each analysis waits for release().
class ScriptedAnalyzer final : public QObject, public Analyzer
{
    Q_OBJECT

public:
    QList<AnalyzeResult> answers;
    QStringList analyzed;
    QList<AnalyzeRequest> requests;
    QStringList prewarmed;
    bool hold = false;

    void prewarm(const QString &outputLanguage) override { prewarmed.append(outputLanguage); }
    QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request) override
    {
        analyzed.append(path);
        requests.append(request);
        Q_EMIT analysisStarted(path);
        if (hold)
            co_await NextSignal(this, &ScriptedAnalyzer::released);
        co_return answers.isEmpty() ? titled(QStringLiteral("Pull request review")) : answers.takeFirst();
    }
    void release() { Q_EMIT released(); }

    static AnalyzeResult titled(const QString &title)
    {
        AnalyzeResponse response;
        response.title = title;
        response.engine = NamingEngineKind::ai;
        return response;
    }

Q_SIGNALS:
    void analysisStarted(const QString &path);
    void released();
};

class RecordingNotifierServer final : public NotifierServer
{
    Q_OBJECT

public:
    QList<Notification> shown;
    uint nextId = 1;

    QCoro::Task<std::optional<QStringList>> capabilities() override
    {
        co_return QStringList{QStringLiteral("actions"), QStringLiteral("body")};
    }
    QCoro::Task<std::optional<uint>> notify(const Notification &notification) override
    {
        shown.append(notification);
        co_return notification.replacesId != 0 ? notification.replacesId : nextId++;
    }
    QStringList bodies(const QString &summary) const
    {
        QStringList found;
        for (const Notification &notification : shown) {
            if (notification.summary == summary)
                found.append(notification.body);
        }
        return found;
    }
};

// Declines every folder it is asked to grant.
class ScriptedFolderAccess final : public FolderAccess
{
public:
    QStringList suggestions;
    QStringList messages;

    std::optional<QString> chooseFolder(const QString &suggested, const QString &message) override
    {
        suggestions.append(suggested);
        messages.append(message);
        return std::nullopt;
    }
    QStringList chooseImages(bool) override { return {}; }
};

class ScriptedAlerts final : public AlertPresenter
{
public:
    QList<Alert> shown;
    int answer = 0;

    QCoro::Task<int> present(Alert alert) override
    {
        shown.append(alert);
        co_return answer;
    }
};

class NullRevealer final : public FileRevealer
{
public:
    void reveal(const QString &) override {}
    void openFolder(const QString &) override {}
};
