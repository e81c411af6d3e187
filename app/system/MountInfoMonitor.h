// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "MountMonitor.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QSocketNotifier;

// Mount changes of this process's namespace: the kernel marks the mount table with a priority event whenever
// it changes, and the table is compared so that only real changes are reported.
class MountInfoMonitor final : public MountMonitor
{
    Q_OBJECT

public:
    explicit MountInfoMonitor(const QString &mountInfoPath = QStringLiteral("/proc/self/mountinfo"),
                              QObject *parent = nullptr);
    ~MountInfoMonitor() override;

    // Whether the table could be opened; a monitor that could not open it stays silent.
    bool isActive() const { return m_fd >= 0; }

    // Reads the table again and reports a change when it differs from the last reading.
    void check();

    // The mount points whose lines differ between two readings of the table.
    static QStringList changedMountPoints(const QByteArray &before, const QByteArray &after);

private:
    QByteArray readTable() const;

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_table;
};
