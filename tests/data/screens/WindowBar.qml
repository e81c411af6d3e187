// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A window's title bar: the title in the middle, minimise, maximise and close buttons at the right.
Rectangle {
    property alias title: caption.text
    property string pane: "titlebar"
    width: parent.width
    height: 38
    color: Theme.chrome

    Label {
        id: caption
        anchors.centerIn: parent
        font.family: Theme.ui
        font.pixelSize: 14
        font.bold: true
    }
    Row {
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        spacing: 18
        Glyph { text: "—"; font.pixelSize: 14; anchors.verticalCenter: parent.verticalCenter }
        Glyph { text: "□"; font.pixelSize: 16; anchors.verticalCenter: parent.verticalCenter }
        Glyph { text: "✕"; font.pixelSize: 15; anchors.verticalCenter: parent.verticalCenter }
    }
}
