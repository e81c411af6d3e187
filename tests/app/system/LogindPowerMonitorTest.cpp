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
        modes.append(what + QLatin1Char(':') + mode);
        QDBusUnixFileDescriptor lock(fds[1]);
        ::close(fds[1]);
        return lock;
    }
};

class LogindPowerMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        m_logindConnection = m_bus.connect();
        ASSERT_TRUE(m_logindConnection.registerObject(QString::fromLatin1(LogindPowerMonitor::path), &m_logind,
                                                      QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(m_logindConnection.registerService(QString::fromLatin1(LogindPowerMonitor::service)));
    }

    void announce(bool goingToSleep)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(LogindPowerMonitor::path),
                                                         QString::fromLatin1(LogindPowerMonitor::interface),
                                                         QStringLiteral("PrepareForSleep"));
        signal << goingToSleep;
        m_logindConnection.send(signal);
    }

    PrivateBus m_bus{PrivateBus::configWithoutServices()};
    QDBusConnection m_logindConnection{QString()};
    FakeLogind m_logind;
};

} // namespace

TEST_F(LogindPowerMonitorTest, holdsADelayLockThatIsReleasedWhenSleepBeginsAndRetakenOnWake)
{
    LogindPowerMonitor monitor(m_bus.connect());
    ASSERT_TRUE(monitor.isListening());
    QSignalSpy locks(&monitor, &LogindPowerMonitor::delayLockChanged);
    ASSERT_TRUE(locks.wait(5000));
    ASSERT_TRUE(monitor.holdsDelayLock());
    EXPECT_EQ(m_logind.modes, QStringList{QStringLiteral("sleep:delay")});
    EXPECT_FALSE(m_logind.released(0));

    QSignalSpy sleeping(&monitor, &PowerMonitor::aboutToSleep);
    QSignalSpy woke(&monitor, &PowerMonitor::wokeUp);
    announce(true);
    ASSERT_TRUE(sleeping.wait(5000));
    EXPECT_FALSE(monitor.holdsDelayLock());
    EXPECT_TRUE(m_logind.released(0));
    EXPECT_EQ(woke.count(), 0);

    announce(false);
    ASSERT_TRUE(woke.wait(5000));
    ASSERT_TRUE(monitor.holdsDelayLock() || locks.wait(5000));
    EXPECT_EQ(m_logind.readEnds.size(), 2);
    EXPECT_EQ(sleeping.count(), 1);
}

#include "LogindPowerMonitorTest.moc"
