// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AnalyzerBus.h"
#include "FakeEngine.h"
#include "PrivateBus.h"
#include "ServiceHost.h"
#include "TempDir.h"

#include <QDBusInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>

using namespace std::chrono_literals;

namespace {
QDBusPendingCall callAnalyze(QDBusConnection connection, const QString &path, const QByteArray &request)
{
    QDBusUnixFileDescriptor descriptor;
    descriptor.giveFileDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    QDBusMessage call = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                       AnalyzerBus::interfaceName, QStringLiteral("Analyze"));
    call << QVariant::fromValue(descriptor) << request;
    return connection.asyncCall(call, 10000);
}

// The service lives on this thread, so waiting must keep the event loop running.
QDBusMessage waitForReply(QDBusPendingCall call)
{
    EXPECT_TRUE(QTest::qWaitFor([&call] { return call.isFinished(); }, 10000));
    return call.reply();
}

AnalyzeResponse waitForResponse(QDBusPendingCall call)
{
    waitForReply(call);
    QDBusPendingReply<QByteArray> reply = call;
    EXPECT_TRUE(reply.isValid()) << reply.error().message().toStdString();
    const std::optional<AnalyzeResponse> response = AnalyzeResponse::fromJson(reply.value());
    EXPECT_TRUE(response.has_value());
    return response.value_or(AnalyzeResponse{});
}

class ServiceBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        m_serviceConnection = m_bus.connect();
        QString error;
        ASSERT_TRUE(m_host.publish(m_serviceConnection, &error)) << error.toStdString();
    }

    AnalyzeRequest m_request;
    PrivateBus m_bus{PrivateBus::configWithoutServices()};
    std::shared_ptr<EngineLog> m_log = std::make_shared<EngineLog>();
    ServiceHost m_host{FakeEngine::factory(m_log, 150ms), {300ms, 5000ms}, [] {}};
    QDBusConnection m_serviceConnection{QString()};
    TempDir m_dir;
};
} // namespace

TEST_F(ServiceBus, PeersGetTheirOwnEngineAndTheirCallsRunTogether)
{
    const QString path = m_dir.write(QStringLiteral("shot.png"), QByteArray(1234, 'p'));
    QDBusConnection first = m_bus.connect();
    QDBusConnection second = m_bus.connect();

    QDBusPendingCall a = callAnalyze(first, path, m_request.toJson());
    QDBusPendingCall b = callAnalyze(second, path, m_request.toJson());
    EXPECT_EQ(waitForResponse(a).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(waitForResponse(b).title, QStringLiteral("1234 bytes"));
    EXPECT_EQ(m_log->created, 2);
    EXPECT_EQ(m_log->mostRunning, 2) << "delayed replies let both calls run at once";

    // The same peer again keeps its engine.
    waitForResponse(callAnalyze(first, path, m_request.toJson()));
    EXPECT_EQ(m_log->created, 2);
}

TEST_F(ServiceBus, BadRequestIsAnsweredAndPrewarmReachesThePeersEngine)
{
    QDBusConnection client = m_bus.connect();
    const AnalyzeResponse response = waitForResponse(callAnalyze(client, m_dir.write(QStringLiteral("x")), "{"));
    EXPECT_EQ(response.errorMessage, QStringLiteral("Bad request"));

    QDBusMessage prewarm = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                          AnalyzerBus::interfaceName, QStringLiteral("Prewarm"));
    prewarm << QStringLiteral("ru");
    prewarm.setAutoStartService(true);
    ASSERT_TRUE(client.send(prewarm));
    for (int i = 0; i < 100 && m_log->prewarmed.isEmpty(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(m_log->prewarmed, QStringList{QStringLiteral("ru")});
    EXPECT_EQ(m_log->created, 1);
}

TEST_F(ServiceBus, GoesIdleAfterTheLastReply)
{
    QSignalSpy idle(&m_host, &ServiceHost::idle);
    QDBusConnection client = m_bus.connect();
    QDBusPendingCall call = callAnalyze(client, m_dir.write(QStringLiteral("a"), "a"), m_request.toJson());
    // The call takes 150 ms and the idle delay is 300 ms: no exit while it runs.
    waitForResponse(call);
    EXPECT_TRUE(idle.isEmpty());
    ASSERT_TRUE(idle.wait(2000));
}

TEST_F(ServiceBus, ExportsExactlyTheCommittedInterface)
{
    QDBusMessage introspect = QDBusMessage::createMethodCall(AnalyzerBus::serviceName, AnalyzerBus::objectPath,
                                                             QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                             QStringLiteral("Introspect"));
    const QDBusMessage reply = waitForReply(m_bus.connect().asyncCall(introspect));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage);

    auto methods = [](const QString &xml) {
        QDomDocument document;
        document.setContent(xml);
        QStringList found;
        const QDomNodeList interfaces = document.elementsByTagName(QStringLiteral("interface"));
        for (int i = 0; i < interfaces.size(); ++i) {
            const QDomElement interface = interfaces.at(i).toElement();
            if (interface.attribute(QStringLiteral("name")) != AnalyzerBus::interfaceName)
                continue;
            const QDomNodeList list = interface.elementsByTagName(QStringLiteral("method"));
            for (int j = 0; j < list.size(); ++j) {
                QString signature = list.at(j).toElement().attribute(QStringLiteral("name")) + QLatin1Char('(');
                const QDomNodeList args = list.at(j).toElement().elementsByTagName(QStringLiteral("arg"));
                for (int k = 0; k < args.size(); ++k)
                    signature += args.at(k).toElement().attribute(QStringLiteral("direction"), QStringLiteral("in")) +
                                 QLatin1Char(' ') + args.at(k).toElement().attribute(QStringLiteral("type")) +
                                 QLatin1Char(';');
                found.append(signature + QLatin1Char(')'));
            }
        }
        found.sort();
        return found;
    };
    QFile committed(QStringLiteral(ZENTROPE_SOURCE_DIR "/analyzer/host/org.zentrope.Zentrope.Analyzer1.xml"));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    const QStringList expected = methods(QString::fromUtf8(committed.readAll()));
    EXPECT_EQ(expected.size(), 2);
    EXPECT_EQ(methods(reply.arguments().value(0).toString()), expected)
        << reply.arguments().value(0).toString().toStdString();
}
