// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "AppShell.h"

#include "AnalyzerBus.h"
#include "AnalyzerLauncher.h"
#include "AppModel.h"
#include "AppSettings.h"
#include "Appearance.h"
#include "CrashReport.h"
#include "DesktopFileRevealer.h"
#include "DesktopLauncher.h"
#include "FileDialogFolderAccess.h"
#include "HistoryStore.h"
#include "L10n.h"
#include "LoginItem.h"
#include "MainWindowController.h"
#include "MessageBoxAlertPresenter.h"
#include "ModelProbe.h"
#include "ScreenshotDetector.h"
#include "SetupChecker.h"
#include "TemporaryLocation.h"
#include "ThumbnailCache.h"
#include "ThumbnailProvider.h"
#include "TrayIcon.h"
#include "UiController.h"
#include "Version.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>

struct AppShell::Parts
{
    AppSettings settings;
    HistoryStore history;
    DesktopLauncher launcher;
    std::unique_ptr<AppModel> model;
    // Choosers start in the first watched folder, else where the screenshot tool saves.
    FileDialogFolderAccess folderAccess{[this] {
        for (const WatchedFolder &folder : settings.folders()) {
            if (folder.enabled)
                return folder.path;
        }
        return ScreenshotDetector::systemScreenshotFolder();
    }};
    MessageBoxAlertPresenter alerts;
    Appearance appearance;
    WindowRouter router;
    QQmlEngine engine;
    // An AppImage's entry must start the image, not the mount that goes away with the program.
    LoginItem loginItem{QString(), qEnvironmentVariable("APPIMAGE")};
    std::unique_ptr<UiController> ui;
    std::unique_ptr<MainWindowController> mainWindow;
    std::unique_ptr<TrayIcon> tray;
    bool hasTray = false;
};

