// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark settings window in Russian: sections on the left, the power page with switches and check boxes.
MockScreen {
    width: 1440
    height: 900
    dark: true
    subject: "Электропитание"

    WindowBar { title: "Параметры системы" }

    Rectangle {
        property string pane: "sections"
        y: 38
        width: 300
        height: parent.height - 38
        color: Theme.panel
        Field { x: 16; y: 14; width: 268; icon: "⌕"; text: "Найти параметр"; placeholder: true }
        Column {
            x: 12; y: 64; spacing: 2
            Repeater {
                model: [["≋", "Сеть"], ["ᛒ", "Bluetooth"], ["▭", "Экран"], ["♪", "Звук"], ["⚡", "Электропитание"], ["✉", "Уведомления"], ["⌨", "Клавиатура"], ["⎙", "Принтеры"], ["⚿", "Конфиденциальность"], ["ⓘ", "О системе"]]
                Rectangle {
                    width: 276; height: 40; radius: 8
                    color: index === 4 ? Theme.selection : "transparent"
                    Glyph { x: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 17 }
                    Label { x: 44; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; font.pixelSize: 14 }
                }
            }
        }
    }

    Item {
        property string pane: "page"
        x: 300
        y: 38
        width: parent.width - 300
        height: parent.height - 38
        Label { x: 48; y: 28; text: "Электропитание"; font.pixelSize: 26; font.bold: true; heading: true }
        Label { x: 48; y: 72; text: "Батарея: 64 %, осталось около 3 ч 20 мин"; muted: true; font.pixelSize: 14 }
        Rectangle {
            x: 48; y: 112; width: 900; height: 168; radius: 10; color: Theme.panel
            Repeater {
                model: [["Режим питания", "Сбалансированный"], ["Затемнять экран при бездействии", ""], ["Автоматический спящий режим", "Через 15 минут"]]
                Item {
                    y: index * 56; width: 900; height: 56
                    Label { x: 20; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 15 }
                    Label { visible: modelData[1].length > 0; anchors.right: parent.right; anchors.rightMargin: 44; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; muted: true }
                    Glyph { visible: modelData[1].length > 0; anchors.right: parent.right; anchors.rightMargin: 20; anchors.verticalCenter: parent.verticalCenter; text: "›"; font.pixelSize: 20 }
                    Toggle { visible: modelData[1].length === 0; anchors.right: parent.right; anchors.rightMargin: 20; anchors.verticalCenter: parent.verticalCenter }
                    Rectangle { visible: index > 0; width: 900; height: 1; color: Theme.line }
                }
            }
        }
        Label { x: 48; y: 312; text: "Экономия заряда"; font.pixelSize: 17; font.bold: true }
        Column {
            x: 48; y: 352; spacing: 18
            Check { text: "Приостанавливать при низком заряде батареи"; checked: true }
            Check { text: "Уменьшать яркость экрана в режиме экономии"; checked: true }
            Check { text: "Отключать Bluetooth при заряде ниже 20 %" }
            Check { text: "Показывать заряд батареи в процентах"; checked: true }
        }
        Label { x: 48; y: 540; text: "Действие при закрытии крышки"; font.pixelSize: 17; font.bold: true }
        Column {
            x: 48; y: 580; spacing: 18
            Check { text: "Переходить в спящий режим"; round: true; checked: true }
            Check { text: "Выключать компьютер"; round: true }
            Check { text: "Ничего не делать"; round: true }
        }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 40; y: parent.height - 64; spacing: 12
            Button { text: "Отмена" }
            Button { text: "Применить"; primary: true }
        }
    }
}
