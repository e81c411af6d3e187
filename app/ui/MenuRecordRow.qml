// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// One recent rename in the tray panel; a click shows the file, hovering offers undo or, once undone, naming again.
Rectangle {
    id: row
    objectName: "menuRecordRow"
    required property string recordId
    required property string name
    required property string originalText
    required property string trailing
    required property bool struck
    required property bool canUndo
    required property bool canAgain

    implicitHeight: content.implicitHeight + 10
    radius: 7
    color: hover.hovered ? Theme.hover : "transparent"

    HoverHandler { id: hover }
    TapHandler { onTapped: App.reveal(row.recordId) }

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 4
        spacing: 6
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            Label {
                Layout.fillWidth: true
                text: row.name
                color: row.struck ? Theme.secondary : Theme.text
                font.weight: Font.Medium
                font.strikeout: row.struck
                elide: Text.ElideRight
            }
            Label {
                Layout.fillWidth: true
                text: row.originalText
                color: Theme.secondary
                font.pixelSize: 11
                elide: Text.ElideMiddle
            }
        }
        GlyphButton {
            objectName: "undoButton"
            visible: row.canUndo
            // Takes no clicks while faded out.
            enabled: hover.hovered
            opacity: hover.hovered ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 120 } }
            glyph: "undo"
            help: App.text("history.undo")
            onClicked: App.undo(row.recordId)
        }
        GlyphButton {
            objectName: "againButton"
            visible: row.canAgain
            enabled: hover.hovered
            opacity: hover.hovered ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 120 } }
            glyph: "wand-and-sparkles"
            help: App.text("history.again")
            onClicked: App.again(row.recordId)
        }
        Label {
            text: row.trailing
            color: Theme.secondary
            font.pixelSize: 11
        }
    }
}
