// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MountInfoMonitor.h"

#include <QFile>
#include <QHash>
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
    const QStringList changed = changedMountPoints(m_table, table);
    m_table = std::move(table);
    if (!changed.isEmpty())
        Q_EMIT mountsChanged(changed);
}

namespace {
// The mount point is the fifth field; the kernel writes space, tab, newline and backslash as octal escapes.
QString mountPoint(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 5)
        return {};
    const QByteArray &escaped = fields.at(4);
    QByteArray raw;
    raw.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped.at(i) == '\\' && i + 3 < escaped.size()) {
            bool ok = false;
            const int code = escaped.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                raw.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        raw.append(escaped.at(i));
    }
    return QFile::decodeName(raw);
}

QHash<QString, QList<QByteArray>> linesByMountPoint(const QByteArray &table)
{
    QHash<QString, QList<QByteArray>> lines;
    for (const QByteArray &line : table.split('\n')) {
        if (!line.isEmpty())
            lines[mountPoint(line)].append(line);
    }
    return lines;
}
} // namespace

QStringList MountInfoMonitor::changedMountPoints(const QByteArray &before, const QByteArray &after)
{
    const auto old = linesByMountPoint(before);
    const auto now = linesByMountPoint(after);
    QStringList changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (old.value(it.key()) != it.value())
            changed.append(it.key());
    }
    for (auto it = old.cbegin(); it != old.cend(); ++it) {
        if (!now.contains(it.key()))
            changed.append(it.key());
    }
    changed.sort();
    return changed;
}
