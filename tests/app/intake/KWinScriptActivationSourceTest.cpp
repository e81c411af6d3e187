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

// A window as KWin's scripts see it: KWin 5 gives the resource names as byte arrays, KWin 6 as strings.
class FakeWindow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString desktopFileName MEMBER m_desktopFileName CONSTANT)
    Q_PROPERTY(QVariant resourceClass MEMBER m_resourceClass CONSTANT)
    Q_PROPERTY(QVariant resourceName MEMBER m_resourceName CONSTANT)

public:
    FakeWindow(QString desktopFileName, QVariant resourceClass, QVariant resourceName)
        : m_desktopFileName(std::move(desktopFileName))
        , m_resourceClass(std::move(resourceClass))
        , m_resourceName(std::move(resourceName))
    {}

private:
    QString m_desktopFileName;
    QVariant m_resourceClass;
    QVariant m_resourceName;
};

class FakeWorkspace : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *activeWindow MEMBER activeWindow NOTIFY windowActivated)

public:
    QObject *activeWindow = nullptr;

Q_SIGNALS:
    void windowActivated(QObject *window);
};

// KWin's callDBus(), over the fake's own connection.
class Caller : public QObject
{
    Q_OBJECT

public:
    explicit Caller(QDBusConnection connection)
        : m_connection(std::move(connection))
    {}

    Q_INVOKABLE void call(const QVariantList &arguments)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(arguments.value(0).toString(), arguments.value(1).toString(),
                                           arguments.value(2).toString(), arguments.value(3).toString());
        for (qsizetype i = 4; i < arguments.size(); ++i)
            message << arguments.at(i).toString();
        m_connection.asyncCall(message);
    }

private:
    QDBusConnection m_connection;
};

// KWin's scripting interface: loads a script file and runs it in a JavaScript engine, as KWin does.
class FakeKWin : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")

public:
    explicit FakeKWin(const QDBusConnection &connection)
        : m_caller(connection)
    {
        QJSValue global = m_engine.globalObject();
        global.setProperty(QStringLiteral("workspace"), m_engine.newQObject(&workspace));
        global.setProperty(QStringLiteral("__caller"), m_engine.newQObject(&m_caller));
        m_engine.evaluate(
            QStringLiteral("function callDBus() { __caller.call(Array.prototype.slice.call(arguments)); }"));
        QJSEngine::setObjectOwnership(&workspace, QJSEngine::CppOwnership);
        QJSEngine::setObjectOwnership(&m_caller, QJSEngine::CppOwnership);
    }

    FakeWorkspace workspace;
    QStringList loaded;
    QStringList unloaded;
    QString scriptText;

public Q_SLOTS:
    int loadScript(const QString &path, const QString &name)
    {
        QFile file(path);
        if (loaded.contains(name) || !file.open(QIODevice::ReadOnly))
            return -1;
        scriptText = QString::fromUtf8(file.readAll());
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
        const QJSValue result = m_engine.evaluate(scriptText);
        EXPECT_FALSE(result.isError()) << result.toString().toStdString();
    }

    QJSValue window(QObject *window)
    {
        QJSEngine::setObjectOwnership(window, QJSEngine::CppOwnership);
        return m_engine.newQObject(window);
    }

private:
    Caller m_caller;
    QJSEngine m_engine;
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

    // KWin 5: byte arrays.
    FakeWindow alpha(QStringLiteral("org.example.Alpha"), QByteArray("alpha"), QByteArray("alpha"));
    FakeWindow wayland(QString(), QStringLiteral("org.example.beta"), QStringLiteral("beta"));
    kwin.workspace.activeWindow = &alpha;

    QDBusConnection appConnection = bus.connect();
    KWinScriptActivationSource source(appConnection, {data.path()});
    QSignalSpy spy(&source, &ActivationSource::activated);
    ASSERT_TRUE(source.start());
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("Alpha Editor"));
    EXPECT_EQ(source.frontmostApplication(), QStringLiteral("Alpha Editor"));

    // A native Wayland window without a desktop entry: its application id.
    Q_EMIT kwin.workspace.windowActivated(&wayland);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QStringLiteral("org.example.beta"));
    Q_EMIT kwin.workspace.windowActivated(nullptr);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).toString(), QString());
    EXPECT_EQ(source.frontmostApplication(), std::nullopt);

    // Another client cannot pass off an application as the one in front.
    QDBusConnection other = bus.connect();
    QDBusMessage forged = QDBusMessage::createMethodCall(
        appConnection.baseService(), QLatin1String(KWinScriptActivationSource::reportPath),
        QLatin1String(KWinScriptActivationSource::reportInterface), QStringLiteral("Activated"));
    forged << QStringLiteral("org.example.Alpha") << QStringLiteral("alpha") << QStringLiteral("alpha");
    const QDBusPendingCall call = other.asyncCall(forged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return call.isFinished(); }, 5000));
    EXPECT_FALSE(call.isError()) << call.error().message().toStdString();
    EXPECT_TRUE(spy.isEmpty());
    EXPECT_EQ(source.frontmostApplication(), std::nullopt);

    source.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return kwin.loaded.isEmpty(); }, 5000));
    EXPECT_TRUE(kwin.unloaded.contains(QLatin1String(KWinScriptActivationSource::pluginName)));
}

#include "KWinScriptActivationSourceTest.moc"
