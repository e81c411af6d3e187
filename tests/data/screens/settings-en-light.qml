// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// The notifications page of a system settings window, with switches per application.
MockScreen {
    width: 1920
    height: 1080
    subject: "Notifications"

    WindowBar { title: "Settings" }
    Rectangle {
        property string pane: "sections"
        y: 38
        width: 320
        height: parent.height - 38
        color: Theme.panel
        Field { x: 16; y: 14; width: 288; icon: "⌕"; text: "Search settings"; placeholder: true }
        Column {
            x: 12; y: 64; spacing: 2
            Repeater {
                model: [["≋", "Wi-Fi"], ["ᛒ", "Bluetooth"], ["▭", "Displays"], ["♪", "Sound"], ["⚡", "Power"], ["✉", "Notifications"], ["⌕", "Search"], ["▦", "Apps"], ["⚿", "Privacy"], ["☁", "Online Accounts"], ["⇄", "Sharing"], ["ⓘ", "About"]]
                Rectangle {
                    width: 296; height: 42; radius: 8
                    color: index === 5 ? Theme.selection : "transparent"
                    Glyph { x: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 17 }
                    Label { x: 44; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; font.pixelSize: 15 }
                }
            }
        }
    }
    Item {
        property string pane: "page"
        x: 320
        y: 38
        width: parent.width - 320
        height: parent.height - 38
        Label { x: 60; y: 30; text: "Notifications"; font.pixelSize: 28; font.bold: true; heading: true }
        Rectangle {
            x: 60; y: 90; width: 1000; height: 112; radius: 10; color: Theme.panel
            Label { x: 20; y: 16; text: "Do Not Disturb"; font.pixelSize: 15 }
            Toggle { x: 940; y: 16; on: false }
            Rectangle { y: 56; width: 1000; height: 1; color: Theme.line }
            Label { x: 20; y: 72; text: "Lock Screen Notifications"; font.pixelSize: 15 }
            Toggle { x: 940; y: 72 }
        }
        Label { x: 60; y: 236; text: "App Notifications"; font.pixelSize: 17; font.bold: true }
        Rectangle {
            x: 60; y: 272; width: 1000; height: 8 * 56; radius: 10; color: Theme.panel
            Repeater {
                model: [["Calendar", true], ["Clocks", true], ["Files", false], ["Mail", true], ["Messages", true], ["Software Updates", true], ["Terminal", false], ["Weather", false]]
                Item {
                    y: index * 56; width: 1000; height: 56
                    Rectangle { visible: index > 0; width: 1000; height: 1; color: Theme.line }
                    Rectangle { x: 20; width: 28; height: 28; radius: 6; anchors.verticalCenter: parent.verticalCenter; color: Qt.hsla(index * 0.12, 0.55, 0.55, 1) }
                    Label { x: 64; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 15 }
                    Label { x: 780; anchors.verticalCenter: parent.verticalCenter; text: modelData[1] ? "On" : "Off"; muted: true; font.pixelSize: 14 }
                    Glyph { x: 960; anchors.verticalCenter: parent.verticalCenter; text: "›"; font.pixelSize: 20 }
                }
            }
        }
    }
}
