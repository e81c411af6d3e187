// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "HistoryStore.h"

#include "DamagedFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString historyFileName = QStringLiteral("history.json");
const QString registryFileName = QStringLiteral("registry.json");
const QString lockFileName = QStringLiteral("history.lock");

std::optional<QJsonDocument> parse(const QByteArray &bytes)
{
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return document;
}

// Identifiers that need no escaping in JSON text: UUIDs and FAT-style serials.
bool isPlainText(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'-';
    });
}

// A map keyed by FileID is a flat array alternating the key object and its date text. Written by hand because
// building twenty thousand QJsonObjects made every save stall the event loop for a noticeable moment; the text
// is what QJsonDocument makes of FileID::toJson(), which unusual identities still go through.
QByteArray encodeFileIDMap(const QHash<FileID, QDateTime> &map)
{
    constexpr quint64 maxExactJsonInteger = quint64(1) << 53;
    QByteArray out;
    out.reserve(map.size() * 80 + 2);
    out += '[';
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it != map.cbegin())
            out += ',';
        const FileID &id = it.key();
        if (id.inode <= maxExactJsonInteger && (!id.volume || isPlainText(*id.volume))) {
            out += "{\"inode\":";
            out += QByteArray::number(id.inode);
            if (id.volume) {
                out += ",\"volume\":\"";
                out += id.volume->toLatin1();
                out += '"';
            }
            out += '}';
        } else {
            out += QJsonDocument(id.toJson()).toJson(QJsonDocument::Compact);
        }
        out += ",\"";
        out += historyDateBytes(it.value());
        out += '"';
    }
    out += ']';
    return out;
}

// Sound pairs of a flat key-and-date array; `damaged` is set for every pair left out.
QHash<FileID, QDateTime> decodeFileIDMap(const QJsonValue &json, bool *damaged)
{
    QHash<FileID, QDateTime> map;
    if (!json.isArray()) {
        *damaged = true;
        return map;
    }
    const QJsonArray array = json.toArray();
    if (array.size() % 2 != 0)
        *damaged = true;
    map.reserve(array.size() / 2);
    for (qsizetype i = 0; i + 1 < array.size(); i += 2) {
        const auto id = array.at(i).isObject() ? FileID::fromJson(array.at(i).toObject()) : std::nullopt;
        const auto date = historyDateFromText(array.at(i + 1));
        if (id && date)
            map.insert(*id, *date);
        else
            *damaged = true;
    }
    return map;
}

// Absent key: an empty map; entries that do not decode are left out.
template <typename T, typename Decode>
QHash<QString, T> decodeOptionalPathMap(const QJsonObject &root, const QString &key, Decode decode, bool *damaged)
{
    const QJsonValue json = root.value(key);
    QHash<QString, T> map;
    if (json.isUndefined() || json.isNull())
        return map;
    if (!json.isObject()) {
        *damaged = true;
        return map;
    }
    const QJsonObject object = json.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (std::optional<T> value = decode(it.value()))
            map.insert(it.key(), std::move(*value));
        else
            *damaged = true;
    }
    return map;
}

std::optional<HistoryStore::Pending> decodePending(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    const auto first = historyDateFromText(object.value(QStringLiteral("first")));
    const QJsonValue attempts = object.value(QStringLiteral("attempts"));
    if (!first || !attempts.isDouble())
        return std::nullopt;
    const double count = attempts.toDouble();
    // Range first: converting a double beyond int is undefined.
    if (!(count >= std::numeric_limits<int>::min() && count <= std::numeric_limits<int>::max()) ||
        count != std::trunc(count))
        return std::nullopt;
    return HistoryStore::Pending{*first, static_cast<int>(count)};
}

