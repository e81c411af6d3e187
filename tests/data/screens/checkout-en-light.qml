// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A shop's checkout page: delivery and payment forms on the left, the order summary on the right.
MockScreen {
    width: 1440
    height: 900
    subject: "Checkout"

    Rectangle {
        property string pane: "browser"
        width: parent.width
        height: 40
        color: Theme.chrome
        Row { x: 12; y: 11; spacing: 12; Glyph { text: "←"; font.pixelSize: 15 } Glyph { text: "→"; font.pixelSize: 15 } Glyph { text: "↻"; font.pixelSize: 15 } }
        Field { x: 96; y: 5; width: 700; height: 30; text: "shop.example.com/checkout" }
    }
    Item {
        property string pane: "shop"
        y: 40
        width: parent.width
        height: 64
        Label { x: 40; anchors.verticalCenter: parent.verticalCenter; text: "Northwind Outfitters"; font.pixelSize: 20; font.bold: true }
        Label { anchors.right: parent.right; anchors.rightMargin: 40; anchors.verticalCenter: parent.verticalCenter; text: "Secure checkout"; muted: true; font.pixelSize: 13 }
        Rectangle { y: 63; width: parent.width; height: 1; color: Theme.line }
    }

    Item {
        property string pane: "forms"
        x: 40
        y: 120
        width: 780
        height: 760
        Label { text: "Checkout"; font.pixelSize: 30; font.bold: true; heading: true }
        Label { y: 52; text: "Cart  ›  Delivery  ›  Payment  ›  Review"; muted: true; font.pixelSize: 13 }
        Label { y: 92; text: "Delivery address"; font.pixelSize: 17; font.bold: true }
        Grid {
            y: 126; columns: 2; columnSpacing: 20; rowSpacing: 8
            Repeater {
                model: [["First name", "Maria"], ["Last name", "Keller"], ["Street and number", "Lindenstrasse 14"], ["City", "Hamburg"], ["Postcode", "20095"], ["Phone", "+49 40 1234567"]]
                Column {
                    spacing: 4
                    Label { text: modelData[0]; font.pixelSize: 12; muted: true }
                    Field { width: 370; text: modelData[1] }
                }
            }
        }
        Label { y: 340; text: "Payment"; font.pixelSize: 17; font.bold: true }
        Column {
            y: 374; spacing: 14
            Check { text: "Credit or debit card"; round: true; checked: true }
            Row { x: 28; spacing: 12; Field { width: 300; text: "4242 4242 4242 4242" } Field { width: 100; text: "08 / 28" } Field { width: 80; text: "CVC"; placeholder: true } }
            Check { text: "PayPal"; round: true }
            Check { text: "Invoice (pay within 14 days)"; round: true }
            Check { text: "Save this card for next time" }
        }
    }

    Rectangle {
        property string pane: "summary"
        x: 880
        y: 124
        width: 520
        height: 520
        radius: 10
        color: Theme.panel
        Label { x: 24; y: 20; text: "Order summary"; font.pixelSize: 18; font.bold: true }
        Column {
            x: 24; y: 64; spacing: 16
            Repeater {
                model: [["Trail running shoes, size 39", "1", "€129.00"], ["Merino wool socks (3 pack)", "2", "€38.00"], ["Waterproof jacket, blue, M", "1", "€189.00"]]
                Item {
                    width: 472; height: 52
                    Rectangle { width: 52; height: 52; radius: 6; color: Qt.hsla(index * 0.3, 0.3, 0.75, 1) }
                    Label { x: 66; y: 4; text: modelData[0]; font.pixelSize: 14 }
                    Label { x: 66; y: 28; text: "Qty " + modelData[1]; muted: true; font.pixelSize: 12 }
                    Label { anchors.right: parent.right; y: 4; text: modelData[2]; font.pixelSize: 14 }
                }
            }
        }
        Column {
            x: 24; y: 290; spacing: 10
            Repeater {
                model: [["Subtotal", "€356.00"], ["Shipping", "Free"], ["VAT included", "€56.84"]]
                Item { width: 472; height: 20; Label { text: modelData[0]; muted: true } Label { anchors.right: parent.right; text: modelData[1] } }
            }
        }
        Rectangle { x: 24; y: 388; width: 472; height: 1; color: Theme.line }
        Label { x: 24; y: 402; text: "Total"; font.pixelSize: 18; font.bold: true }
        Label { anchors.right: parent.right; anchors.rightMargin: 24; y: 402; text: "€356.00"; font.pixelSize: 18; font.bold: true }
        Button { x: 24; y: 454; width: 472; height: 44; text: "Place order"; primary: true }
    }
}
