// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>
#include <sys/types.h>
#include <variant>

// The user's typed key-value database: one JSON file in which every value carries its type, so a string is never
// mistaken for a Boolean; written atomically and picked up again when another instance or process replaced it.
class KeyValueStore
{
public:
    enum class Type { Boolean, String, Number, Date, Bytes };
    using Value = std::variant<bool, QString, double, QDateTime, QByteArray>;

    // `filePath` empty: the user's default file (see defaultFilePath()).
    explicit KeyValueStore(QString filePath = {});

    // "<config>/zentrope/settings.json", with <config> the XDG configuration folder.
    static QString defaultFilePath();
    QString filePath() const { return m_filePath; }

    bool contains(const QString &key) const;
    std::optional<Value> value(const QString &key) const;
    std::optional<Type> type(const QString &key) const;
    QStringList keys() const;

    // Each is absent when the key is missing or holds a value of another type.
    std::optional<bool> boolean(const QString &key) const;
    std::optional<QString> string(const QString &key) const;
    std::optional<double> number(const QString &key) const;
    std::optional<QDateTime> date(const QString &key) const;
    std::optional<QByteArray> bytes(const QString &key) const;

    // The lenient Boolean reading: a Boolean as it is; a number is true when not zero; a string is true when it
    // says "true" or "yes" (any case) or is a non-zero integer; everything else, and a missing key, is false.
    bool booleanReading(const QString &key) const;

    // Each write stores the value and rewrites the file at once. They return false, with a description in
    // `error` when given, when the file could not be written; the value is kept in memory either way.
    bool setBoolean(const QString &key, bool value, QString *error = nullptr);
    bool setString(const QString &key, const QString &value, QString *error = nullptr);
    bool setNumber(const QString &key, double value, QString *error = nullptr);
    bool setDate(const QString &key, const QDateTime &value, QString *error = nullptr);
    bool setBytes(const QString &key, const QByteArray &value, QString *error = nullptr);
    bool set(const QString &key, const Value &value, QString *error = nullptr);
    bool remove(const QString &key, QString *error = nullptr);

    // Reads the file again now, whether or not it changed.
    void reload();

    // File form of the values (exposed for tests and tools).
    static QByteArray encode(const QHash<QString, Value> &values);
    // Entries that are not well-formed are left out (and `incomplete` set); a file that is not a JSON object gives
    // nothing.
    static std::optional<QHash<QString, Value>> decode(const QByteArray &bytes, bool *incomplete = nullptr);

private:
    struct Stamp
    {
        bool exists = false;
        ino_t inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };

    Stamp currentStamp() const;
    void refreshLocked() const;
    void loadLocked() const;
    bool writeLocked(QString *error);

    QString m_filePath;
    mutable QMutex m_mutex;
    mutable QHash<QString, Value> m_values;
    mutable Stamp m_stamp;
    mutable bool m_loaded = false;
    // Set when the file on disk could not be read in full; a dated copy of it is kept before the first overwrite.
    mutable bool m_corrupt = false;
};
