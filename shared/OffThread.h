// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QCoroFuture>
#include <QCoroTask>
#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>

// Runs function on the global thread pool and resumes the awaiting coroutine on its own thread with the result,
// so blocking or CPU-heavy work never holds up the event loop.
// GCC 12 destroys a temporary coroutine argument twice when it has non-trivial members: pass a named callable
// (or one capturing only trivial values), never a lambda temporary that captures strings or images.
template <typename F>
auto runOffThread(F function) -> QCoro::Task<std::invoke_result_t<F>>
{
    using Result = std::invoke_result_t<F>;
    // QThreadPool::start takes a copyable std::function, and QPromise cannot be copied.
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, function = std::move(function)]() mutable {
        if constexpr (std::is_void_v<Result>) {
            function();
        } else {
            promise->addResult(function());
        }
        promise->finish();
    });
    if constexpr (std::is_void_v<Result>) {
        co_await future;
    } else {
        co_return co_await future;
    }
}
