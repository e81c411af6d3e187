// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// One history entry of the home tab: thumbnail, name (editable in place), origin, badge and time, and its actions.
Item {
    id: row
    objectName: "recordRow"
    required property string recordId
    required property string name
    required property string fromText
    required property string tag
    required property string trailing
    required property bool struck
    required property bool canUndo
    required property bool canAgain
    required property bool exists
    required property string filePath

    property bool editing: false
    property string draft: ""
    property string error: ""

    function startEditing() {
        draft = name
        error = ""
        editing = true
        field.forceActiveFocus()
        field.selectAll()
    }
    function save() {
        const failure = App.rename(recordId, draft)
        error = failure
        editing = failure.length > 0
        // The field keeps the keyboard, so Escape still cancels after a refused name.
        if (editing)
            field.forceActiveFocus()
    }

    implicitHeight: content.implicitHeight + 16
    implicitWidth: content.implicitWidth

    HoverHandler { id: hover }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popup()
    }

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 8
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 10

        Rectangle {
            Layout.alignment: Qt.AlignTop
            width: 40
            height: 40
            radius: 7
            color: Theme.hover
            clip: true
            Image {
                anchors.fill: parent
                visible: status === Image.Ready
                asynchronous: true
                fillMode: Image.PreserveAspectCrop
                sourceSize: Qt.size(80, 80)
                source: row.exists ? "image://thumbnail/" + encodeURIComponent(row.filePath) : ""
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2

            Label {
                objectName: "recordName"
                Layout.fillWidth: true
                visible: !row.editing
                text: row.name
                color: row.struck ? Theme.secondary : Theme.text
                font.weight: Font.Medium
                font.strikeout: row.struck
                elide: Text.ElideMiddle
                MouseArea {
                    anchors.fill: parent
                    cursorShape: Qt.IBeamCursor
                    onClicked: row.startEditing()
                }
            }
            RowLayout {
                Layout.fillWidth: true
                visible: row.editing
                TextField {
                    id: field
                    objectName: "recordField"
                    Layout.fillWidth: true
                    text: row.draft
                    placeholderText: App.text("history.newName")
                    onTextEdited: row.draft = text
                    onAccepted: row.save()
                    Keys.onEscapePressed: row.editing = false
                }
                Button {
                    objectName: "recordSaveButton"
                    focusPolicy: Qt.NoFocus
                    text: App.text("history.save")
                    onClicked: row.save()
                }
            }
            Label {
                objectName: "recordError"
                Layout.fillWidth: true
                visible: row.editing && row.error.length > 0
                text: row.error
                color: Theme.red
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 6
                Label {
                    Layout.fillWidth: true
                    text: row.fromText
                    color: Theme.secondary
                    font.pixelSize: 12
                    elide: Text.ElideMiddle
                }
                Label {
                    visible: row.tag.length > 0
                    text: row.tag
                    color: Theme.brand
                    font.pixelSize: 11
                    leftPadding: 5
                    rightPadding: 5
                    background: Rectangle {
                        radius: 4
                        color: "transparent"
                        border.color: Theme.brand
                    }
                }
                Label {
                    text: row.trailing
                    color: Theme.secondary
                    font.pixelSize: 12
                }
            }
        }

        Row {
            Layout.alignment: Qt.AlignVCenter
            visible: hover.hovered && !row.editing
            GlyphButton {
                objectName: "revealButton"
                glyph: "reveal"
                help: App.text("history.reveal")
                onClicked: App.reveal(row.recordId)
            }
            GlyphButton {
                objectName: "renameButton"
                glyph: "pencil"
                help: App.text("history.rename")
                onClicked: row.startEditing()
            }
            GlyphButton {
                objectName: "undoButton"
                visible: row.canUndo
                glyph: "undo"
                help: App.text("history.undo")
                onClicked: App.undo(row.recordId)
            }
            GlyphButton {
                objectName: "againButton"
                visible: row.canAgain
                glyph: "wand-and-sparkles"
                help: App.text("history.again")
                onClicked: App.again(row.recordId)
            }
        }
    }

    Menu {
        id: menu
        MenuItem {
            text: App.text("history.reveal")
            onTriggered: App.reveal(row.recordId)
        }
        MenuItem {
            text: App.text("history.rename")
            onTriggered: row.startEditing()
        }
        MenuItem {
            visible: row.canUndo
            height: visible ? implicitHeight : 0
            text: App.text("history.undo")
            onTriggered: App.undo(row.recordId)
        }
        MenuItem {
            visible: row.canAgain
            height: visible ? implicitHeight : 0
            text: App.text("history.again")
            onTriggered: App.again(row.recordId)
        }
    }
}
