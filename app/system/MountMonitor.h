// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QStringList>

// Tells when a file system was mounted or unmounted, and where.
class MountMonitor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~MountMonitor() override;

Q_SIGNALS:
    // `mountPoints`: where something was mounted, unmounted or mounted anew.
    void mountsChanged(const QStringList &mountPoints);
};
