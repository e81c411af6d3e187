// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QString>

// Where a job came from: automatic work (a folder event, the catch-up or a re-try) or work the user asked for.
enum class JobOrigin { event, catchUp, scan, manual };

// One file waiting for the worker.
struct Job
{
    QString path;
    JobOrigin origin = JobOrigin::event;
    // Accepted into the running batch: counted there and summarised with it instead of notified alone.
    bool batched = false;

    bool isAutomatic() const { return origin == JobOrigin::event || origin == JobOrigin::catchUp; }
    friend bool operator==(const Job &, const Job &) = default;
};
