// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "KWinScriptActivationSource.h"

#include "PrivateBus.h"
#include "TempDir.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QJSEngine>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// KWin's scripting interface on a bus: loads the script file and runs it in a JavaScript engine with a workspace
// of plain objects (KWin 5 gives resource names as byte arrays, KWin 6 as strings) and callDBus().
class FakeKWin : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")

public:
    explicit FakeKWin(QDBusConnection connection)
        : m_connection(std::move(connection))
    {
        m_engine.globalObject().setProperty(QStringLiteral("kwin"), m_engine.newQObject(this));
        QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
        m_engine.evaluate(QStringLiteral(R"(
            function callDBus() { kwin.call(Array.prototype.slice.call(arguments)); }
            function bytes(text) { return new Uint8Array(text.split("").map(c => c.charCodeAt(0))).buffer; }
            var alpha = {desktopFileName: "org.example.Alpha", resourceClass: bytes("alpha"), resourceName: bytes("alpha")};
            var beta = {desktopFileName: "", resourceClass: "org.example.beta", resourceName: "beta"};
            var workspace = {activeWindow: alpha, handlers: [],
                             windowActivated: {connect: f => workspace.handlers.push(f)}};
            function activate(window) { workspace.handlers.forEach(f => f(window)); })"));
    }

    void activate(const char *window) { m_engine.evaluate(QStringLiteral("activate(%1)").arg(QLatin1String(window))); }

    QStringList loaded;
    QStringList unloaded;

    Q_INVOKABLE void call(const QVariantList &arguments)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(arguments.value(0).toString(), arguments.value(1).toString(),
                                           arguments.value(2).toString(), arguments.value(3).toString());
        for (qsizetype i = 4; i < arguments.size(); ++i)
            message << arguments.at(i).toString();
        m_connection.asyncCall(message);
    }

public Q_SLOTS:
    int loadScript(const QString &path, const QString &name)
    {
        QFile file(path);
        if (loaded.contains(name) || !file.open(QIODevice::ReadOnly))
            return -1;
        m_script = QString::fromUtf8(file.readAll());
        loaded.append(name);
        return 0;
    }
    bool unloadScript(const QString &name)
    {
        unloaded.append(name);
        return loaded.removeAll(name) > 0;
    }
    void start()
    {
        const QJSValue result = m_engine.evaluate(m_script);
        EXPECT_FALSE(result.isError()) << result.toString().toStdString();
    }

private:
    QDBusConnection m_connection;
    QJSEngine m_engine;
    QString m_script;
};

} // namespace

TEST(KWinScriptActivationSourceTest, theScriptReportsEveryActivatedWindowAndOnlyKWinIsHeard)
{
    PrivateBus bus{PrivateBus::configWithoutServices()};
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection kwinConnection = bus.connect();
    FakeKWin kwin(kwinConnection);
    ASSERT_TRUE(kwinConnection.registerObject(QLatin1String(KWinScriptActivationSource::scriptingPath), &kwin,
                                              QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(kwinConnection.registerService(QLatin1String(KWinScriptActivationSource::kwinService)));
    TempDir data;
    data.write(QStringLiteral("applications/org.example.Alpha.desktop"), "[Desktop Entry]\nName=Alpha Editor\n");

    QDBusConnection appConnection = bus.connect();
    KWinScriptActivationSource source(appConnection, {data.path()});
    QSignalSpy spy(&source, &ActivationSource::activated);
    ASSERT_TRUE(source.start());
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("Alpha Editor"));

    // A native Wayland window without a desktop entry gives its application id; no window gives nothing.
    kwin.activate("beta");
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("org.example.beta"));
    kwin.activate("null");
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(source.frontmostApplication(), std::nullopt);

    // Another client cannot pass off an application as the one in front.
    QDBusMessage forged = QDBusMessage::createMethodCall(
        appConnection.baseService(), QLatin1String(KWinScriptActivationSource::reportPath),
        QLatin1String(KWinScriptActivationSource::reportInterface), QStringLiteral("Activated"));
    forged << QStringLiteral("org.example.Alpha") << QStringLiteral("alpha") << QStringLiteral("alpha");
    const QDBusPendingCall call = bus.connect().asyncCall(forged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return call.isFinished(); }, 5000));
    EXPECT_FALSE(call.isError()) << call.error().message().toStdString();
    EXPECT_EQ(source.frontmostApplication(), std::nullopt);

    source.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return kwin.loaded.isEmpty(); }, 5000));
    EXPECT_TRUE(kwin.unloaded.contains(QLatin1String(KWinScriptActivationSource::pluginName)));
}

#include "KWinScriptActivationSourceTest.moc"
