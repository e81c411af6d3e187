// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A text field with its content or a greyed placeholder, optionally with an icon in front.
Rectangle {
    property alias text: content.text
    property bool placeholder: false
    property string icon
    width: 240
    height: 34
    radius: 6
    color: Theme.dark ? "#26282c" : "#ffffff"
    border.color: Theme.line
    Glyph {
        id: mark
        visible: icon.length > 0
        text: icon
        x: 10
        anchors.verticalCenter: parent.verticalCenter
    }
    Label {
        id: content
        x: icon.length > 0 ? 34 : 10
        anchors.verticalCenter: parent.verticalCenter
        muted: placeholder
    }
}
