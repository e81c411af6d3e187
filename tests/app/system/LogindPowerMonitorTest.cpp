// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "LogindPowerMonitor.h"

#include "PrivateBus.h"

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
// Stands in for logind: hands out delay locks as pipes and keeps the reading ends to see when they are released.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~FakeLogind() override
    {
        for (int fd : std::as_const(readEnds))
            ::close(fd);
    }

    QList<int> readEnds;
    QStringList modes;

    // Whether the writing end of the lock handed out `index`-th is closed everywhere.
    bool released(int index) const
    {
        pollfd entry{readEnds.at(index), POLLIN, 0};
        return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLHUP);
    }

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &, const QString &, const QString &mode)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return {};
        readEnds.append(fds[0]);
        modes.append(what + u':' + mode);
        QDBusUnixFileDescriptor lock(fds[1]);
        ::close(fds[1]);
        return lock;
    }
};
} // namespace

TEST(LogindPowerMonitorTest, holdsADelayLockThatIsReleasedWhenSleepBeginsAndRetakenOnWake)
{
    PrivateBus bus(PrivateBus::configWithoutServices());
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection logind = bus.connect();
    FakeLogind fake;
    ASSERT_TRUE(
        logind.registerObject(QString::fromLatin1(LogindPowerMonitor::path), &fake, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(logind.registerService(QString::fromLatin1(LogindPowerMonitor::service)));
    const auto announce = [&logind](bool goingToSleep) {
        QDBusMessage signal =
            QDBusMessage::createSignal(QString::fromLatin1(LogindPowerMonitor::path),
                                       QString::fromLatin1(LogindPowerMonitor::interface), u"PrepareForSleep"_qs);
        logind.send(signal << goingToSleep);
    };

    LogindPowerMonitor monitor(bus.connect());
    ASSERT_TRUE(monitor.isListening());
    QSignalSpy locks(&monitor, &LogindPowerMonitor::delayLockChanged);
    ASSERT_TRUE(locks.wait(5000));
    ASSERT_TRUE(monitor.holdsDelayLock());
    EXPECT_EQ(fake.modes, QStringList{u"sleep:delay"_qs});
    EXPECT_FALSE(fake.released(0));

    QSignalSpy sleeping(&monitor, &PowerMonitor::aboutToSleep);
    QSignalSpy woke(&monitor, &PowerMonitor::wokeUp);
    announce(true);
    ASSERT_TRUE(sleeping.wait(5000));
    EXPECT_FALSE(monitor.holdsDelayLock());
    EXPECT_TRUE(fake.released(0));
    EXPECT_EQ(woke.count(), 0);

    announce(false);
    ASSERT_TRUE(woke.wait(5000));
    ASSERT_TRUE(monitor.holdsDelayLock() || locks.wait(5000));
    EXPECT_EQ(fake.readEnds.size(), 2);
    EXPECT_EQ(sleeping.count(), 1);
}

#include "LogindPowerMonitorTest.moc"
