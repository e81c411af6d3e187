// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A PDF viewer with dark chrome: page thumbnails on the left and a white page of a report.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    subject: "Annual Report 2025"

    WindowBar { title: "annual-report-2025.pdf — Document Viewer" }
    Rectangle {
        property string pane: "toolbar"
        y: 38
        width: parent.width
        height: 46
        color: Theme.panel
        Row {
            x: 16; anchors.verticalCenter: parent.verticalCenter; spacing: 18
            Glyph { text: "☰"; font.pixelSize: 18 }
            Glyph { text: "‹"; font.pixelSize: 20 }
            Field { width: 54; height: 28; text: "3" }
            Label { text: "of 48"; muted: true; anchors.verticalCenter: parent.verticalCenter }
            Glyph { text: "›"; font.pixelSize: 20 }
        }
        Row {
            anchors.centerIn: parent; spacing: 14
            Glyph { text: "−"; font.pixelSize: 18 }
            Label { text: "125%"; anchors.verticalCenter: parent.verticalCenter }
            Glyph { text: "+"; font.pixelSize: 18 }
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 20; anchors.verticalCenter: parent.verticalCenter; spacing: 20
            Glyph { text: "⌕"; font.pixelSize: 18 }
            Glyph { text: "⎙"; font.pixelSize: 18 }
            Glyph { text: "⋮"; font.pixelSize: 18 }
        }
    }
    Rectangle {
        property string pane: "thumbnails"
        y: 84
        width: 200
        height: parent.height - 84
        color: Theme.chrome
        Column {
            x: 40; y: 20; spacing: 16
            Repeater {
                model: 4
                Column {
                    spacing: 4
                    Rectangle { width: 120; height: 160; color: "white"; border.color: index === 2 ? Theme.accent : "transparent"; border.width: 3
                        Column { x: 12; y: 14; spacing: 6; Repeater { model: 12; Rectangle { width: 96 - (index * 17) % 40; height: 3; color: "#bbb" } } } }
                    Label { text: index + 1; muted: true; font.pixelSize: 12; anchors.horizontalCenter: parent.horizontalCenter }
                }
            }
        }
    }
    Rectangle {
        id: page
        property string pane: "page"
        x: 560
        y: 104
        width: 860
        height: 1000
        color: "white"
        Label { x: 80; y: 70; text: "Annual Report 2025"; color: "#1f2328"; font.family: "Noto Serif"; font.pixelSize: 34; font.bold: true; heading: true }
        Label { x: 80; y: 124; text: "Letter from the Board"; color: "#1f2328"; font.family: "Noto Serif"; font.pixelSize: 22 }
        Column {
            x: 80; y: 180; spacing: 9
            Repeater {
                model: [
                    "Dear shareholders,",
                    "",
                    "2025 was the year our cooperative grew beyond its home region. We opened two",
                    "new warehouses, welcomed 1,240 new member farms and, for the first time, sold",
                    "more than half of our produce within 150 kilometres of where it was grown.",
                    "",
                    "Revenue rose by 12.4 percent to 84.6 million euros, while operating costs grew",
                    "by only 6.1 percent. The board proposes a dividend of 2.10 euros per share.",
                    "",
                    "We thank our members, employees and partners for a remarkable year."
                ]
                Label { text: modelData; color: "#1f2328"; font.family: "Noto Serif"; font.pixelSize: 17; height: modelData.length ? implicitHeight : 8 }
            }
        }
        Label { x: 80; y: 560; text: "Key figures"; color: "#1f2328"; font.family: "Noto Serif"; font.pixelSize: 22 }
        Grid {
            x: 80; y: 606; columns: 3; columnSpacing: 120; rowSpacing: 10
            Repeater {
                model: ["Revenue", "€84.6 m", "+12.4 %", "Members", "9,870", "+14.4 %", "Employees", "412", "+38"]
                Label { text: modelData; color: "#1f2328"; font.family: "Noto Serif"; font.pixelSize: 16; font.bold: index % 3 === 0 }
            }
        }
        Label { anchors.horizontalCenter: parent.horizontalCenter; y: 900; text: "3"; color: "#57606a"; font.pixelSize: 13 }
    }
}
