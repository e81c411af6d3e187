// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 4: which language new names are written in.
StepLayout {
    symbol: "character-bubble"
    color: Theme.teal
    title: App.text("setup.lang.title")
    subtitle: App.text("setup.lang.subtitle")

    Repeater {
        model: App.onboarding.languageOptions
        delegate: ItemDelegate {
            id: option
            required property var modelData
            required property int index
            readonly property bool selected: App.nameLanguageIndex === index
            objectName: "languageOption" + index
            Layout.fillWidth: true
            padding: 12
            onClicked: App.nameLanguageIndex = index
            background: Rectangle {
                radius: Theme.radius
                color: option.hovered ? Theme.hover : Theme.card
                border.color: option.selected ? Theme.teal : Theme.border
                border.width: option.selected ? 2 : 1
            }
            contentItem: RowLayout {
                spacing: 12
                Rectangle {
                    implicitWidth: 22
                    implicitHeight: 22
                    radius: 11
                    color: option.selected ? Theme.teal : "transparent"
                    border.color: option.selected ? Theme.teal : Theme.grey
                    border.width: 2
                    Image {
                        anchors.centerIn: parent
                        visible: option.selected
                        width: 14
                        height: 14
                        sourceSize: Qt.size(28, 28)
                        source: Theme.orbIcon("checkmark")
                    }
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2
                    Label {
                        Layout.fillWidth: true
                        text: option.modelData.title
                        color: Theme.text
                        font.weight: Font.Medium
                    }
                    Label {
                        Layout.fillWidth: true
                        text: option.modelData.detail
                        color: Theme.secondary
                        font.pixelSize: 12
                        wrapMode: Text.Wrap
                    }
                }
            }
        }
    }

    StepCard {
        visible: App.onboarding.translationRows.count > 0
        Repeater {
            model: App.onboarding.translationRows
            delegate: CheckpointRowView { Layout.fillWidth: true }
        }
    }
}
