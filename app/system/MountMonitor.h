// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>

// Tells when a file system was mounted or unmounted.
class MountMonitor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~MountMonitor() override;

Q_SIGNALS:
    void mountsChanged();
};
