// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

// Real encoded images for the intake tests, made on the fly.
inline QByteArray encodedImage(const char *format, const QString &software = {}, QSize size = QSize(96, 64))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(4, 4), size / 2), Qt::darkBlue);
    painter.end();
    if (!software.isEmpty())
        image.setText(QStringLiteral("Software"), software);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}
