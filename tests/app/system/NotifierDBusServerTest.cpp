// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "NotifierDBusServer.h"
#include "InterfaceLanguage.h"
#include "L10n.h"
#include "Notifier.h"
#include "PrivateBus.h"

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
        QString body;
        QStringList actions;
        QVariantMap hints;
    };
    QList<Call> calls;
    uint nextId = 7;
    QStringList capabilities{u"actions"_qs, u"body"_qs};

    bool serve(QDBusConnection connection)
    {
        return connection.registerObject(QLatin1String(NotifierDBusServer::objectPath), this,
                                         QDBusConnection::ExportAllSlots) &&
               connection.registerService(QLatin1String(NotifierDBusServer::serviceName));
    }

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int)
    {
        calls.append({appName, replacesId, appIcon, body, actions, hints});
        return replacesId != 0 ? replacesId : nextId++;
    }
};

void emitSignal(const QDBusConnection &from, const char *name, const QVariantList &arguments)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(NotifierDBusServer::objectPath),
                                   QLatin1String(NotifierDBusServer::interfaceName), QLatin1String(name));
    signal.setArguments(arguments);
    from.send(signal);
}

RenameRecord sampleRecord(const QString &currentName)
{
    RenameRecord r;
    r.id = QUuid::createUuid();
    r.folderPath = u"/home/u/Pictures"_qs;
    r.originalName = u"Screenshot from 2026-11-12 10-42-17.png"_qs;
    r.currentName = currentName;
    return r;
}
} // namespace

TEST(NotifierDBusTest, NotificationsAndTheirActionsTravelOnlyBetweenTheNotifierAndTheServerThatShowedThem)
{
    L10n::apply(InterfaceLanguage::en);
    // No activatable services: only the fakes below can answer as the notification server.
    PrivateBus bus(PrivateBus::configWithoutServices());
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
    QDBusConnection desktop = bus.connect();
    auto owned = std::make_unique<NotifierDBusServer>(bus.connect());
    QSignalSpy closed(owned.get(), &NotifierServer::notificationClosed);
    QSignalSpy serverChanges(owned.get(), &NotifierServer::serverChanged);
    Notifier notifier(std::move(owned));
    QList<QUuid> undone, revealed;
    notifier.setOnUndo([&](const QUuid &id) { undone.append(id); });
    notifier.setOnReveal([&](const QUuid &id) { revealed.append(id); });
    QSignalSpy delivered(&notifier, &Notifier::delivered);
    const auto action = [](const QDBusConnection &from, uint id, const QString &key) {
        emitSignal(from, "ActionInvoked", {id, key});
    };

    // Without a server nothing is authorised, until one starts. The reply may come before any wait.
    notifier.postError(u"a.png"_qs, u"x"_qs, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 1; }));
    EXPECT_FALSE(delivered.back().at(1).toBool());
    EXPECT_EQ(notifier.authorized(), false);
    FakeNotifications fake;
    ASSERT_TRUE(fake.serve(desktop));

    // The mode decides what is posted; a record's second notification, even posted back to back, replaces the first.
    const RenameRecord first = sampleRecord(u"One.png"_qs);
    const RenameRecord second = sampleRecord(u"Two.png"_qs);
    notifier.postRenamed(first, NotificationMode::errors);
    notifier.postError(u"a.png"_qs, u"No access"_qs, NotificationMode::off);
    notifier.postInfo(u"Batch"_qs, u"2 of 3"_qs, NotificationMode::errors);
    notifier.postRenamed(first, NotificationMode::all);
    notifier.postRenamed(first, NotificationMode::all);
    notifier.postRenamed(second, NotificationMode::all);
    notifier.postError(u"a.png"_qs, u"No access"_qs, NotificationMode::errors);
    notifier.postInfo(u"Batch"_qs, u"2 of 3"_qs, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 6; }));
    EXPECT_EQ(delivered.at(1).at(0).toString(), uuidText(first.id));
    ASSERT_EQ(fake.calls.size(), 5);
    const auto &rename = fake.calls.front();
    EXPECT_EQ(rename.appName, u"Zentrope"_qs);
    EXPECT_EQ(rename.replacesId, 0u);
    EXPECT_EQ(rename.appIcon, u"org.zentrope.Zentrope"_qs);
    EXPECT_EQ(rename.body, u"One\n"_qs + L("notif.renamed.from", first.originalName));
    EXPECT_EQ(rename.actions, (QStringList{u"default"_qs, L("notif.reveal"), u"UNDO"_qs, L("notif.undo"), u"REVEAL"_qs,
                                           L("notif.reveal")}));
    EXPECT_EQ(rename.hints.value(u"category"_qs).toString(), u"x-zentrope.renames"_qs);
    EXPECT_EQ(fake.calls.at(1).replacesId, 7u);
    const auto &error = fake.calls.at(3);
    EXPECT_EQ(error.body, u"a.png\nNo access"_qs);
    EXPECT_TRUE(error.actions.isEmpty());
    EXPECT_EQ(error.hints.value(u"category"_qs).toString(), u"x-zentrope.errors"_qs);

    // Another client on the bus cannot act on the user's behalf.
    QDBusConnection intruder = bus.connect();
    action(intruder, 7, u"UNDO"_qs);
    action(desktop, 8, u"default"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !revealed.isEmpty(); }));
    action(desktop, 7, u"UNDO"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !undone.isEmpty(); }));
    QTest::qWait(50);
    EXPECT_EQ(revealed, QList<QUuid>{second.id});
    EXPECT_EQ(undone, QList<QUuid>{first.id});

    // Once the user closed it there is nothing left to replace.
    emitSignal(desktop, "NotificationClosed", {8u, 2u});
    ASSERT_TRUE(closed.wait(5000));
    notifier.postRenamed(second, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake.calls.size() == 6; }));
    EXPECT_EQ(fake.calls.back().replacesId, 0u);

    // A restarted server numbers afresh, so its id 7 is not our notification, and is asked again whether it reads
    // markup, which a file name must not pass for.
    serverChanges.clear();
    ASSERT_TRUE(desktop.unregisterService(QLatin1String(NotifierDBusServer::serviceName)));
    QDBusConnection restarted = bus.connect();
    FakeNotifications other;
    other.capabilities.append(u"body-markup"_qs);
    ASSERT_TRUE(other.serve(restarted));
    ASSERT_TRUE(QTest::qWaitFor([&] { return serverChanges.size() == 2; })); // gone, then back
    notifier.postError(u"<b>&.png"_qs, u"x"_qs, NotificationMode::all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.calls.size() == 1; }));
    EXPECT_EQ(other.calls.front().body, u"&lt;b&gt;&amp;.png\nx"_qs);
    action(restarted, 7, u"UNDO"_qs);
    QTest::qWait(100);
    EXPECT_EQ(undone.size(), 1);
}

#include "NotifierDBusServerTest.moc"