// Keeps the `limit` entries with the latest dates.
void keepNewest(QHash<FileID, QDateTime> &map, int limit)
{
    if (map.size() <= limit)
        return;
    QList<std::pair<QDateTime, FileID>> entries;
    entries.reserve(map.size());
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        entries.append({it.value(), it.key()});
    const qsizetype excess = entries.size() - limit;
    std::nth_element(entries.begin(), entries.begin() + excess, entries.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < excess; ++i)
        map.remove(entries.at(i).second);
}
// Entries `ours` added, changed or removed since `base`, applied over `disk`.
template <typename Map>
Map mergeMap(const Map &disk, const Map &base, const Map &ours)
{
    if (ours == base)
        return disk;
    Map merged = disk;
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        const auto before = base.constFind(it.key());
        if (before == base.cend() || !(before.value() == it.value()))
            merged.insert(it.key(), it.value());
    }
    for (auto it = base.cbegin(); it != base.cend(); ++it) {
        if (!ours.contains(it.key()))
            merged.remove(it.key());
    }
    return merged;
}

QHash<QUuid, qsizetype> positions(const QList<RenameRecord> &records)
{
    QHash<QUuid, qsizetype> index;
    index.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        index.insert(records.at(i).id, i);
    return index;
}

// The version of a file that `fd` is open on.
template <typename Stamp>
Stamp stampOf(int fd)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return {};
    return {true, static_cast<quint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

template <typename Stamp>
Stamp stampAt(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const Stamp stamp = stampOf<Stamp>(fd);
    ::close(fd);
    return stamp;
}

// An exclusive lock on the history folder for one read-merge-write. A process stopped while holding it must not
// keep the others from saving for ever: after `patience` they go ahead without it.
class FolderLock
{
public:
    FolderLock(const QString &path, std::chrono::milliseconds patience)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
                return;
            // Held by another process for the few milliseconds of its own save.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~FolderLock()
    {
        // Closing releases the lock.
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

} // namespace

HistoryStore::HistoryStore(const QString &directory, const Clock &clock, QObject *parent)
    : QAbstractListModel(parent)
    , m_directory(directory.isEmpty() ? defaultDirectory() : directory)
    , m_clock(clock)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDebounceMs);
    // The timer belongs to the store, so a save never outlives it.
    connect(&m_saveTimer, &QTimer::timeout, this, &HistoryStore::saveNow);
    QDir().mkpath(m_directory);

    const Disk disk = readDisk();
    takeIn(disk);
    m_records = disk.contents.records;
    m_registry = disk.contents.registry;
    prunePending(m_registry);

    // A save replaces the files by renaming into the folder; a short pause lets both files of one save land.
    m_reloadTimer.setSingleShot(true);
    m_reloadTimer.setInterval(50);
    connect(&m_reloadTimer, &QTimer::timeout, this, &HistoryStore::reload);
    connect(&m_folderWatch, &QFileSystemWatcher::directoryChanged, this, [this] { m_reloadTimer.start(); });
    m_folderWatch.addPath(m_directory);
}

HistoryStore::~HistoryStore()
{
    // A debounced save still waiting would otherwise be lost.
    if (m_saveTimer.isActive())
        saveNow();
}

QString HistoryStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zentrope");
}

std::optional<RenameRecord> HistoryStore::record(const QUuid &id) const
{
    for (const RenameRecord &record : m_records) {
        if (record.id == id)
            return record;
    }
    return std::nullopt;
}

std::optional<RenameRecord> HistoryStore::record(const FileID &fileID, const QString &folderPath) const
{
    for (const RenameRecord &record : m_records) {
        if (record.folderPath == folderPath && record.fileID && *record.fileID == fileID)
            return record;
    }
    return std::nullopt;
}

void HistoryStore::add(const RenameRecord &record)
{
    beginInsertRows({}, 0, 0);
    m_records.prepend(record);
    endInsertRows();
    if (m_records.size() > maxRecords) {
        beginRemoveRows({}, maxRecords, static_cast<int>(m_records.size()) - 1);
        m_records.resize(maxRecords);
        endRemoveRows();
    }
    if (record.fileID) {
        m_registry.handled.insert(*record.fileID, m_clock.now().toUTC());
        m_registry.failed.remove(*record.fileID);
        trimRegistry();
    }
    Q_EMIT recordsChanged();
    saveNow();
}

