// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppModelServices.h"

#include "ActivationSource.h"
#include "BusAnalyzer.h"
#include "Clock.h"
#include "DesktopFileRevealer.h"
#include "LogindPowerMonitor.h"
#include "MountInfoMonitor.h"
#include "Version.h"

#include <QDir>

AppModelServices AppModelServices::commandLine()
{
    AppModelServices services;
    services.analyzer = std::make_unique<BusAnalyzer>(QDBusConnection::sessionBus(), std::chrono::milliseconds{},
                                                      std::make_unique<AnalyzerLauncher>());
    services.clock = &Clock::system();
    services.bookmarkOptions.home = QDir::homePath();
    services.buildNumber = QString::number(Zentrope::buildNumber);
    return services;
}

AppModelServices AppModelServices::system()
{
    AppModelServices services = commandLine();
    services.notifier = std::make_unique<Notifier>();
    services.frontApps = std::make_unique<FrontAppLog>(ActivationSource::createDefault(), Clock::system());
    services.power = std::make_unique<LogindPowerMonitor>();
    services.mounts = std::make_unique<MountInfoMonitor>();
    services.revealer = std::make_unique<DesktopFileRevealer>();
    return services;
}
