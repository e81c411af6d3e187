// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModel.h"

#include "AppSettings.h"
#include "Clock.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "PipelinePaths.h"
#include "ScreenshotDetector.h"
#include "Titles.h"

#include <QDir>
#include <QFileInfo>

using namespace PipelinePaths;

AppModel::AppModel(AppSettings &settings, HistoryStore &history, AppModelServices services, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_history(history)
    , m_analyzer(std::move(services.analyzer))
    , m_notifier(std::move(services.notifier))
    , m_frontApps(std::move(services.frontApps))
    , m_power(std::move(services.power))
    , m_mounts(std::move(services.mounts))
    , m_revealer(std::move(services.revealer))
    , m_availability(std::move(services.availability))
    , m_waitUntilComplete(std::move(services.waitUntilComplete))
    , m_clock(services.clock ? *services.clock : Clock::system())
    , m_bookmarkOptions(std::move(services.bookmarkOptions))
    , m_timing(services.timing)
    , m_ignoreOwnEvents(services.ignoreOwnEvents)
    , m_buildNumber(std::move(services.buildNumber))
    , m_renameCalls([this](const QString &path) { announceOwnChange(path); },
                    services.renameCalls ? *services.renameCalls : RenameCalls::system())
{
    Q_ASSERT(m_analyzer);
    if (!m_availability)
        m_availability = [] { return AIAvailability::current(); };
    if (!m_waitUntilComplete)
        m_waitUntilComplete = [](QString path, std::chrono::milliseconds timeout) {
            return ScreenshotDetector::waitUntilComplete(std::move(path), timeout);
        };
    if (m_settings.folders().isEmpty())
        m_activity = Activity::needsSetup();
    else if (!m_settings.autoProcessing())
        m_activity = Activity::paused();
    else
        m_activity = Activity::idle();
    // The availability cannot be read synchronously; until the first reading it is unknown.
    syncAvailability(false);
}

AppModel::~AppModel()
{
    // The watcher's thread must not deliver into a model that is going away.
    if (m_watcher)
        m_watcher->stop();
    m_watcher.reset();
}

QDateTime AppModel::now() const
{
    return m_clock.now();
}

// ---- Shown state ----

QString AppModel::aiAvailabilityTitle() const
{
    return Titles::title(m_aiAvailability);
}

namespace {
QStringList sortedIds(const QSet<QUuid> &set)
{
    QStringList ids;
    for (const QUuid &id : set)
        ids.append(uuidText(id));
    ids.sort();
    return ids;
}
} // namespace

QStringList AppModel::unavailableFolderIds() const
{
    return sortedIds(m_unavailableFolders);
}

QStringList AppModel::unwatchedFolderIds() const
{
    return sortedIds(m_unwatchedFolders);
}

void AppModel::setActivity(const Activity &activity)
{
    if (m_activity == activity)
        return;
    m_activity = activity;
    Q_EMIT activityChanged();
}

void AppModel::setLastError(const std::optional<QString> &error)
{
    if (m_lastError == error)
        return;
    m_lastError = error;
    Q_EMIT lastErrorChanged();
}

void AppModel::setBatch(const std::optional<Batch> &batch)
{
    if (m_batch == batch)
        return;
    m_batch = batch;
    Q_EMIT batchChanged();
}

void AppModel::setAvailability(const AIAvailability &availability)
{
    if (m_aiAvailability == availability)
        return;
    m_aiAvailability = availability;
    Q_EMIT aiAvailabilityChanged();
}

void AppModel::postError(const QString &file, const QString &message)
{
    if (m_notifier)
        m_notifier->postError(file, message, m_settings.notifications());
}

// ---- Rules ----

QString AppModel::standardizedPath(const QString &path)
{
    // One file reached through a linked folder and through the folder itself must be one queue entry and one
    // pending mark; the file itself is not resolved, so a link stays a link.
    const QString cleaned = QDir::cleanPath(path);
    const qsizetype slash = cleaned.lastIndexOf(u'/');
    if (slash <= 0)
        return cleaned;
    const QString folder = QFileInfo(cleaned.left(slash)).canonicalFilePath();
    return folder.isEmpty() ? cleaned : folder + cleaned.mid(slash);
}

QString AppModel::dateLocaleCode(bool languageFallback, NameLanguage naming, const QString &interfaceCode)
{
    if (languageFallback)
        return QStringLiteral("en");
    if (naming == NameLanguage::ru)
        return QStringLiteral("ru");
    return interfaceCode;
}

QDateTime AppModel::catchUpCutoff(const QDateTime &since, const QDateTime &now)
{
    const QDateTime horizon = now.addSecs(-catchUpHorizonSeconds);
    return since > horizon ? since : horizon;
}

QString AppModel::outputLanguage() const
{
    switch (m_settings.naming().language) {
    case NameLanguage::ru:
        return QStringLiteral("ru");
    case NameLanguage::en:
        return QStringLiteral("en");
    case NameLanguage::automatic:
        break;
    }
    return L10n::code();
}

bool AppModel::canName() const
{
    return m_aiAvailability.isAvailable() || m_settings.ocrFallback();
}

void AppModel::markHandled(const FileID &id)
{
    m_history.registry().handled.insert(id, now());
    m_history.registry().failed.remove(id);
    m_history.trimRegistry();
    m_history.scheduleSave();
}

bool AppModel::registered(QHash<FileID, QDateTime> &entries, const FileID &id, const QString &path)
{
    const auto entry = entries.constFind(id);
    if (entry == entries.cend())
        return false;
    // Inode numbers are reused once a file is deleted: a file born after its entry was written is another file.
    const std::optional<QDateTime> born = birthTime(path);
    if (born && *born > entry.value().addSecs(birthToleranceSeconds)) {
        entries.erase(entry);
        m_history.scheduleSave();
        return false;
    }
    return true;
}

bool AppModel::isHandled(const FileID &id, const QString &path)
{
    return registered(m_history.registry().handled, id, path);
}

bool AppModel::hasFailed(const FileID &id, const QString &path)
{
    return registered(m_history.registry().failed, id, path);
}

void AppModel::markFailed(const FileID &id)
{
    m_history.registry().failed.insert(id, now());
    m_history.trimRegistry();
    m_history.scheduleSave();
}

void AppModel::announceOwnChange(const QString &path)
{
    if (!m_watcher)
        return;
    m_watcher->ignoreOwnChange(path);
    // The watcher reports paths under the resolved folder; a job may have come in through a linked one.
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty()) {
        const QString resolved = folder + QLatin1Char('/') + info.fileName();
        if (resolved != QDir::cleanPath(path))
            m_watcher->ignoreOwnChange(resolved);
    }
}
