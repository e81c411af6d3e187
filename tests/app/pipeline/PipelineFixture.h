// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppModel.h"
#include "AppSettings.h"
#include "HistoryStore.h"
#include "PipelineDoubles.h"
#include "TempDir.h"
#include "TestClock.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A model over real settings and history in temporary folders, with a scripted analyzer, a recording
// notification server, the test clock and short delays.
class PipelineFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the model; settings may be prepared before.
    AppModel &makeModel();
    // A watched folder, opened.
    QUuid watch(const QString &path);
    // A screenshot file in the work folder, complete as far as the doubles care.
    QString screenshot(const QString &name = QStringLiteral("Screenshot From 2026-11-12 10-42-17.png"));
    // Waits until the worker has stopped and `reports` holds at least `count` reports.
    bool waitForReports(int count, int timeoutMs = 5000);
    AppModel::Outcome lastOutcome() const
    {
        return m_reports.isEmpty() ? AppModel::Outcome::skipped : m_reports.last().outcome;
    }
    QStringList errorBodies() const;

    TempDir m_config;
    TempDir m_data;
    TempDir m_work;
    // A little ahead of the files the test writes, as the registry's dates are ahead of the files they describe.
    TestClock m_clock{QDateTime::currentDateTime().addSecs(60)};
    std::shared_ptr<KeyValueStore> m_store;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<HistoryStore> m_history;

    // Owned by the model once it is made.
    ScriptedAnalyzer *m_analyzer = nullptr;
    RecordingNotifierServer *m_server = nullptr;
    PowerMonitor *m_power = nullptr;
    MountMonitor *m_mounts = nullptr;

    AIAvailability m_availabilityAnswer = AIAvailability::available();
    int m_availabilityReads = 0;
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
