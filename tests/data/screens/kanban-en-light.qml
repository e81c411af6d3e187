// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A kanban board: four columns of cards with labels, avatars and due dates.
MockScreen {
    width: 1920
    height: 1080
    color: Theme.panel
    subject: "Mobile app launch"

    WindowBar { title: "Mobile app launch — Boards" }

    Item {
        property string pane: "header"
        y: 38
        width: parent.width
        height: 70
        Label { x: 32; y: 16; text: "Mobile app launch"; font.pixelSize: 24; font.bold: true; heading: true }
        Row {
            x: 330; y: 22; spacing: 8
            Badge { text: "Board"; tint: "#6e7781" }
            Repeater { model: ["OL", "PN", "MK", "AS"]; Avatar { size: 26; initials: modelData } }
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 32; y: 18; spacing: 10
            Field { width: 220; icon: "⌕"; text: "Filter cards"; placeholder: true }
            Button { text: "Share" }
        }
    }

    Row {
        x: 32
        y: 118
        spacing: 20
        Repeater {
            model: [
                ["To do", [["Write App Store description", "Marketing", "Mar 20"], ["Prepare press kit", "Marketing", "Mar 22"], ["Translate onboarding screens", "Content", "Mar 24"], ["Set up crash reporting", "Engineering", ""]]],
                ["In progress", [["Payment flow for subscriptions", "Engineering", "Mar 18"], ["Dark mode polish", "Design", "Mar 19"], ["Beta feedback triage", "Product", ""]]],
                ["Review", [["Push notification settings", "Engineering", "Mar 17"], ["Privacy policy update", "Legal", "Mar 21"]]],
                ["Done", [["App icon final version", "Design", ""], ["TestFlight build 1.0 (42)", "Engineering", ""], ["Landing page copy", "Marketing", ""]]]
            ]
            Rectangle {
                property string pane: "column " + index
                width: 300
                height: 900
                radius: 10
                color: Theme.dark ? "#26282c" : "#ebecf0"
                Label { x: 16; y: 14; text: modelData[0]; font.bold: true; font.pixelSize: 15 }
                Label { anchors.right: parent.right; anchors.rightMargin: 16; y: 15; text: modelData[1].length; muted: true; font.pixelSize: 13 }
                Column {
                    x: 10; y: 50; spacing: 10
                    Repeater {
                        model: modelData[1]
                        Rectangle {
                            width: 280; height: 96; radius: 8; color: Theme.background; border.color: Theme.line
                            Badge { x: 12; y: 12; text: modelData[1]; tint: Qt.hsla(modelData[1].length * 0.09 % 1, 0.5, 0.45, 1) }
                            Label { x: 12; y: 40; text: modelData[0]; font.pixelSize: 14 }
                            Label { x: 12; y: 68; visible: modelData[2].length > 0; text: "◷ " + modelData[2]; muted: true; font.pixelSize: 12 }
                            Avatar { x: 244; y: 62; size: 24; initials: ["OL", "PN", "MK"][modelData[0].length % 3] }
                        }
                    }
                }
                Label { x: 16; y: 60 + modelData[1].length * 106; text: "+ Add a card"; muted: true; font.pixelSize: 13 }
            }
        }
    }
}
