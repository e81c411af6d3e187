// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>

// Tells when the system is about to sleep and when it has woken up again.
class PowerMonitor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~PowerMonitor() override;

Q_SIGNALS:
    void aboutToSleep();
    void wokeUp();
};
