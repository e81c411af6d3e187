// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "Application.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "FileDialogFolderAccess.h"
#include "HistoryStore.h"
#include "InstanceGate.h"
#include "L10n.h"
#include "LoginItem.h"
#include "MainWindowController.h"
#include "MessageBoxAlertPresenter.h"
#include "ModelProbe.h"
#include "SetupChecker.h"
#include "TemporaryLocation.h"
#include "TerminationSignals.h"
#include "ThumbnailCache.h"
#include "ThumbnailProvider.h"
#include "TrayIcon.h"
#include "UiController.h"
#include "Version.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QStandardPaths>

namespace {

SettingsAddress::Opener desktopOpener()
{
    SettingsAddress::Opener opener;
    opener.run = [](const QStringList &command) {
        const QString program = QStandardPaths::findExecutable(command.first());
        return !program.isEmpty() && QProcess::startDetached(program, command.mid(1));
    };
    opener.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return opener;
}

// True when the user chose to go on.
bool confirmTemporaryLocation()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrope"), L("install.title"));
    box.setInformativeText(L("install.text"));
    QPushButton *quit = box.addButton(L("install.quit"), QMessageBox::AcceptRole);
    box.addButton(L("install.continue"), QMessageBox::RejectRole);
    box.setDefaultButton(quit);
    box.exec();
    if (box.clickedButton() != quit)
        return true;
    // Show where the program lies, so it can be installed from there.
    const QString image = qEnvironmentVariable("APPIMAGE");
    if (!image.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(image).absolutePath()));
    return false;
}

} // namespace

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zentrope"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zentrope"));
    QApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));
    QApplication::setDesktopFileName(QStringLiteral("org.zentrope.Zentrope"));
    QApplication::setQuitOnLastWindowClosed(false);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // The windows are small and plain: the software renderer spares the tray application a GPU context, which
    // measured about 90 MB more while the window was open and stayed mapped after it closed.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);

    // A second start only brings the running application's window forward.
    MainWindowController *windows = nullptr;
    InstanceGate gate([&windows] {
        if (windows)
            windows->show(std::nullopt, std::nullopt);
    });
    if (!gate.claim())
        return 0;

    AppSettings settings;
    HistoryStore history;
    AppModel model(settings, history, AppModelServices::system());
    FileDialogFolderAccess folderAccess;
    MessageBoxAlertPresenter alerts;
    model.setFolderAccess(&folderAccess);
    model.setAlertPresenter(&alerts);

    Appearance appearance;
    appearance.apply(settings.appearance());
    appearance.followDesktop();
    QObject::connect(&settings, &AppSettings::appearanceChanged, &appearance,
                     [&] { appearance.apply(settings.appearance()); });

    const QString program = QApplication::applicationFilePath();
    if (TemporaryLocation::contains(program) && !confirmTemporaryLocation())
        return 0;

    WindowRouter router;
    QQmlEngine engine;
    engine.addImageProvider(QString::fromLatin1(ThumbnailProvider::id),
                            new ThumbnailProvider(ThumbnailCache::shared()));

    UiController::Shell shell;
    shell.showMainWindow = [&windows](std::optional<WindowRouter::Tab> tab, std::optional<bool> setup) {
        if (windows)
            windows->show(tab, setup);
    };
    shell.quit = [] { QApplication::quit(); };
    shell.folderAccess = &folderAccess;
    shell.opener = desktopOpener();
    const bool hasTray = QSystemTrayIcon::isSystemTrayAvailable();
    shell.trayAvailable = hasTray;
    UiController ui(model, settings, history, router, appearance, shell);
    UiController::setInstance(&ui);

    const LoginItem loginItem;
    auto makeChecker = [&model, &loginItem]() {
        SetupChecker::Sources sources;
        sources.readModel = [] { return ModelProbe::read(); };
        sources.preferredLanguages = [] { return L10n::preferredLanguages(QProcessEnvironment::systemEnvironment()); };
        sources.notificationsAllowed = [&model]() -> QCoro::Task<std::optional<bool>> {
            Notifier *notifier = model.notifier();
            if (!notifier)
                co_return std::nullopt;
            co_return co_await notifier->requestAuthorizationIfNeeded();
        };
        sources.loginEnabled = [&loginItem] { return loginItem.isEnabled(); };
        sources.syncModel = [&model] { model.refreshAvailability(); };
        return std::make_unique<SetupChecker>(std::move(sources), model.aiAvailability());
    };
    MainWindowController mainWindow(engine, model, settings, ui, router, makeChecker);
    windows = &mainWindow;

    std::unique_ptr<TrayIcon> tray;
    if (hasTray) {
        tray = std::make_unique<TrayIcon>(engine, ui);
        tray->show();
    }
    mainWindow.setKeepsWindow(!hasTray);

    model.start();
    if (!settings.folders().isEmpty())
        settings.setOnboardingDone(true);
    if (!settings.onboardingDone() || settings.folders().isEmpty() || !hasTray)
        mainWindow.show(std::nullopt, std::nullopt);

    QObject::connect(&app, &QCoreApplication::aboutToQuit, &model, [&] { model.shutdown(); });
    const TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);
    const int status = QApplication::exec();
    windows = nullptr;
    return status;
}
