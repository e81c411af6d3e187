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
            model: App.folderPaths
            delegate: RowLayout {
                required property string modelData
                Layout.fillWidth: true
                spacing: 10
                Image {
                    Layout.preferredWidth: 18
                    Layout.preferredHeight: 18
                    sourceSize: Qt.size(36, 36)
                    source: Theme.icon("folder")
                    opacity: 0.6
                }
                Label {
                    Layout.fillWidth: true
                    text: modelData
                    color: Theme.text
                    elide: Text.ElideMiddle
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
