// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The panel that drops from the tray icon: status and switch, what needs fixing, the batch, the latest renames
// and the way to the window, to renaming chosen files and out.
ApplicationWindow {
    id: panel
    objectName: "trayPanel"
    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint
    // Wide enough for the longer texts of some languages.
    width: Math.max(330, content.implicitWidth + 28)
    height: content.implicitHeight + 28
    color: Theme.window

    palette.window: Theme.window
    palette.windowText: Theme.text
    palette.base: Theme.field
    palette.text: Theme.text
    palette.button: Theme.control
    palette.buttonText: Theme.text
    palette.highlight: Theme.brand
    palette.highlightedText: "#ffffff"
    palette.mid: Theme.border
    palette.dark: Theme.brand
    palette.light: Theme.card
    palette.midlight: Theme.control
    palette.toolTipBase: Theme.card
    palette.toolTipText: Theme.text
    palette.brightText: "#ffffff"

    // A click anywhere else closes the panel, as a menu would.
    onActiveChanged: if (!active) close()

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: Theme.border
    }

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 14
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            StatusOrb {
                kind: App.statusKind
                size: 30
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 1
                Label {
                    Layout.fillWidth: true
                    text: App.statusTitle
                    color: Theme.text
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                }
                Label {
                    Layout.fillWidth: true
                    text: App.statusSubtitle
                    color: Theme.secondary
                    font.pixelSize: 11
                    elide: Text.ElideRight
                }
            }
            Switch {
                objectName: "autoProcessingSwitch"
                checked: App.autoProcessing
                // The home tab flips the same setting: the binding must outlive a click here.
                onToggled: {
                    App.setAutoProcessing(checked)
                    checked = Qt.binding(() => App.autoProcessing)
                }
                ToolTip.visible: hovered
                ToolTip.delay: 600
                ToolTip.text: App.switchHelp
                Accessible.name: App.switchHelp
            }
        }

        Button {
            Layout.fillWidth: true
            visible: App.showsAttentionRow
            flat: true
            onClicked: App.openHome()
            contentItem: RowLayout {
                Label {
                    Layout.fillWidth: true
                    text: App.attentionText
                    color: Theme.orange
                    font.weight: Font.Medium
                }
                Image {
                    Layout.preferredWidth: 14
                    Layout.preferredHeight: 14
                    sourceSize: Qt.size(28, 28)
                    source: Theme.icon("chevron-right")
                    opacity: 0.5
                }
            }
            background: Rectangle {
                radius: 7
                color: Qt.rgba(0.91, 0.54, 0.05, parent.hovered ? 0.18 : 0.1)
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            visible: App.batchRunning
            spacing: 4
            RowLayout {
                Layout.fillWidth: true
                Label {
                    Layout.fillWidth: true
                    text: App.batchText
                    color: Theme.text
                }
                Button {
                    flat: true
                    text: App.text("batch.cancel")
                    onClicked: App.cancelQueue()
                }
            }
            ProgressBar {
                Layout.fillWidth: true
                from: 0
                to: Math.max(1, App.batchTotal)
                value: App.batchDone
            }
        }

        NoticeBar {
            Layout.fillWidth: true
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.border
        }

        Label {
            Layout.fillWidth: true
            Layout.topMargin: 6
            Layout.bottomMargin: 6
            visible: App.panelRecords.count === 0
            horizontalAlignment: Text.AlignHCenter
            text: App.text("menu.empty")
            color: Theme.secondary
        }
        ColumnLayout {
            Layout.fillWidth: true
            visible: App.panelRecords.count > 0
            spacing: 2
            Repeater {
                model: App.panelRecords
                delegate: MenuRecordRow {
                    Layout.fillWidth: true
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.border
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            Button {
                objectName: "openWindowButton"
                text: App.text("menu.open")
                icon.source: Theme.icon("window")
                icon.color: Theme.text
                onClicked: App.openMainWindow()
            }
            Button {
                objectName: "renameFilesButton"
                text: App.text("menu.renameFiles")
                icon.source: Theme.icon("wand-and-sparkles")
                icon.color: Theme.text
                onClicked: App.renameFiles()
            }
            Item { Layout.fillWidth: true }
            GlyphButton {
                objectName: "quitButton"
                glyph: "power"
                help: App.text("menu.quit")
                onClicked: App.quit()
            }
        }
    }
}
