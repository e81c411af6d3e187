// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// The first-run guide over the tabs: welcome, how it works, the folder, the local model, the name language, done.
Rectangle {
    id: view
    color: Theme.window

    readonly property int step: App.router.setupStep

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 32
        spacing: 14

        StatusOrb {
            Layout.alignment: Qt.AlignHCenter
            kind: view.step === 3 ? (App.aiReady ? "ok" : "waiting") : "working"
            size: 64
        }

        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            color: Theme.text
            font.pixelSize: 22
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
            text: [App.text("setup.welcome.title"), App.text("setup.welcome.title"), App.text("setup.folder.title"),
                   App.aiReady ? App.text("setup.ai.titleReady") : App.text("setup.ai.title"),
                   App.text("setup.lang.title"), App.text("setup.finish.title")][view.step] ?? ""
        }
        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            color: Theme.secondary
            wrapMode: Text.Wrap
            text: [App.text("setup.welcome.subtitle"), App.text("setup.welcome.smart"),
                   App.text("setup.folder.subtitle"), App.text("setup.ai.subtitle"), App.text("setup.lang.subtitle"),
                   App.text("setup.finish.subtitle")][view.step] ?? ""
        }

        // Welcome and how it works.
        ColumnLayout {
            Layout.alignment: Qt.AlignHCenter
            visible: view.step <= 1
            spacing: 8
            Repeater {
                model: view.step === 0
                       ? [App.text("setup.welcome.smart"), App.text("setup.welcome.private"),
                          App.text("setup.welcome.light")]
                       : [App.text("setup.welcome.before") + ":  Screenshot from 2026-11-12 10-42-17.png",
                          App.text("setup.welcome.after") + ":  GitHub pull request review.png"]
                delegate: Label {
                    required property string modelData
                    text: modelData
                    color: Theme.text
                }
            }
        }

        // The folder.
        ColumnLayout {
            Layout.fillWidth: true
            visible: view.step === 2
            Repeater {
                model: App.folderPaths
                delegate: Label {
                    required property string modelData
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: modelData
                    color: Theme.text
                    elide: Text.ElideMiddle
                }
            }
            Button {
                Layout.alignment: Qt.AlignHCenter
                text: App.hasFolders ? App.text("setup.folder.another") : App.text("setup.folder.choose")
                onClicked: App.chooseFolder()
            }
            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: App.hasFolders ? App.text("setup.folder.done") : App.text("setup.folder.hint")
                color: Theme.secondary
                wrapMode: Text.Wrap
            }
        }

        // The local model and the language.
        ColumnLayout {
            Layout.fillWidth: true
            visible: view.step === 3 || view.step === 4
            spacing: 10
            Repeater {
                model: view.step === 3 ? App.setupChecklist : null
                delegate: CheckpointRowView { Layout.fillWidth: true }
            }
            Label {
                Layout.fillWidth: true
                visible: view.step === 3 && !App.aiReady
                text: App.text("setup.ai.later")
                color: Theme.secondary
                wrapMode: Text.Wrap
            }
            ComboBox {
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 260
                visible: view.step === 4
                model: [App.text("naming.lang.auto"), "Русский", "English"]
                currentIndex: App.nameLanguageIndex
                onActivated: index => App.nameLanguageIndex = index
            }
        }

        // Finish: notifications and starting with the session.
        ColumnLayout {
            Layout.fillWidth: true
            visible: view.step === 5
            spacing: 10
            Label {
                Layout.fillWidth: true
                text: App.notificationsDenied ? App.text("setup.finish.notify.denied")
                                              : App.text("setup.finish.notify.sub")
                color: App.notificationsDenied ? Theme.orange : Theme.secondary
                wrapMode: Text.Wrap
            }
            Button {
                visible: App.notificationsDenied
                text: App.text("check.openSettings")
                onClicked: App.openNotificationSettings()
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
                text: App.loginError.length > 0 ? App.loginError : App.text("general.login.sub")
                color: App.loginError.length > 0 ? Theme.red : Theme.secondary
                wrapMode: Text.Wrap
            }
        }

        Item { Layout.fillHeight: true }

        RowLayout {
            Layout.fillWidth: true
            Button {
                objectName: "backButton"
                visible: view.step > 0
                text: App.text("setup.back")
                onClicked: App.router.previousStep()
            }
            Item { Layout.fillWidth: true }
            Button {
                objectName: "nextButton"
                visible: view.step < 5
                highlighted: true
                text: view.step === 0 ? App.text("setup.start") : App.text("setup.next")
                onClicked: App.router.nextStep()
            }
            Button {
                objectName: "finishButton"
                visible: view.step === 5
                highlighted: true
                text: App.text("setup.finish")
                onClicked: App.finishSetup()
            }
        }
    }
}
