// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroTask>

// Runs a coroutine to completion on the current thread's event loop and returns its result.
template <typename T>
T runTask(QCoro::Task<T> &&task)
{
    return QCoro::waitFor(std::move(task));
}

inline void runTask(QCoro::Task<void> &&task)
{
    QCoro::waitFor(std::move(task));
}
