// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// What the application has to tell about something the user asked for, until it is dismissed.
Rectangle {
    objectName: "notice"
    visible: App.notice.length > 0
    implicitHeight: visible ? row.implicitHeight + 16 : 0
    color: Qt.rgba(0.91, 0.54, 0.05, 0.14)
    border.color: Qt.rgba(0.91, 0.54, 0.05, 0.35)
    radius: 7

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 4
        spacing: 8
        Label {
            objectName: "noticeText"
            Layout.fillWidth: true
            text: App.notice
            color: Theme.text
            wrapMode: Text.Wrap
        }
        GlyphButton {
            objectName: "dismissNoticeButton"
            glyph: "xmark"
            help: App.text("ok")
            onClicked: App.dismissNotice()
        }
    }
}
