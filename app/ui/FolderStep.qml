// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 2: the folders to watch; the way on opens once there is one.
StepLayout {
    symbol: "folder"
    color: Theme.blue
    title: App.text("setup.folder.title")
    subtitle: App.text("setup.folder.subtitle")

    StepCard {
        visible: App.onboarding.hasFolders
        spacing: 8
        Repeater {
            model: App.folders
            delegate: RowLayout {
                required property string name
                required property string path
                required property string glyph
                required property string note
                Layout.fillWidth: true
                spacing: 10
                Image {
                    Layout.preferredWidth: 20
                    Layout.preferredHeight: 20
                    sourceSize: Qt.size(40, 40)
                    source: Theme.icon(glyph)
                    opacity: 0.6
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 0
                    Label {
                        Layout.fillWidth: true
                        text: name
                        color: Theme.text
                        font.weight: Font.Medium
                        elide: Text.ElideRight
                    }
                    Label {
                        Layout.fillWidth: true
                        text: path
                        color: Theme.secondary
                        font.pixelSize: 12
                        elide: Text.ElideMiddle
                    }
                    Label {
                        Layout.fillWidth: true
                        visible: note.length > 0
                        text: note
                        color: Theme.orange
                        font.pixelSize: 12
                        wrapMode: Text.Wrap
                    }
                }
            }
        }
    }

    Button {
        objectName: "chooseFolderButton"
        Layout.alignment: Qt.AlignHCenter
        icon.source: Theme.icon("folder-badge-plus")
        icon.color: Theme.text
        text: App.onboarding.hasFolders ? App.text("setup.folder.another") : App.text("setup.folder.choose")
        onClicked: App.chooseFolder()
    }

    Label {
        objectName: "folderStatus"
        Layout.fillWidth: true
        horizontalAlignment: Text.AlignHCenter
        text: App.onboarding.hasFolders ? App.text("setup.folder.done") : App.text("check.folder.bad")
        color: App.onboarding.hasFolders ? Theme.green : Theme.orange
        font.weight: Font.Medium
        wrapMode: Text.Wrap
    }
    Label {
        Layout.fillWidth: true
        visible: !App.onboarding.hasFolders
        horizontalAlignment: Text.AlignHCenter
        text: App.text("setup.folder.hint")
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
}
