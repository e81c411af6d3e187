// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AlertPresenter.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "FolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "NotifierServer.h"
#include "SignalWait.h"
#include "TempDir.h"
#include "TestClock.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
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

// A model over real settings and history in temporary folders, with a scripted analyzer, a recording
// notification server, the test clock and short delays.
class PipelineFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        using namespace std::chrono_literals;
        m_settings->setInterfaceLanguage(InterfaceLanguage::en);
        m_timing.completeTimeout = 200ms;
        m_timing.retryInterval = 60s;
        m_timing.wakeDelay = 300ms;
        m_timing.watcherLatency = 20ms;
    }
    void TearDown() override
    {
        if (m_model)
            m_model->shutdown();
        m_model.reset();
    }

    // Builds the model; settings may be prepared before.
    AppModel &makeModel()
    {
        AppModelServices services;
        services.analyzer = std::unique_ptr<ScriptedAnalyzer>(m_analyzer = new ScriptedAnalyzer);
        services.notifier = std::make_unique<Notifier>(
            std::unique_ptr<RecordingNotifierServer>(m_server = new RecordingNotifierServer));
        services.power = std::unique_ptr<PowerMonitor>(m_power = new PowerMonitor);
        services.mounts = std::unique_ptr<MountMonitor>(m_mounts = new MountMonitor);
        services.availability = [this]() -> QCoro::Task<AIAvailability> { co_return m_availabilityAnswer; };
        services.waitUntilComplete = [this](QString, std::chrono::milliseconds) -> QCoro::Task<bool> {
            co_return m_complete;
        };
        services.clock = &m_clock;
        services.renameCalls = m_renameCalls;
        services.timing = m_timing;
        services.buildNumber = QStringLiteral("7");
        m_model = std::make_unique<AppModel>(*m_settings, *m_history, std::move(services));
        QObject::connect(m_model.get(), &AppModel::jobSettled, m_model.get(),
                         [this](const AppModel::JobReport &report) { m_reports.append(report); });
        return *m_model;
    }
    QUuid watch(const QString &path)
    {
        EXPECT_TRUE(m_model->addFolder(path));
        return m_settings->folders().last().id;
    }
    QString screenshot(const QString &name = QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"))
    {
        return m_work.write(name, "PNG bytes");
    }
    // Waits until the worker has stopped and `reports` holds at least `count` reports.
    bool waitForReports(int count, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return m_reports.size() >= count && !m_model->isWorking(); }, timeoutMs);
    }
    AppModel::Outcome lastOutcome() const
    {
        return m_reports.isEmpty() ? AppModel::Outcome::skipped : m_reports.last().outcome;
    }
    QStringList errorBodies() const { return m_server->bodies(L("notif.error.title")); }
    // Notifications are sent from a coroutine: waits until `count` error notifications are out.
    QStringList waitForErrors(int count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return errorBodies().size() >= count; }, 1000));
        return errorBodies();
    }
    static QString errorBody(const QString &path, const QString &error)
    {
        return QFileInfo(path).fileName() + QLatin1Char('\n') + error;
    }
    bool hasFailed(const QString &path) const { return m_history->hasFailed(*FileID::fromPath(path)); }

    TempDir m_config;
    TempDir m_data;
    TempDir m_work;
    // A little ahead of the files the test writes, as the registry's dates are ahead of the files they describe.
    TestClock m_clock{QDateTime::currentDateTime().addSecs(60)};
    std::unique_ptr<AppSettings> m_settings{std::make_unique<AppSettings>(
        std::make_shared<KeyValueStore>(m_config.filePath(QStringLiteral("settings.json"))))};
    std::unique_ptr<HistoryStore> m_history{std::make_unique<HistoryStore>(m_data.path(), m_clock)};

    // Owned by the model once it is made.
    ScriptedAnalyzer *m_analyzer = nullptr;
    RecordingNotifierServer *m_server = nullptr;
    PowerMonitor *m_power = nullptr;
    MountMonitor *m_mounts = nullptr;

    AIAvailability m_availabilityAnswer = AIAvailability::available();
    bool m_complete = true;
    AppModelTiming m_timing;
    const RenameCalls *m_renameCalls = nullptr;
    std::unique_ptr<AppModel> m_model;
    QList<AppModel::JobReport> m_reports;
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
