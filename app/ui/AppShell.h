// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class AppModel;
class AppSettings;
class HistoryStore;
class MainWindowController;
class TrayIcon;
class UiController;

// The tray application's long-lived objects, made once on the main thread and wired together: the settings, the
// history and the model, the interface controller, the main window and the tray icon. The application and the
// journey tests run the same shell.
class AppShell : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        // Started by the desktop session: nothing modal may wait for the user.
        bool loginStart = false;
        // Where a crash report of an earlier run is looked for; empty: none is.
        QString crashDirectory;
    };

    // Needs the application object; the tray icon is made when a status area is there.
    explicit AppShell(Options options);
    ~AppShell() override;

    // Warns when this copy cannot work where it lies (false: the user chose to quit), starts the pipeline and
    // opens the main window when setup is not finished.
    bool launch();
    // The user started the application again.
    void reopen();
    // Stops the pipeline and stores what must survive.
    void shutdown();

    AppSettings &settings();
    HistoryStore &history();
    AppModel &model();
    UiController &ui();
    MainWindowController &mainWindow();
    // Null without a status area.
    TrayIcon *tray();

    // Sets the process-wide application data and rendering before the first window; the application object must
    // exist.
    static void configureApplication();

private:
    struct Parts;
    bool confirmInstallation();
    void announceEarlierCrash();

    Options m_options;
    std::unique_ptr<Parts> m_parts;
};
