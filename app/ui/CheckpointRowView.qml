// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import Zentrope.Ui

// One readiness row: status glyph, title, detail and the button that fixes it. Positioned by hand rather than by
// layouts: wrapped text inside nested layouts is placed with stale heights.
Item {
    id: row
    required property string title
    required property string status
    required property string detail
    required property string actionTitle
    required property string action

    implicitWidth: 320
    implicitHeight: Math.max(texts.height, button.visible ? button.implicitHeight : 0, glyph.height + 2)

    Rectangle {
        id: glyph
        y: 1
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
    Column {
        id: texts
        x: glyph.width + 10
        width: row.width - x - (button.visible ? button.width + 10 : 0)
        spacing: 2
        Label {
            width: parent.width
            text: row.title
            color: Theme.text
            font.weight: Font.Medium
            wrapMode: Text.Wrap
        }
        Label {
            width: parent.width
            visible: row.detail.length > 0
            text: row.detail
            color: Theme.secondary
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
    }
    Button {
        id: button
        anchors.right: parent.right
        anchors.verticalCenter: texts.verticalCenter
        visible: row.actionTitle.length > 0
        text: row.actionTitle
        onClicked: App.runCheckpointAction(row.action)
    }
}
