// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The main window: the home and settings tabs, or the onboarding covering them.
ApplicationWindow {
    id: window
    width: 640
    height: 640
    minimumWidth: 560
    minimumHeight: 520
    title: "Zentrope"
    color: Theme.window

    palette.window: Theme.window
    palette.windowText: Theme.text
    palette.base: Theme.field
    palette.text: Theme.text
    palette.button: Theme.card
    palette.buttonText: Theme.text
    palette.highlight: Theme.brand
    palette.highlightedText: "#ffffff"
    palette.mid: Theme.border
    palette.dark: Theme.secondary
    palette.light: Theme.card
    palette.midlight: Theme.hover
    palette.placeholderText: Theme.secondary
    palette.toolTipBase: Theme.card
    palette.toolTipText: Theme.text

    header: TabBar {
        id: tabs
        visible: !App.router.showsSetup
        currentIndex: App.router.tabIndex
        onCurrentIndexChanged: App.router.tabIndex = currentIndex
        background: Rectangle { color: Theme.window }
        TabButton {
            text: App.text("tab.home")
            icon.source: Theme.icon("sparkles")
            icon.color: Theme.text
        }
        TabButton {
            text: App.text("tab.settings")
            icon.source: Theme.icon("pencil")
            icon.color: Theme.text
        }
    }

    StackLayout {
        anchors.fill: parent
        visible: !App.router.showsSetup
        currentIndex: App.router.tabIndex
        HomeView {}
        SettingsView {}
    }

    Loader {
        anchors.fill: parent
        active: App.router.showsSetup
        sourceComponent: OnboardingView {}
    }
}
