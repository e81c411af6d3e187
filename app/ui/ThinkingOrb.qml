// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick
import Zentrope.Ui

// The model at work: while active a spark circles the disc and the disc breathes; inactive it is still.
Item {
    id: orb
    property real size: 44
    property bool active: false
    property bool done: false

    implicitWidth: size
    implicitHeight: size

    Rectangle {
        id: disc
        anchors.centerIn: parent
        width: orb.size * 0.78
        height: width
        radius: width / 2
        color: orb.done ? Theme.green : Theme.brand
        Behavior on color { ColorAnimation { duration: 300 } }
        Image {
            anchors.centerIn: parent
            width: Math.round(parent.width * 0.58)
            height: width
            sourceSize: Qt.size(width * 2, height * 2)
            source: Theme.orbIcon(orb.done ? "checkmark" : "cpu")
        }
        SequentialAnimation on scale {
            running: orb.active
            loops: Animation.Infinite
            NumberAnimation { to: 1.08; duration: 650; easing.type: Easing.InOutSine }
            NumberAnimation { to: 1; duration: 650; easing.type: Easing.InOutSine }
        }
    }

    Item {
        id: track
        anchors.fill: parent
        visible: orb.active
        Rectangle {
            width: orb.size * 0.18
            height: width
            radius: width / 2
            x: (track.width - width) / 2
            color: Theme.blue
        }
        RotationAnimation on rotation {
            running: orb.active
            loops: Animation.Infinite
            from: 0
            to: 360
            duration: 1400
        }
    }
}
