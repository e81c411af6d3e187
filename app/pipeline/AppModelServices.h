// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AIAvailability.h"
#include "Analyzer.h"
#include "FileRevealer.h"
#include "FolderBookmark.h"
#include "FrontAppLog.h"
#include "MountMonitor.h"
#include "Notifier.h"
#include "PowerMonitor.h"
#include "RenameCalls.h"

#include <QCoroTask>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class Clock;

// The delays of the pipeline; tests shorten them.
struct AppModelTiming
{
    // How long a new file may take to become a complete image.
    std::chrono::milliseconds completeTimeout{10000};
    // The re-try timer of pending files.
    std::chrono::milliseconds retryInterval{300000};
    // The pause after the system wakes before the folders are looked at again.
    std::chrono::milliseconds wakeDelay{3000};
    // The folder watcher's coalescing delay.
    std::chrono::milliseconds watcherLatency{400};
};

// Everything the application model reaches outside itself, chosen in one place: the real services by
// system(), doubles in tests. A missing optional service means that part is simply not there.
struct AppModelServices
{
    // Required.
    std::unique_ptr<Analyzer> analyzer;
    // Optional: without it nothing is posted.
    std::unique_ptr<Notifier> notifier;
    // Optional: without it the analyzer is told no application names.
    std::unique_ptr<FrontAppLog> frontApps;
    // Optional: sleep and wake, mounts, the file manager.
    std::unique_ptr<PowerMonitor> power;
    std::unique_ptr<MountMonitor> mounts;
    std::unique_ptr<FileRevealer> revealer;
    // Reads the local model's availability afresh; AIAvailability::current() when empty.
    std::function<QCoro::Task<AIAvailability>()> availability;
    // Waits until a file is a complete image; ScreenshotDetector::waitUntilComplete when empty.
    std::function<QCoro::Task<bool>(QString path, std::chrono::milliseconds timeout)> waitUntilComplete;
    // Must outlive the model; the system clock when null.
    const Clock *clock = nullptr;
    // The file-system calls of renames; must outlive the model; the system's when null.
    const RenameCalls *renameCalls = nullptr;
    FolderBookmark::Options bookmarkOptions;
    AppModelTiming timing;
    // Handed to the folder watcher: the application's own renames are not reported back.
    bool ignoreOwnEvents = true;
    // The build whose first launch prewarms the analyzer once.
    QString buildNumber;

    // The tray application's services on this desktop.
    static AppModelServices system();
    // Only what a one-off command needs: the analyzer on the session bus; no notifications, no observers.
    static AppModelServices commandLine();
};
