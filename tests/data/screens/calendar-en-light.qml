// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A calendar showing one week with its events, a month picker and the list of calendars.
MockScreen {
    width: 1920
    height: 1080
    subject: "March 2026"

    WindowBar { title: "Calendar" }

    Item {
        property string pane: "side"
        y: 38
        width: 280
        height: parent.height - 38
        Button { x: 20; y: 16; text: "+  New event"; primary: true }
        Label { x: 20; y: 74; text: "March 2026"; font.bold: true; font.pixelSize: 14 }
        Grid {
            x: 20; y: 104; columns: 7; columnSpacing: 10; rowSpacing: 8
            Repeater {
                model: ["M", "T", "W", "T", "F", "S", "S"].concat(Array.from({length: 35}, (v, i) => String(i < 6 ? 23 + i : i - 5)))
                Label { width: 24; horizontalAlignment: Text.AlignHCenter; text: modelData; font.pixelSize: 12; muted: index < 7 }
            }
        }
        Label { x: 20; y: 330; text: "My calendars"; font.bold: true; font.pixelSize: 13 }
        Column {
            x: 20; y: 360; spacing: 10
            Repeater {
                model: [["Work", "#1f6feb"], ["Family", "#1f883d"], ["Birthdays", "#bf3989"], ["Holidays", "#9a6700"]]
                Check { text: modelData[0]; checked: true }
            }
        }
    }

    Item {
        id: week
        property string pane: "week"
        x: 281
        y: 38
        width: parent.width - 281
        height: parent.height - 38
        readonly property real dayWidth: (width - 80) / 7
        Row {
            x: 16; y: 14; spacing: 12
            Button { text: "Today" }
            Glyph { text: "‹"; font.pixelSize: 22 }
            Glyph { text: "›"; font.pixelSize: 22 }
            Label { text: "March 2026"; font.pixelSize: 22; heading: true; anchors.verticalCenter: parent.verticalCenter }
        }
        Label { anchors.right: parent.right; anchors.rightMargin: 24; y: 22; text: "Week 12"; muted: true; font.pixelSize: 14 }
        Repeater {
            model: ["Mon 16", "Tue 17", "Wed 18", "Thu 19", "Fri 20", "Sat 21", "Sun 22"]
            Label { x: 80 + index * week.dayWidth + 12; y: 72; text: modelData; font.pixelSize: 14; font.bold: index === 2; color: index === 2 ? Theme.accent : Theme.text }
        }
        Rectangle { y: 104; width: parent.width; height: 1; color: Theme.line }
        Repeater {
            model: 9
            Item {
                y: 120 + index * 96
                Label { x: 14; y: -8; text: (index + 8) + ":00"; muted: true; font.pixelSize: 12 }
                Rectangle { x: 80; width: week.width - 80; height: 1; color: Theme.line }
            }
        }
        Repeater {
            model: [
                [0, 9, 1, "Sprint planning", "Room Atlas"],
                [0, 14, 1, "1:1 with Priya", "Video call"],
                [1, 10, 1.5, "Design review", "Upload flow, v2"],
                [2, 9.5, 0.75, "Standup", ""],
                [2, 13, 2, "Customer workshop", "Berlin office"],
                [3, 11, 1, "Dentist", ""],
                [4, 9, 1, "Release 2.4 go/no-go", "Room Atlas"],
                [4, 15, 1, "Team retro", ""],
                [5, 10, 3, "Climbing with Anna", ""]
            ]
            Rectangle {
                x: 80 + modelData[0] * week.dayWidth + 4
                y: 120 + (modelData[1] - 8) * 96 + 2
                width: week.dayWidth - 8
                height: modelData[2] * 96 - 4
                radius: 6
                color: Qt.hsla(0.6 - modelData[0] * 0.07, 0.55, 0.9, 1)
                Label { x: 8; y: 6; text: modelData[3]; font.pixelSize: 13; font.bold: true; color: "#1f2328" }
                Label { x: 8; y: 26; text: (modelData[1] % 1 ? Math.floor(modelData[1]) + ":30" : modelData[1] + ":00") + (modelData[4] ? " · " + modelData[4] : ""); font.pixelSize: 12; color: "#424a53" }
            }
        }
    }
}
