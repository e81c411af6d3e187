// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zentrope.Ui

// One onboarding page: its symbol large in its colour, the title, the subtitle and the step's own content below.
ScrollView {
    id: layout
    property string symbol
    property color color: Theme.brand
    property string title
    property string subtitle
    property color subtitleColor: Theme.secondary
    default property alias content: body.data
    // On display and not hidden: only then may the page run timers or animations.
    readonly property bool shown: StackView.status === StackView.Active && Window.visibility !== Window.Hidden
                                  && Window.visibility !== Window.Minimized

    contentWidth: availableWidth
    clip: true

    ColumnLayout {
        width: Math.min(layout.availableWidth - 64, 540)
        x: (layout.availableWidth - width) / 2
        spacing: 10

        Rectangle {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 26
            implicitWidth: 64
            implicitHeight: 64
            radius: 18
            color: layout.color
            Image {
                anchors.centerIn: parent
                width: 34
                height: 34
                sourceSize: Qt.size(68, 68)
                source: Theme.orbIcon(layout.symbol)
            }
        }
        Label {
            objectName: "stepTitle"
            Layout.fillWidth: true
            Layout.topMargin: 4
            horizontalAlignment: Text.AlignHCenter
            text: layout.title
            color: Theme.text
            font.pixelSize: 22
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
        }
        Label {
            objectName: "stepSubtitle"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: layout.subtitle
            color: layout.subtitleColor
            wrapMode: Text.Wrap
        }
        ColumnLayout {
            id: body
            Layout.fillWidth: true
            Layout.topMargin: 10
            Layout.bottomMargin: 16
            spacing: 12
        }
    }
}
