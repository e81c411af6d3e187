// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NotifierDBusServer.h"
#include "InterfaceLanguage.h"
#include "L10n.h"
#include "Notifier.h"
#include "PrivateBus.h"
#include "SampleRecord.h"

#include <QDBusConnection>
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
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Call> calls;
    uint nextId = 7;

    bool serve(QDBusConnection connection)
    {
        return connection.registerObject(QLatin1String(NotifierDBusServer::objectPath), this,
                                         QDBusConnection::ExportAllSlots) &&
               connection.registerService(QLatin1String(NotifierDBusServer::serviceName));
    }

public Q_SLOTS:
    QStringList GetCapabilities() { return {u"actions"_qs, u"body"_qs}; }
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &, const QString &,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        calls.append({appName, replacesId, appIcon, actions, hints, timeout});
        return replacesId != 0 ? replacesId : nextId++;
    }
};

void emitAction(const QDBusConnection &from, uint id, const QString &action)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(NotifierDBusServer::objectPath),
                                   QLatin1String(NotifierDBusServer::interfaceName), u"ActionInvoked"_qs);
    signal << id << action;
    from.send(signal);
}
} // namespace

TEST(NotifierDBusTest, NotificationsAndTheirActionsTravelOnlyBetweenTheNotifierAndTheServerThatShowedThem)
{
    L10n::apply(InterfaceLanguage::en);
    // No activatable services: only the fakes below can answer as the notification server.
    PrivateBus bus(PrivateBus::configWithoutServices());
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
    QDBusConnection desktop = bus.connect();
    Notifier notifier(std::make_unique<NotifierDBusServer>(bus.connect()));
    QList<QUuid> undone, revealed;
    notifier.setOnUndo([&](const QUuid &id) { undone.append(id); });
    notifier.setOnReveal([&](const QUuid &id) { revealed.append(id); });
    QSignalSpy delivered(&notifier, &Notifier::delivered);

    // Without a server nothing is authorised, until one starts. The reply may come before any wait.
    notifier.postError(u"a.png"_qs, u"x"_qs, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 1; }));
    EXPECT_FALSE(delivered.back().at(1).toBool());
    EXPECT_EQ(notifier.authorized(), false);
    FakeNotifications fake;
    ASSERT_TRUE(fake.serve(desktop));

    // Posted back to back: the second must still learn the first one's id.
    const RenameRecord first = sampleRecord(u"One.png"_qs);
    const RenameRecord second = sampleRecord(u"Two.png"_qs);
    notifier.postRenamed(first, NotificationMode::all);
    notifier.postRenamed(first, NotificationMode::all);
    notifier.postRenamed(second, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 4; }));
    EXPECT_TRUE(delivered.at(1).at(1).toBool());
    EXPECT_EQ(delivered.at(1).at(0).toString(), uuidText(first.id));
    ASSERT_EQ(fake.calls.size(), 3);
    const auto &call = fake.calls.front();
    EXPECT_EQ(call.appName, u"Zentrope"_qs);
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_EQ(call.appIcon, u"org.zentrope.Zentrope"_qs);
    EXPECT_EQ(call.actions.size(), 6);
    EXPECT_EQ(call.hints.value(u"desktop-entry"_qs).toString(), u"org.zentrope.Zentrope"_qs);
    EXPECT_EQ(call.timeout, -1);
    EXPECT_EQ(fake.calls.at(1).replacesId, 7u);

    // Another client on the bus cannot act on the user's behalf.
    QDBusConnection intruder = bus.connect();
    emitAction(intruder, 7, u"UNDO"_qs);
    emitAction(desktop, 8, u"default"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !revealed.isEmpty(); }));
    emitAction(desktop, 7, u"UNDO"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !undone.isEmpty(); }));
    QTest::qWait(50);
    EXPECT_EQ(revealed, QList<QUuid>{second.id});
    EXPECT_EQ(undone, QList<QUuid>{first.id});

    // A restarted server numbers afresh: its id 7 is not our notification.
    ASSERT_TRUE(desktop.unregisterService(QLatin1String(NotifierDBusServer::serviceName)));
    QDBusConnection restarted = bus.connect();
    FakeNotifications other;
    ASSERT_TRUE(other.serve(restarted));
    notifier.postError(u"c.png"_qs, u"x"_qs, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.calls.size() == 1; }));
    emitAction(restarted, 7, u"UNDO"_qs);
    QTest::qWait(100);
    EXPECT_EQ(undone.size(), 1);
}

#include "NotifierDBusServerTest.moc"
