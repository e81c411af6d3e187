// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "PipelineFixture.h"

#include "L10n.h"

using namespace std::chrono_literals;

void PipelineFixture::SetUp()
{
    m_store = std::make_shared<KeyValueStore>(m_config.filePath(QStringLiteral("settings.json")));
    m_settings = std::make_unique<AppSettings>(m_store);
    m_settings->setInterfaceLanguage(InterfaceLanguage::en);
    m_history = std::make_unique<HistoryStore>(m_data.path(), m_clock);
    m_timing.completeTimeout = 200ms;
    m_timing.retryInterval = 60s;
    m_timing.wakeDelay = 300ms;
    m_timing.watcherLatency = 20ms;
}

void PipelineFixture::TearDown()
{
    if (m_model)
        m_model->shutdown();
    m_model.reset();
}

AppModel &PipelineFixture::makeModel()
{
    AppModelServices services;
    auto analyzer = std::make_unique<ScriptedAnalyzer>();
    m_analyzer = analyzer.get();
    services.analyzer = std::move(analyzer);
    auto server = std::make_unique<RecordingNotifierServer>();
    m_server = server.get();
    services.notifier = std::make_unique<Notifier>(std::move(server));
    auto power = std::make_unique<PowerMonitor>();
    m_power = power.get();
    services.power = std::move(power);
    auto mounts = std::make_unique<MountMonitor>();
    m_mounts = mounts.get();
    services.mounts = std::move(mounts);
    services.revealer = std::make_unique<RecordingRevealer>();
    services.availability = [this]() -> QCoro::Task<AIAvailability> {
        ++m_availabilityReads;
        co_return m_availabilityAnswer;
    };
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

QUuid PipelineFixture::watch(const QString &path)
{
    EXPECT_TRUE(m_model->addFolder(path));
    return m_settings->folders().last().id;
}

QString PipelineFixture::screenshot(const QString &name)
{
    return m_work.write(name, "PNG bytes");
}

bool PipelineFixture::waitForReports(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_reports.size() >= count && !m_model->isWorking(); }, timeoutMs);
}

QStringList PipelineFixture::errorBodies() const
{
    return m_server->bodies(L("notif.error.title"));
}
