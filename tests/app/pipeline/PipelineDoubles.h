// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AlertPresenter.h"
#include "Analyzer.h"
#include "FileRevealer.h"
#include "FolderAccess.h"
#include "NotifierServer.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

// An analyzer that answers from a script and notes what it was asked. With `hold` set, each analysis waits
// until release() is called.
class ScriptedAnalyzer final : public QObject, public Analyzer
{
    Q_OBJECT

public:
    QList<AnalyzeResult> answers;
    // Answers once the script is used up.
    std::function<AnalyzeResult(const QString &path)> fallback;
    QStringList analyzed;
    QList<AnalyzeRequest> requests;
    QStringList prewarmed;
    bool hold = false;

    void prewarm(const QString &outputLanguage) override { prewarmed.append(outputLanguage); }

    QCoro::Task<AnalyzeResult> analyze(QString path, AnalyzeRequest request) override;

    void release() { Q_EMIT released(); }

    // A successful answer with this title.
    static AnalyzeResult titled(const QString &title, NamingEngineKind engine = NamingEngineKind::ai);
    static AnalyzeResult failing(AnalyzeResponse::ErrorCode code, const QString &message);

Q_SIGNALS:
    void analysisStarted(const QString &path);
    void released();
};

// A notification server that shows everything and keeps it.
class RecordingNotifierServer final : public NotifierServer
{
    Q_OBJECT

public:
    QList<Notification> shown;
    uint nextId = 1;

    QCoro::Task<std::optional<QStringList>> capabilities() override;
    QCoro::Task<std::optional<uint>> notify(const Notification &notification) override;

    // Bodies of the notifications whose title is `summary`.
    QStringList bodies(const QString &summary) const;
};

class ScriptedFolderAccess final : public FolderAccess
{
public:
    std::optional<QString> folderAnswer;
    QStringList suggestions;
    QStringList messages;

    std::optional<QString> chooseFolder(const QString &suggested, const QString &message) override
    {
        suggestions.append(suggested);
        messages.append(message);
        return folderAnswer;
    }
    QStringList chooseImages(bool) override { return {}; }
};

class ScriptedAlerts final : public AlertPresenter
{
public:
    QList<Alert> shown;
    int answer = 0;

    QCoro::Task<int> present(Alert alert) override;
};

class RecordingRevealer final : public FileRevealer
{
public:
    QStringList revealed;
    QStringList opened;

    void reveal(const QString &filePath) override { revealed.append(filePath); }
    void openFolder(const QString &folderPath) override { opened.append(folderPath); }
};
