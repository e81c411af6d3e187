// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MountInfoMonitor.h"

#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

MountMonitor::~MountMonitor() = default;

MountInfoMonitor::MountInfoMonitor(const QString &mountInfoPath, QObject *parent)
    : MountMonitor(parent)
{
    m_fd = ::open(QFile::encodeName(mountInfoPath).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    m_table = readTable();
    // The kernel signals a change of the table as an exceptional condition (POLLPRI) on the open file.
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Exception);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &MountInfoMonitor::check);
}

MountInfoMonitor::~MountInfoMonitor()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray MountInfoMonitor::readTable() const
{
    QByteArray table;
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        return table;
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        table.append(buffer, count);
    }
    return table;
}

void MountInfoMonitor::check()
{
    if (m_fd < 0)
        return;
    QByteArray table = readTable();
    if (table == m_table)
        return;
    m_table = std::move(table);
    Q_EMIT mountsChanged();
}
