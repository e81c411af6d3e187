// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "RenderedScreen.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>

QImage renderedScreen(const QString &heading, const QStringList &lines, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    painter.setPen(QColor(25, 25, 30));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(44);
    painter.setFont(font);
    painter.drawText(80, 120, heading);
    font.setPixelSize(20);
    painter.setFont(font);
    int y = 220;
    for (const QString &line : lines) {
        painter.drawText(80, y, line);
        y += 40;
    }
    painter.end();
    return image;
}

QByteArray renderedScreenPng(const QString &heading, const QStringList &lines, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    renderedScreen(heading, lines, size).save(&buffer, "PNG");
    return bytes;
}
