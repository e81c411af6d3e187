// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ActivationSource.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class Clock;

// Remembers which application was in front and since when, to tell the analyzer what a screenshot shows.
class FrontAppLog : public QObject
{
    Q_OBJECT
public:
    struct Entry
    {
        QDateTime date;
        QString name;
        bool operator==(const Entry &) const = default;
    };

    // `clock` must outlive the log.
    explicit FrontAppLog(std::unique_ptr<ActivationSource> source, const Clock &clock, int limit = 64,
                         QObject *parent = nullptr);
    ~FrontAppLog() override;

    // Records the application in front now and every later activation; a desktop that reports none leaves the
    // log empty.
    void start();
    // Ends the recording; the entries are kept.
    void stop();
    bool isStarted() const { return m_started; }

    // Activations, oldest first.
    const QList<Entry> &entries() const { return m_entries; }
    // The application in front at `date`, allowing one second for the screenshot's own clock; absent when the log
    // does not reach back that far.
    std::optional<QString> app(const QDateTime &date) const;

    // The moment a screenshot was taken, read from the date and time in its file name when that lies within ten
    // minutes of `fallback` (the file's creation date); otherwise `fallback`.
    static QDateTime captureDate(const QString &fileName, const QDateTime &fallback);

private:
    void record(const QString &name);

    std::unique_ptr<ActivationSource> m_source;
    const Clock &m_clock;
    int m_limit;
    QList<Entry> m_entries;
    bool m_started = false;
};
