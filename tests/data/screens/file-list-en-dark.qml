// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark file manager showing the Downloads folder as a list.
MockScreen {
    width: 1440
    height: 900
    dark: true
    subject: "Downloads"
    namingLimit: "prominence goes by the height of the letters: file names with descenders outrank the bold folder name"

    WindowBar { title: "Downloads" }

    Column {
        property string pane: "places"
        y: 60
        x: 20
        spacing: 16
        Repeater {
            model: [["⌂", "Home"], ["▣", "Desktop"], ["▤", "Documents"], ["↓", "Downloads"], ["♫", "Music"], ["▨", "Pictures"], ["▶", "Videos"], ["✕", "Trash"]]
            Row {
                spacing: 12
                Glyph { text: modelData[0]; width: 18 }
                Label { text: modelData[1]; font.pixelSize: 14; font.bold: modelData[1] === "Downloads" }
            }
        }
    }
    Rectangle { x: 220; y: 38; width: 1; height: parent.height - 38; color: Theme.line }

    Item {
        property string pane: "files"
        x: 221
        y: 38
        width: parent.width - 221
        height: parent.height - 38
        Row {
            x: 20; y: 14; spacing: 8
            Glyph { text: "‹  ›"; font.pixelSize: 18 }
            Label { text: "Home  /  Downloads"; font.pixelSize: 15; font.bold: true; heading: true }
        }
        Field { x: parent.width - 300; y: 10; width: 280; icon: "⌕"; text: "Search files"; placeholder: true }
        Row {
            x: 20; y: 64
            Label { width: 620; text: "Name"; muted: true; font.pixelSize: 13 }
            Label { width: 160; text: "Size"; muted: true; font.pixelSize: 13 }
            Label { text: "Modified"; muted: true; font.pixelSize: 13 }
        }
        Column {
            x: 20; y: 94
            Repeater {
                model: [
                    ["▨", "image.png", "New", "1.2 MB", "2 min. ago"],
                    ["▤", "tax-return-2025.pdf", "", "348 kB", "1 hour ago"],
                    ["▤", "Lease agreement signed.pdf", "", "2.1 MB", "Yesterday"],
                    ["▣", "zentrope-0.1.0.tar.gz", "", "4.8 MB", "Yesterday"],
                    ["▨", "holiday-photos.zip", "", "512 MB", "Mon"],
                    ["▤", "Conference schedule.xlsx", "", "88 kB", "Mar 12"],
                    ["♫", "podcast-episode-41.mp3", "", "61 MB", "Mar 10"],
                    ["▤", "Invoice 0394.pdf", "", "120 kB", "Mar 7"],
                    ["▣", "debian-12.5.0-amd64-netinst.iso", "", "629 MB", "Feb 28"],
                    ["▨", "floor-plan.svg", "", "240 kB", "Feb 21"]
                ]
                Rectangle {
                    width: 1180; height: 52
                    color: index === 0 ? Theme.selection : "transparent"
                    Glyph { x: 10; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 20 }
                    Label { id: file; x: 44; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; font.pixelSize: 15 }
                    Badge { visible: modelData[2].length > 0; x: file.x + file.implicitWidth + 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[2] }
                    Label { x: 620; anchors.verticalCenter: parent.verticalCenter; text: modelData[3]; muted: true; font.pixelSize: 14 }
                    Label { x: 780; anchors.verticalCenter: parent.verticalCenter; text: modelData[4]; muted: true; font.pixelSize: 14 }
                }
            }
        }
        Label { x: 20; y: parent.height - 34; text: "10 items, 1.1 GB, 41.7 GB free"; muted: true; font.pixelSize: 12 }
    }
}
