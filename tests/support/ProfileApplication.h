// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

// Header only: for tests that link the pipeline, which the shared test support does not.
#include "AIAvailability.h"
#include "AppModelServices.h"
#include "BusAnalyzer.h"
#include "FolderBookmark.h"
#include "ModelEnvironment.h"
#include "TestProfile.h"
#include "WatchedFolder.h"

#include <QUuid>

// An enabled watched folder at `path`, bookmarked as the settings store it.
inline WatchedFolder watchedFolder(const QString &path)
{
    return WatchedFolder{QUuid::createUuid(), path, *FolderBookmark::create(path), true};
}

// The services an application running over `profile` has as shipped: the real analyzer on the profile's bus and
// the model's availability read from the profile's settings.
inline AppModelServices profileServices(TestProfile &profile)
{
    AppModelServices services;
    services.analyzer = std::make_unique<BusAnalyzer>(profile.bus().connect());
    ModelEnvironment modelEnvironment = ModelEnvironment::system();
    modelEnvironment.store = profile.settingsStore().get();
    services.availability = [modelEnvironment] { return AIAvailability::current(modelEnvironment); };
    services.buildNumber = QStringLiteral("1");
    return services;
}
