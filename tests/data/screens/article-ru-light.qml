// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A Russian news article on a high-density display: site navigation, headline, byline, text and a sidebar.
MockScreen {
    width: 1280
    height: 800
    pixelScale: 2
    subject: "выбрать ноутбук"

    Rectangle {
        property string pane: "browser"
        width: parent.width
        height: 36
        color: Theme.chrome
        Row { x: 10; y: 9; spacing: 12; Glyph { text: "←"; font.pixelSize: 14 } Glyph { text: "→"; font.pixelSize: 14 } Glyph { text: "↻"; font.pixelSize: 14 } }
        Field { x: 90; y: 5; width: 620; height: 26; text: "techno-obzor.example.ru/stati/kak-vybrat-noutbuk" }
    }
    Item {
        property string pane: "site"
        y: 36
        width: parent.width
        height: 52
        Label { x: 40; anchors.verticalCenter: parent.verticalCenter; text: "ТехноОбзор"; font.pixelSize: 20; font.bold: true; color: "#c62828" }
        Row {
            x: 240; anchors.verticalCenter: parent.verticalCenter; spacing: 24
            Repeater { model: ["Новости", "Обзоры", "Статьи", "Сравнения", "Скидки"]; Label { text: modelData; font.pixelSize: 13; font.bold: index === 2 } }
        }
        Rectangle { y: 51; width: parent.width; height: 1; color: Theme.line }
    }

    Item {
        property string pane: "article"
        x: 40
        y: 110
        width: 800
        height: 680
        Label { text: "Статьи  ›  Ноутбуки"; muted: true; font.pixelSize: 12 }
        Label { y: 26; text: "Как выбрать ноутбук для учёбы в 2026 году"; font.pixelSize: 28; font.bold: true; heading: true }
        Label { y: 74; text: "Анна Петрова  ·  12 марта 2026  ·  8 минут чтения"; muted: true; font.pixelSize: 12 }
        Rectangle { y: 104; width: 780; height: 200; radius: 6; color: "#c9d6e3"
            Rectangle { x: 260; y: 40; width: 260; height: 150; radius: 6; color: "#5f7183" }
            Rectangle { x: 240; y: 186; width: 300; height: 10; radius: 3; color: "#3e4c59" } }
        Column {
            y: 322; spacing: 6
            Repeater {
                model: [
                    "Для учёбы не нужен самый мощный ноутбук: важнее лёгкий корпус, хорошая батарея",
                    "и удобная клавиатура. Разбираемся, на что смотреть в первую очередь и где можно",
                    "сэкономить без потерь.",
                    "",
                    "Процессор и память",
                    "Для текстов, таблиц и видеозвонков хватит современного процессора среднего уровня",
                    "и 16 ГБ оперативной памяти. Восемь гигабайт в 2026 году — уже компромисс.",
                    "",
                    "Экран и батарея",
                    "Ищите матрицу IPS или OLED с разрешением не ниже Full HD и яркостью от 300 нит."
                ]
                Label {
                    text: modelData
                    height: modelData.length ? implicitHeight : 6
                    font.pixelSize: modelData.length < 30 ? 17 : 15
                    font.bold: modelData.length > 0 && modelData.length < 30 && !modelData.endsWith(".")
                }
            }
        }
    }

    Column {
        property string pane: "sidebar"
        x: 900
        y: 120
        spacing: 12
        Label { text: "Читайте также"; font.pixelSize: 15; font.bold: true }
        Repeater {
            model: ["Лучшие планшеты для чтения", "Обзор наушников до 10 000 ₽", "Как продлить жизнь батареи", "Игровые мыши: что выбрать"]
            Label { text: modelData; font.pixelSize: 13; color: Theme.accent }
        }
        Item { width: 1; height: 20 }
        Label { text: "Популярное"; font.pixelSize: 15; font.bold: true }
        Repeater {
            model: ["1. Смартфоны года", "2. Умный дом за выходные", "3. Тест роутеров Wi-Fi 7"]
            Label { text: modelData; font.pixelSize: 13 }
        }
    }
}
