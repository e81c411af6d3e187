// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

// A text-recognition engine that finds the text lines of an image.
class TextRecognizer
{
public:
    struct Word
    {
        QString text;
        QRect box;
        double confidence = 0;

        bool operator==(const Word &) const = default;
    };

    struct Observation
    {
        QString text;
        QRect box;             // in pixels of the image that was passed in
        double confidence = 0; // 0…1
        // The line's words left to right, when the engine reports them.
        std::vector<Word> words = {};

        bool operator==(const Observation &) const = default;
    };

    struct Result
    {
        std::vector<Observation> observations;
        std::optional<QString> error;
    };

    virtual ~TextRecognizer() = default;
    // Must be safe to call from several threads at once.
    virtual Result recognize(const QImage &image) const = 0;
};
