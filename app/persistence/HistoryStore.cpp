// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "HistoryStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString historyFileName = QStringLiteral("history.json");
const QString registryFileName = QStringLiteral("registry.json");

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

std::optional<QHash<FileID, QDateTime>> decodeFileIDMap(const QJsonValue &json)
{
    if (!json.isArray())
        return std::nullopt;
    const QJsonArray array = json.toArray();
    if (array.size() % 2 != 0)
        return std::nullopt;
    QHash<FileID, QDateTime> map;
    map.reserve(array.size() / 2);
    for (qsizetype i = 0; i < array.size(); i += 2) {
        if (!array.at(i).isObject())
            return std::nullopt;
        const auto id = FileID::fromJson(array.at(i).toObject());
        const auto date = historyDateFromText(array.at(i + 1));
        if (!id || !date)
            return std::nullopt;
        map.insert(*id, *date);
    }
    return map;
}

// Absent key: an empty map; present but malformed: failure.
template <typename T, typename Decode>
std::optional<QHash<QString, T>> decodeOptionalPathMap(const QJsonObject &root, const QString &key, Decode decode)
{
    const QJsonValue json = root.value(key);
    QHash<QString, T> map;
    if (json.isUndefined() || json.isNull())
        return map;
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        std::optional<T> value = decode(it.value());
        if (!value)
            return std::nullopt;
        map.insert(it.key(), std::move(*value));
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
    if (count != static_cast<double>(static_cast<int>(count)))
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
    load();
}

HistoryStore::~HistoryStore()
{
    // A debounced save still waiting would otherwise be lost.
    if (m_saveTimer.isActive()) {
        m_saveTimer.stop();
        writeFile(historyFileName, encodeRecords(m_records), &m_historyCorrupt);
        writeFile(registryFileName, encodeRegistry(m_registry), &m_registryCorrupt);
    }
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
    const bool history = writeFile(historyFileName, encodeRecords(m_records), &m_historyCorrupt);
    const bool registry = writeFile(registryFileName, encodeRegistry(m_registry), &m_registryCorrupt);
    if (history && registry)
        Q_EMIT saved();
    return history && registry;
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

std::optional<QList<RenameRecord>> HistoryStore::decodeRecords(const QByteArray &bytes)
{
    const auto document = parse(bytes);
    if (!document || !document->isArray())
        return std::nullopt;
    const QJsonArray array = document->array();
    QList<RenameRecord> records;
    records.reserve(array.size());
    for (const QJsonValue &json : array) {
        auto record = RenameRecord::fromJson(json);
        if (!record)
            return std::nullopt;
        records.append(std::move(*record));
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

std::optional<HistoryStore::Registry> HistoryStore::decodeRegistry(const QByteArray &bytes,
                                                                   QHash<QString, QDateTime> *deferred)
{
    const auto document = parse(bytes);
    if (!document || !document->isObject())
        return std::nullopt;
    const QJsonObject root = document->object();
    auto handled = decodeFileIDMap(root.value(QStringLiteral("handled")));
    auto failed = decodeFileIDMap(root.value(QStringLiteral("failed")));
    auto pending = decodeOptionalPathMap<Pending>(root, QStringLiteral("pending"), decodePending);
    auto older = decodeOptionalPathMap<QDateTime>(root, QStringLiteral("deferred"), historyDateFromText);
    if (!handled || !failed || !pending || !older)
        return std::nullopt;
    if (deferred)
        *deferred = std::move(*older);
    return Registry{std::move(*handled), std::move(*failed), std::move(*pending)};
}

void HistoryStore::load()
{
    const QDir dir(m_directory);
    const auto read = [&dir](const QString &name, bool *corrupt) -> QByteArray {
        QFile file(dir.filePath(name));
        if (!file.exists())
            return {};
        if (!file.open(QIODevice::ReadOnly)) {
            *corrupt = true;
            return {};
        }
        return file.readAll();
    };

    const QByteArray historyBytes = read(historyFileName, &m_historyCorrupt);
    if (!historyBytes.isEmpty()) {
        if (auto records = decodeRecords(historyBytes))
            m_records = std::move(*records);
        else
            m_historyCorrupt = true;
    }

    const QByteArray registryBytes = read(registryFileName, &m_registryCorrupt);
    QHash<QString, QDateTime> deferred;
    if (!registryBytes.isEmpty()) {
        if (auto registry = decodeRegistry(registryBytes, &deferred))
            m_registry = std::move(*registry);
        else
            m_registryCorrupt = true;
    }
    for (auto it = deferred.cbegin(); it != deferred.cend(); ++it) {
        if (!m_registry.pending.contains(it.key()))
            m_registry.pending.insert(it.key(), Pending{it.value(), 0});
    }
    prunePending();
}

void HistoryStore::prunePending()
{
    const QDateTime limit = m_clock.now().addSecs(-pendingMaxAgeSeconds);
    m_registry.pending.removeIf([&limit](const auto &entry) { return !(entry.value().first > limit); });
}

bool HistoryStore::writeFile(const QString &name, const QByteArray &bytes, bool *corrupt)
{
    const QString path = QDir(m_directory).filePath(name);
    QDir().mkpath(m_directory);
    if (*corrupt) {
        // The unreadable file is replaced now; one copy of it stays beside the new one.
        const QString aside = path + QStringLiteral(".corrupt");
        QFile::remove(aside);
        QFile::copy(path, aside);
        *corrupt = false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
