// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// Step 5: the extras, whether anything will be renamed yet, and the first real rename once it happens.
StepLayout {
    symbol: "checkmark-seal"
    color: App.onboarding.willRename ? Theme.green : Theme.orange
    title: App.onboarding.finishTitle
    subtitle: App.onboarding.finishSubtitle
    subtitleColor: App.onboarding.willRename ? Theme.secondary : Theme.text

    Component.onCompleted: App.onboarding.finishShown()

    component SwitchRow: RowLayout {
        id: switchRow
        property alias title: titleLabel.text
        property string detail
        property color detailColor: Theme.secondary
        default property alias control: holder.data
        Layout.fillWidth: true
        spacing: 12
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Label {
                id: titleLabel
                Layout.fillWidth: true
                color: Theme.text
                font.weight: Font.Medium
                wrapMode: Text.Wrap
            }
            Label {
                Layout.fillWidth: true
                text: switchRow.detail
                color: switchRow.detailColor
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
        }
        Item {
            id: holder
            implicitWidth: childrenRect.width
            implicitHeight: childrenRect.height
        }
    }

    StepCard {
        SwitchRow {
            title: App.text("general.login")
            detail: App.loginError.length > 0 ? App.loginError : App.text("general.login.sub")
            detailColor: App.loginError.length > 0 ? Theme.red : Theme.secondary
            Switch {
                objectName: "loginSwitch"
                Accessible.name: App.text("general.login")
                checked: App.loginEnabled
                // Shows the autostart entry as it is, also when writing it failed.
                onToggled: {
                    App.setLoginEnabled(checked)
                    checked = Qt.binding(() => App.loginEnabled)
                }
            }
        }
        SwitchRow {
            title: App.text("setup.finish.notify")
            detail: App.onboarding.showsNotifyDenied ? App.text("setup.finish.notify.denied")
                                                     : App.text("setup.finish.notify.sub")
            detailColor: App.onboarding.showsNotifyDenied ? Theme.orange : Theme.secondary
            Switch {
                objectName: "notifySwitch"
                Accessible.name: App.text("setup.finish.notify")
                checked: App.onboarding.notifyOn
                onToggled: {
                    App.onboarding.setNotify(checked)
                    checked = Qt.binding(() => App.onboarding.notifyOn)
                }
            }
        }
    }

    StepCard {
        objectName: "tryCard"
        border.color: App.onboarding.triedName.length > 0 ? Theme.green : Theme.border
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            GlyphDisc {
                Layout.alignment: Qt.AlignTop
                size: 34
                glyph: "camera-viewfinder"
                color: App.onboarding.triedName.length > 0 ? Theme.green : Theme.brand
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Label {
                    objectName: "tryTitle"
                    Layout.fillWidth: true
                    text: App.onboarding.triedName.length > 0 ? App.onboarding.triedName : App.text("setup.finish.try")
                    color: Theme.text
                    font.weight: App.onboarding.triedName.length > 0 ? Font.DemiBold : Font.Medium
                    wrapMode: Text.Wrap
                }
                Label {
                    objectName: "tryHint"
                    Layout.fillWidth: true
                    text: App.onboarding.triedName.length > 0 ? App.text("setup.finish.worked") : App.onboarding.tryHint
                    color: Theme.secondary
                    font.pixelSize: 12
                    wrapMode: Text.Wrap
                }
            }
        }
    }
}
