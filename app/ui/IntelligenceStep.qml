// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 3: is the local model ready. When it is not, the way forward comes first (how to get a model server, and
// naming from the recognised text meanwhile), then the readiness rows.
StepLayout {
    symbol: "cpu"
    color: Theme.brand
    title: App.onboarding.aiTitle
    subtitle: App.text("setup.ai.subtitle")

    StepCard {
        objectName: "serverHelp"
        visible: App.onboarding.showsServerHelp
        spacing: 6
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            Label {
                Layout.fillWidth: true
                text: App.onboarding.serverHelp
                color: Theme.text
                wrapMode: Text.Wrap
            }
            Button {
                objectName: "serverHelpLink"
                Layout.alignment: Qt.AlignTop
                icon.source: Theme.icon("arrow-up-right")
                icon.color: Theme.brand
                palette.buttonText: Theme.brand
                text: App.text("setup.ai.get.link")
                onClicked: App.onboarding.openServerHelp()
            }
        }
        Label {
            Layout.fillWidth: true
            text: App.text("setup.ai.get.sizes")
            color: Theme.secondary
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
    }

    StepCard {
        visible: !App.onboarding.aiAvailable
        border.color: App.ocrFallback ? Theme.green : Theme.border
        Label {
            Layout.fillWidth: true
            text: App.onboarding.showsServerHelp ? App.text("setup.ai.get.meanwhile") : App.text("setup.ai.later")
            color: Theme.secondary
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    Layout.fillWidth: true
                    text: App.text("setup.ai.fallback")
                    color: Theme.text
                    font.weight: Font.Medium
                    wrapMode: Text.Wrap
                }
                Label {
                    Layout.fillWidth: true
                    text: App.text("setup.ai.fallback.sub")
                    color: Theme.secondary
                    font.pixelSize: 12
                    wrapMode: Text.Wrap
                }
            }
            Switch {
                objectName: "ocrFallbackSwitch"
                Accessible.name: App.text("setup.ai.fallback")
                checked: App.ocrFallback
                onToggled: {
                    App.ocrFallback = checked
                    checked = Qt.binding(() => App.ocrFallback)
                }
            }
        }
    }

    StepCard {
        spacing: 12
        Repeater {
            model: App.onboarding.intelligenceRows
            delegate: CheckpointRowView { Layout.fillWidth: true }
        }
    }
}
