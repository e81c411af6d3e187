// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The settings tab, so far: folders, name language, the local model, notifications, start at login, appearance.
ScrollView {
    id: view
    contentWidth: availableWidth
    clip: true

    component Section: Label {
        Layout.topMargin: 8
        color: Theme.secondary
        font.pixelSize: 12
        font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase
    }

    ColumnLayout {
        width: view.availableWidth - 48
        x: 24
        spacing: 10

        Section {
            Layout.topMargin: 22
            text: App.text("settings.folders")
        }
        Repeater {
            model: App.folderPaths
            delegate: RowLayout {
                required property string modelData
                Layout.fillWidth: true
                Image {
                    Layout.preferredWidth: 16
                    Layout.preferredHeight: 16
                    sourceSize: Qt.size(32, 32)
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
        Button {
            text: App.hasFolders ? App.text("setup.folder.another") : App.text("setup.folder.choose")
            onClicked: App.chooseFolder()
        }

        Section { text: App.text("settings.naming") }
        ComboBox {
            Layout.preferredWidth: 260
            model: [App.text("naming.lang.auto"), "Русский", "English"]
            currentIndex: App.nameLanguageIndex
            onActivated: index => App.nameLanguageIndex = index
        }

        Section { text: App.text("settings.ai") }
        Repeater {
            model: App.setupChecklist
            delegate: CheckpointRowView { Layout.fillWidth: true }
        }
        Switch {
            objectName: "ocrFallbackSwitch"
            text: App.text("ai.ocr")
            checked: App.ocrFallback
            onToggled: App.ocrFallback = checked
        }
        Button {
            text: App.text("settings.ai.setup")
            onClicked: App.openGuide()
        }

        Section { text: App.text("settings.behavior") }
        Label {
            text: App.text("general.notify")
            color: Theme.text
        }
        ComboBox {
            Layout.preferredWidth: 260
            model: [App.text("notifications.all"), App.text("notifications.errors"), App.text("notifications.off")]
            currentIndex: App.notificationIndex
            onActivated: index => App.notificationIndex = index
        }
        RowLayout {
            Layout.fillWidth: true
            visible: App.notificationsDenied
            Label {
                Layout.fillWidth: true
                text: App.text("setup.finish.notify.denied")
                color: Theme.orange
                wrapMode: Text.Wrap
            }
            Button {
                text: App.text("check.openSettings")
                onClicked: App.openNotificationSettings()
            }
        }
        Switch {
            objectName: "loginSwitch"
            text: App.text("general.login")
            checked: App.loginEnabled
            // Shows the autostart entry as it is, also when writing it failed.
            onToggled: {
                App.setLoginEnabled(checked)
                checked = Qt.binding(() => App.loginEnabled)
            }
        }
        Label {
            Layout.fillWidth: true
            visible: App.loginError.length > 0
            text: App.loginError
            color: Theme.red
            wrapMode: Text.Wrap
        }

        Section { text: App.text("settings.appearance") }
        ComboBox {
            Layout.preferredWidth: 260
            Layout.bottomMargin: 22
            model: [App.text("appearance.system"), App.text("appearance.light"), App.text("appearance.dark")]
            currentIndex: App.appearanceIndex
            onActivated: index => App.appearanceIndex = index
        }
    }
}
