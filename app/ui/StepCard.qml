// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Layouts
import Zentrope.Ui

// A rounded card on an onboarding page; its children stack in a column.
Rectangle {
    default property alias content: column.data
    property alias spacing: column.spacing
    Layout.fillWidth: true
    implicitHeight: column.implicitHeight + 2 * column.anchors.margins
    radius: Theme.radius
    color: Theme.card
    border.color: Theme.border
    // Anchored at the top only: a layout given more height than it asks for would stretch its rows.
    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 14
        spacing: 10
    }
}
