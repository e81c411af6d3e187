// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// One watched folder: its glyph, name and path, whether it can be reached, the switch that pauses it, and a menu
// to show it, rename what is already in it or stop watching it.
Item {
    id: row
    required property int index
    required property string folderId
    required property string name
    required property string path
    // Holds the "enabled" role, which as a property of its own would switch the whole row off.
    required property var model
    required property bool unavailable
    required property string glyph
    required property string note

    implicitHeight: Math.max(texts.implicitHeight, toggle.implicitHeight)

    Image {
        id: icon
        anchors.verticalCenter: texts.verticalCenter
        width: 20
        height: 20
        sourceSize: Qt.size(40, 40)
        source: Theme.icon(row.glyph)
        opacity: row.unavailable ? 0.9 : 0.6
    }
    Column {
        id: texts
        x: icon.width + 10
        width: toggle.x - x - 8
        spacing: 1
        Label {
            width: parent.width
            text: row.name
            color: row.model.enabled ? Theme.text : Theme.secondary
            font.weight: Font.Medium
            elide: Text.ElideRight
        }
        Label {
            width: parent.width
            text: row.path
            color: Theme.secondary
            font.pixelSize: 12
            elide: Text.ElideMiddle
        }
        Label {
            width: parent.width
            visible: row.note.length > 0
            text: row.note
            color: Theme.orange
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
    }
    Switch {
        id: toggle
        objectName: "folderSwitch" + row.index
        anchors.right: menuButton.left
        anchors.verticalCenter: texts.verticalCenter
        checked: row.model.enabled
        onToggled: {
            App.settingsTab.setFolderEnabled(row.folderId, checked)
            checked = Qt.binding(() => row.model.enabled)
        }
    }
    GlyphButton {
        id: menuButton
        objectName: "folderMenuButton" + row.index
        anchors.right: parent.right
        anchors.verticalCenter: texts.verticalCenter
        glyph: "ellipsis"
        onClicked: menu.popup(menuButton, 0, menuButton.height)
    }
    Menu {
        id: menu
        MenuItem {
            objectName: "folderRevealItem"
            text: App.text("folders.reveal")
            onTriggered: App.settingsTab.revealFolder(row.folderId)
        }
        MenuItem {
            objectName: "folderProcessItem"
            text: App.text("folders.processExisting")
            onTriggered: App.settingsTab.processExisting(row.folderId)
        }
        MenuSeparator {}
        MenuItem {
            objectName: "folderRemoveItem"
            text: App.text("folders.remove")
            palette.windowText: Theme.red
            onTriggered: confirmRemove.open()
        }
    }
    ConfirmDialog {
        id: confirmRemove
        objectName: "removeFolderDialog"
        title: App.text("folders.remove.confirm")
        message: App.text("folders.remove.text")
        actionText: App.text("folders.remove")
        onAccepted: App.settingsTab.removeFolder(row.folderId)
    }
}