void HistoryStore::update(const RenameRecord &record)
{
    const auto it = std::find_if(m_records.begin(), m_records.end(),
                                 [&record](const RenameRecord &r) { return r.id == record.id; });
    if (it == m_records.end())
        return;
    *it = record;
    const QModelIndex changed = index(static_cast<int>(it - m_records.begin()));
    Q_EMIT dataChanged(changed, changed);
    Q_EMIT recordsChanged();
    saveNow();
}

void HistoryStore::clear()
{
    if (!m_records.isEmpty()) {
        beginRemoveRows({}, 0, static_cast<int>(m_records.size()) - 1);
        m_records.clear();
        endRemoveRows();
        Q_EMIT recordsChanged();
    }
    saveNow();
}

void HistoryStore::clearFailed(const FileID &fileID)
{
    if (m_registry.failed.remove(fileID))
        scheduleSave();
}

QStringList HistoryStore::pendingPaths() const
{
    QList<std::pair<QDateTime, QString>> entries;
    entries.reserve(m_registry.pending.size());
    for (auto it = m_registry.pending.cbegin(); it != m_registry.pending.cend(); ++it)
        entries.append({it.value().first, it.key()});
    std::sort(entries.begin(), entries.end());
    QStringList paths;
    paths.reserve(entries.size());
    for (const auto &entry : std::as_const(entries))
        paths.append(entry.second);
    return paths;
}

void HistoryStore::markPending(const QString &path)
{
    if (m_registry.pending.contains(path))
        return;
    m_registry.pending.insert(path, Pending{m_clock.now().toUTC(), 0});
    if (m_registry.pending.size() > maxPending) {
        QStringList oldest = pendingPaths();
        // The path just marked is never the one to go, even when the clock gives it an older date.
        oldest.removeOne(path);
        const qsizetype excess = m_registry.pending.size() - maxPending;
        for (qsizetype i = 0; i < excess; ++i)
            m_registry.pending.remove(oldest.at(i));
    }
    Q_EMIT pendingCountChanged();
    scheduleSave();
}

int HistoryStore::bumpAttempts(const QString &path)
{
    const auto it = m_registry.pending.find(path);
    if (it == m_registry.pending.end())
        return 0;
    ++it->attempts;
    scheduleSave();
    return it->attempts;
}

void HistoryStore::removePending(const QString &path)
{
    if (m_registry.pending.remove(path))
        Q_EMIT pendingCountChanged();
    scheduleSave();
}

void HistoryStore::trimRegistry()
{
    keepNewest(m_registry.handled, maxHandled);
    keepNewest(m_registry.failed, maxFailed);
}

void HistoryStore::scheduleSave()
{
    m_saveTimer.start();
}

bool HistoryStore::saveNow()
{
    m_saveTimer.stop();
    const QDir dir(m_directory);
    dir.mkpath(QStringLiteral("."));
    const FolderLock lock(dir.filePath(lockFileName), std::chrono::milliseconds(lockPatienceMs));
    // Nobody else wrote since this process last read or wrote: what is on disk is the base.
    const Disk disk = unchangedOnDisk() ? Disk{m_base,           m_historyStamp,    m_registryStamp,
                                               m_historyDamaged, m_registryDamaged, m_registryOutdated}
                                        : readDisk();
    m_historyDamaged = disk.historyDamaged;
    m_registryDamaged = disk.registryDamaged;
    Contents merged = merge(disk.contents, m_base, Contents{m_records, m_registry});
    trim(merged);

    Stamp historyStamp = disk.historyStamp;
    Stamp registryStamp = disk.registryStamp;
    bool written = true;
    if (merged.records != disk.contents.records || m_historyDamaged || !historyStamp.exists)
        written = write(historyFileName, encodeRecords(merged.records), &m_historyDamaged, &historyStamp);
    if (written && (merged.registry != disk.contents.registry || m_registryDamaged || disk.registryOutdated ||
                    !registryStamp.exists))
        written = write(registryFileName, encodeRegistry(merged.registry), &m_registryDamaged, &registryStamp);

    // Unwritten changes stay changes against what is on disk, for the next save to try again.
    Disk now = disk;
    now.historyStamp = historyStamp;
    now.registryStamp = registryStamp;
    now.registryOutdated = disk.registryOutdated && !written;
    now.historyDamaged = m_historyDamaged;
    now.registryDamaged = m_registryDamaged;
    if (written)
        now.contents = merged;
    else if (historyStamp != disk.historyStamp)
        now.contents.records = merged.records;
    takeIn(now);
    apply(merged);
    if (written)
        Q_EMIT saved();
    return written;
}

