// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Clock.h"
#include "FileID.h"
#include "RenameRecord.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QTimer>

#include <optional>

// The rename history and the registry of handled, failed and pending files, kept in two JSON files and shown to
// the interface as a list of records, newest first.
class HistoryStore : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY recordsChanged)
    Q_PROPERTY(int pendingCount READ pendingCount NOTIFY pendingCountChanged)

public:
    struct Pending
    {
        QDateTime first;
        int attempts = 0;
        friend bool operator==(const Pending &, const Pending &) = default;
    };

    struct Registry
    {
        QHash<FileID, QDateTime> handled;
        QHash<FileID, QDateTime> failed;
        // Changed only through markPending, bumpAttempts and removePending, which keep pendingCount right.
        QHash<QString, Pending> pending;
        friend bool operator==(const Registry &, const Registry &) = default;
    };

    enum Role {
        IdRole = Qt::UserRole + 1,
        DateRole,
        FolderPathRole,
        OriginalNameRole,
        CurrentNameRole,
        EngineRole,
        StateRole,
        FilePathRole,
    };
    Q_ENUM(Role)

    static constexpr int maxRecords = 2000;
    static constexpr int maxHandled = 20000;
    static constexpr int maxFailed = 5000;
    static constexpr int maxPending = 500;
    static constexpr qint64 pendingMaxAgeSeconds = 7 * 24 * 3600;
    static constexpr int saveDebounceMs = 400;

    // `directory` empty: defaultDirectory(). The folder is created when missing, then both files are loaded.
    explicit HistoryStore(const QString &directory = {}, const Clock &clock = Clock::system(),
                          QObject *parent = nullptr);
    ~HistoryStore() override;

    // "<data>/zentrope", with <data> the XDG data folder.
    static QString defaultDirectory();
    QString directory() const { return m_directory; }

    const QList<RenameRecord> &records() const { return m_records; }
    int count() const { return static_cast<int>(m_records.size()); }
    std::optional<RenameRecord> record(const QUuid &id) const;
    // The newest record of that file in that folder; volumes match when equal or both unknown.
    std::optional<RenameRecord> record(const FileID &fileID, const QString &folderPath) const;

    // Newest first; beyond the record limit the oldest go. A record with a file identity also marks the file
    // handled. Saves at once.
    void add(const RenameRecord &record);
    // Replaces the record with the same id, if there is one, and saves at once.
    void update(const RenameRecord &record);
    // Forgets every record but keeps the registry, so cleared files are not processed again. Saves at once.
    void clear();

    Registry &registry() { return m_registry; }
    const Registry &registry() const { return m_registry; }
    bool isHandled(const FileID &fileID) const { return m_registry.handled.contains(fileID); }
    bool hasFailed(const FileID &fileID) const { return m_registry.failed.contains(fileID); }
    void clearFailed(const FileID &fileID);

    bool isPending(const QString &path) const { return m_registry.pending.contains(path); }
    // Oldest mark first.
    QStringList pendingPaths() const;
    int pendingCount() const { return static_cast<int>(m_registry.pending.size()); }
    void markPending(const QString &path);
    // The new attempt count, or 0 (and no change) when the path is not pending.
    int bumpAttempts(const QString &path);
    void removePending(const QString &path);

    void trimRegistry();
    // Saves 0.4 s after the last call, unless saveNow() came first.
    void scheduleSave();
    bool isSaveScheduled() const { return m_saveTimer.isActive(); }
    // Writes both files now; false when either could not be written (the next save tries again).
    bool saveNow();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // File forms. Decoding fails as a whole on any malformed part; `deferred` receives the older form of the
    // pending marks when the registry holds one.
    static QByteArray encodeRecords(const QList<RenameRecord> &records);
    static std::optional<QList<RenameRecord>> decodeRecords(const QByteArray &bytes);
    static QByteArray encodeRegistry(const Registry &registry);
    static std::optional<Registry> decodeRegistry(const QByteArray &bytes,
                                                  QHash<QString, QDateTime> *deferred = nullptr);

Q_SIGNALS:
    void recordsChanged();
    void pendingCountChanged();
    // Both files were written.
    void saved();

private:
    void load();
    void prunePending();
    bool writeFile(const QString &name, const QByteArray &bytes, bool *corrupt);

    QString m_directory;
    const Clock &m_clock;
    QList<RenameRecord> m_records;
    Registry m_registry;
    QTimer m_saveTimer;
    // A file that failed to load is copied aside once before it is overwritten.
    bool m_historyCorrupt = false;
    bool m_registryCorrupt = false;
};
