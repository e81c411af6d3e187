// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
import QtQuick

// A dark mail client in Russian: folders, the list of letters, the open letter.
MockScreen {
    width: 1920
    height: 1080
    dark: true
    subject: "Счёт за октябрь"

    WindowBar { title: "Входящие — Почта" }
    Rectangle {
        property string pane: "folders"
        y: 38
        width: 260
        height: parent.height - 38
        color: Theme.panel
        Button { x: 20; y: 18; width: 220; text: "Написать"; primary: true }
        Column {
            x: 20; y: 80; spacing: 6
            Repeater {
                model: [["Входящие", "7"], ["Отмеченные", ""], ["Отправленные", ""], ["Черновики", "1"], ["Спам", "24"], ["Корзина", ""], ["Архив", ""]]
                Rectangle {
                    width: 220; height: 34; radius: 6
                    color: index === 0 ? Theme.selection : "transparent"
                    Label { x: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[0]; font.pixelSize: 14; font.bold: index === 0 }
                    Label { anchors.right: parent.right; anchors.rightMargin: 12; anchors.verticalCenter: parent.verticalCenter; text: modelData[1]; font.pixelSize: 13; muted: true }
                }
            }
        }
        Label { x: 20; y: parent.height - 50; text: "Занято 4,7 ГБ из 10 ГБ"; muted: true; font.pixelSize: 12 }
    }
    Item {
        property string pane: "letters"
        x: 261
        y: 38
        width: 540
        height: parent.height - 38
        Field { x: 16; y: 14; width: 508; icon: "⌕"; text: "Поиск в почте"; placeholder: true }
        Column {
            y: 62
            Repeater {
                model: [
                    ["ИП Соколов", "Счёт за октябрь", "Добрый день! Направляю счёт за услуги", "10:42"],
                    ["Сбербанк", "Выписка по счёту готова", "Выписка за сентябрь доступна в приложении", "09:30"],
                    ["Ольга Иванова", "Re: Отпуск в июле", "Согласовано, оформляй заявление", "вчера"],
                    ["Госуслуги", "Запись к врачу подтверждена", "Вы записаны на 14 марта, 9:20", "вчера"],
                    ["Мария Кузнецова", "Фотографии с дня рождения", "Держи фотки, там есть смешные", "пн"],
                    ["Книжный магазин", "Ваш заказ отправлен", "Заказ № 582041 передан в доставку", "вс"],
                    ["Андрей Соколов", "Планёрка переносится", "Переносим на среду, 11:00", "сб"],
                    ["Управляющая компания", "Плановое отключение воды", "С 15 по 17 марта горячей воды не будет", "пт"],
                    ["Дмитрий Петров", "Договор аренды", "Посмотри, пожалуйста, пункт 4.2", "чт"],
                    ["Рассылка", "Итоги недели", "Самое интересное за семь дней", "чт"]
                ]
                Rectangle {
                    width: 540; height: 86
                    color: index === 0 ? Theme.selection : "transparent"
                    Rectangle { y: 85; width: parent.width; height: 1; color: Theme.line }
                    Label { x: 20; y: 12; text: modelData[0]; font.pixelSize: 14; font.bold: index < 2 }
                    Label { anchors.right: parent.right; anchors.rightMargin: 16; y: 13; text: modelData[3]; muted: true; font.pixelSize: 12 }
                    Label { x: 20; y: 36; text: modelData[1]; font.pixelSize: 14 }
                    Label { x: 20; y: 58; text: modelData[2]; muted: true; font.pixelSize: 13 }
                }
            }
        }
    }
    Item {
        property string pane: "letter"
        x: 802
        y: 38
        width: parent.width - 802
        height: parent.height - 38
        Row { x: 32; y: 18; spacing: 24; Repeater { model: ["↩", "↪", "⚑", "✕", "⋯"]; Glyph { text: modelData; font.pixelSize: 18 } } }
        Label { x: 32; y: 70; text: "Счёт за октябрь"; font.pixelSize: 26; font.bold: true; heading: true }
        Avatar { x: 32; y: 124; size: 44; initials: "ИС" }
        Label { x: 90; y: 124; text: "ИП Соколов"; font.bold: true; font.pixelSize: 15 }
        Label { x: 90; y: 148; text: "кому: мне, бухгалтерия@example.ru"; muted: true; font.pixelSize: 13 }
        Label { anchors.right: parent.right; anchors.rightMargin: 32; y: 126; text: "чт, 12 марта, 10:42"; muted: true; font.pixelSize: 13 }
        Column {
            x: 32; y: 210; spacing: 12
            Repeater {
                model: [
                    "Добрый день!",
                    "Направляю счёт за услуги по сопровождению сайта в октябре.",
                    "Сумма к оплате: 48 500 рублей, срок оплаты — 10 рабочих дней.",
                    "Акт выполненных работ пришлю отдельным письмом.",
                    "С уважением,",
                    "Игорь Соколов"
                ]
                Label { text: modelData; font.pixelSize: 15 }
            }
        }
        Rectangle {
            x: 32; y: 470; width: 300; height: 64; radius: 8; color: "transparent"; border.color: Theme.line
            Glyph { x: 14; anchors.verticalCenter: parent.verticalCenter; text: "▤"; font.pixelSize: 26; color: "#d1453b" }
            Label { x: 54; y: 12; text: "schet-oktyabr.pdf"; font.pixelSize: 14 }
            Label { x: 54; y: 34; text: "96 КБ"; muted: true; font.pixelSize: 12 }
        }
    }
}
