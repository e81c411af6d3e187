// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "WindowRouter.h"

#include <QObject>
#include <QPointer>
#include <QQuickWindow>

#include <functional>
#include <memory>
#include <optional>

class AppModel;
class AppSettings;
class QQmlEngine;
class SetupChecker;
class UiController;

// The one main window: built on demand with its own setup checker, its frame kept across runs, and released
// entirely when closed so an idle tray application holds no view tree.
class MainWindowController : public QObject
{
    Q_OBJECT

public:
    // `makeChecker` builds the checker of one opening of the window.
    MainWindowController(QQmlEngine &engine, AppModel &model, AppSettings &settings, UiController &ui,
                         WindowRouter &router, std::function<std::unique_ptr<SetupChecker>()> makeChecker,
                         QObject *parent = nullptr);
    ~MainWindowController() override;

    // Routes, re-reads the model's availability, builds the window if needed and brings it to the front.
    void show(std::optional<WindowRouter::Tab> tab, std::optional<bool> setup);
    // Without a tray nothing else leads back to the window, so closing it only minimises.
    void setKeepsWindow(bool keeps) { m_keepsWindow = keeps; }

    QQuickWindow *window() const { return m_window; }
    SetupChecker *checker() const { return m_checker.get(); }

Q_SIGNALS:
    void windowClosed();

private:
    void build();
    void release();
    void saveGeometry();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QQmlEngine &m_engine;
    AppModel &m_model;
    AppSettings &m_settings;
    UiController &m_ui;
    WindowRouter &m_router;
    std::function<std::unique_ptr<SetupChecker>()> m_makeChecker;
    std::unique_ptr<SetupChecker> m_checker;
    QPointer<QQuickWindow> m_window;
    bool m_keepsWindow = false;
};
