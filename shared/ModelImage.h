// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A picture prepared for a model request: at most `maxSide` pixels on its longest side, opaque, encoded.
struct ModelImage
{
    static constexpr int maxSide = 1280;

    QByteArray bytes;
    // "image/png", or "image/jpeg" when the PNG would be large.
    QString mimeType;

    bool isNull() const { return bytes.isEmpty(); }
    QByteArray base64() const { return bytes.toBase64(); }
    // "data:<type>;base64,<data>" for OpenAI-style image parts.
    QString dataUrl() const;

    // Null for a null image or when encoding fails.
    static ModelImage encode(const QImage &image);
};
