// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NotifierDBusServer.h"
#include "InterfaceLanguage.h"
#include "L10n.h"
#include "Notifier.h"
#include "PrivateBus.h"
#include "SampleRecord.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// A desktop notification server as small as the protocol allows: it records every call.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName;
        uint replacesId;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Call> calls;
    uint nextId = 7;

public Q_SLOTS:
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        calls.append({appName, replacesId, appIcon, summary, body, actions, hints, timeout});
        return replacesId != 0 ? replacesId : nextId++;
    }
};

class NotifierDBusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        L10n::apply(InterfaceLanguage::en);
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        client = bus.connect();
        desktop = bus.connect();
        ASSERT_TRUE(client.isConnected());
        ASSERT_TRUE(desktop.isConnected());
        notifier = std::make_unique<Notifier>(std::make_unique<NotifierDBusServer>(client));
        notifier->setOnUndo([this](const QUuid &id) { undone.append(id); });
        notifier->setOnReveal([this](const QUuid &id) { revealed.append(id); });
    }

    void startServer()
    {
        ASSERT_TRUE(desktop.registerObject(QLatin1String(NotifierDBusServer::objectPath), &fake,
                                           QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(desktop.registerService(QLatin1String(NotifierDBusServer::serviceName)));
    }

    static void emitAction(const QDBusConnection &from, uint id, const QString &action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(NotifierDBusServer::objectPath),
                                                         QLatin1String(NotifierDBusServer::interfaceName),
                                                         QStringLiteral("ActionInvoked"));
        signal << id << action;
        from.send(signal);
    }

    // No activatable services: only the fake below can answer as the notification server.
    PrivateBus bus{PrivateBus::configWithoutServices()};
    QDBusConnection client{QString()};
    QDBusConnection desktop{QString()};
    FakeNotifications fake;
    std::unique_ptr<Notifier> notifier;
    QList<QUuid> undone;
    QList<QUuid> revealed;
};
} // namespace

TEST_F(NotifierDBusTest, WithoutAServerNothingIsAuthorisedUntilOneStarts)
{
    QSignalSpy delivered(notifier.get(), &Notifier::delivered);
    notifier->postError(QStringLiteral("a.png"), QStringLiteral("x"), NotificationMode::all);
    // The reply may already be in when the notifier looks, so the signal can come before any wait.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !delivered.isEmpty(); }));
    EXPECT_FALSE(delivered.front().at(1).toBool());
    EXPECT_EQ(notifier->authorized(), false);

    startServer();
    notifier->postError(QStringLiteral("b.png"), QStringLiteral("x"), NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 2; }));
    EXPECT_TRUE(delivered.back().at(1).toBool());
    EXPECT_EQ(fake.calls.size(), 1);
}

TEST_F(NotifierDBusTest, NotifyArgumentsAndReplacement)
{
    startServer();
    QSignalSpy delivered(notifier.get(), &Notifier::delivered);
    const RenameRecord renamed = sampleRecord(QStringLiteral("Report.png"));
    // Posted back to back: the second must still learn the first one's id.
    notifier->postRenamed(renamed, NotificationMode::all);
    notifier->postRenamed(renamed, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.count() == 2; }));
    EXPECT_TRUE(delivered.at(0).at(1).toBool());
    EXPECT_EQ(delivered.at(0).at(0).toString(), uuidText(renamed.id));

    ASSERT_EQ(fake.calls.size(), 2);
    // The texts are the notifier's; here only what the wire carries.
    const auto &call = fake.calls.front();
    EXPECT_EQ(call.appName, QStringLiteral("Zentrope"));
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_EQ(call.appIcon, QStringLiteral("org.zentrope.Zentrope"));
    EXPECT_EQ(call.actions.size(), 6);
    EXPECT_EQ(call.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("org.zentrope.Zentrope"));
    EXPECT_EQ(call.timeout, -1);
    EXPECT_EQ(fake.calls.at(1).replacesId, 7u);
}

TEST_F(NotifierDBusTest, ActionsFromTheServerReachTheCallbacks)
{
    startServer();
    QSignalSpy delivered(notifier.get(), &Notifier::delivered);
    const RenameRecord first = sampleRecord(QStringLiteral("One.png"));
    const RenameRecord second = sampleRecord(QStringLiteral("Two.png"));
    notifier->postRenamed(first, NotificationMode::all);  // id 7
    notifier->postRenamed(second, NotificationMode::all); // id 8
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.count() == 2; }));

    // Another client on the bus cannot act on the user's behalf.
    QDBusConnection intruder = bus.connect();
    emitAction(intruder, 7, QStringLiteral("UNDO"));
    emitAction(desktop, 8, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !revealed.isEmpty(); }));
    emitAction(desktop, 7, QStringLiteral("UNDO"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !undone.isEmpty(); }));
    QTest::qWait(50);
    EXPECT_EQ(revealed, QList<QUuid>{second.id});
    EXPECT_EQ(undone, QList<QUuid>{first.id});

    // A restarted server numbers afresh: its id 7 is not our notification.
    ASSERT_TRUE(desktop.unregisterService(QLatin1String(NotifierDBusServer::serviceName)));
    QDBusConnection restarted = bus.connect();
    FakeNotifications other;
    ASSERT_TRUE(restarted.registerObject(QLatin1String(NotifierDBusServer::objectPath), &other,
                                         QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(restarted.registerService(QLatin1String(NotifierDBusServer::serviceName)));
    notifier->postError(QStringLiteral("c.png"), QStringLiteral("x"), NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.calls.size() == 1; }));
    emitAction(restarted, 7, QStringLiteral("UNDO"));
    QTest::qWait(100);
    EXPECT_EQ(undone.size(), 1);
}

#include "NotifierDBusServerTest.moc"
