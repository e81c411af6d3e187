// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A documentation page in a browser: site navigation, table of contents, the article and its outline.
MockScreen {
    width: 1920
    height: 1080
    subject: "network proxy"

    Rectangle {
        property string pane: "browser"
        width: parent.width
        height: 44
        color: Theme.chrome
        Row { x: 14; y: 12; spacing: 14; Glyph { text: "←" } Glyph { text: "→" } Glyph { text: "↻" } }
        Field { x: 110; y: 6; width: 900; height: 32; text: "docs.example.org/admin/network/proxy" }
        Glyph { x: parent.width - 110; y: 12; text: "—    □    ✕"; font.pixelSize: 13 }
    }
    Rectangle {
        property string pane: "site"
        y: 44
        width: parent.width
        height: 60
        color: Theme.background
        Rectangle { y: 59; width: parent.width; height: 1; color: Theme.line }
        Label { x: 40; anchors.verticalCenter: parent.verticalCenter; text: "Fleet Manager Docs"; font.pixelSize: 18; font.bold: true }
        Row {
            x: 340; anchors.verticalCenter: parent.verticalCenter; spacing: 32
            Repeater { model: ["Guides", "Reference", "API", "Release notes"]; Label { text: modelData; font.pixelSize: 14; muted: index !== 0 } }
        }
        Field { x: parent.width - 360; y: 12; width: 320; height: 36; icon: "⌕"; text: "Search docs   Ctrl K"; placeholder: true }
    }

    Column {
        property string pane: "contents"
        x: 40
        y: 140
        spacing: 12
        Repeater {
            model: ["Getting started", "Installing agents", "Network", "    Firewall ports", "    Network proxy", "    Certificates", "Updates", "Backups", "Troubleshooting"]
            Label { text: modelData.trim(); x: modelData.startsWith(" ") ? 16 : 0; font.pixelSize: 14; font.bold: modelData.trim() === "Network proxy"; color: font.bold ? Theme.accent : Theme.text }
        }
    }

    Item {
        property string pane: "article"
        x: 420
        y: 120
        width: 980
        height: 900
        Label { y: 6; text: "Guides  ›  Network  ›  Proxy"; muted: true; font.pixelSize: 13 }
        Label { y: 40; text: "Configuring the network proxy"; font.pixelSize: 36; font.bold: true; heading: true }
        Column {
            y: 110; spacing: 10
            Repeater {
                model: [
                    "Agents reach the management server directly by default. In networks that only allow",
                    "outbound traffic through a proxy, set the proxy once in the agent configuration and every",
                    "connection, including updates and log uploads, goes through it.",
                ]
                Label { text: modelData; font.pixelSize: 17 }
            }
        }
        Label { y: 240; text: "Set the proxy address"; font.pixelSize: 24; font.bold: true; heading: true }
        Label { y: 286; text: "Add the address and port to /etc/fleet/agent.conf and restart the agent:"; font.pixelSize: 17 }
        Rectangle {
            y: 326; width: 940; height: 96; radius: 6; color: Theme.panel; border.color: Theme.line
            Column {
                x: 18; y: 14; spacing: 6
                Label { text: "[network]"; font.family: Theme.mono; font.pixelSize: 15 }
                Label { text: "proxy = http://proxy.corp.example:3128"; font.family: Theme.mono; font.pixelSize: 15 }
                Label { text: "no_proxy = localhost, 10.0.0.0/8"; font.family: Theme.mono; font.pixelSize: 15 }
            }
        }
        Rectangle {
            y: 450; width: 940; height: 70; radius: 6; color: "#fff8c5"; border.color: "#d4a72c"
            Glyph { x: 16; y: 22; text: "⚠"; color: "#9a6700"; font.pixelSize: 20 }
            Label { x: 50; y: 12; text: "Note"; font.bold: true; color: "#3b2300" }
            Label { x: 50; y: 38; text: "Proxies that inspect TLS need their certificate installed on every agent."; color: "#3b2300" }
        }
        Label { y: 556; text: "Check the connection"; font.pixelSize: 24; font.bold: true }
        Label { y: 602; text: "Run fleet-agent --check-network; it prints the proxy in use and the server's answer."; font.pixelSize: 17 }
    }

    Column {
        property string pane: "outline"
        x: 1500
        y: 160
        spacing: 10
        Label { text: "On this page"; font.bold: true; font.pixelSize: 13 }
        Label { text: "Set the proxy address"; font.pixelSize: 13; muted: true }
        Label { text: "Check the connection"; font.pixelSize: 13; muted: true }
        Label { text: "Proxy authentication"; font.pixelSize: 13; muted: true }
        Label { text: "Edit this page"; font.pixelSize: 13; color: Theme.accent }
    }
}
