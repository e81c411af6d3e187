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
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

// What the journeys of one process run on (the journeys' main runs itself on a display and a session bus of its
// own, which activates the real analyzer from the build tree): a profile (HOME and the XDG folders), a recording
// notification server and a status area. The doubles serve from a thread, as Qt's tray asks with blocking calls.
class JourneyDesktop
{
public:
    explicit JourneyDesktop(const QString &root);
    ~JourneyDesktop();
    static JourneyDesktop &instance();
    // Points HOME and the XDG variables into a profile under `root`, before anything reads them.
    static void prepareProfile(const QString &root);

    QDir home() const { return QDir(m_root + QStringLiteral("/home")); }
    RecordingNotifications &notifications() { return *m_notifications; }
    TrayHost &tray() { return *m_tray; }
    // Empties the profile for the next journey.
    void reset();

private:
    QString m_root;
    QThread m_thread;
    QObject m_anchor; // in the thread: the doubles are made and deleted through it
    QDBusConnection m_connection;
    RecordingNotifications *m_notifications = nullptr;
    TrayHost *m_tray = nullptr;
};

// One journey: the real application (settings, history, model, windows, tray panel) driven only as a user drives
// it: items found by objectName, clicked and typed into at their positions on the real windows, the outcome
// checked on disk and in the history. A failing journey leaves screenshots in its output folder.
class Journey : public ::testing::Test
{
protected:
    static constexpr std::chrono::milliseconds uiTimeout{15000};
    // The analyzer starting and recognising a screen on a loaded machine.
    static constexpr std::chrono::milliseconds namingTimeout{120000};

    void SetUp() override;
    void TearDown() override;

    // The profile before the start: one watched folder, setup finished, names from the recognised text, no model
    // server, English, a main window tall enough for every section.
    virtual void seed();
    // Starts the application as the session would, and waits until it watches the folders.
    void launch();

    AppShell &app() { return *m_shell; }
    JourneyDesktop &desktop() { return JourneyDesktop::instance(); }
    QString screenshots() const { return m_screenshots; }
    bool exists(const QString &fileName) const { return QDir(m_screenshots).exists(fileName); }

    // A screenshot tool saving a screen titled `heading` into the watched folder; its path.
    QString takeScreenshot(const QString &heading);
    // A rename the application made earlier, with its file; call before launch().
    RenameRecord seedRecord(const QString &originalName, const QString &currentName);
    // The history's record of the file first named `originalName`.
    std::optional<RenameRecord> recordFrom(const QString &originalName) const;

    // The tray icon's panel, and the main window opened from it.
    QQuickWindow *openPanel();
    QQuickWindow *openMainWindow();
    void closeMainWindow();

    // The first visible item named `objectName` under `root` that `accept` takes, waited for; null if none came.
    QQuickItem *find(QQuickItem *root, const QString &objectName, const std::function<bool(QQuickItem *)> &accept = {});
    QQuickItem *find(QQuickWindow *window, const QString &objectName)
    {
        return find(window ? window->contentItem() : nullptr, objectName);
    }
    // The row showing `name` ("recordRow" in the home tab, "menuRecordRow" in the panel).
    QQuickItem *row(QQuickWindow *window, const QString &rowName, const QString &name);

    // Scrolls the view under the item with the mouse wheel, as a user does, until the whole item is in the window.
    void reveal(QQuickItem *item);
    void click(QQuickItem *item);
    // Hovers a row, then clicks its button that only shows on hover.
    void clickInRow(QQuickItem *row, const QString &buttonName);
    void type(QQuickWindow *window, const QString &text);
    void press(QQuickWindow *window, Qt::Key key);

    // Runs `act` on the next modal dialog once it shows; arranged before the click that opens a chooser, which
    // runs its own event loop.
    void whenDialog(const std::function<void(QWidget *)> &act);
    // When the next file chooser opens, types `path` into it and presses Return, as a user pastes a path.
    void whenFileDialogChoose(const QString &path);
    void answerMessageBox(const QString &button);

    bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout = uiTimeout);

private:
    QPoint settledCentre(QQuickItem *item);

    std::unique_ptr<AppShell> m_shell;
    QString m_screenshots;
    QList<QPointer<QTimer>> m_dialogWaits;
};
