// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "SignalWait.h"
#include "CoroTest.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Beacon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    void rang(int count);
};

} // namespace

// A loop of waits, as a queue waiting for room or a command waiting for its workers: each wakeup may come as a pair
// of emissions, and the second must find the wait that has already resumed and gone, not its freed frame.
TEST(SignalWaitTest, EachWaitResumesOnceAndEndsOnEmissionTimeoutOrDestruction)
{
    Beacon beacon;
    int rounds = 0;
    const auto waitThreeTimes = [](Beacon *source, int *count) -> QCoro::Task<bool> {
        for (int n = 0; n < 3; ++n) {
            if (!co_await NextSignal(source, &Beacon::rang))
                co_return false;
            ++*count;
        }
        co_return true;
    };
    QTimer pairs;
    QObject::connect(&pairs, &QTimer::timeout, &beacon, [&beacon] {
        Q_EMIT beacon.rang(1);
        Q_EMIT beacon.rang(2);
    });
    pairs.start(5);
    EXPECT_TRUE(runTask(waitThreeTimes(&beacon, &rounds)));
    EXPECT_EQ(rounds, 3);
    pairs.stop();
    QCoreApplication::processEvents();

    const auto waitWithin = [](Beacon *source, std::chrono::milliseconds limit) -> QCoro::Task<bool> {
        co_return co_await NextSignal(source, &Beacon::rang, limit);
    };
    EXPECT_FALSE(runTask(waitWithin(&beacon, std::chrono::milliseconds(10))));

    auto doomed = std::make_unique<Beacon>();
    QTimer::singleShot(0, [&doomed] { doomed.reset(); });
    EXPECT_FALSE(runTask(waitWithin(doomed.get(), std::chrono::milliseconds(-1))));
}

#include "SignalWaitTest.moc"