void AppShell::configureApplication()
{
    QApplication::setApplicationName(QStringLiteral("zentrope"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zentrope"));
    QApplication::setApplicationVersion(QString::fromLatin1(Zentrope::version));
    QApplication::setDesktopFileName(QStringLiteral("org.zentrope.Zentrope"));
    // From the icon theme once installed; X11 window managers take the window's icon from here.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zentrope.Zentrope")));
    QApplication::setQuitOnLastWindowClosed(false);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // The windows are small and plain: the software renderer spares the tray application a GPU context, which
    // measured about 90 MB more while the window was open and stayed mapped after it closed.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

AppShell::AppShell(Options options)
    : m_options(std::move(options))
    , m_parts(std::make_unique<Parts>())
{
    Parts &p = *m_parts;
    AppModelServices services = AppModelServices::system();
    // Showing a file falls back to opening its folder; when nothing opens that either, the window says so.
    services.revealer =
        std::make_unique<DesktopFileRevealer>(QDBusConnection::sessionBus(), [&p](const QString &folder) {
            if (!p.launcher.open(folder))
                p.ui->showNotice(L("notice.revealFailed", UiController::displayPath(folder)));
        });
    p.model = std::make_unique<AppModel>(p.settings, p.history, std::move(services));
    p.model->setFolderAccess(&p.folderAccess);
    p.model->setAlertPresenter(&p.alerts);

    p.appearance.apply(p.settings.appearance());
    p.appearance.followDesktop();
    connect(&p.settings, &AppSettings::appearanceChanged, &p.appearance,
            [&p] { p.appearance.apply(p.settings.appearance()); });

    p.engine.addImageProvider(QString::fromLatin1(ThumbnailProvider::id),
                              new ThumbnailProvider(ThumbnailCache::shared()));

    p.hasTray = QSystemTrayIcon::isSystemTrayAvailable();
    UiController::Shell shell;
    shell.showMainWindow = [&p](std::optional<WindowRouter::Tab> tab, std::optional<bool> setup) {
        if (p.mainWindow)
            p.mainWindow->show(tab, setup);
    };
    shell.quit = [] { QApplication::quit(); };
    shell.folderAccess = &p.folderAccess;
    shell.loginItem = &p.loginItem;
    shell.opener.run = [&p](const QStringList &command) { return p.launcher.run(command.first(), command.mid(1)); };
    shell.opener.openUrl = [&p](const QUrl &url) {
        return p.launcher.open(url.isLocalFile() ? url.toLocalFile() : url.toString());
    };
    shell.trayAvailable = p.hasTray;
    shell.readCatalog = [] { return ModelProbe::catalog(ModelEnvironment::system()); };
    p.ui = std::make_unique<UiController>(*p.model, p.settings, p.history, p.router, p.appearance, shell);
    UiController::setInstance(p.ui.get());
    p.launcher.setOnFailure([&p](const QString &target) {
        const QString shown = UiController::displayPath(target);
        p.ui->showNotice(QFileInfo(target).isDir() ? L("notice.revealFailed", shown) : L("notice.openFailed", shown));
    });

    auto makeChecker = [&p]() {
        SetupChecker::Sources sources;
        sources.readModel = [] { return ModelProbe::read(); };
        sources.preferredLanguages = [] { return L10n::preferredLanguages(QProcessEnvironment::systemEnvironment()); };
        sources.notificationsAllowed = [&p]() -> QCoro::Task<std::optional<bool>> {
            Notifier *notifier = p.model->notifier();
            if (!notifier)
                co_return std::nullopt;
            co_return co_await notifier->requestAuthorizationIfNeeded();
        };
        sources.loginEnabled = [&p] { return p.loginItem.isEnabled(); };
        sources.syncModel = [&p] { p.model->refreshAvailability(); };
        return std::make_unique<SetupChecker>(std::move(sources), p.model->aiAvailability());
    };
    p.mainWindow = std::make_unique<MainWindowController>(p.engine, *p.model, p.settings, *p.ui, p.router, makeChecker);
    connect(p.mainWindow.get(), &MainWindowController::windowClosed, p.ui.get(), &UiController::windowClosed);
    if (p.hasTray)
        p.tray = std::make_unique<TrayIcon>(p.engine, *p.ui);
    // Without a tray nothing else leads back to the window, so closing it only minimises.
    p.mainWindow->setKeepsWindow(!p.hasTray);
}

AppShell::~AppShell()
{
    UiController::setInstance(nullptr);
    // The windows go before the controller and the model they show.
    m_parts->tray.reset();
    m_parts->mainWindow.reset();
}

bool AppShell::launch()
{
    Parts &p = *m_parts;
    CrashReport::noteAction("launch");
    if (!confirmInstallation())
        return false;
    if (p.tray)
        p.tray->show();
    p.model->start();
    if (!p.settings.folders().isEmpty())
        p.settings.setOnboardingDone(true);
    if (!p.settings.onboardingDone() || p.settings.folders().isEmpty() || !p.hasTray)
        p.mainWindow->show(std::nullopt, std::nullopt);
    announceEarlierCrash();
    return true;
}

void AppShell::reopen()
{
    CrashReport::noteAction("reopen");
    m_parts->mainWindow->show(std::nullopt, std::nullopt);
}

void AppShell::shutdown()
{
    CrashReport::noteAction("quit");
    m_parts->model->shutdown();
}

// True when the user chose to go on.
bool AppShell::confirmInstallation()
{
    const QString program = QApplication::applicationFilePath();
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    const bool activatable = bus && bus->activatableServiceNames().value().contains(AnalyzerBus::serviceName);
    const bool reachable = activatable || AnalyzerLauncher().program().has_value();
    if (!TemporaryLocation::warns(program, qEnvironmentVariable("APPIMAGE"), reachable))
        return true;
    // At a login start nobody is there to answer; the window says it instead.
    if (m_options.loginStart) {
        m_parts->ui->showNotice(L("install.title") + QStringLiteral(". ") + L("install.text"));
        return true;
    }
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

void AppShell::announceEarlierCrash()
{
    if (m_options.crashDirectory.isEmpty())
        return;
    const std::optional<QString> report = CrashReport::takeReport(m_options.crashDirectory);
    if (!report)
        return;
    const QString where = UiController::displayPath(CrashReport::keptReportPath(m_options.crashDirectory));
    m_parts->ui->showNotice(L("crash.title") + QStringLiteral(". ") + L("crash.text", where));
    if (Notifier *notifier = m_parts->model->notifier()) {
        // Said even when only failures are wanted: it is one.
        const NotificationMode mode = m_parts->settings.notifications();
        notifier->postInfo(L("crash.title"), L("crash.text", where),
                           mode == NotificationMode::off ? mode : NotificationMode::all);
    }
}

AppSettings &AppShell::settings()
{
    return m_parts->settings;
}

HistoryStore &AppShell::history()
{
    return m_parts->history;
}

AppModel &AppShell::model()
{
    return *m_parts->model;
}

UiController &AppShell::ui()
{
    return *m_parts->ui;
}

MainWindowController &AppShell::mainWindow()
{
    return *m_parts->mainWindow;
}

TrayIcon *AppShell::tray()
{
    return m_parts->tray.get();
}
