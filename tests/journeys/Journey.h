// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "AppShell.h"
#include "RecordingNotifications.h"
#include "RenameRecord.h"
#include "TrayHost.h"

#include <QDir>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QString>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

class QWidget;

// What a journey runs on, once per test process: a profile of its own (HOME and the XDG folders), a private
// session bus that activates the real analyzer from the build tree (the journeys' main runs itself under it), a
// recording notification server and a status area, on the X display the tests run under.
class JourneyDesktop
{
public:
    // `root` holds the profile; the session bus is the process's own.
    explicit JourneyDesktop(const QString &root);
    ~JourneyDesktop();

    static JourneyDesktop &instance();

    QDir home() const { return QDir(m_root + QStringLiteral("/home")); }
    RecordingNotifications &notifications() { return *m_notifications; }
    TrayHost &tray() { return *m_tray; }
    bool isReady() const { return m_notifications->isServing() && m_tray->isServing(); }
    // Empties the profile for the next journey.
    void resetProfile();

    // Makes a profile under `root` and points this process's HOME and XDG variables into it; the bus started
    // afterwards and the analyzer it activates see the same folders.
    static void prepareProfile(const QString &root);

private:
    QString m_root;
    // The doubles answer from here: Qt's tray support asks with blocking calls from the main thread.
    QThread m_thread;
    // Lives in the thread once it runs: what the doubles are made and deleted through.
    QObject m_anchor;
    QDBusConnection m_connection;
    RecordingNotifications *m_notifications = nullptr;
    TrayHost *m_tray = nullptr;
};

// One journey: the real application (settings, history, model, windows, tray panel) over the desktop's profile,
// driven only as a user drives it: items found by their objectName, clicked and typed into at their positions on
// the real windows, the outcome checked on disk and in the history. A failing journey leaves screenshots of the
// screen and of each window in its output folder.
class Journey : public ::testing::Test
{
protected:
    static constexpr std::chrono::milliseconds uiTimeout{15000};
    // Long enough for the analyzer to start and recognise a screen on a loaded machine.
    static constexpr std::chrono::milliseconds namingTimeout{120000};

    void SetUp() override;
    void TearDown() override;

    // The profile before the application starts. By default: one watched folder, setup finished, names from the
    // recognised text, no model server, English, a main window tall enough for every section.
    virtual void seed();
    // Starts the application as the session would and waits until it watches the folders.
    void launch();

    AppShell &app() { return *m_shell; }
    JourneyDesktop &desktop() { return JourneyDesktop::instance(); }
    QString screenshots() const { return m_screenshots; }

    // A screenshot tool saving a screen with `heading` as its title into `folder` (the watched one by default).
    QString takeScreenshot(const QString &heading, const QString &folder = {});
    // A record as if the application had renamed `originalName` to `currentName` in the watched folder; the file
    // is made with that heading.
    RenameRecord seedRecord(const QString &originalName, const QString &currentName);
    // The history's record with that current name, or any whose current or original name matches.
    std::optional<RenameRecord> recordNamed(const QString &currentName) const;
    std::optional<RenameRecord> recordFrom(const QString &originalName) const;
    bool exists(const QString &fileName) const { return QDir(m_screenshots).exists(fileName); }

    // The windows, opened as a user opens them: the tray icon's panel, and the main window from the panel.
    QQuickWindow *openPanel();
    QQuickWindow *openMainWindow();
    // The main window's close button.
    void closeMainWindow();

    // The first visible item named `objectName` under `root` (a window's content or an item) for which `accept`
    // holds; null after the wait.
    QQuickItem *find(QQuickItem *root, const QString &objectName, const std::function<bool(QQuickItem *)> &accept = {},
                     std::chrono::milliseconds wait = uiTimeout);
    QQuickItem *find(QQuickWindow *window, const QString &objectName,
                     const std::function<bool(QQuickItem *)> &accept = {}, std::chrono::milliseconds wait = uiTimeout);
    // The row of the record shown as `name` ("recordRow" in the home tab, "menuRecordRow" in the panel).
    QQuickItem *row(QQuickWindow *window, const QString &rowName, const QString &name);

    void hover(QQuickItem *item);
    void click(QQuickItem *item);
    // Hovers a row, then clicks its button that shows on hover.
    void clickInRow(QQuickItem *row, const QString &buttonName);
    void type(QQuickWindow *window, const QString &text);
    void press(QQuickWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Runs `act` on the next modal dialog as soon as it shows (a chooser runs its own event loop, so this is
    // arranged before the click that opens it). A wait still pending ends with the journey.
    void whenDialog(const std::function<void(QWidget *)> &act);
    // The message box on screen: clicks its button with that text.
    void answerMessageBox(const QString &button);

    bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout = uiTimeout);

private:
    QPoint settledCentre(QQuickItem *item);

    std::unique_ptr<AppShell> m_shell;
    QString m_screenshots;
    QList<QPointer<QTimer>> m_dialogWaits;
};