void HistoryStore::reload()
{
    if (unchangedOnDisk())
        return;
    const Disk disk = readDisk();
    Contents merged = merge(disk.contents, m_base, Contents{m_records, m_registry});
    trim(merged);
    takeIn(disk);
    apply(merged);
}

bool HistoryStore::unchangedOnDisk() const
{
    const QDir dir(m_directory);
    return stampAt<Stamp>(dir.filePath(historyFileName)) == m_historyStamp &&
           stampAt<Stamp>(dir.filePath(registryFileName)) == m_registryStamp;
}

HistoryStore::Disk HistoryStore::readDisk() const
{
    const QDir dir(m_directory);
    Disk disk;
    // Reads through one descriptor, so the stamp belongs to the bytes read.
    const auto read = [&dir](const QString &name, Stamp *stamp, bool *damaged) -> QByteArray {
        const int fd = ::open(QFile::encodeName(dir.filePath(name)).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            *damaged = errno != ENOENT;
            return {};
        }
        *stamp = stampOf<Stamp>(fd);
        QFile file;
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            *damaged = true;
            return {};
        }
        return file.readAll();
    };

    const QByteArray historyBytes = read(historyFileName, &disk.historyStamp, &disk.historyDamaged);
    if (!historyBytes.trimmed().isEmpty())
        disk.contents.records = decodeRecords(historyBytes, &disk.historyDamaged);

    const QByteArray registryBytes = read(registryFileName, &disk.registryStamp, &disk.registryDamaged);
    QHash<QString, QDateTime> deferred;
    if (!registryBytes.trimmed().isEmpty())
        disk.contents.registry = decodeRegistry(registryBytes, &disk.registryDamaged, &deferred);
    for (auto it = deferred.cbegin(); it != deferred.cend(); ++it) {
        if (!disk.contents.registry.pending.contains(it.key()))
            disk.contents.registry.pending.insert(it.key(), Pending{it.value(), 0});
    }
    disk.registryOutdated = !deferred.isEmpty();
    return disk;
}

void HistoryStore::takeIn(const Disk &disk)
{
    m_base = disk.contents;
    m_historyDamaged = disk.historyDamaged;
    m_registryDamaged = disk.registryDamaged;
    m_historyStamp = disk.historyStamp;
    m_registryStamp = disk.registryStamp;
    m_registryOutdated = disk.registryOutdated;
}

