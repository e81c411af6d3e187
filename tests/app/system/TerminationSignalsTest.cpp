// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TerminationSignals.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

// A SIGTERM ending the application cleanly is what the install and soak tests see; here a hang-up and the default.
TEST(TerminationSignals, aHangUpArrivesAsASignalAndTheDefaultComesBackAfterwards)
{
    {
        TerminationSignals signals;
        QSignalSpy received(&signals, &TerminationSignals::received);
        ASSERT_EQ(::raise(SIGHUP), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 5000));
        EXPECT_EQ(received.at(0).at(0).toInt(), SIGHUP);
    }
    struct sigaction current = {};
    ASSERT_EQ(::sigaction(SIGHUP, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}
