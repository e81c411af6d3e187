// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// One readiness row: status glyph, title, detail and the button that fixes it.
RowLayout {
    id: row
    required property string title
    required property string status
    required property string detail
    required property string actionTitle
    required property string action

    spacing: 10

    Rectangle {
        Layout.alignment: Qt.AlignTop
        Layout.topMargin: 1
        width: 20
        height: 20
        radius: 10
        color: Theme.statusColors[row.status] ?? Theme.grey
        Image {
            anchors.centerIn: parent
            width: 12
            height: 12
            sourceSize: Qt.size(24, 24)
            source: Theme.orbIcon(Theme.statusGlyphs[row.status] ?? "minus")
        }
    }
    ColumnLayout {
        Layout.fillWidth: true
        spacing: 2
        Label {
            Layout.fillWidth: true
            text: row.title
            color: Theme.text
            font.weight: Font.Medium
            wrapMode: Text.Wrap
        }
        Label {
            Layout.fillWidth: true
            visible: row.detail.length > 0
            text: row.detail
            color: Theme.secondary
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
    }
    Button {
        Layout.alignment: Qt.AlignVCenter
        visible: row.actionTitle.length > 0
        text: row.actionTitle
        onClicked: App.runCheckpointAction(row.action)
    }
}
