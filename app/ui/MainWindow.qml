// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The main window: the home and settings tabs, or the onboarding covering them.
ApplicationWindow {
    id: window
    objectName: "mainWindow"
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
    palette.button: Theme.control
    palette.buttonText: Theme.text
    palette.highlight: Theme.brand
    // Highlighted rows of drop-down lists are drawn on `light`: a hover grey, with the ordinary text colour.
    palette.highlightedText: Theme.text
    palette.mid: Theme.border
    palette.dark: Theme.brand
    palette.light: Theme.hover
    palette.midlight: Theme.control
    palette.placeholderText: Theme.secondary
    palette.toolTipBase: Theme.card
    palette.toolTipText: Theme.text
    palette.brightText: "#ffffff"

    header: TabBar {
        id: tabs
        visible: !App.router.showsSetup
        currentIndex: App.router.tabIndex
        onCurrentIndexChanged: App.router.tabIndex = currentIndex
        background: Rectangle { color: Theme.window }
        Repeater {
            model: [{ "key": "tab.home", "glyph": "sparkles" }, { "key": "tab.settings", "glyph": "sliders" }]
            delegate: TabButton {
                required property var modelData
                objectName: modelData.key === "tab.home" ? "homeTab" : "settingsTab"
                text: App.text(modelData.key)
                icon.source: Theme.icon(modelData.glyph)
                icon.color: checked ? Theme.brand : Theme.secondary
                // An unchecked tab draws its text in the bright colour.
                palette.brightText: Theme.secondary
                background: Rectangle {
                    color: parent.hovered ? Theme.hover : Theme.window
                    Rectangle {
                        anchors.bottom: parent.bottom
                        width: parent.width
                        height: 2
                        color: parent.parent.checked ? Theme.brand : Theme.border
                    }
                }
            }
        }
    }

    footer: Item {
        implicitHeight: notice.visible ? notice.implicitHeight + 16 : 0
        NoticeBar {
            id: notice
            anchors.fill: parent
            anchors.margins: 8
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
