// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KeyValueStore.h"

#include "DamagedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <sys/stat.h>

namespace {
const QString booleanTag = QStringLiteral("bool");
const QString stringTag = QStringLiteral("string");
const QString numberTag = QStringLiteral("number");
const QString dateTag = QStringLiteral("date");
const QString bytesTag = QStringLiteral("bytes");

// A value is a one-member object naming its type: {"bool": true}, {"date": "2026-11-12T10:42:17.000Z"}.
QJsonObject encodeValue(const KeyValueStore::Value &value)
{
    return std::visit(
        [](const auto &v) -> QJsonObject {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return {{booleanTag, v}};
            else if constexpr (std::is_same_v<T, QString>)
                return {{stringTag, v}};
            else if constexpr (std::is_same_v<T, double>)
                return {{numberTag, v}};
            else if constexpr (std::is_same_v<T, QDateTime>)
                return {{dateTag, v.toUTC().toString(Qt::ISODateWithMs)}};
            else
                return {{bytesTag, QString::fromLatin1(v.toBase64())}};
        },
        value);
}

std::optional<KeyValueStore::Value> decodeValue(const QJsonValue &json)
{
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    if (object.size() != 1)
        return std::nullopt;
    const QString tag = object.begin().key();
    const QJsonValue v = object.begin().value();
    if (tag == booleanTag && v.isBool())
        return KeyValueStore::Value(v.toBool());
    if (tag == stringTag && v.isString())
        return KeyValueStore::Value(v.toString());
    if (tag == numberTag && v.isDouble())
        return KeyValueStore::Value(v.toDouble());
    if (tag == dateTag && v.isString()) {
        const QDateTime date = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
        if (date.isValid())
            return KeyValueStore::Value(date);
        return std::nullopt;
    }
    if (tag == bytesTag && v.isString()) {
        const auto decoded =
            QByteArray::fromBase64Encoding(v.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return KeyValueStore::Value(*decoded);
    }
    return std::nullopt;
}

bool stringReadsTrue(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
        trimmed.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const qlonglong number = trimmed.toLongLong(&ok);
    return ok && number != 0;
}

template <typename T>
std::optional<T> typed(const std::optional<KeyValueStore::Value> &value)
{
    if (value && std::holds_alternative<T>(*value))
        return std::get<T>(*value);
    return std::nullopt;
}
} // namespace

KeyValueStore::KeyValueStore(QString filePath)
    : m_filePath(filePath.isEmpty() ? defaultFilePath() : std::move(filePath))
{}

QString KeyValueStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zentrope/settings.json");
}

bool KeyValueStore::contains(const QString &key) const
{
    return value(key).has_value();
}

std::optional<KeyValueStore::Value> KeyValueStore::value(const QString &key) const
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    const auto it = m_values.constFind(key);
    if (it == m_values.cend())
        return std::nullopt;
    return *it;
}

std::optional<KeyValueStore::Type> KeyValueStore::type(const QString &key) const
{
    const auto stored = value(key);
    if (!stored)
        return std::nullopt;
    return static_cast<Type>(stored->index());
}

QStringList KeyValueStore::keys() const
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    QStringList keys = m_values.keys();
    keys.sort();
    return keys;
}

std::optional<bool> KeyValueStore::boolean(const QString &key) const
{
    return typed<bool>(value(key));
}

std::optional<QString> KeyValueStore::string(const QString &key) const
{
    return typed<QString>(value(key));
}

std::optional<double> KeyValueStore::number(const QString &key) const
{
    return typed<double>(value(key));
}

std::optional<QDateTime> KeyValueStore::date(const QString &key) const
{
    return typed<QDateTime>(value(key));
}

std::optional<QByteArray> KeyValueStore::bytes(const QString &key) const
{
    return typed<QByteArray>(value(key));
}

