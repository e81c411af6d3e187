// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark notes application in Russian with the minutes of a meeting.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    subject: "Протокол совещания"

    WindowBar { title: "Заметки" }
    Rectangle {
        property string pane: "notes"
        y: 38
        width: 340
        height: parent.height - 38
        color: Theme.panel
        Field { x: 16; y: 14; width: 308; icon: "⌕"; text: "Поиск"; placeholder: true }
        Column {
            y: 62
            Repeater {
                model: [["Протокол совещания", "12 марта"], ["Список покупок", "11 марта"], ["Идеи для отпуска", "9 марта"], ["Книги на весну", "2 марта"], ["Рецепт борща", "28 февраля"], ["Пароли Wi-Fi", "14 февраля"]]
                Rectangle {
                    width: 340; height: 66
                    color: index === 0 ? Theme.selection : "transparent"
                    Label { x: 20; y: 12; text: modelData[0]; font.pixelSize: 15; font.bold: true }
                    Label { x: 20; y: 38; text: modelData[1]; muted: true; font.pixelSize: 12 }
                }
            }
        }
    }
    Item {
        property string pane: "note"
        x: 400
        y: 80
        width: 1200
        height: 960
        Label { text: "Протокол совещания"; font.pixelSize: 32; font.bold: true; heading: true }
        Label { y: 52; text: "12 марта 2026, 11:00–12:15, переговорная «Волга»"; muted: true; font.pixelSize: 15 }
        Label { y: 100; text: "Присутствовали"; font.pixelSize: 20; font.bold: true }
        Label { y: 136; text: "О. Иванова, А. Соколов, М. Кузнецова, Д. Петров, Е. Смирнова"; font.pixelSize: 16 }
        Label { y: 184; text: "Повестка"; font.pixelSize: 20; font.bold: true }
        Column {
            y: 220; spacing: 8
            Repeater {
                model: ["1. Сроки выпуска версии 3.2", "2. Бюджет на второй квартал", "3. Найм двух разработчиков"]
                Label { text: modelData; font.pixelSize: 16 }
            }
        }
        Label { y: 340; text: "Решения"; font.pixelSize: 20; font.bold: true }
        Column {
            y: 376; spacing: 12
            Repeater {
                model: [
                    ["Выпуск версии 3.2 переносится на 24 марта.", "Ответственный: О. Иванова"],
                    ["Бюджет второго квартала утверждён без изменений.", "Ответственный: Д. Петров"],
                    ["Открыть две вакансии разработчиков до конца марта.", "Ответственный: Е. Смирнова"]
                ]
                Row {
                    spacing: 12
                    Rectangle { width: 18; height: 18; radius: 3; color: "transparent"; border.color: Theme.muted; border.width: 2; anchors.verticalCenter: parent.verticalCenter }
                    Label { text: modelData[0]; font.pixelSize: 16 }
                    Label { text: "— " + modelData[1]; muted: true; font.pixelSize: 16 }
                }
            }
        }
        Label { y: 520; text: "Следующее совещание: 19 марта, 11:00."; font.pixelSize: 16 }
    }
}
