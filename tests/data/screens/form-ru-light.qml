// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A registration form on a Russian web page.
MockScreen {
    width: 1920
    height: 1080
    color: Theme.panel
    subject: "Регистрация на конференцию"

    Rectangle {
        property string pane: "browser"
        width: parent.width
        height: 44
        color: Theme.chrome
        Row { x: 14; y: 12; spacing: 14; Glyph { text: "←" } Glyph { text: "→" } Glyph { text: "↻" } }
        Field { x: 110; y: 6; width: 900; height: 32; text: "devconf.example.ru/registraciya" }
        Glyph { x: parent.width - 110; y: 12; text: "—    □    ✕"; font.pixelSize: 13 }
    }
    Item {
        property string pane: "site"
        y: 44
        width: parent.width
        height: 64
        Label { x: 60; anchors.verticalCenter: parent.verticalCenter; text: "DevConf 2026"; font.pixelSize: 20; font.bold: true; color: "#6f42c1" }
        Row {
            anchors.right: parent.right; anchors.rightMargin: 60; anchors.verticalCenter: parent.verticalCenter; spacing: 32
            Repeater { model: ["Программа", "Докладчики", "Место проведения", "Контакты"]; Label { text: modelData; font.pixelSize: 14 } }
        }
    }
    Rectangle {
        property string pane: "form"
        x: 560
        y: 140
        width: 800
        height: 900
        radius: 12
        color: Theme.background
        border.color: Theme.line
        Label { x: 48; y: 40; text: "Регистрация на конференцию"; font.pixelSize: 30; font.bold: true; heading: true }
        Label { x: 48; y: 90; text: "Москва, 14–15 мая 2026 года. Поля со звёздочкой обязательны."; muted: true; font.pixelSize: 14 }
        Grid {
            x: 48; y: 136; columns: 2; columnSpacing: 24; rowSpacing: 14
            Repeater {
                model: [["Имя *", "Екатерина"], ["Фамилия *", "Смирнова"], ["Электронная почта *", "e.smirnova@example.ru"], ["Телефон", "+7 912 345-67-89"], ["Компания", "ООО «Северный ветер»"], ["Должность", "Ведущий разработчик"]]
                Column {
                    spacing: 6
                    Label { text: modelData[0]; font.pixelSize: 13; font.bold: true }
                    Field { width: 340; height: 38; text: modelData[1] }
                }
            }
        }
        Label { x: 48; y: 430; text: "Формат участия"; font.pixelSize: 17; font.bold: true }
        Column {
            x: 48; y: 466; spacing: 14
            Check { text: "Очно, в зале"; round: true; checked: true }
            Check { text: "Онлайн-трансляция"; round: true }
        }
        Label { x: 48; y: 560; text: "Интересующие секции"; font.pixelSize: 17; font.bold: true }
        Grid {
            x: 48; y: 596; columns: 2; columnSpacing: 80; rowSpacing: 14
            Check { text: "Бэкенд и базы данных"; checked: true }
            Check { text: "Мобильная разработка" }
            Check { text: "Машинное обучение"; checked: true }
            Check { text: "Управление командами" }
        }
        Check { x: 48; y: 700; text: "Я согласен на обработку персональных данных"; checked: true }
        Button { x: 48; y: 760; width: 260; height: 46; text: "Зарегистрироваться"; primary: true }
        Label { x: 330; y: 774; text: "Стоимость участия: 12 000 ₽"; muted: true; font.pixelSize: 14 }
    }
}