bool KeyValueStore::booleanReading(const QString &key) const
{
    const auto stored = value(key);
    if (!stored)
        return false;
    if (const bool *b = std::get_if<bool>(&*stored))
        return *b;
    if (const double *n = std::get_if<double>(&*stored))
        return *n != 0 && !std::isnan(*n);
    if (const QString *s = std::get_if<QString>(&*stored))
        return stringReadsTrue(*s);
    return false;
}

bool KeyValueStore::setBoolean(const QString &key, bool value, QString *error)
{
    return set(key, Value(value), error);
}

bool KeyValueStore::setString(const QString &key, const QString &value, QString *error)
{
    return set(key, Value(value), error);
}

bool KeyValueStore::setNumber(const QString &key, double value, QString *error)
{
    return set(key, Value(value), error);
}

bool KeyValueStore::setDate(const QString &key, const QDateTime &value, QString *error)
{
    return set(key, Value(value), error);
}

bool KeyValueStore::setBytes(const QString &key, const QByteArray &value, QString *error)
{
    return set(key, Value(value), error);
}

bool KeyValueStore::set(const QString &key, const Value &value, QString *error)
{
    if (const QDateTime *date = std::get_if<QDateTime>(&value); date && !date->isValid()) {
        if (error)
            *error = QStringLiteral("An invalid date cannot be stored under \"%1\".").arg(key);
        return false;
    }
    // JSON has no encoding for these; storing one would make the whole file unreadable.
    if (const double *n = std::get_if<double>(&value); n && !std::isfinite(*n)) {
        if (error)
            *error = QStringLiteral("A number that is not finite cannot be stored under \"%1\".").arg(key);
        return false;
    }
    QMutexLocker locker(&m_mutex);
    // Picks up what another writer stored meanwhile, so this write does not undo it.
    refreshLocked();
    m_values.insert(key, value);
    return writeLocked(error);
}

bool KeyValueStore::remove(const QString &key, QString *error)
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    m_values.remove(key);
    return writeLocked(error);
}

void KeyValueStore::reload()
{
    QMutexLocker locker(&m_mutex);
    loadLocked();
}

QByteArray KeyValueStore::encode(const QHash<QString, Value> &values)
{
    QJsonObject root;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        root.insert(it.key(), encodeValue(it.value()));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<QHash<QString, KeyValueStore::Value>> KeyValueStore::decode(const QByteArray &bytes, bool *incomplete)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    QHash<QString, Value> values;
    const QJsonObject root = document.object();
    for (auto it = root.constBegin(); it != root.constEnd(); ++it) {
        if (auto value = decodeValue(it.value()))
            values.insert(it.key(), std::move(*value));
        else if (incomplete)
            *incomplete = true;
    }
    return values;
}

KeyValueStore::Stamp KeyValueStore::currentStamp() const
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(m_filePath).constData(), &st) != 0)
        return {};
    return {true, st.st_ino, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void KeyValueStore::refreshLocked() const
{
    // Every write replaces the file (a new inode), so a changed stamp means someone else wrote it.
    if (!m_loaded || currentStamp() != m_stamp)
        loadLocked();
}

void KeyValueStore::loadLocked() const
{
    m_loaded = true;
    m_corrupt = false;
    m_values.clear();
    m_stamp = currentStamp();
    if (!m_stamp.exists)
        return;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_corrupt = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    bool incomplete = false;
    if (auto values = decode(bytes, &incomplete))
        m_values = std::move(*values);
    else
        incomplete = !bytes.trimmed().isEmpty();
    // An entry of an unknown form would vanish with the next write.
    m_corrupt = incomplete;
}

bool KeyValueStore::writeLocked(QString *error)
{
    const QFileInfo info(m_filePath);
    QDir().mkpath(info.absolutePath());
    if (m_corrupt) {
        DamagedFile::keepCopy(m_filePath, QDateTime::currentDateTimeUtc());
        m_corrupt = false;
    }
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(m_values)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("The settings could not be saved to %1: %2").arg(m_filePath, file.errorString());
        return false;
    }
    m_stamp = currentStamp();
    return true;
}
