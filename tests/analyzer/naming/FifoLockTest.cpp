// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "FifoLock.h"
#include "CoroTest.h"

#include <QCoroTimer>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QCoro::Task<void> hold(FifoLock &lock, QStringList &log, QString name, int milliseconds)
{
    const FifoLock::Guard guard = co_await lock.acquire();
    log.append(name + u'+');
    if (milliseconds > 0) {
        QTimer timer;
        timer.setSingleShot(true);
        timer.start(milliseconds);
        co_await timer;
    }
    log.append(name + u'-');
}

QCoro::Task<void> all(QCoro::Task<void> a, QCoro::Task<void> b, QCoro::Task<void> c)
{
    co_await std::move(a);
    co_await std::move(b);
    co_await std::move(c);
}

TEST(FifoLock, HoldersTakeTurnsInArrivalOrder)
{
    FifoLock lock;
    QStringList log;
    QCoro::Task<void> a = hold(lock, log, u"a"_qs, 30);
    QCoro::Task<void> b = hold(lock, log, u"b"_qs, 0);
    QCoro::Task<void> c = hold(lock, log, u"c"_qs, 10);
    EXPECT_EQ(lock.waiting(), 2);
    runTask(all(std::move(a), std::move(b), std::move(c)));
    EXPECT_EQ(log, (QStringList{u"a+"_qs, u"a-"_qs, u"b+"_qs, u"b-"_qs, u"c+"_qs, u"c-"_qs}));
    EXPECT_FALSE(lock.isLocked());

    // Free again: the next caller goes straight in.
    log.clear();
    runTask(hold(lock, log, u"d"_qs, 0));
    EXPECT_EQ(log, (QStringList{u"d+"_qs, u"d-"_qs}));
}

} // namespace
