// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The home tab: is Zentrope working, is anything missing, what happened recently, and the two manual actions.
ScrollView {
    id: view
    contentWidth: availableWidth
    clip: true

    component Card: Rectangle {
        default property alias content: column.data
        Layout.fillWidth: true
        implicitHeight: column.implicitHeight + 2 * column.anchors.margins
        radius: Theme.radius
        color: Theme.card
        border.color: Theme.border
        // Anchored at the top only: a layout given more height than it asks for would stretch its rows.
        ColumnLayout {
            id: column
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 14
            spacing: 10
        }
    }

    component Caption: Label {
        color: Theme.secondary
        font.pixelSize: 12
        font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase
    }

    ColumnLayout {
        width: view.availableWidth
        spacing: 18

        // Hero.
        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 22
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            spacing: 16
            StatusOrb {
                kind: App.statusKind
                size: 56
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 3
                Label {
                    id: heroTitle
                    Layout.fillWidth: true
                    text: App.statusTitle
                    color: Theme.text
                    font.pixelSize: 20
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    Behavior on text {
                        SequentialAnimation {
                            NumberAnimation { target: heroTitle; property: "opacity"; to: 0.3; duration: 90 }
                            PropertyAction {}
                            NumberAnimation { target: heroTitle; property: "opacity"; to: 1; duration: 140 }
                        }
                    }
                }
                Label {
                    Layout.fillWidth: true
                    text: App.statusSubtitle
                    color: Theme.secondary
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
            }
            Switch {
                objectName: "autoProcessingSwitch"
                checked: App.autoProcessing
                // The tray panel flips the same setting: the binding must outlive a click here.
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

        // Checklist, only when something stands in the way.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            visible: App.needsAttention
            spacing: 6
            RowLayout {
                Layout.fillWidth: true
                Caption {
                    Layout.fillWidth: true
                    text: App.text("home.checklist")
                }
                Button {
                    flat: true
                    text: App.text("home.guide")
                    onClicked: App.openGuide()
                }
            }
            Card {
                Repeater {
                    model: App.checklist
                    delegate: CheckpointRowView {
                        Layout.fillWidth: true
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    visible: App.deferredText.length > 0
                    spacing: 10
                    Image {
                        Layout.preferredWidth: 18
                        Layout.preferredHeight: 18
                        sourceSize: Qt.size(36, 36)
                        source: Theme.icon("hourglass")
                        opacity: 0.6
                    }
                    Label {
                        Layout.fillWidth: true
                        text: App.deferredText
                        color: Theme.secondary
                        wrapMode: Text.Wrap
                    }
                }
            }
        }

        // Batch in progress.
        Card {
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            visible: App.batchRunning
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

        // Recent renames.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            spacing: 6
            RowLayout {
                Layout.fillWidth: true
                Caption {
                    Layout.fillWidth: true
                    text: App.text("home.recent")
                }
                Button {
                    objectName: "showAllButton"
                    flat: true
                    visible: App.hasMoreRecords
                    text: App.showAllText
                    onClicked: App.showAll = !App.showAll
                }
            }
            Card {
                visible: App.homeRecords.count === 0
                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.topMargin: 18
                    Layout.bottomMargin: 18
                    spacing: 6
                    Image {
                        Layout.alignment: Qt.AlignHCenter
                        Layout.preferredWidth: 36
                        Layout.preferredHeight: 36
                        sourceSize: Qt.size(72, 72)
                        source: Theme.icon("camera-viewfinder")
                        opacity: 0.45
                    }
                    Label {
                        Layout.fillWidth: true
                        horizontalAlignment: Text.AlignHCenter
                        text: App.text("home.empty.title")
                        color: Theme.text
                        font.weight: Font.Medium
                    }
                    Label {
                        Layout.fillWidth: true
                        horizontalAlignment: Text.AlignHCenter
                        text: App.text("home.empty.sub")
                        color: Theme.secondary
                        wrapMode: Text.Wrap
                    }
                }
            }
            Label {
                Layout.fillWidth: true
                visible: App.homeRecords.count > 0
                text: App.text("home.recent.hint")
                color: Theme.secondary
                font.pixelSize: 12
            }
            Rectangle {
                Layout.fillWidth: true
                visible: App.homeRecords.count > 0
                implicitHeight: records.implicitHeight
                radius: Theme.radius
                color: Theme.card
                border.color: Theme.border
                ColumnLayout {
                    id: records
                    anchors.left: parent.left
                    anchors.right: parent.right
                    spacing: 0
                    Repeater {
                        model: App.homeRecords
                        delegate: ColumnLayout {
                            id: entry
                            objectName: "homeRecord"
                            required property int index
                            required property string recordId
                            required property string name
                            required property string fromText
                            required property string tag
                            required property string trailing
                            required property bool struck
                            required property bool canUndo
                            required property bool canAgain
                            required property bool exists
                            required property string filePath
                            Layout.fillWidth: true
                            spacing: 0
                            Rectangle {
                                Layout.fillWidth: true
                                Layout.leftMargin: 62
                                visible: entry.index > 0
                                implicitHeight: 1
                                color: Theme.border
                            }
                            RecordRow {
                                Layout.fillWidth: true
                                recordId: entry.recordId
                                name: entry.name
                                fromText: entry.fromText
                                tag: entry.tag
                                trailing: entry.trailing
                                struck: entry.struck
                                canUndo: entry.canUndo
                                canAgain: entry.canAgain
                                exists: entry.exists
                                filePath: entry.filePath
                            }
                        }
                    }
                }
            }
        }

        // Manual actions.
        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            Layout.bottomMargin: 22
            spacing: 10
            Button {
                objectName: "renameFilesButton"
                Layout.fillWidth: true
                text: App.text("home.renameFiles")
                icon.source: Theme.icon("wand-and-sparkles")
                icon.color: Theme.text
                onClicked: App.renameFiles()
            }
            Button {
                objectName: "processExistingButton"
                Layout.fillWidth: true
                text: App.text("home.processExisting")
                icon.source: Theme.icon("tray-full")
                icon.color: Theme.text
                onClicked: App.processExisting()
            }
            GlyphButton {
                visible: !App.trayAvailable
                glyph: "power"
                help: App.text("menu.quit")
                onClicked: App.quit()
            }
        }
    }
}