bool HistoryStore::write(const QString &name, const QByteArray &bytes, bool *damaged, Stamp *stamp)
{
    const QString path = QDir(m_directory).filePath(name);
    if (*damaged) {
        DamagedFile::keepCopy(path, m_clock.now());
        *damaged = false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    *stamp = stampAt<Stamp>(path);
    return true;
}

void HistoryStore::prunePending(Registry &registry) const
{
    const QDateTime limit = m_clock.now().addSecs(-pendingMaxAgeSeconds);
    registry.pending.removeIf([&limit](const auto &entry) { return !(entry.value().first > limit); });
}

void HistoryStore::trim(Contents &contents) const
{
    if (contents.records.size() > maxRecords)
        contents.records.resize(maxRecords);
    keepNewest(contents.registry.handled, maxHandled);
    keepNewest(contents.registry.failed, maxFailed);
    if (contents.registry.pending.size() > maxPending) {
        QList<std::pair<QDateTime, QString>> entries;
        for (auto it = contents.registry.pending.cbegin(); it != contents.registry.pending.cend(); ++it)
            entries.append({it.value().first, it.key()});
        std::sort(entries.begin(), entries.end());
        for (qsizetype i = 0; i < entries.size() - maxPending; ++i)
            contents.registry.pending.remove(entries.at(i).second);
    }
}

HistoryStore::Contents HistoryStore::merge(const Contents &disk, const Contents &base, const Contents &ours)
{
    Contents merged;
    merged.registry.handled = mergeMap(disk.registry.handled, base.registry.handled, ours.registry.handled);
    merged.registry.failed = mergeMap(disk.registry.failed, base.registry.failed, ours.registry.failed);
    merged.registry.pending = mergeMap(disk.registry.pending, base.registry.pending, ours.registry.pending);
    if (ours.records == base.records) {
        merged.records = disk.records;
        return merged;
    }

    const QHash<QUuid, qsizetype> inBase = positions(base.records);
    const QHash<QUuid, qsizetype> inOurs = positions(ours.records);
    merged.records.reserve(disk.records.size() + ours.records.size());
    QSet<QUuid> placed;
    for (const RenameRecord &record : disk.records) {
        const auto before = inBase.constFind(record.id);
        const auto now = inOurs.constFind(record.id);
        if (before != inBase.cend() && now == inOurs.cend())
            continue; // removed here
        const bool changedHere =
            now != inOurs.cend() && (before == inBase.cend() || !(base.records.at(*before) == ours.records.at(*now)));
        merged.records.append(changedHere ? ours.records.at(*now) : record);
        placed.insert(record.id);
    }
    // Records this process added (or changed after another process removed them), newest first among the others.
    for (const RenameRecord &record : ours.records) {
        if (placed.contains(record.id))
            continue;
        const auto before = inBase.constFind(record.id);
        if (before != inBase.cend() && base.records.at(*before) == record)
            continue; // removed by another process, untouched here
        const auto at = std::find_if(merged.records.begin(), merged.records.end(),
                                     [&record](const RenameRecord &other) { return other.date <= record.date; });
        merged.records.insert(at, record);
        placed.insert(record.id);
    }
    return merged;
}

void HistoryStore::apply(const Contents &next)
{
    const int pendingBefore = pendingCount();
    m_registry = next.registry;
    bool recordsMoved = false;

    QSet<QUuid> wanted;
    wanted.reserve(next.records.size());
    for (const RenameRecord &record : next.records)
        wanted.insert(record.id);
    // Rows that go, in runs from the bottom up.
    for (int row = static_cast<int>(m_records.size()) - 1; row >= 0; --row) {
        if (wanted.contains(m_records.at(row).id))
            continue;
        const int last = row;
        while (row > 0 && !wanted.contains(m_records.at(row - 1).id))
            --row;
        beginRemoveRows({}, row, last);
        m_records.remove(row, last - row + 1);
        endRemoveRows();
        recordsMoved = true;
    }
    // What is left appears in `next` in some order; new rows go in as runs.
    QSet<QUuid> present;
    for (const RenameRecord &record : std::as_const(m_records))
        present.insert(record.id);
    for (int row = 0; row < next.records.size(); ++row) {
        const RenameRecord &record = next.records.at(row);
        if (!present.contains(record.id)) {
            int last = row;
            while (last + 1 < next.records.size() && !present.contains(next.records.at(last + 1).id))
                ++last;
            beginInsertRows({}, row, last);
            for (int i = row; i <= last; ++i)
                m_records.insert(i, next.records.at(i));
            endInsertRows();
            row = last;
            recordsMoved = true;
            continue;
        }
        if (m_records.at(row).id != record.id) {
            int from = row + 1;
            while (m_records.at(from).id != record.id)
                ++from;
            beginMoveRows({}, from, from, {}, row);
            m_records.move(from, row);
            endMoveRows();
            recordsMoved = true;
        }
        if (!(m_records.at(row) == record)) {
            m_records[row] = record;
            Q_EMIT dataChanged(index(row), index(row));
            recordsMoved = true;
        }
    }
    if (recordsMoved)
        Q_EMIT recordsChanged();
    if (pendingCount() != pendingBefore)
        Q_EMIT pendingCountChanged();
}

int HistoryStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant HistoryStore::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RenameRecord &record = m_records.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case CurrentNameRole:
        return record.currentName;
    case IdRole:
        return uuidText(record.id);
    case DateRole:
        return record.date;
    case FolderPathRole:
        return record.folderPath;
    case OriginalNameRole:
        return record.originalName;
    case EngineRole:
        return rawValue(record.engine);
    case StateRole:
        return rawValue(record.state);
    case FilePathRole:
        return record.filePath();
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryStore::roleNames() const
{
    return {
        {IdRole, "recordId"},
        {DateRole, "date"},
        {FolderPathRole, "folderPath"},
        {OriginalNameRole, "originalName"},
        {CurrentNameRole, "currentName"},
        {EngineRole, "engine"},
        {StateRole, "state"},
        {FilePathRole, "filePath"},
    };
}

QByteArray HistoryStore::encodeRecords(const QList<RenameRecord> &records)
{
    QJsonArray array;
    for (const RenameRecord &record : records)
        array.append(record.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<RenameRecord> HistoryStore::decodeRecords(const QByteArray &bytes, bool *damaged)
{
    bool ignored = false;
    bool &left = damaged ? *damaged : ignored;
    const auto document = parse(bytes);
    if (!document || !document->isArray()) {
        left = true;
        return {};
    }
    const QJsonArray array = document->array();
    QList<RenameRecord> records;
    records.reserve(array.size());
    QSet<QUuid> seen;
    for (const QJsonValue &json : array) {
        auto record = RenameRecord::fromJson(json);
        if (record && !seen.contains(record->id)) {
            seen.insert(record->id);
            records.append(std::move(*record));
        } else {
            left = true;
        }
    }
    return records;
}

QByteArray HistoryStore::encodeRegistry(const Registry &registry)
{
    QJsonObject pending;
    for (auto it = registry.pending.cbegin(); it != registry.pending.cend(); ++it) {
        pending.insert(it.key(), QJsonObject{{QStringLiteral("first"), historyDateText(it.value().first)},
                                             {QStringLiteral("attempts"), it.value().attempts}});
    }
    return "{\"failed\":" + encodeFileIDMap(registry.failed) + ",\"handled\":" + encodeFileIDMap(registry.handled) +
           ",\"pending\":" + QJsonDocument(pending).toJson(QJsonDocument::Compact) + '}';
}

HistoryStore::Registry HistoryStore::decodeRegistry(const QByteArray &bytes, bool *damaged,
                                                    QHash<QString, QDateTime> *deferred)
{
    bool ignored = false;
    bool &left = damaged ? *damaged : ignored;
    const auto document = parse(bytes);
    if (!document || !document->isObject()) {
        left = true;
        return {};
    }
    const QJsonObject root = document->object();
    Registry registry;
    registry.handled = decodeFileIDMap(root.value(QStringLiteral("handled")), &left);
    registry.failed = decodeFileIDMap(root.value(QStringLiteral("failed")), &left);
    registry.pending = decodeOptionalPathMap<Pending>(root, QStringLiteral("pending"), decodePending, &left);
    QHash<QString, QDateTime> older =
        decodeOptionalPathMap<QDateTime>(root, QStringLiteral("deferred"), historyDateFromText, &left);
    if (deferred)
        *deferred = std::move(older);
    return registry;
}
