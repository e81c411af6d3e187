// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A mail client: folders with a storage meter, the message list, and the open message.
MockScreen {
    width: 1920
    height: 1080
    subject: "Invoice for October"

    WindowBar { title: "Inbox — oskar.lind@example.com — Mail" }

    Rectangle {
        property string pane: "folders"
        y: 38
        width: 260
        height: parent.height - 38
        color: Theme.panel
        Button { x: 20; y: 18; width: 220; text: "✎  New message"; primary: true }
        Column {
            x: 20; y: 80; spacing: 6
            Repeater {
                model: [["Inbox", "12"], ["Starred", ""], ["Snoozed", ""], ["Sent", ""], ["Drafts", "2"], ["Spam", "31"], ["Trash", ""], ["Archive", ""]]
                Rectangle {
                    width: 220; height: 34; radius: 6
                    color: index === 0 ? Theme.selection : "transparent"
                    Label { x: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 14; font.bold: index === 0 }
                    Label { anchors.right: parent.right; anchors.rightMargin: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; font.pixelSize: 13; muted: true }
                }
            }
        }
        Label { x: 20; y: 420; text: "Labels"; muted: true; font.pixelSize: 12; font.bold: true }
        Column {
            x: 32; y: 448; spacing: 12
            Repeater {
                model: ["Clients", "Family", "Receipts", "Travel"]
                Row { spacing: 10; Glyph { text: "●"; font.pixelSize: 10; anchors.verticalCenter: parent.verticalCenter; color: Qt.hsla(index * 0.23, 0.6, 0.5, 1) } Label { text: modelData } }
            }
        }
        Rectangle { x: 20; y: parent.height - 64; width: 220; height: 6; radius: 3; color: Theme.line
            Rectangle { width: parent.width * 0.21; height: 6; radius: 3; color: Theme.accent } }
        Label { x: 20; y: parent.height - 50; text: "3.2 GB of 15 GB used"; muted: true; font.pixelSize: 12 }
    }

    Item {
        property string pane: "messages"
        x: 261
        y: 38
        width: 520
        height: parent.height - 38
        Field { x: 16; y: 14; width: 488; icon: "⌕"; text: "Search mail"; placeholder: true }
        Column {
            y: 62
            Repeater {
                model: [
                    ["Oskar Lind", "Invoice for October consulting work", "Hi Maria, please find attached the invoice", "10:42"],
                    ["Priya Nair", "Re: Workshop agenda", "Sounds good, I will bring the slides", "09:15"],
                    ["Bank of Example", "Your statement is ready", "Your monthly statement for account ending", "08:03"],
                    ["Travel Desk", "Booking confirmed: Berlin, 14–16 May", "Your hotel and train tickets are attached", "Yesterday"],
                    ["GitForge", "[acme/uploader] Fix race condition (#4821)", "olind approved these changes", "Yesterday"],
                    ["Anna Schmidt", "Photos from the weekend", "Here are the pictures I promised", "Tue"],
                    ["Newsletter", "Five tips for a calmer inbox", "This week: filters, labels and snoozing", "Mon"],
                    ["Landlord", "Heating maintenance on Friday", "The technician will come between 9 and 12", "Mon"],
                    ["Priya Nair", "Budget draft v2", "I updated the numbers for Q3", "Sun"],
                    ["Support", "Ticket 88213 resolved", "We have closed your request", "Mar 9"],
                    ["Oskar Lind", "Lunch next week?", "How about Wednesday at noon", "Mar 8"]
                ]
                Rectangle {
                    width: 520; height: 86
                    color: index === 0 ? Theme.selection : "transparent"
                    Rectangle { y: 85; width: parent.width; height: 1; color: Theme.line }
                    Label { x: 20; y: 12; text: modelData[0]; font.pixelSize: 14; font.bold: index < 3 }
                    Label { anchors.right: parent.right; anchors.rightMargin: 16; y: 13; text: modelData[3]; muted: true; font.pixelSize: 12 }
                    Label { x: 20; y: 36; text: modelData[1]; font.pixelSize: 14 }
                    Label { x: 20; y: 58; text: modelData[2]; muted: true; font.pixelSize: 13 }
                }
            }
        }
    }
    Rectangle { x: 781; y: 38; width: 1; height: parent.height - 38; color: Theme.line }

    Item {
        property string pane: "message"
        x: 782
        y: 38
        width: parent.width - 782
        height: parent.height - 38
        Row {
            x: 32; y: 18; spacing: 24
            Repeater { model: ["↩", "↪", "⚑", "✕", "⋯"]; Glyph { text: modelData; font.pixelSize: 18 } }
        }
        Label { x: 32; y: 70; text: "Invoice for October consulting work"; font.pixelSize: 24; font.bold: true; heading: true }
        Avatar { x: 32; y: 124; size: 44; initials: "OL" }
        Label { x: 90; y: 124; text: "Oskar Lind"; font.bold: true; font.pixelSize: 15 }
        Label { x: 90; y: 148; text: "to me, accounts@example.com"; muted: true; font.pixelSize: 13 }
        Label { anchors.right: parent.right; anchors.rightMargin: 32; y: 126; text: "Thu 12 Mar, 10:42"; muted: true; font.pixelSize: 13 }
        Column {
            x: 32; y: 210; spacing: 12
            Repeater {
                model: [
                    "Hi Maria,",
                    "",
                    "please find attached the invoice for the consulting work in October (42 hours).",
                    "The amount of 5,460.00 EUR is due within 30 days of receipt.",
                    "Let me know if anything needs to change before you forward it to accounting.",
                    "",
                    "Best regards,",
                    "Oskar"
                ]
                Label { text: modelData; font.pixelSize: 15; height: modelData.length ? implicitHeight : 8 }
            }
        }
        Rectangle {
            x: 32; y: 520; width: 300; height: 64; radius: 8; color: "transparent"; border.color: Theme.line
            Glyph { x: 14; anchors.verticalCenter: parent.verticalCenter; text: "▤"; font.pixelSize: 26; color: "#d1453b" }
            Label { x: 54; y: 12; text: "invoice-2025-10.pdf"; font.pixelSize: 14 }
            Label { x: 54; y: 34; text: "82 kB"; muted: true; font.pixelSize: 12 }
        }
    }
}
