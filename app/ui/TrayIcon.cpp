// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "TrayIcon.h"

#include "L10n.h"
#include "UiController.h"

#include <QCursor>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

TrayIcon::TrayIcon(QQmlEngine &engine, UiController &ui, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_ui(ui)
{
    m_icon.setToolTip(QStringLiteral("Zentrope"));
    // Status-area hosts that show no panel on a click still offer the menu.
    QAction *open = m_menu.addAction(L("menu.open"), &ui, &UiController::openMainWindow);
    QAction *quit = m_menu.addAction(L("menu.quit"), &ui, &UiController::quit);
    connect(&ui, &UiController::languageChanged, this, [open, quit] {
        open->setText(L("menu.open"));
        quit->setText(L("menu.quit"));
    });
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::MiddleClick)
            togglePanel();
    });
    connect(&ui, &UiController::stateChanged, this, &TrayIcon::updateIcon);
    updateIcon();
}

TrayIcon::~TrayIcon()
{
    releasePanel();
}

void TrayIcon::show()
{
    m_icon.show();
}

void TrayIcon::updateIcon()
{
    const QString name = m_ui.trayIcon();
    if (name == m_iconName)
        return;
    m_iconName = name;
    m_icon.setIcon(QIcon(QStringLiteral(":/qt/qml/Zentrope/Ui/icons/tray/%1.svg").arg(name)));
}

QPoint TrayIcon::panelPosition(const QRect &icon, const QSize &panel, const QRect &screen)
{
    const int margin = 4;
    int x = icon.center().x() - panel.width() / 2;
    int y = icon.center().y() < screen.center().y() ? icon.bottom() + margin : icon.top() - margin - panel.height();
    x = qBound(screen.left() + margin, x, qMax(screen.left() + margin, screen.right() - margin - panel.width()));
    y = qBound(screen.top() + margin, y, qMax(screen.top() + margin, screen.bottom() - margin - panel.height()));
    return {x, y};
}

void TrayIcon::togglePanel()
{
    if (m_panel && m_panel->isVisible()) {
        m_panel->close();
        return;
    }
    if (!m_panel) {
        QQmlComponent component(&m_engine, QUrl(QStringLiteral("qrc:/qt/qml/Zentrope/Ui/TrayPanel.qml")));
        m_panel = qobject_cast<QQuickWindow *>(component.create());
        if (!m_panel) {
            qWarning("Tray panel: %s", qPrintable(component.errorString()));
            return;
        }
        // Kept once built: the panel closes itself while its own buttons run modal choosers, and deleting it
        // from their nested event loops would pull the button out from under the running call.
        // Its size follows its content, which is laid out again only when shown (after a change of language, say).
        connect(m_panel, &QWindow::widthChanged, this, &TrayIcon::placePanel);
        connect(m_panel, &QWindow::heightChanged, this, &TrayIcon::placePanel);
    }
    m_iconArea = m_icon.geometry();
    if (!m_iconArea.isValid())
        m_iconArea = QRect(QCursor::pos(), QSize(1, 1));
    placePanel();
    m_ui.panelShown();
    m_panel->show();
    m_panel->raise();
    m_panel->requestActivate();
}

void TrayIcon::placePanel()
{
    const QScreen *screen = QGuiApplication::screenAt(m_iconArea.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen && m_panel)
        m_panel->setPosition(panelPosition(m_iconArea, m_panel->size(), screen->availableGeometry()));
}

void TrayIcon::releasePanel()
{
    delete m_panel;
}
