// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

// What the pipeline is doing, as the interface shows it: working on a file with others waiting behind it, idle,
// paused, or waiting for a folder to be set up.
class Activity
{
    Q_GADGET
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    Q_PROPERTY(QString file READ file CONSTANT)
    Q_PROPERTY(int remaining READ remaining CONSTANT)

public:
    enum class Kind { working, idle, paused, needsSetup };
    Q_ENUM(Kind)

    Activity() = default;
    static Activity working(const QString &file, int remaining) { return Activity(Kind::working, file, remaining); }
    static Activity idle() { return Activity(Kind::idle); }
    static Activity paused() { return Activity(Kind::paused); }
    static Activity needsSetup() { return Activity(Kind::needsSetup); }

    Kind kind() const { return m_kind; }
    // The file being processed; empty unless working.
    QString file() const { return m_file; }
    // Jobs waiting behind it; 0 unless working.
    int remaining() const { return m_remaining; }

    friend bool operator==(const Activity &, const Activity &) = default;

private:
    explicit Activity(Kind kind, QString file = {}, int remaining = 0)
        : m_kind(kind)
        , m_file(std::move(file))
        , m_remaining(remaining)
    {}

    Kind m_kind = Kind::idle;
    QString m_file;
    int m_remaining = 0;
};

Q_DECLARE_METATYPE(Activity)
