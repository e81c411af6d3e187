// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QSystemTrayIcon>

class QQmlEngine;
class UiController;

// The application's permanent presence: a status-area icon that follows the activity, and the small panel that
// drops from it.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(QQmlEngine &engine, UiController &ui, QObject *parent = nullptr);
    ~TrayIcon() override;

    void show();
    // Opens the panel next to the icon, or closes it when it is open.
    void togglePanel();
    QQuickWindow *panel() const { return m_panel; }

    // Where the panel goes: under an icon at the top of the screen, above one at the bottom, inside `screen`.
    static QPoint panelPosition(const QRect &icon, const QSize &panel, const QRect &screen);

private:
    void updateIcon();
    void placePanel();
    void releasePanel();

    QQmlEngine &m_engine;
    UiController &m_ui;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    QString m_iconName;
    QPointer<QQuickWindow> m_panel;
    // Where the icon was when the panel was last opened.
    QRect m_iconArea;
};
