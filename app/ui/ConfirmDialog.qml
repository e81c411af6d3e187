// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// A question before something that cannot be taken back: the title, what happens, Cancel and the action in red.
Dialog {
    id: dialog
    property string message
    property string actionText
    property color actionColor: Theme.red

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(400, parent ? parent.width - 48 : 400)
    modal: true
    padding: 20
    topPadding: 8
    background: Rectangle {
        color: Theme.card
        border.color: Theme.border
        radius: Theme.radius
    }

    header: Label {
        padding: 20
        bottomPadding: 0
        text: dialog.title
        color: Theme.text
        font.pixelSize: 15
        font.weight: Font.DemiBold
        wrapMode: Text.Wrap
    }
    contentItem: Label {
        text: dialog.message
        color: Theme.secondary
        wrapMode: Text.Wrap
    }
    footer: RowLayout {
        spacing: 8
        Item { Layout.fillWidth: true }
        Button {
            objectName: "cancelButton"
            Layout.bottomMargin: 16
            text: App.text("cancel")
            onClicked: dialog.reject()
        }
        Button {
            objectName: "confirmButton"
            Layout.bottomMargin: 16
            Layout.rightMargin: 16
            text: dialog.actionText
            palette.buttonText: "#ffffff"
            palette.button: dialog.actionColor
            onClicked: dialog.accept()
        }
    }
}
