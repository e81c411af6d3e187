// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "Clock.h"
#include "FileID.h"
#include "RenameRecord.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QList>
#include <QTimer>

#include <optional>

// The rename history and the registry of handled, failed and pending files, kept in two JSON files and shown to
// the interface as a list of records, newest first.
//
// Several processes of the user share the files (the tray application, `zentrope rename`). Each save takes a lock,
// reads what is on disk, applies what this process changed since it last read the files, and replaces both
// atomically; a watch on the folder brings in what the others saved, row by row.
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

    // Everything the two files hold.
    struct Contents
    {
        QList<RenameRecord> records;
        Registry registry;
        friend bool operator==(const Contents &, const Contents &) = default;
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
    // How long a save waits for another process to finish its own before it goes ahead anyway.
    static constexpr int lockPatienceMs = 1000;

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
    // Merges this process's changes into what is on disk and writes the result now; false when it could not be
    // written (the changes are kept and the next save tries again).
    bool saveNow();
    // Takes in what other processes saved, keeping this process's unsaved changes; the folder watch calls it.
    void reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // File forms. Decoding keeps every sound entry and sets `damaged` when something had to be left out;
    // `deferred` receives the older form of the pending marks when the registry holds one.
    static QByteArray encodeRecords(const QList<RenameRecord> &records);
    static QList<RenameRecord> decodeRecords(const QByteArray &bytes, bool *damaged = nullptr);
    static QByteArray encodeRegistry(const Registry &registry);
    static Registry decodeRegistry(const QByteArray &bytes, bool *damaged = nullptr,
                                   QHash<QString, QDateTime> *deferred = nullptr);

    // What is on `disk` with the changes `ours` made since `base` applied over it: entries this process added,
    // changed or removed win, everything else is taken from disk. Records this process added go in by date.
    static Contents merge(const Contents &disk, const Contents &base, const Contents &ours);

Q_SIGNALS:
    void recordsChanged();
    void pendingCountChanged();
    // Both files were written.
    void saved();

private:
    // Which version of a file was read: every write replaces the file, so a new stamp means a new version.
    struct Stamp
    {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    struct Disk
    {
        Contents contents;
        Stamp historyStamp;
        Stamp registryStamp;
        bool historyDamaged = false;
        bool registryDamaged = false;
        // The registry is in an older form that the next save replaces.
        bool registryOutdated = false;
    };

    Disk readDisk() const;
    bool unchangedOnDisk() const;
    void takeIn(const Disk &disk);
    bool write(const QString &name, const QByteArray &bytes, bool *damaged, Stamp *stamp);
    void prunePending(Registry &registry) const;
    void trim(Contents &contents) const;
    // Makes `next` the current contents, telling views row by row what was removed, moved, added or changed.
    void apply(const Contents &next);

    QString m_directory;
    const Clock &m_clock;
    QList<RenameRecord> m_records;
    Registry m_registry;
    // The contents as this process last read or wrote them: what it changed since is `m_records`, `m_registry`
    // minus this.
    Contents m_base;
    Stamp m_historyStamp;
    Stamp m_registryStamp;
    // A file that could not be read in full is copied aside (dated) before it is overwritten.
    bool m_historyDamaged = false;
    bool m_registryDamaged = false;
    bool m_registryOutdated = false;
    QTimer m_saveTimer;
    QFileSystemWatcher m_folderWatch;
    QTimer m_reloadTimer;
};
