// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppSettings.h"
#include "FolderBookmark.h"
#include "LoginItem.h"
#include "PrivateBus.h"
#include "RenderedScreen.h"
#include "TempDir.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Finished
{
    int exitCode = -1;
    QString output;
};

Finished run(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(), int timeoutMs = 300000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, program + QStringLiteral(" did not finish")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The command a desktop runs for an entry's Exec value: the entry's escapes undone, then split as a shell would
// split the quoted program and its arguments.
QStringList execCommand(const QString &entryPath)
{
    static const QRegularExpression execLine(QStringLiteral("^Exec=(.*)$"), QRegularExpression::MultilineOption);
    QString value = execLine.match(readText(entryPath)).captured(1);
    value.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return QProcess::splitCommand(value);
}

QString renderedShot(const QString &path)
{
    EXPECT_TRUE(renderedScreen(QStringLiteral("Quarterly budget review"),
                               {QStringLiteral("Revenue and costs by region for the third quarter")})
                    .save(path, "PNG"));
    return path;
}

} // namespace

TEST(InstallTest, theInstalledProgramsFindEachOtherAndTheDesktopFindsThem)
{
    TempDir root;
    const QString prefix = root.filePath(QStringLiteral("prefix with space"));
    const Finished install =
        run(qEnvironmentVariable("CMAKE_COMMAND"),
            {QStringLiteral("--install"), QStringLiteral(ZENTROPE_BINARY_DIR), QStringLiteral("--prefix"), prefix});
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    const QDir installed(prefix);
    const QString app = installed.filePath(QStringLiteral("bin/zentrope"));
    const QString analyzer = installed.filePath(QStringLiteral("libexec/zentrope-analyzer"));
    const QString entry = installed.filePath(QStringLiteral("share/applications/org.zentrope.Zentrope.desktop"));
    const QString service =
        installed.filePath(QStringLiteral("share/dbus-1/services/org.zentrope.Zentrope.Analyzer.service"));
    const QString metainfo = installed.filePath(QStringLiteral("share/metainfo/org.zentrope.Zentrope.metainfo.xml"));
    for (const QString &file : {app, analyzer, entry, service, metainfo,
                                installed.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/"
                                                                  "org.zentrope.Zentrope.svg"))})
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
    for (const int size : {16, 48, 256}) {
        const QImage icon(
            installed.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/org.zentrope.Zentrope.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }

    // Configured for this prefix, not the one the build was configured with.
    EXPECT_EQ(execCommand(entry), QStringList{app});
    const Finished desktopCheck = run(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(desktopCheck.exitCode, 0) << desktopCheck.output.toStdString();
    EXPECT_FALSE(desktopCheck.output.contains(QStringLiteral("error"))) << desktopCheck.output.toStdString();
    const Finished metainfoCheck =
        run(QStringLiteral("appstreamcli"),
            {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"), metainfo});
    EXPECT_EQ(metainfoCheck.exitCode, 0) << metainfoCheck.output.toStdString();

    // A profile whose model server does not answer, so names come from the recognised text.
    TempDir config;
    TempDir data;
    TempDir watched;
    TempDir chosen;
    {
        AppSettings settings(
            std::make_shared<KeyValueStore>(config.filePath(QStringLiteral("zentrope/settings.json"))));
        settings.setModelEndpoint(QStringLiteral("http://127.0.0.1:9"));
        settings.setOcrFallback(true);
        settings.setInterfaceLanguage(InterfaceLanguage::en);
        settings.setOnboardingDone(true);
        settings.setFolders(
            {WatchedFolder{QUuid::createUuid(), watched.path(), *FolderBookmark::create(watched.path()), true}});
        // What lands before the watcher is up is caught up at start.
        settings.setLastSeenDate(QDateTime::currentDateTime().addSecs(-60));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    environment.insert(QStringLiteral("ZENTROPE_TEST_IDLE_EXIT_MS"), QStringLiteral("1000"));

    // A session bus that activates services from the prefix's service folder, as a desktop's bus does.
    QString busConfig = readText(QStringLiteral(ZENTROPE_SOURCE_DIR "/tests/data/dbus/session.conf.in"));
    busConfig.replace(QStringLiteral("@ZENTROPE_TEST_SERVICE_DIR@"),
                      installed.filePath(QStringLiteral("share/dbus-1/services")));
    QFile busConfigFile(root.filePath(QStringLiteral("session.conf")));
    ASSERT_TRUE(busConfigFile.open(QIODevice::WriteOnly));
    busConfigFile.write(busConfig.toUtf8());
    busConfigFile.close();
    PrivateBus bus(busConfigFile.fileName(), environment);
    ASSERT_TRUE(bus.isRunning());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());

    // Activation by name starts the installed analyzer.
    QDBusConnection connection = bus.connect();
    const QDBusReply<void> started =
        connection.interface()->startService(QStringLiteral("org.zentrope.Zentrope.Analyzer"));
    ASSERT_TRUE(started.isValid()) << started.error().message().toStdString();
    const QDBusReply<uint> pid = connection.interface()->servicePid(QStringLiteral("org.zentrope.Zentrope.Analyzer"));
    ASSERT_TRUE(pid.isValid()) << pid.error().message().toStdString();
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid.value())).canonicalFilePath(),
              QFileInfo(analyzer).canonicalFilePath());

    // The installed command line names a file.
    const QString chosenShot = renderedShot(chosen.filePath(QStringLiteral("Screenshot From 2026-11-12 10-42-17.png")));
    const Finished renamed = run(app, {QStringLiteral("rename"), chosenShot}, environment, 170000);
    EXPECT_EQ(renamed.exitCode, 0) << renamed.output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(chosen.filePath(QStringLiteral("Quarterly budget review.png"))))
        << renamed.output.toStdString();

    // The login item the installed program writes starts it at the next login; it then names new screenshots.
    const LoginItem loginItem(config.path(), app);
    ASSERT_FALSE(loginItem.set(true).has_value());
    const QStringList command = execCommand(loginItem.entryPath());
    ASSERT_EQ(command, (QStringList{app, QString::fromLatin1(LoginItem::loginArgument)}));
    QProcess tray;
    tray.setProcessEnvironment(environment);
    tray.setProcessChannelMode(QProcess::ForwardedChannels);
    tray.start(command.first(), command.mid(1));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return connection.interface()->isServiceRegistered(QStringLiteral("org.zentrope.Zentrope")).value(); },
        60000))
        << "the tray application did not start";
    renderedShot(watched.filePath(QStringLiteral("Screenshot From 2026-11-12 11-00-00.png")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(watched.filePath(QStringLiteral("Quarterly budget review.png"))); }, 170000))
        << QDir(watched.path()).entryList(QDir::Files).join(u", ").toStdString();
    ::kill(static_cast<pid_t>(tray.processId()), SIGTERM);
    ASSERT_TRUE(tray.waitForFinished(30000));
    EXPECT_EQ(tray.exitCode(), 0);
}
