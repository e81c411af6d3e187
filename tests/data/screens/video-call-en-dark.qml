// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A video call: meeting name and timer, a recording badge, participant tiles and the control bar.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    color: "#111214"
    subject: "Weekly design sync"

    Item {
        property string pane: "top"
        width: parent.width
        height: 64
        Label { x: 28; y: 18; text: "Weekly design sync"; font.pixelSize: 20; font.bold: true; heading: true }
        Label { x: 260; y: 22; text: "00:42:17"; muted: true; font.pixelSize: 15 }
        Rectangle {
            x: 360; y: 18; width: 74; height: 26; radius: 13; color: "#3a1114"
            Glyph { x: 10; anchors.verticalCenter: parent.verticalCenter; text: "●"; color: "#ff4d4f"; font.pixelSize: 12 }
            Label { x: 28; anchors.verticalCenter: parent.verticalCenter; text: "REC"; color: "#ff6b6b"; font.pixelSize: 12; font.bold: true }
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 28; y: 20; spacing: 22
            Label { text: "6 participants"; muted: true }
            Glyph { text: "⛶" }
            Glyph { text: "⋯" }
        }
    }

    Grid {
        x: 28
        y: 72
        columns: 3
        spacing: 14
        Repeater {
            model: [["Oskar Lind", "#37474f", false], ["Priya Nair", "#4e342e", true], ["Maria Keller", "#1b5e20", false], ["Aiko Tanaka", "#311b92", false], ["Jonas Berg", "#004d40", true], ["You", "#263238", false]]
            Rectangle {
                property string pane: "tile " + index
                width: 610; height: 420; radius: 12
                color: modelData[1]
                border.color: index === 1 ? "#4caf50" : "transparent"
                border.width: 3
                Avatar { anchors.centerIn: parent; size: 120; initials: modelData[0].split(" ").map(w => w[0]).join("") }
                Rectangle {
                    x: 14; y: parent.height - 44; width: tag.implicitWidth + (modelData[2] ? 48 : 24); height: 30; radius: 6; color: "#99000000"
                    Glyph { visible: modelData[2]; x: 10; anchors.verticalCenter: parent.verticalCenter; text: "⊘"; color: "#ff6b6b"; font.pixelSize: 14 }
                    Label { id: tag; x: modelData[2] ? 34 : 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; color: "white" }
                }
            }
        }
    }

    Rectangle {
        property string pane: "controls"
        y: parent.height - 120
        width: parent.width
        height: 120
        color: "transparent"
        Row {
            anchors.horizontalCenter: parent.horizontalCenter; y: 24; spacing: 18
            Repeater {
                model: [["◉", "Mute"], ["▶", "Stop video"], ["⇪", "Share screen"], ["☺", "React"], ["☝", "Raise hand"], ["✆", "Leave"]]
                Column {
                    spacing: 6
                    Rectangle {
                        width: 56; height: 56; radius: 28; anchors.horizontalCenter: parent.horizontalCenter
                        color: modelData[1] === "Leave" ? "#d32f2f" : "#2f3136"
                        Glyph { anchors.centerIn: parent; text: modelData[0]; color: "white"; font.pixelSize: 22 }
                    }
                    Label { text: modelData[1]; font.pixelSize: 12; muted: true; anchors.horizontalCenter: parent.horizontalCenter }
                }
            }
        }
    }
}
