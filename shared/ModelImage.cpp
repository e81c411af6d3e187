// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#include "ModelImage.h"

#include <QBuffer>
#include <QPainter>

namespace {
// Text on screenshots stays crisp in PNG; photos and gradients make it large, and JPEG then costs far less upload.
constexpr qsizetype maxPngBytes = 1536 * 1024;

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        return {};
    return bytes;
}
} // namespace

QString ModelImage::dataUrl() const
{
    return QStringLiteral("data:%1;base64,%2").arg(mimeType, QString::fromLatin1(base64()));
}

ModelImage ModelImage::encode(const QImage &image)
{
    if (image.isNull())
        return {};
    QImage scaled = image;
    if (image.width() > maxSide || image.height() > maxSide)
        scaled = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // Transparent pixels would turn black in JPEG and in some servers' decoders.
    if (scaled.hasAlphaChannel()) {
        QImage flat(scaled.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, scaled);
        painter.end();
        scaled = flat;
    }
    ModelImage result;
    result.bytes = encoded(scaled, "PNG", -1);
    result.mimeType = QStringLiteral("image/png");
    if (result.bytes.size() > maxPngBytes) {
        const QByteArray jpeg = encoded(scaled, "JPEG", 90);
        if (!jpeg.isEmpty()) {
            result.bytes = jpeg;
            result.mimeType = QStringLiteral("image/jpeg");
        }
    }
    if (result.bytes.isEmpty())
        return {};
    return result;
}
