// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "MainWindowController.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "SetupChecker.h"
#include "ThumbnailCache.h"
#include "UiController.h"
#include "WindowGeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>

#include <malloc.h>

MainWindowController::MainWindowController(QQmlEngine &engine, AppModel &model, AppSettings &settings, UiController &ui,
                                           WindowRouter &router,
                                           std::function<std::unique_ptr<SetupChecker>()> makeChecker, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_model(model)
    , m_settings(settings)
    , m_ui(ui)
    , m_router(router)
    , m_makeChecker(std::move(makeChecker))
{}

MainWindowController::~MainWindowController()
{
    release();
}

void MainWindowController::show(std::optional<WindowRouter::Tab> tab, std::optional<bool> setup)
{
    m_router.route(tab, setup, m_settings.onboardingDone(), !m_settings.folders().isEmpty());
    m_model.refreshAvailability();
    if (!m_window)
        build();
    if (!m_window)
        return;
    m_window->show();
    if (m_window->windowStates() & Qt::WindowMinimized)
        m_window->showNormal();
    m_window->raise();
    m_window->requestActivate();
}

void MainWindowController::build()
{
    m_checker = m_makeChecker ? m_makeChecker() : nullptr;
    m_ui.setChecker(m_checker.get());

    QQmlComponent component(&m_engine, QUrl(QStringLiteral("qrc:/qt/qml/Zentrope/Ui/MainWindow.qml")));
    QObject *root = component.create();
    m_window = qobject_cast<QQuickWindow *>(root);
    if (!m_window) {
        qWarning("Main window: %s", qPrintable(component.errorString()));
        delete root;
        return;
    }
    m_window->setTitle(QStringLiteral("Zentrope"));
    m_window->setMinimumSize(WindowGeometry::minimumSize);
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const auto kept = m_settings.defaults().string(QString::fromLatin1(WindowGeometry::key));
    m_window->setGeometry(WindowGeometry::restore(kept ? WindowGeometry::parse(*kept) : std::nullopt, screens));
    m_window->installEventFilter(this);
    if (m_checker)
        m_checker->startPolling();
}

bool MainWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::Close)
        return QObject::eventFilter(watched, event);
    saveGeometry();
    if (m_keepsWindow) {
        event->ignore();
        m_window->showMinimized();
        return true;
    }
    // Releasing the window inside its own close event would delete it under Qt's feet.
    QMetaObject::invokeMethod(this, &MainWindowController::release, Qt::QueuedConnection);
    return false;
}

void MainWindowController::saveGeometry()
{
    if (m_window && m_window->isVisible() && !(m_window->windowStates() & Qt::WindowMinimized))
        m_settings.defaults().setString(QString::fromLatin1(WindowGeometry::key),
                                        WindowGeometry::format(m_window->geometry()));
}

void MainWindowController::release()
{
    // Quitting with the window open keeps its frame as well.
    saveGeometry();
    if (m_checker)
        m_checker->stopPolling();
    m_ui.setChecker(nullptr);
    m_checker.reset();
    if (m_window) {
        m_window->removeEventFilter(this);
        m_window->deleteLater();
        m_window = nullptr;
    }
    ThumbnailCache::shared().clear();
    m_engine.trimComponentCache();
    m_engine.collectGarbage();
    // The scene graph frees a lot at once; without a trim the allocator keeps it all for a tray application that
    // may stay idle for days.
    QTimer::singleShot(500, this, [] { malloc_trim(0); });
    Q_EMIT windowClosed();
}
